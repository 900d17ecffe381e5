#include "shared/instream.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "shared/runend.h"

namespace kelmar {
namespace {
constexpr std::size_t kChunk = std::size_t(1) << 20;
}

std::string Section::describe() const {
  std::string_view u(unit);
  std::string range = first == last ? std::string(u.substr(0, u.size() - 1)) + " " + std::to_string(first)
                                    : std::string(u) + " " + std::to_string(first) + "-" + std::to_string(last);
  std::string text = std::string(what) + " of " + range;
  if (structure > 0) text += ", structure " + std::to_string(structure);
  return text + ", natom " + std::to_string(natom);
}

InputStream::InputStream(int fd, std::string name, bool owned)
    : fd_(fd), owned_(owned), name_(std::move(name)) {
  buf_.resize(kChunk);
}

InputStream::InputStream(std::string_view text, std::string name)
    : eof_(true), name_(std::move(name)), buf_(text.begin(), text.end()), end_(text.size()) {}

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
  if (end_ == buf_.size()) buf_.resize(buf_.size() * 2);
  for (;;) {
    ssize_t n = ::read(fd_, buf_.data() + end_, buf_.size() - end_);
    if (n > 0) {
      end_ += std::size_t(n);
      return true;
    }
    if (n == 0) {
      eof_ = true;
      return false;
    }
    if (errno == EINTR) continue;
    throw RunEnd{2, "kelmar: " + name_ + ", line " + std::to_string(lineNumber_ + 1) +
                        ": read error: " + std::strerror(errno)};
  }
}

bool InputStream::nextLinePart(std::string_view& line, std::size_t limit) {
  std::size_t scanned = 0;  // bytes after begin_ known to hold no line end
  for (;;) {
    const char* base = buf_.data() + begin_;
    std::size_t held = end_ - begin_;
    const void* nl = held > scanned ? std::memchr(base + scanned, '\n', held - scanned) : nullptr;
    std::size_t len = 0;
    std::size_t consumed = 0;
    if (nl != nullptr) {
      len = std::size_t(static_cast<const char*>(nl) - base);
      consumed = len + 1;
    } else if (held > limit) {
      len = held;
    } else if (eof_) {
      if (held == 0) {
        canStepBack_ = false;
        return false;
      }
      len = consumed = held;
    } else {
      // The held bytes move to the front of the buffer, so the scan resumes
      // at the same distance from begin_.
      scanned = held;
      fill();
      continue;
    }
    // a longer line: only its first part, the rest stays unread
    if (len > limit) return handOut(limit, limit, false, line);
    return handOut(len, consumed, true, line);
  }
}

bool InputStream::handOut(std::size_t len, std::size_t consumed, bool whole, std::string_view& line) {
  const char* base = buf_.data() + begin_;
  lastStart_ = begin_;
  canStepBack_ = true;
  ++lineNumber_;
  begin_ += consumed;
  if (whole && len > 0 && base[len - 1] == '\r') --len;
  line = std::string_view(base, len);
  return true;
}

bool InputStream::nextLine(std::string_view& line) {
  // the usual case first: the whole line is held
  const char* base = buf_.data() + begin_;
  const std::size_t held = end_ - begin_;
  const void* nl = held > 0 ? std::memchr(base, '\n', held) : nullptr;
  if (nl == nullptr) return nextLinePart(line, std::string_view::npos);
  std::size_t len = std::size_t(static_cast<const char*>(nl) - base);
  return handOut(len, len + 1, true, line);
}

void InputStream::stepBack() {
  if (!canStepBack_) throw std::logic_error("step back without a line read");
  begin_ = lastStart_;
  --lineNumber_;
  canStepBack_ = false;
}

void InputStream::passOver(const LineSearch& search) {
  canStepBack_ = false;
  for (;;) {
    const char* base = buf_.data() + begin_;
    std::size_t held = end_ - begin_;
    // Whole lines only: the bytes up to the last line end held, and at the
    // end of input the last line without one.
    std::size_t whole = held;
    if (!eof_) {
      while (whole > 0 && base[whole - 1] != '\n') --whole;
    }
    if (whole > 0) {
      long ends = 0;
      std::size_t hit = search.find(base, whole, ends);
      lineNumber_ += ends;
      if (hit < whole) {
        std::size_t start = hit;
        while (start > 0 && base[start - 1] != '\n') --start;
        begin_ += start;
        return;
      }
      begin_ += whole;
      if (eof_ && base[whole - 1] != '\n') ++lineNumber_;  // the last line, without a line end
    }
    if (eof_ || !fill()) {
      if (begin_ == end_) return;
    }
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
