#include "shared/output.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "shared/descriptorbuf.h"
#include "shared/runend.h"

namespace kelmar {
namespace {

constexpr std::size_t kLineLimit = 80;
constexpr std::size_t kRealWidth = 24;
constexpr std::size_t kIntegerWidth = 12;

std::string rightAligned(std::string_view s, std::size_t width) {
  if (s.size() >= width) return std::string(s);
  std::string r(width - s.size(), ' ');
  r.append(s);
  return r;
}

// |x| with `decimals` decimal places, rounded to the nearest with ties to
// even on the exact binary value (the C library's conversion does exactly
// that).
std::string fixedDigits(double a, int decimals) {
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, a);
  std::string s(buf);
  if (decimals == 0) s += '.';
  return s;
}

// The number of digits before the point of |x| rounded to 15 decimals; 0 for
// 0.1 <= y < 1, -1 for 0.01 <= y < 0.1 and so on; very negative for y = 0.
int digitsBeforePoint(double a) {
  if (a >= 1e16) return 17;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15f", a);
  const char* dot = std::strchr(buf, '.');
  std::size_t intLen = std::size_t(dot - buf);
  if (!(intLen == 1 && buf[0] == '0')) return int(intLen);
  for (int k = 0; dot[1 + k] != '\0'; ++k) {
    if (dot[1 + k] != '0') return -k;
  }
  return -100;
}

std::string nonFinite(double x) {
  if (std::isnan(x)) return "NaN";
  return x < 0 ? "-Infinity" : "Infinity";
}

}  // namespace

