// Streams over texts as a reader can get them: from memory, from a regular
// file, or through a pipe that a thread fills in pieces, so that the reads
// come back short and a line is split across them. The unit tests and the
// fuzz targets both use it; it needs nothing but the program's library.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "shared/instream.h"

namespace kelmar {

enum class Transport { Memory, File, Pipe };

inline const char* transportName(Transport how) {
  switch (how) {
    case Transport::Memory:
      return "memory";
    case Transport::File:
      return "file";
    case Transport::Pipe:
      return "pipe";
  }
  return "?";
}

// Writes all of `text` into fd, again after an interrupted or short write;
// false when a write fails.
inline bool writeAllTo(int fd, std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const ssize_t w = ::write(fd, text.data() + at, text.size() - at);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    at += std::size_t(w);
  }
  return true;
}

// Writes `text` into the write end of a pipe, fd, in pieces of the sizes in
// `pieces`, in turn (each at least 1 byte; after `smallWrites` writes, each
// at least `leastLater` bytes, so that small pieces cost a bounded number of
// system calls), until all is written or the reader has closed its end;
// then closes fd.
inline void writeInPieces(int fd, std::string_view text, const std::vector<std::size_t>& pieces,
                          std::size_t smallWrites = SIZE_MAX, std::size_t leastLater = 1) {
  std::size_t writes = 0;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t piece = std::max<std::size_t>(1, pieces[writes % pieces.size()]);
    if (writes >= smallWrites) piece = std::max(piece, leastLater);
    ++writes;
    const ssize_t w = ::write(fd, text.data() + at, std::min(piece, text.size() - at));
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) break;  // the reader has closed its end
    at += std::size_t(w);
  }
  ::close(fd);
}

// A stream that reads the file descriptor fd and closes it at its end. When
// the stream cannot be made, fd is closed before the exception goes on, so
// that a pipe's writer waiting on a full pipe sees its reader gone.
inline std::unique_ptr<InputStream> streamOwning(int fd, const std::string& name, std::size_t maxLineLength) {
  try {
    return std::make_unique<InputStream>(fd, name, true, maxLineLength);
  } catch (...) {
    ::close(fd);
    throw;
  }
}

// The streams of one run over `texts`, named by `names`. A pipe's writer
// writes pieces of the sizes in `pieces`, in turn (each at least 1 byte);
// every stream hands out lines of at most `maxLineLength` bytes and tries
// plain lines first when `plainLines` is set. A stream that cannot be made
// throws out of the constructor, after the writers already started have
// been joined.
class StreamFeed {
 public:
  StreamFeed(std::vector<std::string> texts, const std::vector<std::string>& names, Transport how,
             std::vector<std::size_t> pieces = {4093}, std::size_t maxLineLength = kMaxLineLength,
             bool plainLines = true)
      : texts_(std::move(texts)), pieces_(pieces.empty() ? std::vector<std::size_t>{4093} : std::move(pieces)) {
    for (std::size_t i = 0; i < texts_.size(); ++i) {
      const std::string& name = names.at(i);
      if (how == Transport::Memory) {
        streams_.push_back(std::make_unique<InputStream>(texts_[i], name, maxLineLength));
      } else {
        const int fd = how == Transport::File ? fileOf(texts_[i]) : pipeOf(texts_[i]);
        streams_.push_back(streamOwning(fd, name, maxLineLength));
      }
      streams_.back()->setPlainLineReads(plainLines);
      files_.push_back(streams_.back().get());
    }
  }
  StreamFeed(const StreamFeed&) = delete;
  StreamFeed& operator=(const StreamFeed&) = delete;

  const std::vector<InputStream*>& files() const { return files_; }
  InputStream& operator[](std::size_t i) const { return *files_[i]; }

 private:
  // A temporary file that holds the text, already unlinked.
  static int fileOf(const std::string& text) {
    std::string path = (std::filesystem::temp_directory_path() / "kelmar_feed_XXXXXX").string();
    const int fd = ::mkstemp(path.data());
    if (fd < 0) throw std::runtime_error("cannot make a temporary file");
    ::unlink(path.c_str());
    if (!writeAllTo(fd, text)) {
      ::close(fd);
      throw std::runtime_error("cannot write a temporary file");
    }
    ::lseek(fd, 0, SEEK_SET);
    return fd;
  }

  // The reading end of a pipe that a thread fills with the text.
  int pipeOf(const std::string& text) {
    std::signal(SIGPIPE, SIG_IGN);  // a reader that stops early closes the pipe on its writer
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("cannot make a pipe");
    const int out = fds[1];
    try {
      writers_.emplace_back([this, &text, out] { writeInPieces(out, text, pieces_); });
    } catch (...) {
      ::close(fds[0]);
      ::close(out);
      throw;
    }
    return fds[0];
  }

  const std::vector<std::string> texts_;  // what the writers write
  const std::vector<std::size_t> pieces_;
  // Joined when the feed ends, or when its constructor throws: declared
  // before the streams, so that the streams, destroyed first, close the
  // reading ends, which ends a writer still waiting on a full pipe.
  std::vector<std::jthread> writers_;
  std::vector<std::unique_ptr<InputStream>> streams_;
  std::vector<InputStream*> files_;
};

}  // namespace kelmar
