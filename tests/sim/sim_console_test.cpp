#include "sim/sim_console.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace onefortwo {
namespace {

class ConsoleTest : public ::testing::Test {
 protected:
  SimInstallation installation;
  SimConsole console{installation};
};

TEST_F(ConsoleTest, CommandsChangeTheInstallation) {
  using HV = SimAmplifier::HighVoltage;
  const struct {
    const char* line;
    std::function<bool(SimInstallation&)> done;
  } rows[] = {
      {"fault A over-temp",
       [](SimInstallation& s) { return s.amplifier(0).fault_byte(0) == 0x08; }},
      {"FAULT c Under_Volt sticky",
       [](SimInstallation& s) {
         s.amplifier(2).Answer("B");
         return s.amplifier(2).fault_byte(1) == 0x20;
       }},
      {"alarm B on", [](SimInstallation& s) { return s.amplifier(1).alarm(); }},
      {"hv A on", [](SimInstallation& s) { return s.amplifier(0).high_voltage() == HV::on; }},
      {"hv A warmup",
       [](SimInstallation& s) { return s.amplifier(0).high_voltage() == HV::time_delay; }},
      {"rf C off", [](SimInstallation& s) { return s.amplifier(2).rf_inhibit(); }},
      {"autohv B on", [](SimInstallation& s) { return s.amplifier(1).StatusText()[2] == 0x41; }},
      {"local B", [](SimInstallation& s) { return !s.amplifier(1).remote(); }},
      {"local ctl", [](SimInstallation& s) { return s.controller().local(); }},
      {"mode manual", [](SimInstallation& s) { return s.controller().manual(); }},
      {"switch 2 b", [](SimInstallation& s) { return s.controller().waveguide2() == 'B'; }},
      {"silent B 3", [](SimInstallation& s) { return s.reply_faults().remaining(2) == 3; }},
      {"nak ctl", [](SimInstallation& s) { return s.reply_faults().fault(0) == ReplyFault::nak; }},
      {"badcheck a 1",
       [](SimInstallation& s) { return s.reply_faults().fault(1) == ReplyFault::bad_check; }},
      {"cut C",
       [](SimInstallation& s) { return s.reply_faults().fault(3) == ReplyFault::cut_short; }},
      {"noise 25", [](SimInstallation& s) { return s.NextByteAt() < 1e300; }},
  };
  for (const auto& row : rows) {
    SimInstallation fresh;
    SimConsole on_fresh(fresh);
    EXPECT_EQ("ok", on_fresh.Execute(row.line)) << row.line;
    EXPECT_TRUE(row.done(fresh)) << row.line;
  }
}

TEST_F(ConsoleTest, FaultOnAnOutputAmplifierSwitchesTheSpareInAtOnce) {
  ASSERT_EQ("ok", console.Execute("fault B low-line"));
  EXPECT_EQ('B', installation.controller().waveguide2());
  ASSERT_EQ("ok", console.Execute("clear B"));
  EXPECT_FALSE(installation.amplifier(1).faulted());
}

TEST_F(ConsoleTest, FaultsAreTakenOffAgain) {
  console.Execute("silent A");
  console.Execute("hv A on");
  EXPECT_EQ("ok", console.Execute("normal A"));
  EXPECT_EQ(ReplyFault::none, installation.reply_faults().fault(1));
  EXPECT_EQ("ok", console.Execute("hv A off"));
  EXPECT_EQ(SimAmplifier::HighVoltage::standby, installation.amplifier(0).high_voltage());
  console.Execute("fault A fan-locked");
  EXPECT_EQ("error: the amplifier is faulted", console.Execute("hv A on"));
  EXPECT_EQ("ok", console.Execute("remote B"));
  EXPECT_EQ("ok", console.Execute("mode auto"));
}

TEST_F(ConsoleTest, StatusHelpLogAndQuit) {
  console.Execute("fault C high-reflected sticky");
  console.Execute("badcheck A 2");
  const std::string status = console.Execute("status");
  EXPECT_NE(std::string::npos, status.find("ctl: automatic, remote, switch 1 A, switch 2 A "
                                           "(output 1 A, output 2 B, spare C), answers\n"));
  EXPECT_NE(std::string::npos, status.find("A: standby, RF enabled, remote, forward 00.0 dBm, "
                                           "attenuation 10.0 dB, faults none, badcheck for 2 "
                                           "more\n"));
  EXPECT_NE(std::string::npos, status.find("C: standby, RF enabled, remote, forward 00.0 dBm, "
                                           "attenuation 10.0 dB, faults high-reflected, answers"));
  EXPECT_EQ("ok", status.substr(status.size() - 2));
  const std::string help = console.Execute("help");
  EXPECT_NE(std::string::npos, help.find("badcheck DEV [N]"));
  EXPECT_EQ("ok", help.substr(help.size() - 2));
  EXPECT_EQ("ok", console.Execute("log on"));
  EXPECT_TRUE(console.log_frames);
  EXPECT_EQ("ok", console.Execute("log off"));
  EXPECT_FALSE(console.log_frames);
  EXPECT_EQ("", console.Execute("   "));
  EXPECT_EQ("", console.Execute("# a comment"));
  EXPECT_FALSE(console.quit);
  EXPECT_EQ("ok", console.Execute("quit"));
  EXPECT_TRUE(console.quit);
}

TEST_F(ConsoleTest, WhatIsNotACommandIsAnErrorAndChangesNothing) {
  for (const char* line : {"bogus",
                           "fault",
                           "fault D over-temp",
                           "fault A",
                           "fault A hot",
                           "fault A over-temp now",
                           "fault ctl over-temp",
                           "clear",
                           "clear ctl",
                           "alarm A maybe",
                           "alarm A",
                           "hv A up",
                           "rf ctl on",
                           "local",
                           "local D",
                           "mode",
                           "mode semi",
                           "switch 3 A",
                           "switch 1 C",
                           "switch 1",
                           "silent",
                           "silent D",
                           "silent A 0",
                           "silent A -1",
                           "silent A x",
                           "silent A 1 2",
                           "nak A 99999999",
                           "normal A 3",
                           "noise",
                           "noise 0",
                           "noise 1001",
                           "noise x",
                           "log",
                           "log maybe",
                           "status now",
                           "quit now",
                           "help me"}) {
    const std::string answer = console.Execute(line);
    EXPECT_EQ(0u, answer.rfind("error: ", 0)) << line << " -> " << answer;
  }
  EXPECT_EQ(0u, console.Execute("status").rfind("ctl: automatic, remote, switch 1 A, switch 2 A "
                                                "(output 1 A, output 2 B, spare C), answers\n",
                                                0));
  for (int amp = 0; amp < 3; ++amp) EXPECT_FALSE(installation.amplifier(amp).faulted());
  for (int device = 0; device < 4; ++device) {
    EXPECT_EQ(ReplyFault::none, installation.reply_faults().fault(device));
  }
  EXPECT_FALSE(console.quit);
}

TEST_F(ConsoleTest, AnyTypedLineIsAnswered) {
  std::mt19937 random(99);
  std::uniform_int_distribution<int> any_byte(1, 255);
  std::uniform_int_distribution<int> length(0, 60);
  const std::string words[] = {"fault", "a", "ctl", "over-temp", "on", "9", "noise", "silent"};
  for (int round = 0; round < 3000; ++round) {
    std::string line;
    for (int i = length(random); i > 0; --i) {
      line += (i % 3 == 0) ? words[static_cast<size_t>(any_byte(random)) % 8] + " "
                           : std::string(1, static_cast<char>(any_byte(random)));
    }
    const std::string answer = console.Execute(line);
    const std::string last =
        answer.substr(answer.rfind('\n') == std::string::npos ? 0 : answer.rfind('\n') + 1);
    EXPECT_TRUE(answer.empty() || last.rfind("ok", 0) == 0 || last.rfind("error: ", 0) == 0)
        << line;
  }
}

}  // namespace
}  // namespace onefortwo
