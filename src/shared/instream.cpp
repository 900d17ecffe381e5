#include "shared/instream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "shared/runend.h"

namespace kelmar {
namespace {

// A line end within `reach` bytes of a line's start still ends a line of
// the longest length handed out, after a carriage return.
std::size_t reachOf(std::size_t maxLine) { return maxLine + 2; }

// The most bytes one read asks for. Half the buffer of the longest lines:
// a refill then lands where the bytes just handed out were, which the cache
// still holds, and the scan finds it there.
constexpr std::size_t kReadSize = std::size_t(1) << 20;

std::size_t checkedLimit(std::size_t maxLine) {
  if (maxLine < 2) throw std::logic_error("line limit below 2 bytes");
  return maxLine;
}

}  // namespace

std::string Section::name() const {
  if (unit == nullptr) return what;
  std::string_view u(unit);
  std::string range = first == last ? std::string(u.substr(0, u.size() - 1)) + " " + std::to_string(first)
                                    : std::string(u) + " " + std::to_string(first) + "-" + std::to_string(last);
  return std::string(what) + " of " + range;
}

std::string Section::describe() const {
  std::string text = name();
  if (structure > 0) text += ", structure " + std::to_string(structure);
  if (natom > 0) text += ", natom " + std::to_string(natom);
  if (!hint.empty()) text += "; " + hint;
  return text;
}

InputStream::InputStream(int fd, std::string name, bool owned, std::size_t maxLineLength)
    : fd_(fd), owned_(owned), name_(std::move(name)), maxLine_(checkedLimit(maxLineLength)) {
  // room for a line of the longest length with its line end and a carriage
  // return, wherever the line starts when the buffer is refilled
  buf_.resize(2 * maxLine_);
}

InputStream::InputStream(std::string_view text, std::string name, std::size_t maxLineLength)
    : eof_(true),
      name_(std::move(name)),
      maxLine_(checkedLimit(maxLineLength)),
      buf_(text.begin(), text.end()),
      end_(text.size()) {}

InputStream::~InputStream() {
  if (owned_ && fd_ >= 0) ::close(fd_);
}

bool InputStream::fill() {
  if (eof_) return false;
  // Keep the unread bytes; everything before them has been handed out.
  if (begin_ > 0) {
    std::memmove(buf_.data(), buf_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  // The callers read on only while fewer bytes are held than the longest
  // line with its line end and a carriage return (maxLineLength() + 2, at
  // most the buffer's 2 * maxLineLength()), or, in passOver, after passing
  // over at least one whole line: so there is room.
  if (end_ == buf_.size()) throw std::logic_error("stream buffer full");
  for (;;) {
    ssize_t n = ::read(fd_, buf_.data() + end_, std::min(buf_.size() - end_, kReadSize));
    if (n > 0) {
      if (head_.size() < kHeadLength) {
        head_.append(buf_.data() + end_, std::min(std::size_t(n), kHeadLength - head_.size()));
      }
      end_ += std::size_t(n);
      return true;
    }
    if (n == 0) {
      eof_ = true;
      return false;
    }
    if (errno == EINTR) continue;
    // the line being read: the one last handed out while its rest is passed over
    const long line = lineNumber_ + (restToPass_ ? 0 : 1);
    throw RunEnd{2, "kelmar: " + name_ + ", line " + std::to_string(line) + ": read error: " + std::strerror(errno)};
  }
}

std::string_view InputStream::head() const {
  // a text in memory stays in the buffer as it was given
  if (fd_ < 0) return std::string_view(buf_.data(), std::min(end_, kHeadLength));
  return head_;
}

std::size_t InputStream::findLineEnd(std::size_t reach) {
  std::size_t scanned = 0;  // bytes after begin_ known to hold no line end
  for (;;) {
    const char* base = buf_.data() + begin_;
    const std::size_t window = std::min(end_ - begin_, reach);
    if (window > scanned) {
      const void* nl = std::memchr(base + scanned, '\n', window - scanned);
      if (nl != nullptr) return std::size_t(static_cast<const char*>(nl) - base);
      // The held bytes move to the front of the buffer, so the scan resumes
      // at the same distance from begin_.
      scanned = window;
    }
    if (window == reach || !fill()) return std::string_view::npos;
  }
}

void InputStream::dropRestOfLine() {
  for (;;) {
    const char* base = buf_.data() + begin_;
    const void* nl = std::memchr(base, '\n', end_ - begin_);
    if (nl != nullptr) {
      begin_ += std::size_t(static_cast<const char*>(nl) - base) + 1;
      return;
    }
    begin_ = end_;
    if (!fill()) return;
  }
}

void InputStream::passRestOfCutLine() {
  if (!restToPass_) return;
  dropRestOfLine();
  restToPass_ = false;
}

bool InputStream::handOut(std::size_t len, std::size_t consumed, bool whole, bool cut, std::string_view& line) {
  const char* base = buf_.data() + begin_;
  lastStart_ = begin_;
  canStepBack_ = true;
  lastCut_ = cut;
  restToPass_ = cut;
  ++lineNumber_;
  begin_ += consumed;
  if (whole && len > 0 && base[len - 1] == '\r') --len;
  line = std::string_view(base, len);
  return true;
}

bool InputStream::nextLinePart(std::string_view& line, std::size_t limit) {
  passRestOfCutLine();
  limit = std::min(limit, maxLine_);
  const std::size_t nl = findLineEnd(limit + 1);
  const std::size_t held = end_ - begin_;
  if (nl != std::string_view::npos) return handOut(nl, nl + 1, true, false, line);
  // a longer line: only its first part, the rest stays unread
  if (held > limit) return handOut(limit, limit, false, false, line);
  if (held == 0) {
    canStepBack_ = false;
    return false;
  }
  return handOut(held, held, true, false, line);  // the last line, without a line end
}

bool InputStream::nextLine(std::string_view& line) {
  // the usual case first: the whole line is held
  if (!restToPass_) {
    const char* base = buf_.data() + begin_;
    const std::size_t held = end_ - begin_;
    const void* nl = held > 0 ? std::memchr(base, '\n', std::min(held, reachOf(maxLine_))) : nullptr;
    if (nl != nullptr) {
      const std::size_t len = std::size_t(static_cast<const char*>(nl) - base);
      if (len <= maxLine_) return handOut(len, len + 1, true, false, line);
    }
  }
  return nextLineSlowly(line);
}

bool InputStream::nextLineSlowly(std::string_view& line) {
  passRestOfCutLine();
  const std::size_t nl = findLineEnd(reachOf(maxLine_));
  const std::size_t held = end_ - begin_;
  if (nl == std::string_view::npos && held == 0) {
    canStepBack_ = false;
    return false;
  }
  // Without a line end among the bytes held, the line is the last one, or
  // one longer than the longest handed out.
  const std::size_t len = nl == std::string_view::npos ? held : nl;
  const char* base = buf_.data() + begin_;
  const std::size_t text = len > 0 && base[len - 1] == '\r' ? len - 1 : len;
  if (text > maxLine_) return handOut(maxLine_, maxLine_, false, true, line);
  return handOut(len, nl == std::string_view::npos ? len : len + 1, true, false, line);
}

void InputStream::stepBack() {
  if (!canStepBack_) throw std::logic_error("step back without a line read");
  begin_ = lastStart_;
  --lineNumber_;
  canStepBack_ = false;
  lastCut_ = false;
  restToPass_ = false;
}

void InputStream::passOver(const LineSearch& search) {
  passRestOfCutLine();
  canStepBack_ = false;
  std::size_t known = 0;  // bytes after begin_ known to hold no line end
  for (;;) {
    const char* base = buf_.data() + begin_;
    const std::size_t held = end_ - begin_;
    // Whole lines only: the bytes up to the last line end held, and at the
    // end of input the last line without one. Only the bytes read since the
    // last look can hold that line end.
    std::size_t whole = eof_ ? held : 0;
    for (std::size_t k = held; whole == 0 && k > known; --k) {
      if (base[k - 1] == '\n') whole = k;
    }
    if (whole > 0) {
      long ends = 0;
      const std::size_t hit = search.find(base, whole, ends);
      lineNumber_ += ends;
      if (hit < whole) {
        std::size_t start = hit;
        while (start > 0 && base[start - 1] != '\n') --start;
        begin_ += start;
        return;
      }
      begin_ += whole;
      if (eof_ && base[whole - 1] != '\n') ++lineNumber_;  // the last line, without a line end
      known = end_ - begin_;
    } else if (held >= reachOf(maxLine_)) {
      // A line that a read cuts, its line end not yet held: what is held of
      // its start is searched (a hit there stops before the line), and the
      // rest of it is passed over unsearched, as one line.
      long ends = 0;
      if (search.find(base, held, ends) < held) return;
      begin_ = end_;
      dropRestOfLine();
      ++lineNumber_;
      known = 0;
      continue;
    } else {
      known = held;
    }
    if (!fill() && begin_ == end_) return;
  }
}

std::unique_ptr<InputStream> openInputFile(const std::string& path, std::string& why) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    why = std::strerror(errno);
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    why = std::strerror(EISDIR);
    return nullptr;
  }
#ifdef POSIX_FADV_SEQUENTIAL
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
  return std::make_unique<InputStream>(fd, path, true);
}

}  // namespace kelmar
