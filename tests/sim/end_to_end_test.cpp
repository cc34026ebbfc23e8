// The station polling the simulated installation: in process on the built-in port "SIM",
// and onefortwo-sim as a process over a real pseudo-terminal and as a terminal server
// over TCP. Every scenario runs on all three.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "station_rig.h"

namespace onefortwo {
namespace {

class EndToEnd : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    rig = StationRig::Make(GetParam());
    ASSERT_EQ("", rig->failure());
  }

  const amp_struct& Amp(int amp) { return rig->station().amps.amp_info[amp]; }
  const ControllerState& Controller() { return rig->station().controller; }

  // Ticks until every device has answered once (the controller reports remote control,
  // which the station does not assume).
  void PollOnce() {
    ASSERT_TRUE(rig->TickUntil(
        [this] {
          return Amp(0).status != amp_no_contact && Amp(1).status != amp_no_contact &&
                 Amp(2).status != amp_no_contact && Controller().controller_local == 0;
        },
        3000));
  }

  std::unique_ptr<StationRig> rig;
};

TEST_P(EndToEnd, FullRotationIsParsedIntoTheRecords) {
  ASSERT_EQ("ok", rig->Command("hv A on"));
  ASSERT_EQ("ok", rig->Command("alarm B on"));
  ASSERT_EQ("ok", rig->Command("rf C off"));
  PollOnce();

  EXPECT_EQ(amp_hv_on, Amp(0).status);
  EXPECT_EQ(amp_alarm, Amp(1).status);
  EXPECT_EQ(amp_standby, Amp(2).status);
  EXPECT_EQ(1, Amp(2).rf_inhibit);
  for (int amp = 0; amp < kAmpCount; ++amp) {
    EXPECT_EQ(1, Amp(amp).remote) << amp;
    EXPECT_EQ(0, Amp(amp).constant) << amp;
    EXPECT_EQ(fault_none, Amp(amp).fault_status) << amp;
    EXPECT_STREQ("10.0", Amp(amp).attenuation) << amp;
    EXPECT_STREQ("25.0", Amp(amp).temp) << amp;
  }
  EXPECT_EQ(0, std::strncmp("10.", Amp(0).voltage, 3)) << Amp(0).voltage;  // high voltage on
  EXPECT_STREQ("00.0", Amp(1).voltage);
  EXPECT_STREQ("0", Amp(1).power_out);
  EXPECT_EQ(0, Controller().controller_manual);  // automatic
  EXPECT_EQ(65, Controller().waveguide1);
  EXPECT_EQ(65, Controller().waveguide2);
  const Station& s = rig->station();
  EXPECT_EQ(0, s.error_count[0] + s.error_count[1] + s.error_count[2] + s.error_count[3]);
}

TEST_P(EndToEnd, HighVoltageOnShowsTimeDelayThenHighVoltageOn) {
  PollOnce();
  ASSERT_EQ(amp_standby, Amp(0).status);
  rig->station().SendToAmp(0, "@");  // as the panel sends it on Yes
  const double sent = rig->NowMs();

  ASSERT_TRUE(rig->TickUntil([this] { return Amp(0).status != amp_standby; }, 2000));
  EXPECT_EQ(amp_ftd, Amp(0).status);
  EXPECT_STREQ("0", Amp(0).power_out);
  ASSERT_TRUE(rig->TickUntil([this] { return Amp(0).status != amp_ftd; }, 3000));
  EXPECT_EQ(amp_hv_on, Amp(0).status);
  EXPECT_GE(rig->NowMs() - sent, StationRig::kWarmupMs);

  // Forward power rises to the 500 W set point (57.0 dBm, shown as 501 W), reverse power
  // 20 dB below it.
  ASSERT_TRUE(rig->TickUntil([this] { return std::strcmp(Amp(0).power_out, "501") == 0; }, 4000))
      << Amp(0).power_out;
  EXPECT_STREQ("   5", Amp(0).power_back);
}

TEST_P(EndToEnd, FaultOnOutputOneInAutomaticModeSwitchesTheSpareIn) {
  ASSERT_EQ("ok", rig->Command("hv A on"));
  ASSERT_EQ("ok", rig->Command("hv B on"));
  PollOnce();
  ASSERT_EQ(0, Controller().controller_manual);
  ASSERT_EQ(amp_hv_on, Amp(0).status);
  rig->windows().Take();

  ASSERT_EQ("ok", rig->Command("fault A over-temp"));
  ASSERT_TRUE(rig->TickUntil(
      [this] { return Amp(0).status == amp_fault && Controller().waveguide1 == 66; }, 3000));
  EXPECT_EQ(fault_over_temp, Amp(0).fault_status);
  const auto log = rig->windows().Take();
  EXPECT_NE(log.end(), std::find(log.begin(), log.end(), "open fault 0"));
  EXPECT_NE(log.end(), std::find(log.begin(), log.end(), "fault text 0 Over Temperature"));
  // Switch 1 in B, switch 2 in A: C feeds output 1, B stays on output 2.
  EXPECT_EQ(65, Controller().waveguide2);
  EXPECT_EQ(amp_hv_on, Amp(1).status);
}

