#include <gtest/gtest.h>

#include <cmath>

#include "round/round.h"

namespace onefortwo {
namespace {

struct RoundCase {
  const char* name;
  double number;
  int precision;
  double expected;
};

class RoundTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundTest, RoundsHalvesAwayFromZero) {
  const RoundCase& c = GetParam();
  EXPECT_DOUBLE_EQ(c.expected, Round(c.number, c.precision));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoundTest,
    ::testing::Values(RoundCase{"HalfUp", 2.5, 0, 3.0}, RoundCase{"HalfDownNegative", -2.5, 0, -3.0},
                      RoundCase{"TwelveAndHalf", 12.5, 0, 13.0},
                      RoundCase{"MinusHalf", -0.5, 0, -1.0},
                      RoundCase{"BelowHalf", 0.49, 0, 0.0},
                      RoundCase{"OneDecimal", 27.25, 1, 27.3},
                      RoundCase{"AspectRatio", 1.36842, 1, 1.4},
                      RoundCase{"NegativeOneDecimal", -3.25, 1, -3.3},
                      RoundCase{"ZeroAtZero", 0.0, 0, 0.0}, RoundCase{"ZeroAtOne", 0.0, 1, 0.0},
                      RoundCase{"AspectBandTop", 260.0 / 190.0, 1, 1.4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RoundEdges, NonFiniteValuesPassThrough) {
  EXPECT_TRUE(std::isnan(Round(std::nan(""), 1)));
  EXPECT_EQ(HUGE_VAL, Round(HUGE_VAL, 0));
  EXPECT_EQ(-HUGE_VAL, Round(-HUGE_VAL, 0));
}

TEST(PowerUnits, NamesAndLabelsByUnit) {
  EXPECT_STREQ("Watts", power_unit_name[power_watts]);
  EXPECT_STREQ("dBm", power_unit_name[power_dbm]);
  EXPECT_STREQ("dBW", power_unit_name[power_dbw]);
  EXPECT_STREQ("(Watts)", power_entry_label[power_watts]);
  EXPECT_STREQ("(dBm)", power_entry_label[power_dbm]);
  EXPECT_STREQ("(dBW)", power_entry_label[power_dbw]);
}

}  // namespace
}  // namespace onefortwo
