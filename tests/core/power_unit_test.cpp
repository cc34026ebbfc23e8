#include <gtest/gtest.h>

#include "support/operator_fixture.h"

namespace onefortwo {
namespace {

class PowerUnitTest : public OperatorTest {};

TEST_F(PowerUnitTest, ThreeTogglesCycleTheUnitOnEveryPanel) {
  station.layout.scale_factor = 2.0f;
  station.layout.hxa = station.layout.hxb = station.layout.hxc = 264;
  station.layout.hya = 48, station.layout.hyb = 208, station.layout.hyc = 336;
  const char* const units[] = {"dBm", "dBW", "Watts"};
  const power_enum formats[] = {power_dbm, power_dbw, power_watts};
  for (int press = 0; press < 3; ++press) {
    commands.TogglePowerFormat();
    EXPECT_EQ(formats[press], station.power_format);
    const std::string unit = units[press];
    EXPECT_EQ(std::vector<std::string>({"unit 0 " + unit, "unit 1 " + unit, "unit 2 " + unit}),
              panels.Take());
    EXPECT_EQ(std::vector<std::string>(
                  {"text 0 106 ----", "text 0 108 ----", "invalidate 232,16,296,80 erase",
                   "text 1 106 ----", "text 1 108 ----", "invalidate 232,176,296,240 erase",
                   "text 2 106 ----", "text 2 108 ----", "invalidate 232,304,296,368 erase"}),
              windows.Take());
  }
  station.power_format = static_cast<power_enum>(3);  // not a unit: the cycle restarts
  commands.TogglePowerFormat();
  EXPECT_EQ(power_watts, station.power_format);
}

// The records keep the old unit's texts until the next reply; that reply then writes its
// powers in the new unit into the places left at "----".
TEST_F(PowerUnitTest, NextReplyFillsThePowerPlacesInTheNewUnit) {
  AmpReply reply;  // 60.0 dBm forward, 47.0 dBm reverse
  Reply(0, reply);
  windows.Take();
  commands.TogglePowerFormat();  // dBm
  EXPECT_STREQ("1000", station.amps.amp_info[0].power_out);
  windows.Take();
  Reply(0, reply);
  EXPECT_EQ(
      std::vector<std::string>({"text 0 106 60.0", "text 0 108 47.0", "invalidate 0,0,0,0 erase"}),
      windows.Take());
}

// No forward power reads "0" in watts and in dBm alike: the place left at "----" is
// written all the same, and so is a reverse power that reads the same.
TEST_F(PowerUnitTest, ReadingThatLooksTheSameInTheNewUnitIsShownAgain) {
  AmpReply reply;
  reply.forward = "20.0";  // below 1 W
  reply.reverse = "20.0";
  Reply(1, reply);
  EXPECT_STREQ("0", station.amps.amp_info[1].power_out);
  commands.TogglePowerFormat();  // dBm
  Reply(1, reply);
  EXPECT_STREQ("0", station.amps.amp_info[1].power_out);
  windows.Take();
  commands.TogglePowerFormat();  // dBW
  commands.TogglePowerFormat();  // watts
  windows.Take();
  Reply(1, reply);
  EXPECT_EQ(
      std::vector<std::string>({"text 1 106 0", "text 1 108    0", "invalidate 0,0,0,0 erase"}),
      windows.Take());
}

}  // namespace
}  // namespace onefortwo
