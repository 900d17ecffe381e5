// The tables of which the Gaussian and Molpro readers read natom rows: the
// geometry table and the rows of every mode block. A row for an atom past
// natom is the sign that natom does not fit the files, which the values
// read would not show. The line after the rows is looked at and stepped
// back over, so that these checks read nothing: the reading goes on from
// the same line whatever they find.
#pragma once

#include <string>
#include <string_view>

#include "shared/instream.h"
#include "shared/runend.h"

namespace kelmar {

// Whether the blank-separated tokens of `line` are the columns, one letter
// per token: i an integer (digits ending at a blank or the line's end), r a
// real number, w any token. A last letter followed by + stands for one or
// more tokens.
bool isTableRow(std::string_view line, std::string_view columns);

// After the natom rows of a geometry table: a note when the next line is a
// row for one more atom, at most once per file (`noted` is the file's).
void noteLongerTable(InputStream& in, int natom, std::string_view columns, bool& noted, Console& console);

// After the rows of a mode block (`block` names it): ends the run when the
// next line is a row for an atom past natom, whose values would otherwise
// be left out of every mode.
void rejectRowPastNatom(InputStream& in, int natom, std::string_view columns, const Section& block);

}  // namespace kelmar
