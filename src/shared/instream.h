// A text stream read line by line: standard input, a file opened by name, or
// a text held in memory. Lines are handed out as views into one reusable
// buffer, so that a file of hundreds of megabytes is scanned in one pass
// without a copy or an allocation per line.
//
// A stream read from a file descriptor holds at most twice the longest line
// it hands out (2 MiB), however long the lines of the file are: a longer
// line is handed out as its first part only, and the rest of it is passed
// over as it is read, without being held. A text in memory is cut at the
// same length, so that the way a file arrives changes nothing.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelmar {

// The section of a file that a reader is in, for the messages of read
// errors: `what` ("the mode block") over the atoms or modes first..last of
// structure `structure` (0 when the file holds one structure), or `what`
// alone when `unit` is null (a value of the control file).
struct Section {
  Section(const char* what_, const char* unit_, int first_, int last_, int structure_, int natom_,
          std::string hint_ = {}, bool atomRows_ = false)
      : what(what_),
        unit(unit_),
        first(first_),
        last(last_),
        structure(structure_),
        natom(natom_),
        hint(std::move(hint_)),
        atomRows(atomRows_) {}
  // A table of natom rows, one free-format read per atom (1..natom), which
  // ends at a dashed line or an empty line: a read error on the first value
  // of a row there says that the table ends before natom rows.
  static Section rowsOfAtoms(const char* what, int natom, int structure = 0) {
    return Section(what, "atoms", 1, natom, structure, natom, {}, true);
  }
  // A section that is one value, named by `what` alone, without a range
  // (a value of the control file).
  static Section named(const char* what_) { return Section(what_, nullptr, 0, 0, 0, 0); }
  const char* what;
  const char* unit;  // plural ("atoms"); a range of one drops the final s
  int first;
  int last;
  int structure;
  int natom;         // named when above 0
  std::string hint;  // what may have gone wrong, when known
  bool atomRows;     // see rowsOfAtoms
  // The free-format reads begun in the section so far, counted by the reads:
  // in a table of atom rows, the read of atom first + reads - 1 is the
  // last one begun.
  mutable int reads = 0;
  // "the mode block of modes 34-36"
  std::string name() const;
  // "the mode block of modes 34-36, natom 13", then "; " and the hint
  std::string describe() const;
};

// A search over the bytes of whole lines, for InputStream::passOver.
class LineSearch {
 public:
  virtual ~LineSearch() = default;
  // The offset of the first byte of data[0, size) at which a hit starts, or
  // `size` when there is none; `lineEnds` grows by the number of line ends
  // before that offset. `data` holds whole lines (the last one of a stream
  // may lack its line end), or the first bytes of a line longer than a
  // stream holds, without its line end; either way a hit of a text without
  // line ends lies within one line.
  virtual std::size_t find(const char* data, std::size_t size, long& lineEnds) const = 0;
};

// The most bytes of a line (before its line end) that a read hands out.
inline constexpr std::size_t kMaxLineLength = std::size_t(1) << 20;

class InputStream {
 public:
  // Reads the open file descriptor fd; closes it at the end when `owned`.
  // `maxLineLength` (at least 2) is the longest line handed out whole; the
  // tests give shorter ones, to reach the stream's limits with short texts.
  InputStream(int fd, std::string name, bool owned, std::size_t maxLineLength = kMaxLineLength);
  // Reads the given text (a copy is kept).
  InputStream(std::string_view text, std::string name, std::size_t maxLineLength = kMaxLineLength);
  ~InputStream();
  InputStream(const InputStream&) = delete;
  InputStream& operator=(const InputStream&) = delete;

  // The next line, without its line end; a carriage return just before the
  // line end is dropped. The last line counts even without a line end. The
  // view stays valid until the next call. Returns false at end of input.
  // A line of more than maxLineLength() bytes is cut: the view holds its
  // first maxLineLength() bytes, lastLineCut() says so, and the rest of the
  // line is passed over before the next read.
  bool nextLine(std::string_view& line);

  // Whether the line that nextLine handed out last was cut.
  bool lastLineCut() const { return lastCut_; }

  // Like nextLine, but hands out at most `limit` characters (and never more
  // than maxLineLength()); the rest of a longer line stays unread and is
  // what the next read sees.
  bool nextLinePart(std::string_view& line, std::size_t limit);

  // Moves back before the line that the last call handed out, so that the
  // next call hands it out again (a cut line as the same first part). One
  // step only.
  void stepBack();

