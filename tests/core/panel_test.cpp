#include <gtest/gtest.h>

#include "support/operator_fixture.h"
#include "user/panel_face.h"

namespace onefortwo {
namespace {

TEST(PanelFace, ButtonTextsAndColoursForEveryStateAndFlag) {
  const uint32_t gray = kSysColorGrayText;
  const struct {
    int control;
    amp_enum status;
    char flag;  // remote (102), constant (103) or rf_inhibit (104)
    const char* text;
    uint32_t textcolor, bkcolor, t2color;
  } cases[] = {
      {102, amp_hv_on, 1, "Remote Mode", 0, 0, 0},
      {102, amp_hv_on, 0, "Local Mode", gray, 0, 0},
      {103, amp_hv_on, 1, "Constant Power", 0, 0x0067DF67, 0x0067AB67},
      {103, amp_hv_on, 0, "Const Pwr OFF", gray, 0, 0},
      {104, amp_hv_on, 1, "RF Inhibited", 0, 0x005FD7D7, 0x005FABAB},
      {104, amp_hv_on, 0, "RF Enabled", 0, 0, 0},
      {105, amp_no_contact, 0, "No Contact", 0, 0, 0},
      {105, amp_ac_off, 0, "Power Off", 0, 0, 0},
      {105, amp_fault, 0, "Faulted", 0, 0x008387FF, 0x005F5FC0},
      {105, amp_alarm, 0, "Alarm", 0, 0x005FD7D7, 0x005FABAB},
      {105, amp_ftd, 0, "Time Delay", 0, 0x00FFC0D7, 0x00C0AFAF},
      {105, amp_standby, 0, "Standby", 0, 0x00FFCF87, 0x00AFA787},
      {105, amp_auto_hv, 0, "Auto HV", 0, 0x005FD7D7, 0x005FABAB},
      {105, amp_hv_on, 0, "High Voltage", 0, 0x0067DF67, 0x0067AB67},
      // The flags of the other buttons play no part in the state button.
      {105, amp_standby, 1, "Standby", 0, 0x00FFCF87, 0x00AFA787},
  };
  for (const auto& c : cases) {
    amp_struct info = {};
    info.status = c.status;
    info.remote = c.control == 102 || c.control == 105 ? c.flag : 0;
    info.constant = c.control == 103 || c.control == 105 ? c.flag : 0;
    info.rf_inhibit = c.control == 104 || c.control == 105 ? c.flag : 0;
    PanelButtonFace face;
    ASSERT_TRUE(PanelButtonFaceFor(info, c.control, &face)) << c.text;
    EXPECT_STREQ(c.text, face.text);
    EXPECT_EQ(c.textcolor, face.textcolor) << c.text;
    EXPECT_EQ(c.bkcolor, face.bkcolor) << c.text;
    EXPECT_EQ(c.t2color, face.t2color) << c.text;
  }
}

TEST(PanelFace, OnlyTheFourOwnerDrawnButtonsHaveAFace) {
  amp_struct info = {};
  PanelButtonFace face;
  face.text = "untouched";
  for (int control : {0, 101, 106, 107, -1, 65536 + 105}) {
    EXPECT_FALSE(PanelButtonFaceFor(info, control, &face)) << control;
  }
  info.status = static_cast<amp_enum>(8);
  EXPECT_FALSE(PanelButtonFaceFor(info, 105, &face));
  info.status = static_cast<amp_enum>(-1);
  EXPECT_FALSE(PanelButtonFaceFor(info, 105, &face));
  EXPECT_STREQ("untouched", face.text);
}

TEST(PanelFace, BackgroundColours) {
  EXPECT_EQ(0x00AFAFAFu, PanelColor(gray_color));
  EXPECT_EQ(0x007FDF7Fu, PanelColor(green_color));
  EXPECT_EQ(0x007F7FDFu, PanelColor(red_color));
  EXPECT_EQ(0x007FDFDFu, PanelColor(yellow_color));
  EXPECT_EQ(0x00AFAFAFu, PanelColor(4));
  EXPECT_EQ(0x00AFAFAFu, PanelColor(-1));
}

class PanelCommandTest : public OperatorTest {
 protected:
  amp_struct& info(int amp) { return station.amps.amp_info[amp]; }
};

TEST_F(PanelCommandTest, ConfirmedCommandsGoToTheAmplifierOnYesOnly) {
  const struct {
    const char* name;
    int amp;
    int control;
    amp_enum status;
    char rf_inhibit;
    bool fault_dialog_open;
    const char* prompt;
    const char* command;
  } cases[] = {
      {"standby B switches on", 1, 105, amp_standby, 0, false, "Turn High Voltage ON?", "@"},
      {"auto HV A switches off", 0, 105, amp_auto_hv, 0, false, "Turn High Voltage OFF?", "A"},
      {"HV on C switches off", 2, 105, amp_hv_on, 0, false, "Turn High Voltage OFF?", "A"},
      {"faulted C with its dialog open", 2, 105, amp_fault, 0, true, "Turn High Voltage OFF?", "A"},
      {"no contact", 0, 105, amp_no_contact, 0, false, "Turn High Voltage ON?", "@"},
      {"power off", 1, 105, amp_ac_off, 0, false, "Turn High Voltage ON?", "@"},
      {"alarm", 1, 105, amp_alarm, 0, false, "Turn High Voltage ON?", "@"},
      {"time delay", 2, 105, amp_ftd, 0, false, "Turn High Voltage ON?", "@"},
      {"RF inhibited", 0, 104, amp_hv_on, 1, false, "Enable RF?", "J"},
      {"RF enabled", 2, 104, amp_hv_on, 0, false, "Inhibit RF?", "I"},
  };
  for (const auto& c : cases) {
    for (const bool yes : {true, false}) {
      info(c.amp).status = c.status;
      info(c.amp).rf_inhibit = c.rf_inhibit;
      windows.fault_open[c.amp] = c.fault_dialog_open;
      prompter.answers = {yes};
      commands.AmpPanelCommand(c.amp, c.control);
      EXPECT_EQ(std::vector<std::string>({std::string("Confirm: ") + c.prompt}), prompter.Take())
          << c.name;
      const std::vector<Bytes> expected =
          yes ? std::vector<Bytes>{CommandFrame(static_cast<uint8_t>(65 + c.amp), c.command)}
              : std::vector<Bytes>{};
      EXPECT_EQ(expected, Sent()) << c.name << (yes ? " Yes" : " No");
      EXPECT_TRUE(windows.Take().empty()) << c.name;
    }
  }
}

// The question is asked from the state at the press; the poll ticks under the open box
// may change the record, but the command answered is the command sent.
TEST_F(PanelCommandTest, CommandChosenAtThePressIsSentAfterTheAnswer) {
  info(0).status = amp_hv_on;
  prompter.answers = {true};
  prompter.while_open = [this] {
    AmpReply standby;
    standby.state1 = 0x08;
    Reply(0, standby);
    Sent();
  };
  commands.AmpPanelCommand(0, 105);
  EXPECT_EQ(amp_standby, info(0).status);
  EXPECT_EQ(std::vector<std::string>({"Confirm: Turn High Voltage OFF?"}), prompter.Take());
  EXPECT_EQ(std::vector<Bytes>({CommandFrame(65, "A")}), Sent());
}

TEST_F(PanelCommandTest, FaultedStateButtonOpensTheFaultDialogThenAsks) {
  info(2).status = amp_fault;
  commands.AmpPanelCommand(2, 105);
  EXPECT_EQ(std::vector<std::string>({"open fault 2"}), windows.Take());
  EXPECT_TRUE(prompter.Take().empty());
  EXPECT_TRUE(Sent().empty());
  // Opened from the panel it does not arm the alarm.
  EXPECT_EQ(0, station.amps.audio_enabled[2]);

  prompter.answers = {true};
  commands.AmpPanelCommand(2, 105);
  EXPECT_EQ(std::vector<std::string>({"Confirm: Turn High Voltage OFF?"}), prompter.Take());
  EXPECT_EQ(std::vector<Bytes>({CommandFrame(67, "A")}), Sent());
}

TEST_F(PanelCommandTest, ButtonsWithoutAQuestion) {
  // Constant power toggles at the forward power now shown, without asking.
  AmpReply reply;  // 60.0 dBm forward: 1000 W
  Reply(1, reply);
  Sent();
  commands.AmpPanelCommand(1, 103);
  EXPECT_EQ(std::vector<Bytes>({CommandFrame(66, "G1000")}), Sent());
  reply.state1 = 0x10 | 0x02;  // constant power on
  Reply(1, reply);
  Sent();
  commands.AmpPanelCommand(1, 103);
  EXPECT_EQ(std::vector<Bytes>({CommandFrame(66, "H")}), Sent());

  commands.AmpPanelCommand(0, 106);
  commands.AmpPanelCommand(2, 107);
  EXPECT_EQ(std::vector<std::string>({"number entry 0 106", "number entry 2 107"}), panels.Take());

  // The remote/local button is display only; unknown ids and amplifiers do nothing.
  for (const auto& press :
       {std::pair<int, int>{0, 102}, {0, 100}, {0, 108}, {3, 105}, {-1, 104}, {0, 1}}) {
    commands.AmpPanelCommand(press.first, press.second);
  }
  EXPECT_TRUE(prompter.Take().empty());
  EXPECT_TRUE(panels.Take().empty());
  EXPECT_TRUE(Sent().empty());
  windows.Take();

  commands.AmpPanelCommand(2, 101);
  EXPECT_EQ(power_dbm, station.power_format);
  EXPECT_EQ(3u, panels.Take().size());
}

}  // namespace
}  // namespace onefortwo
