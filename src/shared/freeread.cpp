#include "shared/freeread.h"

#include <cstring>
#include <vector>

#include "shared/numbers.h"
#include "shared/plainline.h"
#include "shared/runend.h"

namespace kelmar {
namespace {

// Every read error ends here: the place, what went wrong, and the section
// of the file being read, if any.
[[noreturn]] void readError(const InputStream& in, long line, const std::string& what) {
  std::string context;
  if (const Section* section = in.section()) context = section->describe();
  // what the file looks like, when it looks like another kind of file
  const std::string hint = in.fileHint();
  if (!hint.empty()) context += (context.empty() ? "" : "; ") + hint;
  std::string message = placeOf(in, line) + what;
  if (!context.empty()) message += " (" + context + ")";
  rejectInput(message);
}

// A dashed line, which ends a table (the geometry table of a Gaussian file).
bool isRule(std::string_view token) {
  return token.size() >= 3 && token.find_first_not_of('-') == std::string_view::npos;
}

// A read error on the first value of a row of a table of atom rows (see
// Section::rowsOfAtoms), where the table ends: at a dashed line, or at an
// empty line that the read passed over (`firstLine`, the first line the
// read looked at, holds no value). The table then holds fewer rows than
// natom, which the message says instead of what was found there. Not for a
// file that looks like another kind of file, whose tables are not those the
// reader expects.
void rejectShortTable(const InputStream& in, const Section& section, long firstLine, long valueLine,
                      std::string_view value) {
  const int atom = section.first + section.reads - 1;  // the row being read
  if (!section.atomRows || atom <= section.first || atom > section.last) return;
  const bool afterEmptyLine = valueLine > firstLine;
  if (!afterEmptyLine && !isRule(value)) return;
  if (!in.fileHint().empty()) return;
  std::string name = section.what;
  if (section.structure > 0) name += " of structure " + std::to_string(section.structure);
  rejectInput(placeOf(in, afterEmptyLine ? firstLine : valueLine) + name + " ends after atom " +
              std::to_string(atom - 1) + ", but natom is " + std::to_string(section.natom) +
              " (natom in the control file must be the number of atoms in the structure files)");
}

[[noreturn]] void endOfInput(const InputStream& in, const std::string& expected) {
  readError(in, in.lineNumber() + 1, "end of input, expected " + expected);
}

// "1048576 bytes (1 MiB)"
std::string byteCount(std::size_t n) {
  constexpr std::size_t kMiB = std::size_t(1) << 20;
  std::string text = std::to_string(n) + " bytes";
  if (n % kMiB == 0) text += " (" + std::to_string(n / kMiB) + " MiB)";
  return text;
}

const char* kindName(ReadItem::Kind k, bool plural) {
  switch (k) {
    case ReadItem::Kind::Text:
      return plural ? "texts" : "a text";
    case ReadItem::Kind::Integer:
      return plural ? "integers" : "an integer";
    case ReadItem::Kind::Real:
      return plural ? "real numbers" : "a real number";
  }
  return "";
}

// "an integer, 3 real numbers and a text"
std::string describe(std::span<const ReadItem> items) {
  std::vector<std::string> groups;
  for (std::size_t i = 0; i < items.size();) {
    std::size_t j = i;
    while (j < items.size() && items[j].kind == items[i].kind) ++j;
    std::size_t n = j - i;
    groups.push_back(n == 1 ? kindName(items[i].kind, false)
                            : std::to_string(n) + " " + kindName(items[i].kind, true));
    i = j;
  }
  std::string out = groups.front();
  for (std::size_t g = 1; g < groups.size(); ++g) {
    out += (g + 1 == groups.size() ? " and " : ", ") + groups[g];
  }
  return out;
}

// Cuts the values of free-format input out of the lines of one read. A line
// that the stream cut, or a quoted text longer than a line may be, ends the
// run: the values of a data line must all be seen.
class ValueScanner {
 public:
  enum class Kind { Value, Quoted, Null, Slash, End };

  explicit ValueScanner(InputStream& in) : in_(in) {}

  // The line on which the value just handed out starts (a quoted text may
  // end on a later one); for a null value, the line of its comma.
  long valueLine() const { return valueLine_; }

  // Whether the token just cut out ended at a separator with more than
  // separators after it on its line.
  bool moreAfterToken() const {
    if (pos_ >= line_.size()) return false;
    return line_.substr(pos_ + 1).find_first_not_of(" \t,") != std::string_view::npos;
  }

