// onefortwo-sim: its command line, and the tool run as a process.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "posix_serial_device.h"
#include "support/fake_serial_device.h"
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
  for (const char* part : {"--baud", "--log", "fault AMP FAULT", "silent DEV", "noise N", "quit"}) {
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
