#include "support/pty_pair.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>

namespace onefortwo {

PtyPair::PtyPair() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0) return;
  if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    CloseMaster();
    return;
  }
  const char* name = ::ptsname(master_);
  if (name == nullptr) {
    CloseMaster();
    return;
  }
  slave_path_ = name;
  struct termios tio;
  if (::tcgetattr(master_, &tio) == 0) {
    ::cfmakeraw(&tio);
    ::tcsetattr(master_, TCSANOW, &tio);
  }
}

PtyPair::~PtyPair() { CloseMaster(); }

void PtyPair::CloseMaster() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

void PtyPair::Write(const Bytes& bytes) const {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (put <= 0) return;
    done += static_cast<size_t>(put);
  }
}

Bytes PtyPair::Read(size_t want, int timeout_ms) const {
  Bytes got;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (got.size() < want) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          until - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) break;
    struct pollfd ready = {master_, POLLIN, 0};
    if (::poll(&ready, 1, static_cast<int>(left)) <= 0) break;
    uint8_t buffer[256];
    const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, want - got.size()));
    if (n <= 0) break;
    got.insert(got.end(), buffer, buffer + n);
  }
  return got;
}

}  // namespace onefortwo
