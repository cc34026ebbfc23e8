// The station's command line: --agentx with its address, --help, and the arguments it
// leaves to the window system.

#include "shell/command_line.h"

#include <gtest/gtest.h>

namespace onefortwo {
namespace {

struct CommandLineCase {
  const char* name;
  std::vector<std::string> args;
  bool ok;
  std::string agentx;     // when ok
  std::vector<std::string> others;
  std::string error;      // when not ok
};

TEST(CommandLineTest, OptionsAndTheirMistakes) {
  const std::string needs = "--agentx needs the master agent's address, e.g. --agentx tcp:127.0.0.1:705";
  const std::vector<CommandLineCase> cases = {
      {"nothing", {}, true, "", {}, ""},
      {"address apart", {"--agentx", "tcp:127.0.0.1:705"}, true, "tcp:127.0.0.1:705", {}, ""},
      {"address joined", {"--agentx=/var/agentx/master"}, true, "/var/agentx/master", {}, ""},
      {"window system's own left in order",
       {"-platform", "offscreen", "--agentx", "udp:705", "-style", "fusion"}, true, "udp:705",
       {"-platform", "offscreen", "-style", "fusion"}, ""},
      {"unknown options are left too", {"--bogus"}, true, "", {"--bogus"}, ""},
      {"no address at the end", {"--agentx"}, false, "", {}, needs},
      {"an option where the address belongs", {"--agentx", "--help"}, false, "", {}, needs},
      {"empty joined address", {"--agentx="}, false, "", {}, needs},
      {"twice", {"--agentx", "a", "--agentx=b"}, false, "", {}, "--agentx given twice"},
  };
  for (const CommandLineCase& row : cases) {
    CommandLine line;
    std::string error;
    EXPECT_EQ(row.ok, ParseCommandLine(row.args, &line, &error)) << row.name;
    if (row.ok) {
      EXPECT_EQ(row.agentx, line.agentx) << row.name;
      EXPECT_EQ(row.others, line.others) << row.name;
    } else {
      EXPECT_EQ(row.error, error) << row.name;
    }
  }
}

TEST(CommandLineTest, HelpIsAskedEitherWay) {
  for (const char* help : {"--help", "-h"}) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({help}, &line, &error));
    EXPECT_TRUE(line.help) << help;
    EXPECT_TRUE(line.others.empty());
  }
  EXPECT_NE(std::string::npos, CommandLineUsage().find("--agentx ADDRESS"));
}

}  // namespace
}  // namespace onefortwo
