// Turning tokens of the input files into numbers. Every number the program
// reads passes through these functions, so that the control file and every
// structure file accept the same spellings.
#pragma once

#include <string_view>

namespace kelmar {

// A real: optional sign, digits with an optional decimal point (at least one
// digit), optional exponent: E or D in either case with an optionally signed
// integer, or a bare sign with digits (1.5-3 is 1.5E-3). Converted to the
// nearest double. Returns false for anything else, and for a value too large
// for a double.
bool parseReal(std::string_view token, double& value);

// An integer: optional sign and digits; a token written as a real is
// converted as a real and truncated toward zero (2.7 gives 2, 1e2 gives 100).
// Returns false for anything else, and for a value outside the 32-bit range.
bool parseInteger(std::string_view token, int& value);

// A fixed-column numeric field with `decimals` implied decimals: blanks are
// ignored wherever they stand, a field of blanks gives 0; a field without a
// decimal point takes its last `decimals` digits as decimals (12345 with 2
// gives 123.45). Returns false for any other character.
bool parseFixedField(std::string_view field, int decimals, double& value);

}  // namespace kelmar