  // Passes over the lines in which `search` finds nothing, as if each had
  // been read (the line numbers go on counting them), and stops before the
  // first line with a hit, which the next read hands out; at the end of
  // input when no line has one. Each byte is searched once. Of a line that
  // a read cuts, the search sees at least its first maxLineLength() + 2
  // bytes (everything a read could hand out of it): a stream that reads a
  // file descriptor searches what its buffer holds of the line, up to
  // 2 * maxLineLength() bytes, and passes over the rest unsearched, unless
  // the line end is held too; a stream over a text in memory searches the
  // whole line. Nothing can be stepped back over after it.
  void passOver(const LineSearch& search);

  // The name used in messages: the file's name, or "standard input".
  const std::string& name() const { return name_; }
  // The number of the line last handed out (0 before the first).
  long lineNumber() const { return lineNumber_; }
  // The longest line handed out whole.
  std::size_t maxLineLength() const { return maxLine_; }
  // The bytes the stream's buffer has room for: a fixed 2 * maxLineLength()
  // when it reads a file descriptor, the text's length when it holds one.
  // Only the tests ask, to check that a long line leaves the buffer that
  // size.
  std::size_t bufferCapacity() const { return buf_.size(); }

  // Whether a free-format read first tries its line as plain numbers (see
  // readPlainLine), the quick way to the same values; on unless turned off,
  // as the tests do to check the general read alone.
  bool plainLineReads() const { return plainLineReads_; }
  void setPlainLineReads(bool on) { plainLineReads_ = on; }

  // The section being read, or null; see SectionScope.
  const Section* section() const { return section_; }
  void setSection(const Section* section) { section_ = section; }

  // The first bytes of the input (at most kHeadLength), kept as they are
  // read, for messages that say what kind of file the stream holds: the
  // signature that an outside program writes in its first lines.
  static constexpr std::size_t kHeadLength = std::size_t(16) << 10;
  std::string_view head() const;

  // What a message about the stream adds about the file as a whole (what it
  // looks like), computed when a message asks for it; empty when nothing,
  // or when no hint was set.
  void setFileHint(std::function<std::string(const InputStream&)> hint) { fileHint_ = std::move(hint); }
  std::string fileHint() const { return fileHint_ ? fileHint_(*this) : std::string(); }

 private:
  // Reads more input after the bytes held, which move to the front of the
  // buffer first; false at end of input.
  bool fill();
  // The offset from the read position of the first line end among the next
  // `reach` bytes (at most the buffer's size), reading more input while
  // fewer are held; npos when there is none there, and then at least
  // `reach` bytes are held, or all that is left of the input.
  std::size_t findLineEnd(std::size_t reach);
  // nextLine when the line is not held whole.
  bool nextLineSlowly(std::string_view& line);
  // Moves past the next line end, or to the end of input, holding no more
  // than one buffer of the bytes passed over.
  void dropRestOfLine();
  // Passes over the rest of the line last handed out when it was cut.
  void passRestOfCutLine();
  // Hands out the `len` bytes at the read position as the next line and
  // moves past `consumed` bytes; a carriage return that ends a `whole` line
  // is dropped; a `cut` line leaves its rest to pass over. Returns true.
  bool handOut(std::size_t len, std::size_t consumed, bool whole, bool cut, std::string_view& line);

  int fd_ = -1;
  bool owned_ = false;
  bool eof_ = false;
  std::string name_;
  std::size_t maxLine_;
  std::vector<char> buf_;
  std::size_t begin_ = 0;      // first unread byte
  std::size_t end_ = 0;        // end of the bytes held
  std::size_t lastStart_ = 0;  // start of the line last handed out
  long lineNumber_ = 0;
  bool canStepBack_ = false;
  bool lastCut_ = false;     // the line last handed out was cut
  bool restToPass_ = false;  // and its rest, from begin_ on, is still to pass over
  bool plainLineReads_ = true;
  const Section* section_ = nullptr;
  std::string head_;  // of a stream that reads a file descriptor
  std::function<std::string(const InputStream&)> fileHint_;
};

// Marks the reads of one section of a structure file for as long as it
// lives, so that a read error there also names the section.
class SectionScope {
 public:
  SectionScope(InputStream& in, const Section& section) : in_(in), section_(section), outer_(in.section()) {
    in_.setSection(&section_);
  }
  ~SectionScope() { in_.setSection(outer_); }
  SectionScope(const SectionScope&) = delete;
  SectionScope& operator=(const SectionScope&) = delete;

 private:
  InputStream& in_;
  Section section_;
  const Section* outer_;
};

// Opens the file `path` for reading. On failure returns null and sets `why`
// to the system's reason.
std::unique_ptr<InputStream> openInputFile(const std::string& path, std::string& why);

}  // namespace kelmar
