// The stream buffer of the report: it writes straight to a file descriptor
// with write(2) and remembers why a write failed, which std::ostream does not
// carry (a failed stream only says that it failed).
#pragma once

#include <cstddef>
#include <streambuf>

namespace kelmar {

class DescriptorBuf : public std::streambuf {
 public:
  // A descriptor that is not open counts as failed from the start (EBADF):
  // nothing is ever written to it, even when a file opened later takes its
  // number.
  explicit DescriptorBuf(int fd);
  DescriptorBuf(const DescriptorBuf&) = delete;
  DescriptorBuf& operator=(const DescriptorBuf&) = delete;

  // The errno of the write (or close) that failed; 0 while all went well.
  // After a failure nothing more is written.
  int error() const { return error_; }

  // Closes the descriptor, since some file systems report a failed write
  // only then; whether every byte was written and the close succeeded.
  bool close();

 protected:
  // A buffer whose subclass sends the bytes elsewhere through writeSome.
  DescriptorBuf() = default;

  // Writes some of at most `size` bytes: the number that one successful
  // write(2) took, or -1 with errno set. While a descriptor in non-blocking
  // mode is full (EAGAIN), it polls until the descriptor can take bytes and
  // writes again.
  virtual long writeSome(const char* data, std::size_t size);

  std::streamsize xsputn(const char* data, std::streamsize size) override;
  int_type overflow(int_type c) override;

 private:
  // Writes all of `data`, again after an interrupted or short write; the
  // number of bytes written before a failure.
  std::size_t writeAll(const char* data, std::size_t size);

  int fd_ = -1;
  int error_ = 0;
};

}  // namespace kelmar
