#pragma once

#include <string>

#include "support/fake_serial_device.h"

namespace onefortwo {

// A terminal server of the test's own on the loopback: listens, accepts one connection,
// reads what the station wrote and writes what the test gives; it can close or reset the
// connection and stop listening. Every wait has a deadline.
class TcpTestServer {
 public:
  TcpTestServer() = default;
  ~TcpTestServer();
  TcpTestServer(const TcpTestServer&) = delete;
  TcpTestServer& operator=(const TcpTestServer&) = delete;

  // Listens on `host` (a numeric address) at `port`, 0 for one the system picks, with a
  // queue of `backlog` connections not yet accepted. False when it cannot.
  bool Listen(const std::string& host = "127.0.0.1", int port = 0, int backlog = 4);
  int port() const { return port_; }
  // The name the station opens: "tcp:127.0.0.1:40123", "tcp:[::1]:40123".
  std::string PortName() const;

  // Accepts the next connection within `timeout_ms`.
  bool Accept(int timeout_ms);
  bool connected() const { return connection_ >= 0; }
  // Up to `want` bytes the station has written, within `timeout_ms`.
  Bytes Read(size_t want, int timeout_ms);
  bool Write(const Bytes& bytes);
  // Closes the connection: with a FIN, or with `reset` a RST.
  void CloseConnection(bool reset = false);
  void StopListening();

 private:
  std::string host_;
  int port_ = 0;
  int listener_ = -1;
  int connection_ = -1;
};

// A loopback port nobody listens on (bound for a moment, then let go).
int FreeLoopbackPort();

}  // namespace onefortwo
