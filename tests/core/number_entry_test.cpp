#include "user/number_entry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/operator_fixture.h"

namespace onefortwo {
namespace {

class NumberEntryTest : public OperatorTest {
 protected:
  NumberEntryTest() {
    AmpReply reply;  // 60.0 dBm forward (1000 W), attenuation 10.0
    for (int amp = 0; amp < kAmpCount; ++amp) Reply(amp, reply);
    Sent();
  }
  void SetConstantMode(int amp, bool on) {
    AmpReply reply;
    reply.state1 = on ? 0x12 : 0x10;
    Reply(amp, reply);
    Sent();
  }
};

TEST_F(NumberEntryTest, TitlesPromptsUnitsAndFirstTexts) {
  SetConstantMode(1, true);
  const struct {
    int amp;
    int type;
    power_enum format;
    const char* title;
    const char* prompt;
    const char* unit;
    const char* text;
  } cases[] = {
      {0, 106, power_watts, "Adjust HPA-A Output Power", "Enter Desired Output Power:", "(Watts)",
       "1000"},
      {2, 106, power_dbm, "Adjust HPA-C Output Power", "Enter Desired Output Power:", "(dBm)",
       "60.0"},
      {0, 106, power_dbw, "Adjust HPA-A Output Power", "Enter Desired Output Power:", "(dBW)",
       "30.0"},
      {1, 106, power_watts, "Adjust HPA-B Constant Power", "Desired Constant Power:", "(Watts)",
       "1000"},
      {1, 107, power_dbm, "Adjust HPA-B Attenuation", "Enter Desired Attenuation:", "(dB)", "10.0"},
      {2, 107, power_dbw, "Adjust HPA-C Attenuation", "Enter Desired Attenuation:", "(dB)", "10.0"},
      {0, 105, power_watts, "Adjust HPA-A Attenuation", "Enter Desired Attenuation:", "(dB)",
       "10.0"},
      {3, 106, power_watts, "Enter a Number", "Enter Desired Output Power:", "(Watts)", "0000"},
  };
  for (const auto& c : cases) {
    station.power_format = c.format;
    const NumberEntry entry(station, c.amp, c.type);
    EXPECT_EQ(c.title, entry.title());
    EXPECT_EQ(c.prompt, entry.prompt()) << c.title;
    EXPECT_EQ(c.unit, entry.unit_label()) << c.title;
    EXPECT_EQ(c.text, entry.initial_text()) << c.title;
  }
}

// Right after a change of unit the record still holds the old unit's text ("1000" W);
// the field opens with the forward power in the new unit, and so does constant power
// switched on at the power shown.
TEST_F(NumberEntryTest, ForwardPowerInThePresentUnitRightAfterAUnitChange) {
  commands.TogglePowerFormat();  // dBm
  EXPECT_STREQ("1000", station.amps.amp_info[0].power_out);
  NumberEntry entry(station, 0, 106);
  EXPECT_EQ("(dBm)", entry.unit_label());
  EXPECT_EQ("60.0", entry.initial_text());
  EXPECT_TRUE(entry.Ok(entry.initial_text().c_str()).sent);
  EXPECT_EQ(std::vector<Bytes>({CommandFrame(65, "D30.0")}), Sent());

  commands.TogglePowerFormat();  // dBW
  EXPECT_EQ("30.0", NumberEntry(station, 1, 106).initial_text());
  commands.AmpPanelCommand(1, 103);
  EXPECT_EQ(std::vector<Bytes>({CommandFrame(66, "F30.0")}), Sent());

  // After contact is lost the field shows the record's placeholder.
  station.amps.InitAmpInfo(2);
  EXPECT_EQ("00.0", NumberEntry(station, 2, 106).initial_text());
}

TEST_F(NumberEntryTest, OkSendsTheEntryInThePresentUnit) {
  const struct {
    const char* name;
    int amp;
    int type;
    power_enum format;
    bool constant;
    const char* text;
    const char* command;  // null: nothing sent
  } cases[] = {
      {"12.5 W rounds to 13", 0, 106, power_watts, false, "12.5", "E0013"},
      {"57.25 dBm in dBW", 1, 106, power_dbm, false, "57.25", "D27.3"},
      {"dBW as entered", 2, 106, power_dbw, false, "27.04", "D27.0"},
      {"constant power in watts", 0, 106, power_watts, true, "500", "G0500"},
      {"constant power in dBm", 1, 106, power_dbm, true, "57.25", "F27.3"},
      {"attenuation", 2, 107, power_dbm, false, "10", "K10.0"},
      {"empty entry is 0", 0, 106, power_watts, false, "", "E0000"},
      {"text is 0", 0, 106, power_watts, false, "abc", "E0000"},
      {"number then text", 0, 106, power_watts, false, "25W", "E0025"},
      {"blanks and sign", 0, 107, power_watts, false, "  -2.46", "K-2.5"},
      {"negative watts", 1, 106, power_watts, false, "-5", "E-005"},
      {"negative constant level is the power shown", 2, 106, power_watts, true, "-1", "G1000"},
      // Held as a float, 123456789 is 123456792.
      {"nine characters are read", 0, 106, power_watts, false, "1234567890123", "E123456792"},
      {"too many watts is not commanded", 0, 106, power_watts, false, "1e30", nullptr},
      {"beyond a float is not commanded", 0, 106, power_dbw, false, "1e300", nullptr},
      {"huge constant level", 1, 106, power_dbm, true, "-1e300", "F30.0"},
      {"attenuation beyond a float", 2, 107, power_dbw, false, "1e39", nullptr},
      {"not a number", 0, 106, power_dbm, false, "nan", nullptr},
      {"not a number in constant power", 1, 106, power_watts, true, "nan", nullptr},
      {"infinite attenuation", 1, 107, power_watts, false, "inf", nullptr},
      {"two signs are no number", 0, 107, power_watts, false, "--500", "K 0.0"},
      {"plus minus is no number", 1, 106, power_watts, false, "+-500", "E0000"},
  };
  for (const auto& c : cases) {
    station.power_format = power_watts;
    SetConstantMode(c.amp, c.constant);
    station.power_format = c.format;
    NumberEntry entry(station, c.amp, c.type);
    const NumberEntry::Outcome outcome = entry.Ok(c.text);
    // What cannot be commanded keeps the dialog open and says why.
    EXPECT_EQ(c.command != nullptr, outcome.close) << c.name;
    EXPECT_EQ(c.command != nullptr, outcome.sent) << c.name;
    EXPECT_EQ(c.command == nullptr, !outcome.message.empty()) << c.name;
    const std::vector<Bytes> expected =
        c.command ? std::vector<Bytes>{CommandFrame(static_cast<uint8_t>(65 + c.amp), c.command)}
                  : std::vector<Bytes>{};
    EXPECT_EQ(expected, Sent()) << c.name;
  }
}

// Title and prompt follow the mode at opening; the command follows the mode at Ok.
TEST_F(NumberEntryTest, ConstantModeIsReadAgainAtOk) {
  NumberEntry entry(station, 0, 106);
  EXPECT_EQ("Adjust HPA-A Output Power", entry.title());
  SetConstantMode(0, true);
  entry.Ok("800");
  EXPECT_EQ(std::vector<Bytes>({CommandFrame(65, "G0800")}), Sent());
}

TEST_F(NumberEntryTest, DialogsOfTwoPanelsEachReachTheirOwnAmplifier) {
  NumberEntry power_c(station, 2, 106);
  NumberEntry attenuation_a(station, 0, 107);
  EXPECT_TRUE(attenuation_a.Ok("3").close);
  EXPECT_TRUE(power_c.Ok("250").close);
  EXPECT_EQ(std::vector<Bytes>({CommandFrame(65, "K 3.0"), CommandFrame(67, "E0250")}), Sent());
}

// The unit is the one the dialog showed at opening, even when the operator cycles the unit
// on another panel before pressing Ok: 60 typed under "(dBm)" is never sent as 60 dBW.
TEST_F(NumberEntryTest, TheEntryIsTakenInTheUnitTheDialogShows) {
  const struct {
    const char* name;
    bool constant;
    int presses;  // of the unit button while the dialog is open
    const char* command;
  } cases[] = {
      {"dBm, then dBW chosen", false, 1, "D30.0"},
      {"dBm, then watts chosen", false, 2, "D30.0"},
      {"constant power in dBm, then dBW chosen", true, 1, "F30.0"},
  };
  for (const auto& c : cases) {
    station.power_format = power_watts;
    SetConstantMode(0, c.constant);
    station.power_format = power_dbm;
    NumberEntry entry(station, 0, 106);
    ASSERT_EQ("(dBm)", entry.unit_label());
    for (int press = 0; press < c.presses; ++press) commands.TogglePowerFormat();
    EXPECT_NE(power_dbm, station.power_format);
    EXPECT_TRUE(entry.Ok("60").sent) << c.name;
    EXPECT_EQ(std::vector<Bytes>({CommandFrame(65, c.command)}), Sent()) << c.name;
  }
}

TEST_F(NumberEntryTest, WithThePortClosedNothingIsSentAndTheDialogSaysSo) {
  station.link.ClosePort();
  NumberEntry entry(station, 1, 107);
  const NumberEntry::Outcome outcome = entry.Ok("12");
  EXPECT_FALSE(outcome.sent);
  EXPECT_FALSE(outcome.close);
  EXPECT_EQ("Nothing was sent: the port is not open.", outcome.message);
}

TEST_F(NumberEntryTest, UnknownKindOrAmplifierStaysOpenAndSendsNothing) {
  for (const auto& open : {std::pair<int, int>{0, 105}, {0, 0}, {3, 106}, {-1, 107}}) {
    NumberEntry entry(station, open.first, open.second);
    const NumberEntry::Outcome outcome = entry.Ok("10");
    EXPECT_FALSE(outcome.close) << open.first << " " << open.second;
    EXPECT_FALSE(outcome.sent);
  }
  EXPECT_TRUE(Sent().empty());
}

TEST(NumberEntryValue, ReadsAtMostNineCharactersAsAFloat) {
  EXPECT_EQ(0.0, NumberEntryValue(nullptr));
  EXPECT_EQ(0.0, NumberEntryValue("."));
  EXPECT_EQ(12.5, NumberEntryValue("12.5"));
  EXPECT_EQ(static_cast<double>(0.1f), NumberEntryValue("0.1"));
  EXPECT_EQ(123456789.0f, NumberEntryValue("123456789999"));
  EXPECT_EQ(1.0, NumberEntryValue("000000001000"));
  EXPECT_TRUE(std::isinf(NumberEntryValue("1e39")));
  EXPECT_TRUE(std::isinf(NumberEntryValue("-1e39")));
  EXPECT_TRUE(std::isnan(NumberEntryValue("nan")));
}

}  // namespace
}  // namespace onefortwo