std::string formatFreeReal(double x) {
  if (!std::isfinite(x)) return rightAligned(nonFinite(x), kRealWidth);
  if (x == 0.0) return "  0.000000000000000E+000";
  double a = std::fabs(x);
  int f = digitsBeforePoint(a);
  if (f >= 0 && f <= 15) {
    std::string s = fixedDigits(a, 15 - f);
    if (x < 0) s.insert(s.begin(), '-');
    return rightAligned(s, 19) + "     ";
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15E", x);
  // The C library writes at least two exponent digits; the field takes three.
  std::string s(buf);
  std::size_t e = s.find('E');
  std::string exponent = s.substr(e + 2);
  while (exponent.size() < 3) exponent.insert(exponent.begin(), '0');
  s = s.substr(0, e + 2) + exponent;
  return rightAligned(s, kRealWidth);
}

std::string shortestNumber(double x) {
  char buf[64];
  auto written = std::to_chars(buf, buf + sizeof buf, x);
  return std::string(buf, std::size_t(written.ptr - buf));
}

std::string formatFreeInteger(int i) { return rightAligned(std::to_string(i), kIntegerWidth); }

std::string formatFixed(double x, int width, int decimals, bool& tooWide) {
  tooWide = false;
  std::size_t w = std::size_t(width);
  if (std::isnan(x)) {
    if (w >= 3) return rightAligned("NaN", w);
  } else if (std::isinf(x)) {
    std::string full = nonFinite(x);
    if (full.size() <= w) return rightAligned(full, w);
    std::string shortForm = x < 0 ? "-Inf" : "Inf";
    if (shortForm.size() <= w) return rightAligned(shortForm, w);
  } else {
    std::string digits = fixedDigits(std::fabs(x), decimals);
    std::string sign = x < 0 ? "-" : "";  // negative zero has no sign
    std::string s = sign + digits;
    if (s.size() > w && digits.size() > 1 && digits[0] == '0' && digits[1] == '.') {
      s = sign + digits.substr(1);
    }
    if (s.size() <= w) return rightAligned(s, w);
  }
  tooWide = true;
  return std::string(w, '*');
}

const Layout& layoutTextF10() {
  static const Layout l{Field::text(), Field::fixed(10, 3)};
  return l;
}
const Layout& layoutThreeF10() {
  static const Layout l(3, Field::fixed(10, 3));
  return l;
}
const Layout& layoutModeLine() {
  static const Layout l{Field::text(), Field::integer(), Field::fixed(10, 3), Field::fixed(10, 3)};
  return l;
}
const Layout& layoutSixF15() {
  static const Layout l(6, Field::fixed(15, 8));
  return l;
}
const Layout& layoutHundredF15() {
  static const Layout l(100, Field::fixed(15, 8));
  return l;
}

// Writes and flushes `text`; a stream that did not take all of it ends the
// run, since a report cut short must not pass for a whole one.
void Output::send(std::string_view text) {
  out_.write(text.data(), std::streamsize(text.size()));
  out_.flush();
  // where the next byte lands: a prompt leaves its line open
  const std::size_t lastEnd = text.rfind('\n');
  if (lastEnd == std::string_view::npos) {
    openColumns_ += text.size();
  } else {
    linesWritten_ += long(std::count(text.begin(), text.end(), '\n'));
    openColumns_ = text.size() - lastEnd - 1;
  }
  if (!out_) {
    const auto* buf = dynamic_cast<const DescriptorBuf*>(out_.rdbuf());
    throw reportLost(buf != nullptr ? buf->error() : 0);
  }
}

void Output::endLine(std::string& line) {
  line += '\n';
  send(line);
  line.clear();
}

void Output::free(std::span<const OutItem> items) {
  std::string line;
  if (items.empty()) {
    line = " ";
    endLine(line);
    return;
  }
  bool lastWasNumber = false;
  for (const OutItem& item : items) {
    std::string piece;
    std::size_t width = 0;
    switch (item.kind) {
      case OutItem::Kind::Text:
        width = item.text.size();
        break;
      case OutItem::Kind::Integer:
        piece = formatFreeInteger(item.integer);
        width = kIntegerWidth;
        break;
      case OutItem::Kind::Real:
        piece = formatFreeReal(item.real);
        width = kRealWidth;
        if (!std::isfinite(item.real)) unfit_ = true;
        break;
    }
    bool isText = item.kind == OutItem::Kind::Text;
    // A text after a number is separated by one blank; that blank counts
    // against the line's 80 columns too.
    std::size_t needed = width + (isText && lastWasNumber && !line.empty() ? 1 : 0);
    if (!line.empty() && needed > kLineLimit - line.size()) endLine(line);
    if (isText) {
      if (line.empty() || lastWasNumber) line += ' ';
      line.append(item.text);
    } else {
      line += piece;
    }
    lastWasNumber = !isText;
  }
  endLine(line);
}

void Output::fixed(const Layout& layout, std::span<const OutItem> items) {
  std::string line;
  std::size_t f = 0;
  for (const OutItem& item : items) {
    if (f == layout.size()) {
      endLine(line);
      f = 0;
    }
    const Field& field = layout[f++];
    if (field.kind != item.kind) throw std::logic_error("output item does not match its field");
    switch (item.kind) {
      case OutItem::Kind::Text:
        line.append(item.text);
        break;
      case OutItem::Kind::Integer:
        line += formatFreeInteger(item.integer);
        break;
      case OutItem::Kind::Real: {
        bool tooWide = false;
        const std::size_t column = openColumns_ + line.size() + 1;
        line += formatFixed(item.real, field.width, field.decimals, tooWide);
        if (tooWide || !std::isfinite(item.real)) unfit_ = true;
        if (tooWide) {
          auto kept = std::find_if(tooWide_.begin(), tooWide_.end(), [&](const TooWide& t) {
            return t.width == field.width && t.decimals == field.decimals;
          });
          if (kept == tooWide_.end()) {
            tooWide_.push_back({field.width, field.decimals, 0, item.real, linesWritten_ + 1, column});
            kept = tooWide_.end() - 1;
          }
          ++kept->count;
        }
        break;
      }
    }
  }
  endLine(line);
}

void Output::raw(std::string_view text) { send(text); }

void Output::writeFieldWarnings() {
  for (const TooWide& t : tooWide_) {
    const std::string field = "the output field F" + std::to_string(t.width) + "." + std::to_string(t.decimals);
    const std::string where = "standard output, line " + std::to_string(t.line) + ", columns " +
                              std::to_string(t.column) + "-" + std::to_string(t.column + std::size_t(t.width) - 1);
    err_ << "kelmar: warning: ";
    if (t.count == 1) {
      err_ << shortestNumber(t.first) << " does not fit " << field << "; written as asterisks (" << where << ")\n";
    } else {
      err_ << t.count << " values do not fit " << field << "; written as asterisks, the first of them, "
           << shortestNumber(t.first) << ", on " << where << "\n";
    }
  }
  err_.flush();
  tooWide_.clear();
}

}  // namespace kelmar
