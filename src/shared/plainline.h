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

// Fills the items from the next line when that line holds at least as many
// tokens between blanks as there are items, none of the tokens for the
// items holds a tab, comma, slash, quote or asterisk, each number token
// converts, and every item is a number or a dropped word: the rest of the
// line is dropped, as the general read does. Otherwise returns false and
// leaves the items and the stream as they were.
bool readPlainLine(InputStream& in, std::span<const ReadItem> items);

}  // namespace kelmar
