#include "wakeup.h"

#include <fcntl.h>
#include <unistd.h>

namespace onefortwo {

Wakeup::Wakeup() {
  int ends[2];
  if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) == 0) {
    read_fd_ = ends[0];
    write_fd_ = ends[1];
  }
}

Wakeup::~Wakeup() {
  if (read_fd_ >= 0) ::close(read_fd_);
  if (write_fd_ >= 0) ::close(write_fd_);
}

void Wakeup::Signal() {
  if (write_fd_ < 0) return;
  const char byte = 1;
  // A full pipe (EAGAIN) is already readable: the waiting thread wakes all the same.
  [[maybe_unused]] const ssize_t written = ::write(write_fd_, &byte, 1);
}

void Wakeup::Drain() {
  if (read_fd_ < 0) return;
  char bytes[64];
  while (::read(read_fd_, bytes, sizeof bytes) > 0) {
  }
}

}  // namespace onefortwo