  // The rest of the line in use after the value just handed out; empty
  // before the first line.
  std::string_view rest() const { return haveLine_ && pos_ < line_.size() ? line_.substr(pos_) : std::string_view(); }

  Kind next(std::string_view& value) {
    if (repeatLeft_ > 0) {
      --repeatLeft_;
      value = repeatValue_;
      return repeatKind_;
    }
    for (;;) {
      if (!haveLine_ || pos_ >= line_.size()) {
        if (!nextLine()) return Kind::End;
        haveLine_ = true;
        pos_ = 0;
        continue;
      }
      char c = line_[pos_];
      if (c == ' ' || c == '\t') {
        ++pos_;
        continue;
      }
      if (c == ',') {
        ++pos_;
        if (sawComma_) {
          valueLine_ = in_.lineNumber();
          return Kind::Null;
        }
        sawComma_ = true;
        continue;
      }
      if (c == '/') return Kind::Slash;
      sawComma_ = false;
      valueLine_ = in_.lineNumber();
      // r*c: r copies of the value c; r* alone: r null values
      std::size_t j = pos_;
      while (j < line_.size() && line_[j] >= '0' && line_[j] <= '9') ++j;
      if (j > pos_ && j < line_.size() && line_[j] == '*') {
        long r = 0;
        for (std::size_t k = pos_; k < j && r < 1000000000L; ++k) r = r * 10 + (line_[k] - '0');
        if (r > 0) {
          pos_ = j + 1;
          Kind kind = Kind::Null;
          if (pos_ < line_.size() && !endsValue(line_[pos_])) kind = single(value);
          if (kind == Kind::End) return kind;
          repeatValue_.assign(value.data(), kind == Kind::Null ? 0 : value.size());
          value = repeatValue_;
          repeatKind_ = kind;
          repeatLeft_ = r - 1;
          return kind;
        }
      }
      return single(value);
    }
  }

 private:
  static bool endsValue(char c) { return c == ' ' || c == '\t' || c == ',' || c == '/'; }

  bool nextLine() {
    if (!in_.nextLine(line_)) return false;
    if (in_.lastLineCut()) {
      readError(in_, in_.lineNumber(),
                "the line is longer than " + byteCount(in_.maxLineLength()) + ", the most a data line may hold");
    }
    return true;
  }

  // One value starting at pos_: a quoted text or a token.
  Kind single(std::string_view& value) {
    char c = line_[pos_];
    if (c == '\'' || c == '"') {
      quoted_.clear();
      ++pos_;
      const long opened = in_.lineNumber();
      for (;;) {
        if (quoted_.size() > in_.maxLineLength()) {
          readError(in_, in_.lineNumber(),
                    "the quoted text opened on line " + std::to_string(opened) + " holds more than " +
                        byteCount(in_.maxLineLength()) + ", the most a text value may hold");
        }
        if (pos_ >= line_.size()) {
          // a quoted text goes on over the next line; the line end adds nothing
          if (!nextLine()) return Kind::End;
          pos_ = 0;
          continue;
        }
        char d = line_[pos_++];
        if (d == c) {
          if (pos_ < line_.size() && line_[pos_] == c) {
            quoted_ += c;
            ++pos_;
            continue;
          }
          break;
        }
        quoted_ += d;
      }
      value = quoted_;
      return Kind::Quoted;
    }
    std::size_t j = pos_;
    while (j < line_.size() && !endsValue(line_[j])) ++j;
    value = line_.substr(pos_, j - pos_);
    pos_ = j;
    return Kind::Value;
  }

