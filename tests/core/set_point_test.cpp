#include <gtest/gtest.h>

#include <cmath>

#include "amp/set_point.h"
#include "support/station_fixture.h"

namespace onefortwo {
namespace {

TEST(SetPointText, CommandTextsByUnit) {
  const struct {
    const char* name;
    power_enum format;
    double value;
    const char* power;     // SetPower
    const char* constant;  // SetConstant on; null where a negative level means "as shown"
  } cases[] = {
      {"500 W", power_watts, 500, "E0500", "G0500"},
      {"12.6 W", power_watts, 12.6, "E0013", "G0013"},
      {"0.5 W rounds up", power_watts, 0.5, "E0001", "G0001"},
      {"0.49 W rounds down", power_watts, 0.49, "E0000", "G0000"},
      {"negative watts", power_watts, -5, "E-005", nullptr},
      {"five digits", power_watts, 12345, "E12345", "G12345"},
      {"27.04 dBW", power_dbw, 27.04, "D27.0", "F27.0"},
      {"5 dBW", power_dbw, 5, "D 5.0", "F 5.0"},
      {"60 dBW", power_dbw, 60, "D60.0", "F60.0"},
      {"-3.25 dBW", power_dbw, -3.25, "D-3.3", nullptr},
      {"57.25 dBm", power_dbm, 57.25, "D27.3", "F27.3"},
      {"60 dBm", power_dbm, 60, "D30.0", "F30.0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.power, SetPowerText(c.format, c.value)) << c.name;
    if (c.constant) {
      EXPECT_EQ(c.constant, SetConstantText(c.format, 1, c.value, "")) << c.name;
    }
  }
}

TEST(SetPointText, AttenuationIgnoresTheUnit) {
  EXPECT_EQ("K10.0", SetAttenuationText(10));
  EXPECT_EQ("K 2.5", SetAttenuationText(2.46));
  EXPECT_EQ("K-1.0", SetAttenuationText(-1));
}

TEST(SetPointText, ConstantOffIsTheOneLetterH) {
  for (power_enum format : {power_watts, power_dbm, power_dbw})
    EXPECT_EQ("H", SetConstantText(format, 0, 1000, "1000"));
}

TEST(SetPointText, ConstantAtTheShownForwardPower) {
  EXPECT_EQ("G1000", SetConstantText(power_watts, 1, -1, "1000"));
  EXPECT_EQ("F30.0", SetConstantText(power_dbw, 1, -1, "30.0"));
  EXPECT_EQ("F30.0", SetConstantText(power_dbm, 1, -1, "60.0"));
  EXPECT_EQ("G0000", SetConstantText(power_watts, 1, -1, "----"));
  EXPECT_EQ("G0050", SetConstantText(power_watts, 1, std::nan(""), "50"));
}

TEST(SetPointText, ValuesThatCannotBeCommandedGiveNoText) {
  for (power_enum format : {power_watts, power_dbm, power_dbw}) {
    EXPECT_EQ("", SetPowerText(format, std::nan(""))) << format;
    EXPECT_EQ("", SetPowerText(format, HUGE_VAL)) << format;
    EXPECT_EQ("", SetPowerText(format, 1e300)) << format;
    EXPECT_EQ("", SetConstantText(format, 1, 1e300, "")) << format;
  }
  EXPECT_EQ("", SetPowerText(power_watts, 3e9));
  EXPECT_EQ("", SetAttenuationText(std::nan("")));
  EXPECT_EQ("", SetAttenuationText(1e300));
  // Large but printable values go out as they come: there is no range check.
  EXPECT_EQ("D1000000.0", SetPowerText(power_dbw, 1e6));
}

using SetPointTest = StationTest;

TEST_F(SetPointTest, EachOperationSendsOneFrameToItsAmplifier) {
  station.power_format = power_watts;
  EXPECT_TRUE(station.SetPower(0, 500));
  EXPECT_TRUE(station.SetAttenuation(1, 10));
  station.power_format = power_dbm;
  strcpy(station.amps.amp_info[2].power_out, "57.0");
  EXPECT_TRUE(station.SetConstant(2, 1, -1));
  EXPECT_TRUE(station.SetConstant(2, 0, -1));
  EXPECT_FALSE(station.SetPower(1, std::nan("")));
  ASSERT_EQ(4u, line->frames.size());
  EXPECT_EQ(CommandFrame(65, "E0500"), line->frames[0]);
  EXPECT_EQ(CommandFrame(66, "K10.0"), line->frames[1]);
  EXPECT_EQ(CommandFrame(67, "F27.0"), line->frames[2]);
  EXPECT_EQ(CommandFrame(67, "H"), line->frames[3]);
}

}  // namespace
}  // namespace onefortwo
