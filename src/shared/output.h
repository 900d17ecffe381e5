// The lines the program writes on standard output: free-format lines (texts,
// 12-column integers and 24-column reals, at most 80 columns) and fixed
// layouts (texts, integers and fixed-point fields). Every line is flushed the
// moment it is complete, so that standard output and standard error keep the
// order in which the program writes them. A write that fails ends the run
// (RunEnd, status 4), with the system's reason when the stream's buffer is a
// DescriptorBuf.
#pragma once

#include <initializer_list>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelmar {

// One item of a write: a text (at its full length), an integer or a real.
struct OutItem {
  enum class Kind { Text, Integer, Real };
  Kind kind;
  std::string_view text;
  int integer = 0;
  double real = 0.0;

  OutItem(const char* t) : kind(Kind::Text), text(t) {}
  OutItem(std::string_view t) : kind(Kind::Text), text(t) {}
  OutItem(const std::string& t) : kind(Kind::Text), text(t) {}
  OutItem(int i) : kind(Kind::Integer), integer(i) {}
  OutItem(double d) : kind(Kind::Real), real(d) {}
};

// One field of a fixed layout: a text at its own length, an integer in 12
// columns, or a fixed-point field of `width` columns with `decimals`.
struct Field {
  OutItem::Kind kind;
  int width = 0;
  int decimals = 0;
  static Field text() { return {OutItem::Kind::Text}; }
  static Field integer() { return {OutItem::Kind::Integer}; }
  static Field fixed(int width, int decimals) { return {OutItem::Kind::Real, width, decimals}; }
};

using Layout = std::vector<Field>;

// The layouts of the program's tables.
const Layout& layoutTextF10();        // a label and one value (10 columns, 3 decimals)
const Layout& layoutThreeF10();       // three components (10 columns, 3 decimals)
const Layout& layoutModeLine();       // label, mode index, frequency, projection
const Layout& layoutSixF15();         // six fields of 15 columns with 8 decimals
const Layout& layoutHundredF15();     // a hundred fields of 15 columns with 8 decimals

// A real as a free-format line writes it: 24 columns.
std::string formatFreeReal(double x);
// An integer as a free-format line writes it: 12 columns.
std::string formatFreeInteger(int i);
// A real in the shortest form that reads back as the same double (for
// messages).
std::string shortestNumber(double x);
// A real in a fixed-point field; `tooWide` is set when the field is filled
// with asterisks.
std::string formatFixed(double x, int width, int decimals, bool& tooWide);

class Output {
 public:
  Output(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  // One free-format line (more when the 80-column limit is reached); no
  // items writes a line of one blank.
  void free(std::initializer_list<OutItem> items) { free(std::span(items.begin(), items.size())); }
  void free(std::span<const OutItem> items);

  // One fixed-layout line per pass through the layout.
  void fixed(const Layout& layout, std::initializer_list<OutItem> items) {
    fixed(layout, std::span(items.begin(), items.size()));
  }
  void fixed(const Layout& layout, std::span<const OutItem> items);

  // Text without a line end, flushed at once (the pause prompt).
  void raw(std::string_view text);

  std::ostream& err() { return err_; }

  // Whether a real written so far was not a finite number or did not fit
  // its fixed-point field.
  bool wroteUnfitValue() const { return unfit_; }

  // One warning per fixed-point field (F15.8, F10.3) in which values were
  // written as asterisks since the last call: how many, and where on
  // standard output the first one stands. A value out of bounds usually
  // spreads into hundreds of fields, so the warnings are kept until the run
  // ends, which calls this before its closing message.
  void writeFieldWarnings();

 private:
  // The values of one fixed-point field that were written as asterisks.
  struct TooWide {
    int width = 0;
    int decimals = 0;
    long count = 0;
    double first = 0.0;  // the first value, its line and its first column
    long line = 0;
    std::size_t column = 0;
  };
  void endLine(std::string& line);
  void send(std::string_view text);
  std::ostream& out_;
  std::ostream& err_;
  bool unfit_ = false;
  long linesWritten_ = 0;
  std::size_t openColumns_ = 0;  // of the last line written, when it has no line end yet
  std::vector<TooWide> tooWide_;  // in the order of their first values
};

}  // namespace kelmar
