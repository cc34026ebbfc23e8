#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "amp/amp_info.h"
#include "support/amp_reply.h"
#include "support/fake_serial_device.h"
#include "support/fake_windows.h"

namespace onefortwo {
namespace {

class AmpParserTest : public ::testing::Test {
 protected:
  AmpParserTest() {
    for (int amp = 0; amp < kAmpCount; ++amp) model.InitAmpInfo(amp);
  }
  void Parse(int amp, const AmpReply& reply, power_enum format = power_watts) {
    ParseFrame(amp, AckFrame(static_cast<uint8_t>(65 + amp), reply.Text()), format);
  }
  void ParseFrame(int amp, const Bytes& frame, power_enum format = power_watts) {
    std::copy(frame.begin(), frame.end(), buffer);
    model.ParseAmpResponse(amp, buffer, static_cast<int>(frame.size()), format);
  }
  FakeWindows windows;
  AmpModel model{windows};
  char buffer[3000] = {};
};

TEST_F(AmpParserTest, InitAmpInfoIsTheNoContactState) {
  model.amp_info[1].status = amp_hv_on;
  model.amp_info[1].remote = 1;
  model.InitAmpInfo(1);
  const amp_struct& a = model.amp_info[1];
  EXPECT_EQ(amp_no_contact, a.status);
  EXPECT_EQ(fault_none, a.fault_status);
  EXPECT_STREQ("00.0", a.power_out);
  EXPECT_STREQ("00.0", a.power_back);
  EXPECT_STREQ("00.0", a.attenuation);
  EXPECT_STREQ("0.0", a.voltage);
  EXPECT_STREQ("000", a.temp);
  EXPECT_STREQ("00.0", a.current);
  EXPECT_EQ(1, a.redisplay);
  EXPECT_EQ(0, a.remote + a.constant + a.rf_inhibit);
}

TEST_F(AmpParserTest, StateBitsInPriorityOrder) {
  const struct {
    uint8_t state1, state2;
    amp_enum status;
  } cases[] = {
      {0x00, 0x00, amp_ftd},     {0x10, 0x00, amp_hv_on},   {0x18, 0x00, amp_standby},
      {0x10, 0x01, amp_auto_hv}, {0x18, 0x05, amp_alarm},   {0x10, 0x20, amp_fault},
      {0x00, 0x24, amp_fault},   {0x00, 0xDA, amp_ftd},     {0xE7, 0x00, amp_ftd},
  };
  for (const auto& c : cases) {
    AmpReply reply;
    reply.state1 = c.state1;
    reply.state2 = c.state2;
    Parse(0, reply);
    EXPECT_EQ(c.status, model.amp_info[0].status) << int(c.state1) << " " << int(c.state2);
  }
}

TEST_F(AmpParserTest, FlagsFromTheFirstStateByte) {
  AmpReply reply;
  reply.state1 = 0x01 | 0x02 | 0x04;
  Parse(2, reply);
  EXPECT_EQ(1, model.amp_info[2].rf_inhibit);
  EXPECT_EQ(1, model.amp_info[2].constant);
  EXPECT_EQ(1, model.amp_info[2].remote);
  reply.state1 = 0x10;
  Parse(2, reply);
  EXPECT_EQ(0, model.amp_info[2].rf_inhibit + model.amp_info[2].constant + model.amp_info[2].remote);
}

TEST_F(AmpParserTest, FirstFaultBitDecides) {
  const struct {
    uint8_t fault1, fault2;
    fault_enum fault;
  } cases[] = {
      {0x01, 0x02, fault_low_line},       {0x02, 0x00, fault_fan_locked},
      {0x04, 0x00, fault_over_volt},      {0x08, 0x00, fault_over_temp},
      {0x10, 0x00, fault_momentary_helix}, {0x20, 0x00, fault_latched_helix},
      {0x00, 0x02, fault_high_output},    {0x00, 0x04, fault_low_output},
      {0x00, 0x08, fault_external_interlock}, {0x00, 0x10, fault_high_reflected},
      {0x00, 0x20, fault_under_volt},     {0xC0, 0xC1, fault_none},
      {0x30, 0x00, fault_momentary_helix},
  };
  for (const auto& c : cases) {
    AmpReply reply;
    reply.fault1 = c.fault1;
    reply.fault2 = c.fault2;
    Parse(1, reply);
    EXPECT_EQ(c.fault, model.amp_info[1].fault_status) << int(c.fault1) << " " << int(c.fault2);
  }
  EXPECT_STREQ("No Faults", fault_string[fault_none]);
  EXPECT_STREQ("High Output Power", fault_string[fault_high_output]);
}

TEST_F(AmpParserTest, ReadingsAreCopiedAsReceived) {
  AmpReply reply;
  reply.attenuation = "12.5";
  reply.current = "1.23";
  reply.temp = " 45C";
  reply.voltage = "x9.1";
  Parse(0, reply);
  EXPECT_STREQ("12.5", model.amp_info[0].attenuation);
  EXPECT_STREQ("1.23", model.amp_info[0].current);
  EXPECT_STREQ(" 45C", model.amp_info[0].temp);
  EXPECT_STREQ("x9.1", model.amp_info[0].voltage);
}

TEST_F(AmpParserTest, PowersInEachUnit) {
  const struct {
    const char* received;
    power_enum format;
    const char* forward;
    const char* reverse;
  } cases[] = {
      {"60.0", power_watts, "1000", "1000"}, {"60.0", power_dbw, "30.0", "30.0"},
      {"60.0", power_dbm, "60.0", "60.0"},   {"47.0", power_watts, "50", "  50"},
      {"47.0", power_dbw, "17.0", "17.0"},   {"30.0", power_watts, "1", "   1"},
      {"29.9", power_watts, "0", "   0"},    {"29.9", power_dbw, "-30.0", "-30.0"},
      {"29.9", power_dbm, "0", "0"},         {"37.0", power_watts, "5", "   5"},
      {"abcd", power_watts, "0", "   0"},    {"abcd", power_dbw, "-30.0", "-30.0"},
      {"abcd", power_dbm, "0", "0"},         {"99.9", power_watts, "9772376", "9772376"},
      {"9999", power_watts, "****", "****"}, {"9999", power_dbw, "9969.0", "9969.0"},
      {"9e99", power_dbw, "****", "****"},   {"inf", power_watts, "****", "****"},
      {"nan", power_watts, "0", "   0"},     {"1e30", power_dbm, "1e30", "1e30"},
  };
  for (const auto& c : cases) {
    AmpReply reply;
    reply.forward = c.received;
    reply.reverse = c.received;
    Parse(0, reply, c.format);
    EXPECT_STREQ(c.forward, model.amp_info[0].power_out) << c.received << " " << c.format;
    EXPECT_STREQ(c.reverse, model.amp_info[0].power_back) << c.received << " " << c.format;
  }
}

TEST_F(AmpParserTest, FramesThatAreNotStatusRepliesChangeNothing) {
  AmpReply good;
  Parse(0, good);
  const amp_struct before = model.amp_info[0];
  const std::string full = good.Text();
  const Bytes cases[] = {
      AckFrame(65, "A"),                           // the reply to a command
      AckFrame(65, "!" + full.substr(1)),          // not "?" first
      AckFrame(65, full.substr(0, 28)),            // one character short of the layout
      AckFrame(65, "?"),
      AckFrame(65, ""),
  };
  for (const Bytes& frame : cases) {
    // Earlier traffic of another amplifier stands behind the frame in the buffer.
    std::memset(buffer, '7', sizeof buffer);
    ParseFrame(0, frame);
    EXPECT_EQ(0, std::memcmp(&before, &model.amp_info[0], sizeof before)) << Hex(frame);
  }
  EXPECT_TRUE(windows.log.empty());
}

TEST_F(AmpParserTest, FaultOpensTheDialogAndArmsTheAlarmOnce) {
  AmpReply fault;
  fault.state2 = 0x20;
  fault.fault1 = 0x08;  // over temperature
  Parse(2, fault);
  EXPECT_EQ(std::vector<std::string>({"open fault 2", "fault text 2 Over Temperature"}),
            windows.Take());
  EXPECT_EQ(1, model.audio_enabled[2]);
  EXPECT_EQ(0, model.audio_enabled[0] + model.audio_enabled[1]);

  // The operator acknowledges: the alarm stays off while the fault is the same.
  model.audio_enabled[2] = 0;
  Parse(2, fault);
  EXPECT_TRUE(windows.Take().empty());
  EXPECT_EQ(0, model.audio_enabled[2]);

  // Another fault while the dialog is open re-arms it.
  fault.fault1 = 0x00;
  fault.fault2 = 0x08;
  Parse(2, fault);
  EXPECT_EQ(std::vector<std::string>({"fault text 2 External Interlock"}), windows.Take());
  EXPECT_EQ(1, model.audio_enabled[2]);

  // The fault clears: the dialog turns plain and the alarm is disarmed.
  Parse(2, AmpReply());
  EXPECT_EQ(std::vector<std::string>({"fault text 2 No Faults"}), windows.Take());
  EXPECT_EQ(0, model.audio_enabled[2]);
}

TEST_F(AmpParserTest, ClosedDialogReopensOnlyAfterTheStateLeavesFault) {
  AmpReply fault;
  fault.state2 = 0x20;
  fault.fault2 = 0x20;
  Parse(0, fault);
  windows.Take();
  windows.fault_open[0] = false;  // the operator closes it
  Parse(0, fault);
  EXPECT_TRUE(windows.Take().empty());
  Parse(0, AmpReply());
  Parse(0, fault);
  EXPECT_EQ(std::vector<std::string>({"open fault 0", "fault text 0 Under Voltage"}),
            windows.Take());
}

TEST_F(AmpParserTest, TwoFaultedAmplifiersEachGetTheirOwnDialog) {
  AmpReply fault;
  fault.state2 = 0x20;
  fault.fault1 = 0x01;
  Parse(0, fault);
  Parse(1, fault);
  model.audio_enabled[0] = 0;
  Parse(1, AmpReply());
  EXPECT_EQ(0, model.audio_enabled[0]);
  EXPECT_EQ(0, model.audio_enabled[1]);
  EXPECT_TRUE(windows.fault_open[0]);
  EXPECT_TRUE(windows.fault_open[1]);
  EXPECT_FALSE(windows.fault_open[2]);
}

TEST_F(AmpParserTest, LosingContactLeavesTheAlarmState) {
  AmpReply fault;
  fault.state2 = 0x20;
  Parse(1, fault);
  model.InitAmpInfo(1);
  EXPECT_EQ(1, model.audio_enabled[1]);
  EXPECT_EQ(amp_fault, model.old_status[1]);
}

// The forward power in any unit equals what the parse of the same reply in that unit
// stores, whichever unit the record was parsed in.
TEST_F(AmpParserTest, ForwardPowerInAnyUnitFromTheLastReply) {
  // The last: a forward field that starts with a NUL, an empty reading.
  for (const std::string& received : std::vector<std::string>{
           "60.0", "47.0", "29.9", "abcd", "9999", std::string("\0" "0.0", 4)}) {
    AmpReply reply;
    reply.forward = received;
    for (power_enum shown : {power_watts, power_dbm, power_dbw}) {
      Parse(0, reply, shown);
      Parse(1, reply, power_watts);
      EXPECT_EQ(model.amp_info[0].power_out, model.ForwardPowerText(1, shown))
          << received << " " << shown;
    }
  }
  model.InitAmpInfo(1);
  for (power_enum format : {power_watts, power_dbm, power_dbw})
    EXPECT_EQ("00.0", model.ForwardPowerText(1, format));
  EXPECT_EQ("", model.ForwardPowerText(3, power_watts));
  EXPECT_EQ("", model.ForwardPowerText(-1, power_watts));
}

}  // namespace
}  // namespace onefortwo