TEST_P(EndToEnd, SilencedAmplifierIsLostOnItsThirdMissAndBackOnItsFirstReply) {
  PollOnce();
  ASSERT_EQ("ok", rig->Command("silent B"));
  const Station& s = rig->station();
  int highest_count_before = 0;
  ASSERT_TRUE(rig->TickUntil(
      [&] {
        if (Amp(1).status == amp_no_contact) return true;
        highest_count_before = std::max(highest_count_before, s.error_count[2]);
        return false;
      },
      4000));
  // Two misses counted with the record still standing; the third resets it.
  EXPECT_EQ(2, highest_count_before);
  EXPECT_EQ(2, s.error_count[2]);
  EXPECT_STREQ("00.0", Amp(1).attenuation);

  ASSERT_EQ("ok", rig->Command("normal B"));
  ASSERT_TRUE(rig->TickUntil([this] { return Amp(1).status != amp_no_contact; }, 3000));
  EXPECT_EQ(amp_standby, Amp(1).status);
  EXPECT_EQ(0, s.error_count[2]);
  EXPECT_STREQ("10.0", Amp(1).attenuation);
}

// What the records may show while replies are lost: the installation's true picture, or
// (for an amplifier whose replies were lost three times running) no contact.
void ExpectTruePicture(const amp_struct& amp, amp_enum status, const char* power_out) {
  if (amp.status == amp_no_contact) return;
  EXPECT_EQ(status, amp.status);
  EXPECT_EQ(fault_none, amp.fault_status);
  EXPECT_STREQ(power_out, amp.power_out);
  EXPECT_STREQ("10.0", amp.attenuation);
  // The temperature creeps; it must still be a reading of the form 12.3.
  const std::string temp = amp.temp;
  EXPECT_TRUE(temp.size() == 4 && std::isdigit(static_cast<unsigned char>(temp[0])) &&
              std::isdigit(static_cast<unsigned char>(temp[1])) && temp[2] == '.' &&
              std::isdigit(static_cast<unsigned char>(temp[3])))
      << temp;
}

TEST_P(EndToEnd, NoiseAndBadCheckBytesCostRepliesNotCorrectness) {
  ASSERT_EQ("ok", rig->Command("hv A on"));
  PollOnce();
  ASSERT_TRUE(rig->TickUntil([this] { return std::strcmp(Amp(0).power_out, "501") == 0; }, 4000));
  Station& s = rig->station();
  const auto check = [&] {
    ExpectTruePicture(Amp(0), amp_hv_on, "501");
    ExpectTruePicture(Amp(1), amp_standby, "0");
    ExpectTruePicture(Amp(2), amp_standby, "0");
    EXPECT_EQ(65, Controller().waveguide1);
    EXPECT_EQ(65, Controller().waveguide2);
    EXPECT_EQ(0, Controller().controller_manual);
    EXPECT_EQ(0, Controller().controller_local);
  };

  // Two replies of A with a wrong check byte: two misses, no loss of contact.
  ASSERT_EQ("ok", rig->Command("badcheck A 2"));
  int highest_a = 0;
  ASSERT_TRUE(rig->TickUntil(
      [&] {
        check();
        highest_a = std::max(highest_a, s.error_count[1]);
        return highest_a == 2 && s.error_count[1] == 0;
      },
      4000));
  EXPECT_EQ(amp_hv_on, Amp(0).status);

  // Bursts of noise over the replies in flight.
  int misses = 0;
  int before[4] = {};
  for (int burst = 0; burst < 6; ++burst) {
    ASSERT_EQ("ok", rig->Command("noise 40"));
    for (int tick = 0; tick < 6; ++tick) {
      std::copy(s.error_count, s.error_count + 4, before);
      rig->Tick();
      for (int device = 0; device < 4; ++device) misses += s.error_count[device] > before[device];
      check();
    }
  }
  EXPECT_GT(misses, 0) << "the noise spoilt no reply";
  // Once the line is quiet again every device is heard.
  ASSERT_TRUE(rig->TickUntil(
      [&] {
        return s.error_count[0] + s.error_count[1] + s.error_count[2] + s.error_count[3] == 0 &&
               Amp(0).status == amp_hv_on && Amp(1).status == amp_standby &&
               Amp(2).status == amp_standby;
      },
      3000));
  check();
}

INSTANTIATE_TEST_SUITE_P(Installations, EndToEnd, ::testing::Values("SIM", "pty", "tcp"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           const std::string kind = info.param;
                           return kind == "pty" ? std::string("Pty")
                                  : kind == "tcp" ? std::string("Tcp")
                                                  : std::string("Sim");
                         });

}  // namespace
}  // namespace onefortwo
