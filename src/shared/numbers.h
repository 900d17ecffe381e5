// Turning tokens of the input files into numbers. Every number the program
// reads passes through these functions, so that the control file and every
// structure file accept the same spellings.
#pragma once

#include <cstddef>
#include <cstdint>
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

// The powers of ten that a double holds exactly.
inline constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// An optional sign at p (p < e, or p == e): moves past it and says whether
// it was a minus.
inline bool plainSign(const char*& p, const char* e) {
  if (p == e || (*p != '-' && *p != '+')) return false;
  return *p++ == '-';
}

// The plain number at the start of `text`: [-|+]digits[.digits] with at
// most 15 digits, or for an integer [-|+] and at most 9 digits. Returns the
// number of bytes it takes, with the value that parseReal or parseInteger
// gives for that token; 0 when the text does not start with one. A caller
// that reads tokens must still see the token end after it. Inline, for the
// loops over table lines; parseReal and parseInteger start with them.
inline std::size_t plainRealPrefix(std::string_view text, double& value) {
  const char* p = text.data();
  const char* const e = p + text.size();
  const bool negative = plainSign(p, e);
  // At most 17 bytes of digits and a point are looked at: a number that
  // goes on holds more than 15 digits and takes the general way.
  const char* const start = p;
  const char* const stop = e - start > 17 ? start + 17 : e;
  std::int64_t m = 0;
  unsigned d = 0;
  while (p != stop && (d = unsigned(static_cast<unsigned char>(*p)) - '0') < 10) {
    m = m * 10 + d;
    ++p;
  }
  std::ptrdiff_t digits = p - start;
  std::ptrdiff_t decimals = 0;
  if (p != stop && *p == '.') {
    const char* const point = ++p;
    while (p != stop && (d = unsigned(static_cast<unsigned char>(*p)) - '0') < 10) {
      m = m * 10 + d;
      ++p;
    }
    decimals = p - point;
    digits += decimals;
  }
  if (digits == 0 || digits > 15) return 0;
  // the digits are an exact double, and so is the power of ten: one
  // correctly rounded division
  double v = double(m);
  if (decimals > 0) v /= kExactPowersOfTen[decimals];
  value = negative ? -v : v;
  return std::size_t(p - text.data());
}

inline std::size_t plainIntegerPrefix(std::string_view text, int& value) {
  const char* p = text.data();
  const char* const e = p + text.size();
  const bool negative = plainSign(p, e);
  const char* const start = p;
  const char* const stop = e - start > 9 ? start + 9 : e;
  int v = 0;
  unsigned d = 0;
  while (p != stop && (d = unsigned(static_cast<unsigned char>(*p)) - '0') < 10) {
    v = v * 10 + int(d);
    ++p;
  }
  // no digit, or a tenth one: the general way
  if (p == start || (p != e && unsigned(static_cast<unsigned char>(*p)) - '0' < 10)) return 0;
  value = negative ? -v : v;
  return std::size_t(p - text.data());
}

// A fixed-column numeric field with `decimals` implied decimals: blanks are
// ignored wherever they stand, a field of blanks gives 0; a field without a
// decimal point takes its last `decimals` digits as decimals (12345 with 2
// gives 123.45). Returns false for any other character.
bool parseFixedField(std::string_view field, int decimals, double& value);

}  // namespace kelmar
