// Reading values from a text stream: free-format reads of texts, integers and
// reals across as many lines as they need, the skip of one line, the
// 130-character whole-line read of the marker scans, and the one fixed-column
// read (the frequency line of Polyrate files).
//
// A value that cannot be read, or end of input inside a read, ends the run
// (RunEnd, status 2) with a message naming the stream, the line, what was
// expected and what was found.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "shared/instream.h"

namespace kelmar {

// "name, line N: " for messages about line N of the stream (by default the
// line last read).
std::string placeOf(const InputStream& in, long line);
inline std::string placeOf(const InputStream& in) { return placeOf(in, in.lineNumber()); }

// The declared length of a text kept as it is read, neither cut nor padded
// (up to the longest line a stream hands out).
inline constexpr std::size_t kWholeText = std::string::npos;

// One item of a free-format read. A null destination reads the value and
// drops it (the words and atom numbers of the data lines).
struct ReadItem {
  enum class Kind { Text, Integer, Real };
  Kind kind;
  void* dest = nullptr;
  std::size_t length = 0;  // declared length of a text, or kWholeText
  long* line = nullptr;    // when set, receives the number of the line on which the value starts
  // When set, for a text: receives whether the value was an unquoted token
  // that a blank, tab, comma or slash ended with more text after it on its
  // line (a name that the user meant to hold that character, say).
  bool* cut = nullptr;

  static ReadItem text(std::string& s, std::size_t length) { return {Kind::Text, &s, length}; }
  static ReadItem word() { return {Kind::Text, nullptr, 0}; }
  static ReadItem integer(int& v) { return {Kind::Integer, &v}; }
  static ReadItem anyInteger() { return {Kind::Integer, nullptr}; }
  static ReadItem real(double& v) { return {Kind::Real, &v}; }
  ReadItem at(long& valueLine) const {
    ReadItem r = *this;
    r.line = &valueLine;
    return r;
  }
  ReadItem cutInto(bool& wasCut) const {
    ReadItem r = *this;
    r.cut = &wasCut;
    return r;
  }
};

// A read error inside a SectionScope also names the section.
//
// Fills the items from the next lines of the stream: values separated by
// blanks, tabs or a comma; lines without values are passed over; a slash ends
// the read and leaves the items not yet filled unchanged; two commas stand
// for a null value (the item keeps its value); r*c stands for r copies of c
// and r* for r null values; a text is one token, or a quoted text (apostrophes
// or quotation marks, a doubled delimiter standing for one, which may go on
// over several lines), cut or padded with blanks to its declared length. The
// rest of the last line used is dropped. A line that the stream cut (longer
// than its maxLineLength(), 1 MiB) and a quoted text longer than that are
// read errors.
void freeRead(InputStream& in, std::span<const ReadItem> items);
inline void freeRead(InputStream& in, std::initializer_list<ReadItem> items) {
  freeRead(in, std::span(items.begin(), items.size()));
}

// What a read leaves of the last line it used: the text after its last
// value (from the separator after it, or from the slash that ended the
// read) and that line's number; an empty text and line 0 when the read
// used no line.
struct LineRest {
  std::string text;
  long line = 0;
};

// The same read, which also hands out the rest of its last line, the text
// it drops; what it reads is the same.
void freeRead(InputStream& in, std::span<const ReadItem> items, LineRest& rest);

// The same read with an exit for a malformed value: returns false, and the
// item being filled and those after it keep their values; the stream stands
// after the line that held the value. End of input still ends the run.
bool freeReadUnlessMalformed(InputStream& in, std::span<const ReadItem> items);
inline bool freeReadUnlessMalformed(InputStream& in, std::initializer_list<ReadItem> items) {
  return freeReadUnlessMalformed(in, std::span(items.begin(), items.size()));
}

// Skips `count` lines (at least one), whatever they hold; end of input ends
// the run. Returns the last line skipped, valid until the next read.
std::string_view skipLines(InputStream& in, int count = 1);

// The line buffer of the marker scans: the first 130 characters of a line,
// blanks after a shorter line. Markers are found as case-sensitive
// substrings of these 130 characters, blanks included.
class LineBuffer {
 public:
  static constexpr std::size_t kLength = 130;
  LineBuffer();
  void assign(std::string_view line);
  bool contains(std::string_view marker) const;
  std::string_view view() const { return std::string_view(data_, kLength); }

 private:
  char data_[kLength];
};

// Reads the next line into the buffer; false at end of input (the buffer
// keeps its previous text).
bool readWholeLine(InputStream& in, LineBuffer& buffer);

// The frequency line of a Polyrate file: columns 16-26 and 37-56, each a
// real with 2 implied decimals when written without a point. With a null
// `second` only the first field is read (the line of a mode without a
// partner).
void readFrequencyColumns(InputStream& in, double& first, double* second);

}  // namespace kelmar
