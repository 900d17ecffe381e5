#include "shared/numbers.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace kelmar {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The parts of a number token: sign, mantissa digits around an optional
// point, and an exponent.
struct NumberParts {
  bool negative = false;
  std::string_view intDigits;
  std::string_view fracDigits;
  bool hasPoint = false;
  bool hasExponent = false;
  long exponent = 0;  // saturated far beyond the range of a double
};

bool scanNumber(std::string_view t, NumberParts& n) {
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
    n.negative = t[i] == '-';
    ++i;
  }
  std::size_t start = i;
  while (i < t.size() && isDigit(t[i])) ++i;
  n.intDigits = t.substr(start, i - start);
  if (i < t.size() && t[i] == '.') {
    n.hasPoint = true;
    ++i;
    start = i;
    while (i < t.size() && isDigit(t[i])) ++i;
    n.fracDigits = t.substr(start, i - start);
  }
  if (n.intDigits.empty() && n.fracDigits.empty()) return false;
  if (i == t.size()) return true;

  // exponent: a letter with an optional sign, or a bare sign
  char c = t[i];
  if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  } else if (c == '+' || c == '-') {
    ++i;
  } else {
    return false;
  }
  bool expNegative = t[i - 1] == '-';
  start = i;
  long e = 0;
  while (i < t.size() && isDigit(t[i])) {
    if (e < 1000000) e = e * 10 + (t[i] - '0');
    ++i;
  }
  if (i == start || i != t.size()) return false;
  n.hasExponent = true;
  n.exponent = expNegative ? -e : e;
  return true;
}

// Converts the parts, with the decimal point moved `shift` places to the
// left, to the nearest double.
bool convert(const NumberParts& n, long shift, double& value) {
  // Short decimals (at most 15 digits, so the digits are an exact double,
  // and a power of ten that is exact too) convert with one correctly rounded
  // multiplication or division: the usual numbers of the output files.
  std::size_t digits = n.intDigits.size() + n.fracDigits.size();
  long e10 = n.exponent - shift - long(n.fracDigits.size());
  if (digits <= 15 && e10 >= -22 && e10 <= 22) {
    long long m = 0;
    for (char c : n.intDigits) m = m * 10 + (c - '0');
    for (char c : n.fracDigits) m = m * 10 + (c - '0');
    double v = double(m);
    v = e10 < 0 ? v / kExactPowersOfTen[-e10] : v * kExactPowersOfTen[e10];
    value = n.negative ? -v : v;
    return true;
  }
  // "[-]digits.digitse[-]exponent" for the library's correctly rounded
  // conversion, on the stack for the usual short token
  char small[64];
  std::string large;
  char* buf = small;
  if (digits + 16 > sizeof small) {
    large.resize(digits + 16);
    buf = large.data();
  }
  char* q = buf;
  if (n.negative) *q++ = '-';
  if (n.intDigits.empty()) *q++ = '0';
  q = std::copy(n.intDigits.begin(), n.intDigits.end(), q);
  *q++ = '.';
  q = std::copy(n.fracDigits.begin(), n.fracDigits.end(), q);
  *q++ = 'e';
  q = std::to_chars(q, buf + digits + 16, n.exponent - shift).ptr;
  double v = 0.0;
  auto [end, ec] = std::from_chars(buf, q, v);
  if (end != q) return false;
  if (ec == std::errc::result_out_of_range) {
    // overflow is no number; an underflow gives the nearest value, zero or
    // subnormal, as strtod does
    *q = '\0';
    v = std::strtod(buf, nullptr);
    if (std::isinf(v)) return false;
  } else if (ec != std::errc()) {
    return false;
  }
  value = v;
  return true;
}

}  // namespace

bool parseReal(std::string_view token, double& value) {
  // the usual token of a table in one pass
  double v = 0.0;
  if (!token.empty() && plainRealPrefix(token, v) == token.size()) {
    value = v;
    return true;
  }
  NumberParts n;
  if (!scanNumber(token, n)) return false;
  return convert(n, 0, value);
}

bool parseInteger(std::string_view token, int& value) {
  int v = 0;
  if (!token.empty() && plainIntegerPrefix(token, v) == token.size()) {
    value = v;
    return true;
  }
  NumberParts n;
  if (!scanNumber(token, n)) return false;
  if (!n.hasPoint && !n.hasExponent) {
    long long v = 0;
    for (char c : n.intDigits) {
      v = v * 10 + (c - '0');
      if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (n.negative) v = -v;
    if (v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
  }
  double d = 0.0;
  if (!convert(n, 0, d)) return false;
  double t = std::trunc(d);
  if (!(t >= static_cast<double>(INT_MIN) && t <= static_cast<double>(INT_MAX))) return false;
  value = static_cast<int>(t);
  return true;
}

bool parseFixedField(std::string_view field, int decimals, double& value) {
  std::string packed;
  packed.reserve(field.size());
  for (char c : field) {
    if (c != ' ') packed += c;
  }
  if (packed.empty()) {
    value = 0.0;
    return true;
  }
  NumberParts n;
  if (!scanNumber(packed, n)) return false;
  return convert(n, n.hasPoint ? 0 : decimals, value);
}

}  // namespace kelmar
