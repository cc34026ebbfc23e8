#include "sim/sim_amplifier.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/station.h"
#include "support/fake_serial_device.h"
#include "support/fake_windows.h"

namespace onefortwo {
namespace {

// The amplifier's status reply as the station's parser reads it.
class AmplifierTest : public ::testing::Test {
 protected:
  AmplifierTest() : model(windows) { model.InitAmpInfo(0); }

  const amp_struct& Parsed(power_enum unit = power_watts) {
    const Bytes frame = AckFrame(65, amp.StatusText());
    model.ParseAmpResponse(0, reinterpret_cast<const char*>(frame.data()),
                           static_cast<int>(frame.size()), unit);
    return model.amp_info[0];
  }
  // Forward power in dBm as the amplifier reports it.
  std::string Forward() { return amp.StatusText().substr(13, 4); }
  std::string Reverse() { return amp.StatusText().substr(17, 4); }

  SimOptions options;
  SimAmplifier amp{options};
  FakeWindows windows;
  AmpModel model;
};

TEST_F(AmplifierTest, StatusReplyHasTheStationsLayout) {
  const std::string text = amp.StatusText();
  ASSERT_EQ(29u, text.size());
  EXPECT_EQ('?', text[0]);
  EXPECT_EQ("10.000.000.000.025.000.0", text.substr(5));  // A I P Q T V, 4 characters each
  const amp_struct& info = Parsed();
  EXPECT_EQ(amp_standby, info.status);
  EXPECT_EQ(fault_none, info.fault_status);
  EXPECT_EQ(1, info.remote);
  EXPECT_EQ(0, info.rf_inhibit);
  EXPECT_EQ(0, info.constant);
  EXPECT_STREQ("10.0", info.attenuation);
  EXPECT_STREQ("0", info.power_out);
}

TEST_F(AmplifierTest, StatusBytesNeverLookLikeControlBytes) {
  // Every combination of flags, states and faults: the receiver would take an STX, ETX,
  // ACK or NAK among the status bytes as the frame's start or end.
  for (int flags = 0; flags < 32; ++flags) {
    for (int fault = 0; fault < kFaultCount; ++fault) {
      SimAmplifier a;
      a.SetRfInhibit(flags & 1);
      a.SetRemote(flags & 2);
      a.SetAlarm(flags & 4);
      a.SetAutoHv(flags & 8);
      if (flags & 16) a.Answer("G1000");
      a.SetHighVoltage(static_cast<SimAmplifier::HighVoltage>(fault % 3));
      a.InjectFault(static_cast<fault_enum>(fault), fault % 2 == 0);
      for (char c : a.StatusText().substr(1, 4)) {
        const uint8_t byte = static_cast<uint8_t>(c);
        EXPECT_TRUE(byte >= 0x40 && byte <= 0x7F) << flags << " " << fault << " " << int(byte);
      }
    }
  }
}

TEST_F(AmplifierTest, EveryFaultReachesTheStationAsThatFault) {
  for (int fault = fault_latched_helix; fault < kFaultCount; ++fault) {
    SCOPED_TRACE(fault_string[fault]);
    amp.ClearFaults();
    amp.SetHighVoltage(SimAmplifier::HighVoltage::on);
    amp.InjectFault(static_cast<fault_enum>(fault), false);
    EXPECT_EQ(SimAmplifier::HighVoltage::standby, amp.high_voltage());  // tripped
    const amp_struct& info = Parsed();
    EXPECT_EQ(amp_fault, info.status);
    EXPECT_EQ(fault, info.fault_status);
  }
}

TEST_F(AmplifierTest, HighVoltageOnGoesThroughTheWarmUp) {
  ASSERT_TRUE(amp.Answer("@").ack);
  EXPECT_EQ(amp_ftd, Parsed().status);
  amp.Advance(options.warmup_ms - 1);
  EXPECT_EQ(amp_ftd, Parsed().status);
  EXPECT_STREQ("00.0", Parsed().voltage);
  amp.Advance(1);
  EXPECT_EQ(amp_hv_on, Parsed().status);
  EXPECT_STREQ("10.5", Parsed().voltage);
  // "@" again changes nothing; "A" goes back to standby.
  EXPECT_TRUE(amp.Answer("@").ack);
  EXPECT_EQ(SimAmplifier::HighVoltage::on, amp.high_voltage());
  EXPECT_TRUE(amp.Answer("A").ack);
  EXPECT_EQ(amp_standby, Parsed().status);
}

TEST_F(AmplifierTest, HighVoltageOffDuringTheWarmUpAndOnWhileFaulted) {
  amp.Answer("@");
  amp.Advance(options.warmup_ms / 2);
  amp.Answer("A");
  amp.Advance(options.warmup_ms);
  EXPECT_EQ(amp_standby, Parsed().status);

  amp.InjectFault(fault_over_volt, false);
  EXPECT_TRUE(amp.Answer("@").ack);  // taken, but the interlock keeps the tube off
  amp.Advance(2 * options.warmup_ms);
  EXPECT_EQ(SimAmplifier::HighVoltage::standby, amp.high_voltage());
  EXPECT_FALSE(amp.SetHighVoltage(SimAmplifier::HighVoltage::on));
}

TEST_F(AmplifierTest, ForwardPowerFollowsTheSetPoint) {
  const struct {
    const char* name;
    std::vector<std::string> commands;
    const char* forward;  // dBm, once settled
    bool constant;
  } rows[] = {
      {"start", {}, "57.0", false},
      {"watts", {"E1000"}, "60.0", false},
      {"dBW", {"D27.0"}, "57.0", false},
      {"dBW with padding", {"D 5.0"}, "35.0", false},
      {"negative dBW", {"D-3.3"}, "26.7", false},
      {"zero watts", {"E0000"}, "00.0", false},
      {"negative watts", {"E-005"}, "00.0", false},
      {"above rating", {"E9999"}, "63.0", false},
      {"constant power", {"G1000", "E0100"}, "60.0", true},
      {"constant power in dBW", {"F20.0"}, "50.0", true},
      {"constant power off", {"G1000", "E0100", "H"}, "50.0", false},
      {"RF inhibited", {"I"}, "00.0", false},
      {"RF enabled again", {"I", "J"}, "57.0", false},
      {"high voltage off", {"A"}, "00.0", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SimAmplifier a(options);
    a.SetHighVoltage(SimAmplifier::HighVoltage::on);
    for (const std::string& command : row.commands) ASSERT_TRUE(a.Answer(command).ack) << command;
    a.Advance(10 * options.power_time_constant_ms);
    const std::string text = a.StatusText();
    EXPECT_EQ(row.forward, text.substr(13, 4));
    EXPECT_EQ(row.constant, a.constant());
  }
}

TEST_F(AmplifierTest, ForwardPowerRisesWithItsTimeConstant) {
  amp.SetHighVoltage(SimAmplifier::HighVoltage::on);
  amp.Advance(options.power_time_constant_ms);
  // 1 - 1/e of 500 W: 316 W, 55.0 dBm; reverse power 20 dB below.
  EXPECT_EQ("55.0", Forward());
  EXPECT_EQ("35.0", Reverse());
  amp.Advance(10 * options.power_time_constant_ms);
  EXPECT_EQ("57.0", Forward());
  EXPECT_EQ("37.0", Reverse());
  EXPECT_STREQ("501", Parsed().power_out);
  EXPECT_STREQ("   5", Parsed().power_back);
}

TEST_F(AmplifierTest, HelixAndTubeFollowTheLoad) {
  amp.SetHighVoltage(SimAmplifier::HighVoltage::on);
  amp.Answer("I");
  amp.Advance(5000);
  EXPECT_STREQ("04.0", Parsed().current);  // idle: high voltage on, no RF
  EXPECT_STREQ("10.5", Parsed().voltage);
  amp.Answer("J");
  amp.Answer("E2000");
  amp.Advance(5000);
  EXPECT_STREQ("12.0", Parsed().current);  // rated output
  EXPECT_STREQ("10.3", Parsed().voltage);
  // The tube warms over minutes (time constant 2 min) towards 25 + 15 + 20 C at rated output.
  amp.Advance(20 * 60 * 1000);
  EXPECT_STREQ("60.0", Parsed().temp);
  amp.Answer("A");
  amp.Advance(20 * 60 * 1000);
  EXPECT_STREQ("00.0", Parsed().current);
  EXPECT_STREQ("00.0", Parsed().voltage);
  EXPECT_STREQ("25.0", Parsed().temp);
}

TEST_F(AmplifierTest, AttenuationFollowsItsSetPoint) {
  const struct {
    const char* command;
    const char* settled;
  } rows[] = {{"K05.0", "05.0"}, {"K 7.5", "07.5"}, {"K99.9", "30.0"}, {"K-3.0", "00.0"}};
  for (const auto& row : rows) {
    SimAmplifier a(options);
    ASSERT_TRUE(a.Answer(row.command).ack) << row.command;
    a.Advance(2000);
    EXPECT_EQ(row.settled, a.StatusText().substr(5, 4)) << row.command;
  }
}

TEST_F(AmplifierTest, FaultResetClearsFaultsWhoseCauseHasGone) {
  amp.InjectFault(fault_fan_locked, false);
  amp.InjectFault(fault_external_interlock, true);  // the interlock is still open
  EXPECT_EQ(fault_fan_locked, Parsed().fault_status);
  ASSERT_TRUE(amp.Answer("B").ack);
  EXPECT_EQ(amp_fault, Parsed().status);
  EXPECT_EQ(fault_external_interlock, Parsed().fault_status);
  amp.ClearFaults();
  EXPECT_EQ(amp_standby, Parsed().status);
  EXPECT_EQ(fault_none, Parsed().fault_status);
}

TEST_F(AmplifierTest, AlarmAndAutomaticHighVoltageAreReported) {
  amp.SetAlarm(true);
  EXPECT_EQ(amp_alarm, Parsed().status);
  amp.SetAlarm(false);
  amp.SetAutoHv(true);
  EXPECT_EQ(amp_auto_hv, Parsed().status);
}

TEST_F(AmplifierTest, InLocalModeOnlyTheStatusQueryIsAnswered) {
  amp.SetRemote(false);
  EXPECT_EQ(0, Parsed().remote);
  for (const char* command :
       {"@", "A", "I", "J", "B", "H", "E0100", "D20.0", "K05.0", "G0100", "F20.0"}) {
    EXPECT_FALSE(amp.Answer(command).ack) << command;
  }
  EXPECT_EQ(SimAmplifier::HighVoltage::standby, amp.high_voltage());
  EXPECT_FALSE(amp.rf_inhibit());
  EXPECT_DOUBLE_EQ(10.0, amp.attenuation_set());
  EXPECT_TRUE(amp.Answer(kAmpQuery).ack);
}

TEST_F(AmplifierTest, TextsItDoesNotKnowAreRefusedAndChangeNothing) {
  const double set_dbm = amp.output_set_dbm();
  for (const char* text :
       {"",      "E", "E12.5", "Exyz", "E 1 2",    "K", "K1.2.3", "K 1e3", "D--1", "Dinf", "Dnan",
        "D+5.0", "F", "@@",    "AA",   "?13AIPQT", "?", "1",      "B1A",   "60",   "e0100"}) {
    const DeviceAnswer answer = amp.Answer(text);
    EXPECT_FALSE(answer.ack) << '"' << text << '"';
    EXPECT_EQ(text, answer.text);  // the NAK echoes what it refused
  }
  EXPECT_DOUBLE_EQ(set_dbm, amp.output_set_dbm());
  EXPECT_DOUBLE_EQ(10.0, amp.attenuation_set());
  EXPECT_FALSE(amp.constant());
}

}  // namespace
}  // namespace onefortwo
