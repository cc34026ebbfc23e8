// Terminal servers: tcp:HOST:PORT names, and the TCP connection as the station's serial
// device, against a server of the test's own on the loopback.

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "posix_serial_device.h"
#include "support/tcp_test_server.h"
#include "tcp_port_name.h"
#include "tcp_serial_device.h"

namespace onefortwo {
namespace {

TEST(TcpPortName, ReadsHostAndPort) {
  const struct {
    const char* name;
    const char* host;
    int port;
    const char* text;  // as TcpAddressText writes it back
  } rows[] = {
      {"tcp:127.0.0.1:4001", "127.0.0.1", 4001, "127.0.0.1:4001"},
      {"tcp:ts1.plant-3.example:10001", "ts1.plant-3.example", 10001, "ts1.plant-3.example:10001"},
      {"TCP:localhost:1", "localhost", 1, "localhost:1"},
      {"tcp:host_a:65535", "host_a", 65535, "host_a:65535"},
      {"tcp:[::1]:4001", "::1", 4001, "[::1]:4001"},
      {"tcp:[fe80::1%eth0]:4001", "fe80::1%eth0", 4001, "[fe80::1%eth0]:4001"},
      {"tcp:[::ffff:10.0.0.7]:950", "::ffff:10.0.0.7", 950, "[::ffff:10.0.0.7]:950"},
      {"tcp:10.0.0.7:0004001", "10.0.0.7", 4001, "10.0.0.7:4001"},
  };
  for (const auto& row : rows) {
    TcpPortName address;
    ASSERT_TRUE(ParseTcpPortName(row.name, &address)) << row.name;
    EXPECT_EQ(row.host, address.host) << row.name;
    EXPECT_EQ(row.port, address.port) << row.name;
    EXPECT_EQ(row.text, TcpAddressText(address)) << row.name;
  }
}

TEST(TcpPortName, MalformedNamesAreRefusedWithAClearError) {
  const char* rows[] = {
      "tcp:",          "tcp:host",        "tcp:host:",       "tcp:host:0",
      "tcp:host:99999", "tcp:host:65536", "tcp::4001",       "tcp:::1:4001",
      "tcp:[::1]",     "tcp:[::1:4001",   "tcp:[]:4001",     "tcp:[host]:4001",
      "tcp:[::1]x:4001", "tcp:host:+4001", "tcp:host:-1",    "tcp:host:4001x",
      "tcp:host:40 01", "tcp:ho st:4001", "tcp:host/x:4001", "tcp:[::1%]:4001",
      "tcp:host:0000065536",
  };
  PosixSerialPortOpener opener;
  for (const char* name : rows) {
    TcpPortName address;
    EXPECT_TRUE(IsTcpPortName(name)) << name;
    EXPECT_FALSE(ParseTcpPortName(name, &address)) << name;
    OpenError error = OpenError::none;
    EXPECT_EQ(nullptr, opener.Open(name, &error)) << name;
    EXPECT_EQ(OpenError::bad_tcp_address, error) << name;
  }
  EXPECT_EQ(std::string("not a terminal server address: write tcp:HOST:PORT, PORT from 1 to 65535"),
            OpenErrorText(OpenError::bad_tcp_address));
  for (const char* other : {"tcp", "tc:host:1", "/dev/tcp:host:1", "COM1", "SIM"}) {
    EXPECT_FALSE(IsTcpPortName(other)) << other;
  }
}

TEST(TcpPortName, SixtyThreeCharactersOpenAndSixtyFourAreTooLong) {
  PosixSerialPortOpener opener;
  const std::string longest = "tcp:" + std::string(54, 'h') + ":4001";  // 63 characters
  ASSERT_EQ(63u, longest.size());
  OpenError error = OpenError::failed;
  const auto device = opener.Open(longest, &error);
  EXPECT_NE(nullptr, device);
  EXPECT_EQ(OpenError::none, error);
  EXPECT_EQ(nullptr, opener.Open("tcp:" + std::string(55, 'h') + ":4001", &error));
  EXPECT_EQ(OpenError::name_too_long, error);
}

// Calls Read as the poll cycle does, about every ms, until `done` holds or `timeout_ms`
// pass; what it reads goes to `got`.
bool ReadUntil(SerialDevice& device, const std::function<bool()>& done, int timeout_ms,
               Bytes* got = nullptr) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    uint8_t buffer[64];
    const int n = device.Read(buffer, sizeof buffer);
    if (n > 0 && got != nullptr) got->insert(got->end(), buffer, buffer + n);
    if (n <= 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

Bytes EveryByteValue() {
  Bytes all;
  for (int value = 0; value < 256; ++value) all.push_back(static_cast<uint8_t>(value));
  return all;
}

class TcpDeviceOnHost : public ::testing::TestWithParam<const char*> {};

TEST_P(TcpDeviceOnHost, CarriesEveryByteBothWaysUnchanged) {
  const std::string host = GetParam();
  TcpTestServer server;
  if (!server.Listen(host == "localhost" ? "127.0.0.1" : host)) {
    GTEST_SKIP() << "cannot listen on " << host;
  }
  HostResolver resolver;
  TcpSerialDevice device({host, server.port()}, resolver);
  ASSERT_TRUE(ReadUntil(device, [&] { return !device.Connecting(); }, 5000));
  ASSERT_EQ("", device.Failure());
  LineSettings nine_bits;
  nine_bits.data_bits = 9;  // the server holds the line settings: nothing to refuse
  EXPECT_TRUE(device.Configure(nine_bits));
  ASSERT_TRUE(server.Accept(2000));

  const Bytes all = EveryByteValue();
  ASSERT_TRUE(device.Write(all.data(), all.size()));
  device.Flush();
  EXPECT_EQ(Hex(all), Hex(server.Read(all.size(), 2000)));
  ASSERT_TRUE(server.Write(all));
  Bytes got;
  EXPECT_TRUE(ReadUntil(device, [&] { return got.size() >= all.size(); }, 2000, &got));
  EXPECT_EQ(Hex(all), Hex(got));
}

INSTANTIATE_TEST_SUITE_P(Hosts, TcpDeviceOnHost, ::testing::Values("127.0.0.1", "::1", "localhost"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           const std::string host = info.param;
                           return host == "::1" ? std::string("Ipv6Loopback")
                                  : host == "localhost" ? std::string("HostName")
                                                        : std::string("Ipv4Loopback");
                         });

TEST(TcpDevice, RefusedClosedOrResetSaysWhyAndStaysFailed) {
  enum class Then { nothing_listens, server_closes, server_resets };
  const struct {
    const char* name;
    Then then;
    const char* failure;
  } rows[] = {
      {"refused", Then::nothing_listens, "connection refused"},
      {"closed", Then::server_closes, "the terminal server closed the connection"},
      {"reset", Then::server_resets, "the terminal server reset the connection"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TcpTestServer server;
    int port = FreeLoopbackPort();
    if (row.then != Then::nothing_listens) {
      ASSERT_TRUE(server.Listen());
      port = server.port();
    }
    HostResolver resolver;
    TcpSerialDevice device({"127.0.0.1", port}, resolver);
    if (row.then != Then::nothing_listens) {
      ASSERT_TRUE(server.Accept(2000));
      ASSERT_TRUE(ReadUntil(device, [&] { return !device.Connecting(); }, 2000));
      server.CloseConnection(row.then == Then::server_resets);
    }
    ASSERT_TRUE(ReadUntil(device, [&] { return !device.Failure().empty(); }, 3000));
    EXPECT_EQ(row.failure, device.Failure());
    EXPECT_FALSE(device.Connecting());
    uint8_t byte = 0;
    EXPECT_EQ(-1, device.Read(&byte, 1));
    EXPECT_FALSE(device.Write(&byte, 1));
    EXPECT_EQ(row.failure, device.Failure()) << "the first reason stands";
  }
}

// Writing on after the server has gone must fail the device, not end the program with
// SIGPIPE.
TEST(TcpDevice, WritingToAConnectionTheServerClosedFailsTheDeviceOnly) {
  TcpTestServer server;
  ASSERT_TRUE(server.Listen());
  HostResolver resolver;
  TcpSerialDevice device({"127.0.0.1", server.port()}, resolver);
  ASSERT_TRUE(server.Accept(2000));
  ASSERT_TRUE(ReadUntil(device, [&] { return !device.Connecting(); }, 2000));
  server.CloseConnection();
  const Bytes query = CommandFrame(64, "1");
  for (int write = 0; write < 2000 && device.Failure().empty(); ++write) {
    device.Write(query.data(), query.size());
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  const std::string failure = device.Failure();
  EXPECT_TRUE(failure == "the terminal server reset the connection" ||
              failure == "the terminal server closed the connection")
      << failure;
}

TEST(TcpDevice, AHostThatDoesNotExistFailsWithItsName) {
  HostResolver resolver;
  TcpSerialDevice device({"no-such-host.invalid", 4001}, resolver);
  ASSERT_TRUE(ReadUntil(device, [&] { return !device.Failure().empty(); },
                        TcpSerialDevice::kConnectTimeoutMs + 2000));
  // Where the name servers answer: no such host; where none answers: said so.
  const std::string failure = device.Failure();
  EXPECT_TRUE(failure == "no such host: no-such-host.invalid" ||
              failure == "no answer from the name server for no-such-host.invalid")
      << failure;
  EXPECT_FALSE(device.Connecting());
}

// A connection the server neither accepts nor refuses (its queue is full): until the
// time-out, reads give 0 and writes send nothing; then it fails.
TEST(TcpDevice, AConnectionNotMadeInTimeSendsNothingAndThenFails) {
  TcpTestServer server;
  ASSERT_TRUE(server.Listen("127.0.0.1", 0, 0));
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<uint16_t>(server.port()));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::vector<int> fillers;
  bool queue_full = false;
  for (int i = 0; i < 16 && !queue_full; ++i) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to);
    fillers.push_back(fd);
    struct pollfd made = {fd, POLLOUT, 0};
    queue_full = ::poll(&made, 1, 50) == 0;  // this one is still waiting: the queue is full
  }
  if (!queue_full) {
    for (int fd : fillers) ::close(fd);
    GTEST_SKIP() << "this system does not hold connections back when the queue is full";
  }

  HostResolver resolver;
  TcpSerialDevice device({"127.0.0.1", server.port()}, resolver, 300);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  uint8_t buffer[8];
  const Bytes query = CommandFrame(64, "1");
  EXPECT_EQ(0, device.Read(buffer, sizeof buffer));
  EXPECT_FALSE(device.Write(query.data(), query.size()));
  EXPECT_TRUE(device.Connecting());
  EXPECT_EQ("", device.Failure());
  ASSERT_TRUE(ReadUntil(device, [&] { return !device.Failure().empty(); }, 3000));
  EXPECT_EQ("no answer from the terminal server", device.Failure());
  for (int fd : fillers) ::close(fd);
}

// A server that takes nothing in: once the kernel's queue is full, frames are refused
// rather than waited for, and the connection stays good.
TEST(TcpDevice, AFullSendQueueRefusesFramesInsteadOfWaiting) {
  TcpTestServer server;
  ASSERT_TRUE(server.Listen());
  HostResolver resolver;
  TcpSerialDevice device({"127.0.0.1", server.port()}, resolver);
  ASSERT_TRUE(server.Accept(2000));
  ASSERT_TRUE(ReadUntil(device, [&] { return !device.Connecting(); }, 2000));

  // Large writes fill it quickly; then queries, until one is refused.
  const Bytes chunk(64 * 1024, 0x55);
  int chunks = 0;
  while (chunks < 4096 && device.Write(chunk.data(), chunk.size())) ++chunks;
  ASSERT_LT(chunks, 4096) << "the queue never filled";
  const Bytes query = CommandFrame(65, "?13AIPQTV");
  int queries = 0;
  while (queries < 100000 && device.Write(query.data(), query.size())) ++queries;
  EXPECT_LT(queries, 100000) << "a full queue took every query";
  EXPECT_EQ("", device.Failure());

  // Once the server reads again, frames go out again.
  bool sent = false;
  for (int round = 0; round < 2000 && !sent; ++round) {
    server.Read(1 << 20, 5);
    sent = device.Write(query.data(), query.size());
  }
  EXPECT_TRUE(sent);
}

}  // namespace
}  // namespace onefortwo
