#include "support/tcp_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace onefortwo {
namespace {

// The loopback address `host` ("127.0.0.1", "::1") at `port`; false when not numeric.
bool MakeAddress(const std::string& host, int port, sockaddr_storage* address,
                 socklen_t* length) {
  std::memset(address, 0, sizeof *address);
  auto* v4 = reinterpret_cast<sockaddr_in*>(address);
  if (::inet_pton(AF_INET, host.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    v4->sin_port = htons(static_cast<uint16_t>(port));
    *length = sizeof *v4;
    return true;
  }
  auto* v6 = reinterpret_cast<sockaddr_in6*>(address);
  if (::inet_pton(AF_INET6, host.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(static_cast<uint16_t>(port));
    *length = sizeof *v6;
    return true;
  }
  return false;
}

int MsLeft(std::chrono::steady_clock::time_point until) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        until - std::chrono::steady_clock::now())
                        .count();
  return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

TcpTestServer::~TcpTestServer() {
  CloseConnection();
  StopListening();
}

bool TcpTestServer::Listen(const std::string& host, int port, int backlog) {
  StopListening();
  sockaddr_storage address;
  socklen_t length = 0;
  if (!MakeAddress(host, port, &address, &length)) return false;
  listener_ = ::socket(address.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) return false;
  const int on = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(listener_, backlog) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    StopListening();
    return false;
  }
  host_ = host;
  port_ = ntohs(address.ss_family == AF_INET
                    ? reinterpret_cast<sockaddr_in*>(&address)->sin_port
                    : reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
  return true;
}

std::string TcpTestServer::PortName() const {
  const bool ipv6 = host_.find(':') != std::string::npos;
  return "tcp:" + (ipv6 ? "[" + host_ + "]" : host_) + ":" + std::to_string(port_);
}

bool TcpTestServer::Accept(int timeout_ms) {
  if (listener_ < 0) return false;
  struct pollfd ready = {listener_, POLLIN, 0};
  if (::poll(&ready, 1, timeout_ms) <= 0) return false;
  const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) return false;
  CloseConnection();
  connection_ = fd;
  return true;
}

Bytes TcpTestServer::Read(size_t want, int timeout_ms) {
  Bytes got;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (connection_ >= 0 && got.size() < want) {
    struct pollfd ready = {connection_, POLLIN, 0};
    if (::poll(&ready, 1, MsLeft(until)) <= 0) break;
    uint8_t buffer[4096];
    const size_t room = want - got.size() < sizeof buffer ? want - got.size() : sizeof buffer;
    const ssize_t n = ::recv(connection_, buffer, room, 0);
    if (n <= 0) break;
    got.insert(got.end(), buffer, buffer + n);
  }
  return got;
}

bool TcpTestServer::Write(const Bytes& bytes) {
  if (connection_ < 0) return false;
  return ::send(connection_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
         static_cast<ssize_t>(bytes.size());
}

void TcpTestServer::CloseConnection(bool reset) {
  if (connection_ < 0) return;
  if (reset) {
    const struct linger now = {1, 0};  // closing with lingering 0 sends a RST
    ::setsockopt(connection_, SOL_SOCKET, SO_LINGER, &now, sizeof now);
  }
  ::close(connection_);
  connection_ = -1;
}

void TcpTestServer::StopListening() {
  if (listener_ >= 0) ::close(listener_);
  listener_ = -1;
}

int FreeLoopbackPort() {
  TcpTestServer probe;
  return probe.Listen() ? probe.port() : 0;
}

}  // namespace onefortwo
