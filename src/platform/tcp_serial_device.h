#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host_resolver.h"
#include "platform/serial_device.h"
#include "tcp_port_name.h"

namespace onefortwo {

// A terminal server's serial line over a raw TCP connection ("tcp:HOST:PORT"): the bytes
// the station writes leave on the server's serial line unchanged, and the equipment's
// replies come back the same way, so framing, the reply clock and the poll cycle are as on
// a local port. Nothing here waits on the user-interface thread:
// - The host name is looked up by the HostResolver, on a thread of its own (a numeric
//   address needs none), and the connection is made non-blocking; both move on in later
//   calls of Read and Write. Until the connection is made, Connecting() is true, Read
//   gives 0 and Write sends nothing and returns false: the poll cycle counts a miss.
// - A lookup or a connection that has not finished after kConnectTimeoutMs fails.
// - Write waits for room in the kernel's send queue only to finish a frame it has begun,
//   and for at most kWriteWaitMs; a frame that finds the queue full is not sent at all.
// Once the connection is refused, reset or closed, the host is not found or no answer
// comes, Failure() says why and the device stays failed: the station closes it and opens
// the name again every 2 s. TCP_NODELAY is on, so that a 13-byte query leaves at once,
// and a connection whose data goes unacknowledged for kUnacknowledgedMs is given up.
class TcpSerialDevice : public SerialDevice {
 public:
  static constexpr int kConnectTimeoutMs = 5000;
  static constexpr int kWriteWaitMs = 50;
  static constexpr int kUnacknowledgedMs = 10000;

  // Starts connecting to `address`, never waiting. `resolver` must outlive the device.
  TcpSerialDevice(const TcpPortName& address, HostResolver& resolver,
                  int connect_timeout_ms = kConnectTimeoutMs);
  ~TcpSerialDevice() override;
  TcpSerialDevice(const TcpSerialDevice&) = delete;
  TcpSerialDevice& operator=(const TcpSerialDevice&) = delete;

  // Accepts any settings and changes nothing: the terminal server holds the serial line's
  // rate and format, set up on the server itself.
  bool Configure(const LineSettings& settings) override;
  int Read(uint8_t* buffer, size_t size) override;
  bool Write(const uint8_t* data, size_t size) override;
  // Returns at once: with TCP_NODELAY the kernel sends what was written without delay,
  // and waiting for the server's acknowledgement would tell nothing about its serial line.
  void Flush() override {}
  std::string Failure() const override { return failure_; }
  bool Connecting() const override {
    return state_ == State::resolving || state_ == State::connecting;
  }

 private:
  enum class State { resolving, connecting, connected, failed };

  // Moves the lookup or the connection on as far as it goes without waiting.
  void Advance();
  // Connects to the next address not yet tried; fails when none is left.
  void ConnectNext();
  void Fail(const std::string& why);
  void CloseSocket();

  TcpPortName address_;
  std::shared_ptr<HostLookup> lookup_;
  std::vector<SocketAddress> addresses_;
  size_t next_address_ = 0;
  int first_error_ = 0;  // errno of the first address that failed
  int connect_timeout_ms_;
  std::chrono::steady_clock::time_point deadline_;
  State state_ = State::resolving;
  int fd_ = -1;
  std::string failure_;
  // Bytes received but not yet read: the receiver reads one byte at a time.
  uint8_t received_[512];
  size_t received_begin_ = 0;
  size_t received_end_ = 0;
};

// Why a connection failed, from its errno, in a few words ("connection refused").
std::string ConnectionErrorText(int error);

}  // namespace onefortwo
