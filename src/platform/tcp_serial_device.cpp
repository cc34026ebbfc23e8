#include "tcp_serial_device.h"

#include <errno.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace onefortwo {
namespace {

using SteadyClock = std::chrono::steady_clock;

int MsUntil(SteadyClock::time_point when) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(when - SteadyClock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

std::string ConnectionErrorText(int error) {
  switch (error) {
    case ECONNREFUSED:
      return "connection refused";
    case ECONNRESET:
      return "the terminal server reset the connection";
    case EPIPE:
    case 0:
      return "the terminal server closed the connection";
    case ETIMEDOUT:
      return "no answer from the terminal server";
    case EHOSTUNREACH:
    case ENETUNREACH:
      return "no route to the terminal server";
    case ECONNABORTED:
      return "the connection was aborted";
    default:
      return std::string("connection failed: ") + std::strerror(error);
  }
}

TcpSerialDevice::TcpSerialDevice(const TcpPortName& address, HostResolver& resolver,
                                 int connect_timeout_ms)
    : address_(address),
      lookup_(resolver.Resolve(address.host, address.port)),
      connect_timeout_ms_(connect_timeout_ms),
      deadline_(SteadyClock::now() + std::chrono::milliseconds(connect_timeout_ms)) {
  Advance();  // a numeric address starts connecting at once
}

TcpSerialDevice::~TcpSerialDevice() {
  CloseSocket();
}

void TcpSerialDevice::CloseSocket() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void TcpSerialDevice::Fail(const std::string& why) {
  CloseSocket();
  lookup_.reset();  // a lookup still running finishes on its own
  state_ = State::failed;
  received_begin_ = received_end_ = 0;
  if (failure_.empty()) failure_ = why;
}

bool TcpSerialDevice::Configure(const LineSettings&) {
  return true;
}

void TcpSerialDevice::ConnectNext() {
  while (next_address_ < addresses_.size()) {
    const SocketAddress& to = addresses_[next_address_++];
    fd_ = ::socket(to.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd_ < 0) {
      if (first_error_ == 0) first_error_ = errno;
      continue;
    }
    const int on = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
#ifdef TCP_USER_TIMEOUT
    const unsigned int unacknowledged_ms = kUnacknowledgedMs;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_USER_TIMEOUT, &unacknowledged_ms, sizeof unacknowledged_ms);
#endif
    deadline_ = SteadyClock::now() + std::chrono::milliseconds(connect_timeout_ms_);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&to.storage), to.length) == 0) {
      state_ = State::connected;
      return;
    }
    if (errno == EINPROGRESS || errno == EINTR) {
      state_ = State::connecting;
      return;
    }
    if (first_error_ == 0) first_error_ = errno;
    CloseSocket();
  }
  Fail(ConnectionErrorText(first_error_ != 0 ? first_error_ : ECONNREFUSED));
}

void TcpSerialDevice::Advance() {
  if (state_ == State::resolving) {
    if (!lookup_->Done()) {
      if (MsUntil(deadline_) == 0) {
        Fail("no answer from the name server for " + address_.host);
      }
      return;
    }
    const std::string error = lookup_->error();
    if (!error.empty()) {
      Fail(error);
      return;
    }
    addresses_ = lookup_->addresses();
    lookup_.reset();
    if (addresses_.empty()) {
      Fail("no such host: " + address_.host);
      return;
    }
    ConnectNext();
  }
  while (state_ == State::connecting) {
    struct pollfd ready = {fd_, POLLOUT, 0};
    if (::poll(&ready, 1, 0) <= 0) {
      if (MsUntil(deadline_) > 0) return;  // still being made
      if (first_error_ == 0) first_error_ = ETIMEDOUT;
      CloseSocket();
      ConnectNext();
      continue;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    if (error == 0) {
      state_ = State::connected;
      return;
    }
    if (first_error_ == 0) first_error_ = error;
    CloseSocket();
    ConnectNext();  // the host's next address, if it has one
  }
}

int TcpSerialDevice::Read(uint8_t* buffer, size_t size) {
  if (state_ != State::connected) Advance();
  if (state_ == State::failed) return -1;
  if (state_ != State::connected || size == 0) return 0;
  if (received_begin_ == received_end_) {
    ssize_t got;
    do {
      got = ::recv(fd_, received_, sizeof received_, MSG_DONTWAIT);
    } while (got < 0 && errno == EINTR);
    if (got == 0) {
      Fail(ConnectionErrorText(0));  // the server closed its end
      return -1;
    }
    if (got < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
      Fail(ConnectionErrorText(errno));
      return -1;
    }
    received_begin_ = 0;
    received_end_ = static_cast<size_t>(got);
  }
  const size_t count = std::min(size, received_end_ - received_begin_);
  std::memcpy(buffer, received_ + received_begin_, count);
  received_begin_ += count;
  return static_cast<int>(count);
}

bool TcpSerialDevice::Write(const uint8_t* data, size_t size) {
  if (state_ != State::connected) Advance();
  if (state_ != State::connected) return false;
  size_t done = 0;
  SteadyClock::time_point wait_until{};
  while (done < size) {
    const ssize_t put = ::send(fd_, data + done, size - done, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (put > 0) {
      done += static_cast<size_t>(put);
      continue;
    }
    if (put < 0 && errno == EINTR) continue;
    if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // A full queue refuses a whole frame; a frame begun is finished if room comes soon.
      if (done == 0) return false;
      if (wait_until == SteadyClock::time_point{}) {
        wait_until = SteadyClock::now() + std::chrono::milliseconds(kWriteWaitMs);
      }
      struct pollfd room = {fd_, POLLOUT, 0};
      const int left = MsUntil(wait_until);
      if (left > 0 && ::poll(&room, 1, left) > 0) continue;
      return false;
    }
    Fail(ConnectionErrorText(put < 0 ? errno : EPIPE));
    return false;
  }
  return true;
}

}  // namespace onefortwo
