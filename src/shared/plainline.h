// The quick read of a data line: a free-format read whose items all stand on
// the next line as plain numbers (or words that are dropped) between
// blanks, the usual line of a geometry or mode table. Anything else is left
// to the general free-format read, which gives the same values for such a
// line and is the one place that reports what is wrong with a line.
#pragma once

#include <span>

#include "shared/freeread.h"
#include "shared/instream.h"

namespace kelmar {

// Fills the items from the next line when each item's token stands there
// between blanks: a number in the plain form of plainRealPrefix or
// plainIntegerPrefix, or a word that is dropped and holds no tab, comma,
// slash, quote or asterisk. The rest of the line is dropped, as the general
// read does. Otherwise (a line that the stream cut included) returns false
// with the stream where it was; items
// before the token that did not fit may hold the values that the general
// read then stores in them again.
bool readPlainLine(InputStream& in, std::span<const ReadItem> items);

}  // namespace kelmar
