// The program onefortwo itself: its command line, and --agentx on a running station.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "child_process.h"
#include "snmp_servers.h"
#include "support/temp_dir.h"

namespace onefortwo {
namespace {

// Qt's offscreen platform, with a runtime folder of the test's own (Qt warns without one).
Environment Offscreen(const TempDir& runtime) {
  return {{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_RUNTIME_DIR", runtime.path()}};
}

struct BadLine {
  std::vector<std::string> args;
  std::string message;
};

TEST(StationProcessTest, ABadCommandLineEndsWithOneLineAndStatusTwo) {
  TempDir runtime;
  const std::vector<BadLine> cases = {
      {{"--agentx"}, "onefortwo: --agentx needs the master agent's address"},
      {{"--agentx", "tcp:127.0.0.1:705", "--agentx", "x"}, "onefortwo: --agentx given twice"},
      {{"--bogus"}, "onefortwo: unknown argument --bogus (see onefortwo --help)"},
      {{"stray"}, "onefortwo: unknown argument stray"},
  };
  for (const BadLine& row : cases) {
    const CommandResult run = RunCommand(ONEFORTWO_STATION, row.args, Offscreen(runtime), 20000);
    EXPECT_EQ(2, run.status) << run.output;
    EXPECT_EQ(0u, run.output.rfind(row.message, 0)) << run.output;
    EXPECT_EQ(1, std::count(run.output.begin(), run.output.end(), '\n')) << run.output;
  }
  const CommandResult help = RunCommand(ONEFORTWO_STATION, {"--help"}, {{"DISPLAY", ""}}, 20000);
  EXPECT_EQ(0, help.status) << "no display needed";
  EXPECT_NE(std::string::npos, help.output.find("--agentx ADDRESS")) << help.output;
}

// The station started as an operator starts it, on SIM, with --agentx: the master serves
// its module.
TEST(StationProcessTest, ARunningStationOnSimIsSeenThroughTheMaster) {
  SnmpServers servers;
  ASSERT_EQ("", servers.failure());
  TempDir run;
  run.Write("sdefault.txt", "SIM 9600 N 8 1");
  TempDir runtime;
  ChildProcess station;
  // posix_spawn keeps the working directory: run the station through sh to change it.
  ASSERT_TRUE(station.Start("sh",
                            {"-c", "cd '" + run.path() + "' && exec '" + ONEFORTWO_STATION +
                                       "' --agentx " + servers.agentx_address()},
                            Offscreen(runtime), run.path() + "station.out"));
  std::string walk;
  for (int i = 0; i < 100; ++i) {
    const CommandResult result = servers.Walk();
    walk = result.output;
    if (walk.find("onefortwoControllerContact.0 = INTEGER: true(1)") != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_NE(std::string::npos, walk.find("onefortwoPortName.0 = STRING: SIM")) << walk;
  EXPECT_NE(std::string::npos, walk.find("onefortwoStationSimulated.0 = INTEGER: true(1)")) << walk;
  EXPECT_NE(std::string::npos, walk.find("onefortwoAmpContact.3 = INTEGER: true(1)")) << walk;
  EXPECT_NE(std::string::npos, walk.find("onefortwoControllerContact.0 = INTEGER: true(1)"))
      << walk << run.Read("station.out");
  EXPECT_TRUE(station.Running()) << run.Read("station.out");
}

}  // namespace
}  // namespace onefortwo
