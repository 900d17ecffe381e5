// Turning tokens of the input files into numbers. Every number the program
// reads passes through these functions, so that the control file and every
// structure file accept the same spellings.
#pragma once

#include <cstddef>
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

// The plain number at the start of `text`: [-|+]digits[.digits] with at
// most 15 digits, or for an integer [-|+] and at most 9 digits. Returns the
// number of bytes it takes, with the value that parseReal or parseInteger
// gives for that token; 0 when the text does not start with one. A caller
// that reads tokens must still see the token end after it.
std::size_t plainRealPrefix(std::string_view text, double& value);
std::size_t plainIntegerPrefix(std::string_view text, int& value);

// A fixed-column numeric field with `decimals` implied decimals: blanks are
// ignored wherever they stand, a field of blanks gives 0; a field without a
// decimal point takes its last `decimals` digits as decimals (12345 with 2
// gives 123.45). Returns false for any other character.
bool parseFixedField(std::string_view field, int decimals, double& value);

}  // namespace kelmar