  InputStream& in_;
  std::string_view line_;
  std::size_t pos_ = 0;
  bool haveLine_ = false;
  bool sawComma_ = true;  // a comma at the start of a read is a null value
  long valueLine_ = 0;
  long repeatLeft_ = 0;
  Kind repeatKind_ = Kind::Null;
  std::string repeatValue_;
  std::string quoted_;
};

void assignText(std::string& dest, std::size_t length, std::string_view value) {
  dest.assign(value.substr(0, length));
  if (length != kWholeText) dest.resize(length, ' ');
}

// Returns false at a malformed value when `malformedExit` is set. With
// `rest` set, the general read runs (the quick read gives the same values
// but does not keep its line) and hands out what it leaves of its last line.
bool readItems(InputStream& in, std::span<const ReadItem> items, bool malformedExit, LineRest* rest = nullptr) {
  if (items.empty()) {
    skipLines(in, 1);
    return true;
  }
  const Section* section = in.section();
  if (section) ++section->reads;
  const long firstLine = in.lineNumber() + 1;
  if (rest == nullptr && in.plainLineReads() && readPlainLine(in, items)) return true;
  ValueScanner scanner(in);
  auto keepRest = [&] {
    if (rest == nullptr) return;
    rest->text.assign(scanner.rest());
    rest->line = in.lineNumber();
  };
  for (std::size_t i = 0; i < items.size(); ++i) {
    const ReadItem& item = items[i];
    std::string_view value;
    ValueScanner::Kind kind = scanner.next(value);
    if (kind == ValueScanner::Kind::End) endOfInput(in, describe(items.subspan(i)));
    if (kind == ValueScanner::Kind::Slash) {
      keepRest();
      return true;
    }
    if (item.line) *item.line = scanner.valueLine();
    if (kind == ValueScanner::Kind::Null) continue;
    bool ok = true;
    switch (item.kind) {
      case ReadItem::Kind::Text:
        if (item.dest) assignText(*static_cast<std::string*>(item.dest), item.length, value);
        if (item.cut) *item.cut = kind == ValueScanner::Kind::Value && scanner.moreAfterToken();
        break;
      case ReadItem::Kind::Integer: {
        int v = 0;
        ok = kind == ValueScanner::Kind::Value && parseInteger(value, v);
        if (ok && item.dest) *static_cast<int*>(item.dest) = v;
        break;
      }
      case ReadItem::Kind::Real: {
        double v = 0.0;
        ok = kind == ValueScanner::Kind::Value && parseReal(value, v);
        if (ok && item.dest) *static_cast<double*>(item.dest) = v;
        break;
      }
    }
    if (!ok) {
      if (malformedExit) return false;
      if (i == 0 && section) rejectShortTable(in, *section, firstLine, scanner.valueLine(), value);
      std::string found =
          (kind == ValueScanner::Kind::Quoted ? "the quoted text " : "") + quoteForMessage(value);
      readError(in, in.lineNumber(), std::string("expected ") + kindName(item.kind, false) + ", found " + found);
    }
  }
  keepRest();
  return true;
}

}  // namespace

std::string placeOf(const InputStream& in, long line) {
  return in.name() + ", line " + std::to_string(line) + ": ";
}

void freeRead(InputStream& in, std::span<const ReadItem> items) { readItems(in, items, false); }

void freeRead(InputStream& in, std::span<const ReadItem> items, LineRest& rest) {
  rest = LineRest{};
  readItems(in, items, false, &rest);
}

bool freeReadUnlessMalformed(InputStream& in, std::span<const ReadItem> items) {
  return readItems(in, items, true);
}

std::string_view skipLines(InputStream& in, int count) {
  std::string_view line;
  for (int i = 0; i < count; ++i) {
    if (!in.nextLine(line)) endOfInput(in, "a line to skip");
  }
  return line;
}

LineBuffer::LineBuffer() { std::memset(data_, ' ', kLength); }

void LineBuffer::assign(std::string_view line) {
  std::size_t n = line.size() < kLength ? line.size() : kLength;
  std::memcpy(data_, line.data(), n);
  std::memset(data_ + n, ' ', kLength - n);
}

bool LineBuffer::contains(std::string_view marker) const {
  return std::string_view(data_, kLength).find(marker) != std::string_view::npos;
}

bool readWholeLine(InputStream& in, LineBuffer& buffer) {
  std::string_view line;
  if (!in.nextLine(line)) return false;
  buffer.assign(line);
  return true;
}

void readFrequencyColumns(InputStream& in, double& first, double* second) {
  std::string_view line;
  if (!in.nextLine(line)) endOfInput(in, "a frequency line");
  struct Column {
    std::size_t from, width;
    double* dest;
  };
  const Column columns[] = {{15, 11, &first}, {36, 20, second}};
  for (const Column& c : columns) {
    if (c.dest == nullptr) continue;
    std::string_view field = c.from < line.size() ? line.substr(c.from, c.width) : std::string_view();
    if (!parseFixedField(field, 2, *c.dest)) {
      readError(in, in.lineNumber(),
                "expected a real number in columns " + std::to_string(c.from + 1) + "-" +
                    std::to_string(c.from + c.width) + ", found " + quoteForMessage(field));
    }
  }
}

}  // namespace kelmar
