// onefortwo-sim: its command line, and the tool run as a process.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "posix_serial_device.h"
#include "support/fake_serial_device.h"
#include "tcp_port_name.h"
#include "tool_options.h"
#include "tool_process.h"

namespace onefortwo {
namespace {

bool Parse(std::vector<const char*> args, ToolOptions* options, std::string* error) {
  args.insert(args.begin(), "onefortwo-sim");
  return ParseToolOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(ToolOptions, GoodCommandLines) {
  ToolOptions options;
  std::string error;
  ASSERT_TRUE(Parse({}, &options, &error));
  EXPECT_EQ("", options.device);
  EXPECT_EQ(9600, options.line.baud);
  EXPECT_FALSE(options.log_frames);

  ASSERT_TRUE(Parse({"--device", "/dev/ttyUSB0", "--baud=115200", "--format", "7e2", "--log",
                     "--turnaround", "2.5", "--warmup=0", "--seed", "42"},
                    &options, &error))
      << error;
  EXPECT_EQ("/dev/ttyUSB0", options.device);
  EXPECT_EQ(115200, options.line.baud);
  EXPECT_EQ(7, options.line.data_bits);
  EXPECT_EQ(2, options.line.parity_code);
  EXPECT_EQ(2, options.line.stop_code);
  EXPECT_TRUE(options.log_frames);
  EXPECT_DOUBLE_EQ(2.5, options.sim.turnaround_ms);
  EXPECT_DOUBLE_EQ(0, options.sim.warmup_ms);
  EXPECT_EQ(42u, options.sim.noise_seed);

  ASSERT_TRUE(Parse({"/dev/ttyS1", "-h"}, &options, &error));
  EXPECT_EQ("/dev/ttyS1", options.device);
  EXPECT_TRUE(options.help);
}

TEST(ToolOptions, TcpListensOnALoopbackPortOrTheAddressGiven) {
  const struct {
    std::vector<const char*> args;
    const char* host;
    int port;
  } rows[] = {
      {{"--tcp", "4001"}, "127.0.0.1", 4001},
      {{"--tcp=0"}, "127.0.0.1", 0},
      {{"--tcp", "0.0.0.0:10001"}, "0.0.0.0", 10001},
      {{"--tcp", "[::1]:4001"}, "::1", 4001},
      {{"--tcp", "localhost:65535"}, "localhost", 65535},
  };
  for (const auto& row : rows) {
    ToolOptions options;
    std::string error;
    ASSERT_TRUE(Parse(row.args, &options, &error)) << row.args.back() << ": " << error;
    EXPECT_TRUE(options.tcp);
    EXPECT_EQ(row.host, options.tcp_host);
    EXPECT_EQ(row.port, options.tcp_port);
    EXPECT_EQ("", options.device);
  }
  ToolOptions plain;
  std::string error;
  ASSERT_TRUE(Parse({}, &plain, &error));
  EXPECT_FALSE(plain.tcp);
}

TEST(ToolOptions, BadCommandLinesAreRefusedWithAReason) {
  const std::vector<std::vector<const char*>> rows = {
      {"--nope"},
      {"-x"},
      {"--baud"},
      {"--baud", "fast"},
      {"--baud", "0"},
      {"--baud", "9600x"},
      {"--baud=-1"},
      {"--format", "9N1"},
      {"--format", "8X1"},
      {"--format", "8N3"},
      {"--format=8N"},
      {"--turnaround", "-1"},
      {"--turnaround", "nan"},
      {"--warmup", "1e9"},
      {"--seed", "-3"},
      {"--device"},
      {"--device="},
      {"/dev/a", "/dev/b"},
      {"--tcp"},
      {"--tcp", "65536"},
      {"--tcp", "-1"},
      {"--tcp", "port"},
      {"--tcp", ":4001"},
      {"--tcp", "::1:4001"},
      {"--tcp", "[::1]:"},
      {"--tcp", "4001", "/dev/ttyS0"},
  };
  for (const auto& row : rows) {
    ToolOptions options;
    std::string error;
    EXPECT_FALSE(Parse(row, &options, &error)) << row[0];
    EXPECT_FALSE(error.empty()) << row[0];
    EXPECT_EQ(std::string::npos, error.find('\n')) << error;
  }
}

// Runs the tool to its end: exit status, standard output and standard error.
struct Ended {
  int status = -1;
  std::string out;
  std::string err;
};
Ended RunToEnd(const std::vector<std::string>& args) {
  ToolProcess tool;
  Ended ended;
  if (!tool.Start(args, true)) return ended;
  ended.err = tool.ReadStderr(5000);
  ended.out = tool.ReadRemainingOutput(5000);
  ended.status = tool.Wait(5000);
  return ended;
}

TEST(ToolProcess, BadCommandLineOrUnusableDeviceEndsWithOneLine) {
  const struct {
    std::vector<std::string> args;
    int status;
  } rows[] = {
      {{"--bogus"}, 2},
      {{"--baud", "x"}, 2},
      {{"/dev/a", "/dev/b"}, 2},
      {{"/nonexistent/tty"}, 1},
      {{"--device", "/dev/null"}, 1},  // not a serial device
      {{"/"}, 1},
      {{"--tcp", "192.0.2.1:4001"}, 1},  // not an address of this machine
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args[0]);
    const Ended ended = RunToEnd(row.args);
    EXPECT_EQ(row.status, ended.status);
    EXPECT_EQ("", ended.out);
    ASSERT_FALSE(ended.err.empty());
    EXPECT_EQ(0u, ended.err.rfind("onefortwo-sim: ", 0)) << ended.err;
    EXPECT_EQ(ended.err.size() - 1, ended.err.find('\n')) << ended.err;  // one line
  }
}

TEST(ToolProcess, HelpDescribesOptionsAndCommands) {
  const Ended ended = RunToEnd({"--help"});
  EXPECT_EQ(0, ended.status);
  EXPECT_EQ(0u, ended.out.rfind("Usage: onefortwo-sim", 0));
  for (const char* part :
       {"--baud", "--tcp PORT", "--log", "fault AMP FAULT", "silent DEV", "noise N", "quit"}) {
    EXPECT_NE(std::string::npos, ended.out.find(part)) << part;
  }
  EXPECT_EQ("", ended.err);
}

// Sends `frame` to the tool over the pseudo-terminal and returns the reply's bytes.
Bytes Ask(SerialDevice& port, const Bytes& frame, size_t reply_size) {
  port.Write(frame.data(), frame.size());
  Bytes reply;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (reply.size() < reply_size && std::chrono::steady_clock::now() < until) {
    uint8_t byte;
    if (port.Read(&byte, 1) == 1) {
      reply.push_back(byte);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  return reply;
}

TEST(ToolProcess, ServesOnItsPseudoTerminalAndLogsEachFrame) {
  ToolProcess tool;
  ASSERT_TRUE(tool.Start({"--log", "--baud", "115200"}, true));
  std::string path;
  ASSERT_TRUE(tool.ReadLine(&path, 5000));
  ASSERT_EQ(0u, path.rfind("/dev/", 0)) << path;
  PosixSerialPortOpener opener;
  OpenError error = OpenError::none;
  auto port = opener.Open(path, &error);
  ASSERT_NE(nullptr, port) << OpenErrorText(error);
  LineSettings settings;
  settings.baud = 115200;
  ASSERT_TRUE(port->Configure(settings));

  EXPECT_EQ(Hex(AckFrame(64, "1C@@D")), Hex(Ask(*port, CommandFrame(64, "1"), 9)));
  // End of standard input ends the commands, not the service.
  tool.CloseInput();
  EXPECT_EQ(Hex(ReplyFrame(0x15, 65, "Q")), Hex(Ask(*port, CommandFrame(65, "Q"), 5)));
  port.reset();
  tool.Stop();

  const std::string log = tool.ReadStderr(2000);
  EXPECT_NE(std::string::npos, log.find("heard     @  <02>@1<03>p")) << log;
  EXPECT_NE(std::string::npos, log.find("reply     @  <06>@1C@@D<03>s")) << log;
  EXPECT_NE(std::string::npos, log.find("reply     A  <15>AQ<03><06>")) << log;
}

// One station connection at a time: a second one is closed at once, and when the first
// drops the next is served, by the same installation.
TEST(ToolProcess, ServesOnTcpOneStationAtATime) {
  ToolProcess tool;
  ASSERT_TRUE(tool.Start({"--tcp", "0"}, true));
  std::string name;
  ASSERT_TRUE(tool.ReadLine(&name, 5000));
  TcpPortName address;
  ASSERT_TRUE(ParseTcpPortName(name, &address)) << name;
  EXPECT_EQ("127.0.0.1", address.host);
  EXPECT_NE(0, address.port);

  PosixSerialPortOpener opener;
  const auto connect = [&] {
    OpenError error = OpenError::failed;
    std::unique_ptr<SerialDevice> port = opener.Open(name, &error);
    EXPECT_NE(nullptr, port) << OpenErrorText(error);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    uint8_t byte;
    while (port && port->Connecting() && std::chrono::steady_clock::now() < until) {
      port->Read(&byte, 0);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return port;
  };
  auto first = connect();
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(Hex(AckFrame(64, "1C@@D")), Hex(Ask(*first, CommandFrame(64, "1"), 9)));
  EXPECT_EQ(Hex(AckFrame(64, "60")), Hex(Ask(*first, CommandFrame(64, "60"), 6)));  // manual

  auto second = connect();
  ASSERT_NE(nullptr, second);
  uint8_t byte;
  for (int wait = 0; wait < 3000 && second->Failure().empty(); ++wait) {
    second->Read(&byte, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ("the terminal server closed the connection", second->Failure());

  first.reset();
  auto third = connect();
  ASSERT_NE(nullptr, third);
  bool answered = false;
  for (int attempt = 0; attempt < 20 && !answered; ++attempt) {
    // The tool may take the new connection a moment after the old one has gone.
    answered = Hex(Ask(*third, CommandFrame(64, "1"), 9)) == Hex(AckFrame(64, "1B@@D"));
  }
  EXPECT_TRUE(answered) << "the next station is served, still in manual mode";
  third.reset();
  tool.Stop();
  const std::string notes = tool.ReadStderr(2000);
  EXPECT_NE(std::string::npos, notes.find("station connected from 127.0.0.1:")) << notes;
  EXPECT_NE(std::string::npos, notes.find("is being served")) << notes;
  EXPECT_NE(std::string::npos, notes.find("disconnected; waiting for the next")) << notes;
}

TEST(ToolProcess, QuitEndsTheTool) {
  ToolProcess tool;
  ASSERT_TRUE(tool.Start({}, true));
  std::string line;
  ASSERT_TRUE(tool.ReadLine(&line, 5000));
  ASSERT_TRUE(tool.WriteLine("nonsense"));
  ASSERT_TRUE(tool.ReadLine(&line, 3000));
  EXPECT_EQ("error: unknown command 'nonsense' (try help)", line);
  ASSERT_TRUE(tool.WriteLine(std::string(5000, 'x')));
  ASSERT_TRUE(tool.ReadLine(&line, 3000));
  EXPECT_EQ("error: the line is longer than 4096 characters", line);
  ASSERT_TRUE(tool.WriteLine("quit"));
  ASSERT_TRUE(tool.ReadLine(&line, 3000));
  EXPECT_EQ("ok", line);
  EXPECT_EQ(0, tool.Wait(3000));
}

}  // namespace
}  // namespace onefortwo
