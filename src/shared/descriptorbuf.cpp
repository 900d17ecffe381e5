#include "shared/descriptorbuf.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace kelmar {

DescriptorBuf::DescriptorBuf(int fd) : fd_(fd) {
  if (::fcntl(fd, F_GETFL) == -1) {
    error_ = errno;
    fd_ = -1;
  }
}

bool DescriptorBuf::close() {
  if (fd_ < 0) return error_ == 0;
  // Linux releases the descriptor even when close is interrupted, so EINTR
  // is no failure and the close is not repeated.
  if (::close(fd_) != 0 && errno != EINTR && error_ == 0) error_ = errno;
  fd_ = -1;
  return error_ == 0;
}

long DescriptorBuf::writeSome(const char* data, std::size_t size) {
  for (;;) {
    ssize_t n = ::write(fd_, data, size);
    if (n >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) return long(n);
    pollfd p{fd_, POLLOUT, 0};
    if (::poll(&p, 1, -1) < 0 && errno != EINTR) return -1;
  }
}

std::size_t DescriptorBuf::writeAll(const char* data, std::size_t size) {
  std::size_t written = 0;
  while (error_ == 0 && written < size) {
    long n = writeSome(data + written, size - written);
    if (n > 0) {
      written += std::size_t(n);
    } else if (n == 0) {
      // A write that takes nothing would be tried for ever.
      error_ = EIO;
    } else if (errno != EINTR) {
      error_ = errno != 0 ? errno : EIO;
    }
  }
  return written;
}

std::streamsize DescriptorBuf::xsputn(const char* data, std::streamsize size) {
  if (size <= 0) return 0;
  return std::streamsize(writeAll(data, std::size_t(size)));
}

DescriptorBuf::int_type DescriptorBuf::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  char ch = traits_type::to_char_type(c);
  return writeAll(&ch, 1) == 1 ? c : traits_type::eof();
}

}  // namespace kelmar
