#include "shared/numbers.h"

#include <cerrno>
#include <climits>
#include <cmath>
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
  std::string s;
  s.reserve(n.intDigits.size() + n.fracDigits.size() + 24);
  if (n.negative) s += '-';
  s.append(n.intDigits.data(), n.intDigits.size());
  s += '.';
  s.append(n.fracDigits.data(), n.fracDigits.size());
  s += 'e';
  s += std::to_string(n.exponent - shift);
  errno = 0;
  char* end = nullptr;
  double v = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size()) return false;
  if (errno == ERANGE && std::isinf(v)) return false;  // overflow; underflow is kept
  value = v;
  return true;
}

}  // namespace

bool parseReal(std::string_view token, double& value) {
  NumberParts n;
  if (!scanNumber(token, n)) return false;
  return convert(n, 0, value);
}

bool parseInteger(std::string_view token, int& value) {
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
