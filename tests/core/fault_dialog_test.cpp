#include "amp/fault_dialog.h"

#include <gtest/gtest.h>

#include "support/operator_fixture.h"

namespace onefortwo {
namespace {

class FaultDialogTest : public OperatorTest {
 protected:
  static AmpReply Faulted(uint8_t fault1, uint8_t fault2 = 0) {
    AmpReply reply;
    reply.state2 = 0x20;
    reply.fault1 = fault1;
    reply.fault2 = fault2;
    return reply;
  }
  // What the windows were asked about fault dialogs since the last call.
  std::vector<std::string> FaultRequests() {
    std::vector<std::string> requests;
    for (const std::string& line : windows.Take()) {
      if (line.compare(0, 5, "open ") == 0 || line.compare(0, 6, "fault ") == 0)
        requests.push_back(line);
    }
    return requests;
  }
};

TEST_F(FaultDialogTest, LifecycleFromFaultToAcknowledgeToClearing) {
  Reply(1, Faulted(0x08));  // over temperature
  EXPECT_EQ(std::vector<std::string>({"open fault 1", "fault text 1 Over Temperature"}),
            FaultRequests());

  FaultDialog dialog(station, 1);
  EXPECT_EQ("Amplifier B Fault", dialog.title());
  EXPECT_STREQ("Over Temperature", dialog.FaultText());
  EXPECT_TRUE(dialog.Red());
  EXPECT_TRUE(dialog.AcknowledgeEnabled());

  dialog.Acknowledge();
  EXPECT_EQ(0, station.amps.audio_enabled[1]);
  EXPECT_FALSE(dialog.AcknowledgeEnabled());
  EXPECT_TRUE(dialog.Red());

  // The same fault again keeps the alarm silent; another fault re-arms it.
  Reply(1, Faulted(0x08));
  EXPECT_FALSE(dialog.AcknowledgeEnabled());
  Reply(1, Faulted(0, 0x08));
  EXPECT_EQ(std::vector<std::string>({"fault text 1 External Interlock"}), FaultRequests());
  EXPECT_TRUE(dialog.AcknowledgeEnabled());

  // The fault clears: "No Faults", plain background, Acknowledge disabled.
  Reply(1, AmpReply());
  EXPECT_EQ(std::vector<std::string>({"fault text 1 No Faults"}), FaultRequests());
  EXPECT_FALSE(dialog.Red());
  EXPECT_FALSE(dialog.AcknowledgeEnabled());
}

TEST_F(FaultDialogTest, FaultResetSendsBToTheDialogsAmplifier) {
  const uint8_t addresses[] = {65, 66, 67};
  for (int amp = 0; amp < kAmpCount; ++amp) {
    FaultDialog dialog(station, amp);
    EXPECT_TRUE(dialog.FaultReset());
    EXPECT_EQ(std::vector<Bytes>({CommandFrame(addresses[amp], "B")}), Sent());
  }
  station.link.ClosePort();
  EXPECT_FALSE(FaultDialog(station, 2).FaultReset());
}

TEST_F(FaultDialogTest, ClosedDialogReopensOnlyWhenTheAmplifierFaultsAnew) {
  Reply(2, Faulted(0x01));
  EXPECT_EQ(std::vector<std::string>({"open fault 2", "fault text 2 Low Line"}), FaultRequests());
  windows.fault_open[2] = false;  // the operator closes it
  station.amps.audio_enabled[2] = 0;

  Reply(2, Faulted(0x01));
  Reply(2, Faulted(0x10));  // another fault, still faulted
  EXPECT_TRUE(FaultRequests().empty());
  EXPECT_EQ(0, station.amps.audio_enabled[2]);

  // Opened from the panel meanwhile: alarm not armed, red, Acknowledge disabled.
  commands.AmpPanelCommand(2, 105);
  EXPECT_EQ(std::vector<std::string>({"open fault 2"}), FaultRequests());
  FaultDialog from_panel(station, 2);
  EXPECT_TRUE(from_panel.Red());
  EXPECT_FALSE(from_panel.AcknowledgeEnabled());
  windows.fault_open[2] = false;

  // Leaving the fault and returning opens it again, alarm armed.
  Reply(2, AmpReply());
  Reply(2, Faulted(0x10));
  EXPECT_EQ(std::vector<std::string>({"open fault 2", "fault text 2 Momentary Helix Arc"}),
            FaultRequests());
  EXPECT_EQ(1, station.amps.audio_enabled[2]);
}

TEST_F(FaultDialogTest, TwoFaultedAmplifiersEachKeepTheirOwnDialog) {
  Reply(0, Faulted(0x04));
  Reply(2, Faulted(0, 0x20));
  FaultDialog a(station, 0);
  FaultDialog c(station, 2);
  EXPECT_EQ("Amplifier A Fault", a.title());
  EXPECT_EQ("Amplifier C Fault", c.title());
  EXPECT_STREQ("Over Voltage", a.FaultText());
  EXPECT_STREQ("Under Voltage", c.FaultText());

  c.Acknowledge();
  EXPECT_TRUE(a.AcknowledgeEnabled());
  EXPECT_FALSE(c.AcknowledgeEnabled());
  Sent();
  a.FaultReset();
  EXPECT_EQ(std::vector<Bytes>({CommandFrame(65, "B")}), Sent());
}

TEST_F(FaultDialogTest, UnknownAmplifierShowsNothingAndSendsNothing) {
  for (int amp : {-1, 3}) {
    FaultDialog dialog(station, amp);
    EXPECT_EQ("Amplifier ? Fault", dialog.title());
    EXPECT_STREQ("", dialog.FaultText());
    EXPECT_FALSE(dialog.Red());
    EXPECT_FALSE(dialog.AcknowledgeEnabled());
    dialog.Acknowledge();
    EXPECT_FALSE(dialog.FaultReset());
  }
  EXPECT_TRUE(Sent().empty());
}

}  // namespace
}  // namespace onefortwo
