// What the station tells its listeners: contact, states, faults, readings, the controller's
// changes, the operator's commands, and the port's failures and reopening.

#include "events/station_events.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "amp/fault_dialog.h"
#include "shell/main_timer.h"
#include "support/fake_sound.h"
#include "support/operator_fixture.h"
#include "support/recording_events.h"

namespace onefortwo {
namespace {

using Events = std::vector<std::string>;

AmpReply Standby() {
  AmpReply reply;
  reply.state1 = 0x08;
  return reply;
}

AmpReply OverTemperature() {
  AmpReply reply;
  reply.state1 = 0x08;
  reply.state2 = 0x20;
  reply.fault1 = 0x08;
  return reply;
}

// The controller's status reply: S1 (bit 0 automatic, bit 1 switch 1 in A, bit 4 local)
// and S4 (bit 2 switch 2 in A).
Bytes ControllerReplyFrame(uint8_t s1, uint8_t s4) {
  return AckFrame(64, std::string("1") + static_cast<char>(s1) + "\x40\x40" + static_cast<char>(s4));
}

class StationEventsTest : public OperatorTest {
 protected:
  StationEventsTest() {
    station.events.Add(&heard);
    for (int tick = 0; tick < 4; ++tick) Step();  // the first query goes to A
    heard.Take();
  }

  // One timer tick, as the main window runs it: supervision, then the poll step.
  void Step(double ms = 56) {
    clock.AdvanceMs(ms);
    timer.Tick();
  }
  // Runs ticks until device `device` is queried next, at most a rotation and a half.
  void UntilQueried(int device) {
    for (int i = 0; i < 40 && !(line->frames.size() > 0 && line->frames.back()[1] == 64 + device);
         ++i)
      Step(250);
  }

  RecordingEvents heard;
  FakeSound sound;
  MainTimer timer{station, windows, sound};
};

TEST_F(StationEventsTest, AmplifierRepliesTellContactStatesFaultsAndTheReadingsAsReceived) {
  Reply(0, Standby());
  EXPECT_EQ(Events({"contact restored A", "state A No Contact -> Standby"}), heard.Take());
  ASSERT_EQ(1u, heard.readings.size());
  const AmpReadings& r = heard.readings[0];
  EXPECT_DOUBLE_EQ(10.0, r.attenuation_db);
  EXPECT_DOUBLE_EQ(12.5, r.helix_current_ma);
  EXPECT_DOUBLE_EQ(60.0, r.forward_dbm);  // as received, whatever the panels' unit
  EXPECT_DOUBLE_EQ(47.0, r.reverse_dbm);
  EXPECT_DOUBLE_EQ(45.0, r.temperature_c);
  EXPECT_DOUBLE_EQ(10.2, r.helix_voltage_kv);

  Reply(0, OverTemperature());
  EXPECT_EQ(Events({"state A Standby -> Faulted", "fault raised A Over Temperature"}),
            heard.Take());
  Reply(0, OverTemperature());
  EXPECT_TRUE(heard.Take().empty()) << "a reply that changes nothing tells nothing";
  Reply(0, Standby());
  EXPECT_EQ(Events({"state A Faulted -> Standby", "fault cleared A Over Temperature"}),
            heard.Take());

  AmpReply garbled = Standby();
  garbled.forward = "--50";
  garbled.current = "abcd";
  Reply(0, garbled);
  EXPECT_TRUE(std::isnan(heard.readings.back().forward_dbm));
  EXPECT_TRUE(std::isnan(heard.readings.back().helix_current_ma));
}

TEST_F(StationEventsTest, ThirdMissTellsContactLostOnceAndTheFirstReplyRestoresIt) {
  Reply(0, Standby());
  heard.Take();
  for (int miss = 0; miss < 12; ++miss) {  // three rotations of nobody answering
    Step(250);
  }
  EXPECT_EQ(Events({"state A Standby -> No Contact",
                    "contact lost A: no reply to three queries in a row"}),
            heard.Take());
  UntilQueried(1);
  Reply(0, Standby());
  EXPECT_EQ(Events({"contact restored A", "state A No Contact -> Standby"}), heard.Take());
}

TEST_F(StationEventsTest, LosingContactWithAFaultedAmplifierDoesNotClearItsFault) {
  Reply(0, OverTemperature());
  heard.Take();
  for (int miss = 0; miss < 12; ++miss) Step(250);
  UntilQueried(1);
  Reply(0, OverTemperature());
  const Events events = heard.Take();
  EXPECT_EQ(Events({"state A Faulted -> No Contact",
                    "contact lost A: no reply to three queries in a row", "contact restored A",
                    "state A No Contact -> Faulted"}),
            events);
}

TEST_F(StationEventsTest, ControllerChangesAreToldAgainstItsLastReplyAndMarkedWhenCommanded) {
  ScriptedPrompter& ask = prompter;
  UntilQueried(0);
  line->Feed(ControllerReplyFrame(0x53, 0x44));  // automatic, both switches in A, local
  Step();
  EXPECT_EQ(Events({"contact restored controller"}), heard.Take())
      << "the first reply is the state, not a change from the start values";

  // The operator throws switch 1; the controller reports it moved.
  int scale = 0;
  station.layout = ComputeLayout(520, 380, &scale);
  ask.answers = {true};
  commands.MainWindowMouseClick(station.layout.sx1, station.layout.sy1);
  EXPECT_EQ(Events({"command controller B1B sent (Toggle Waveguide Switch 1?)"}), heard.Take());
  line->Feed(ControllerReplyFrame(0x51, 0x44));
  Step();
  EXPECT_EQ(Events({"controller switch1 A->B commanded"}), heard.Take());

  // Eleven seconds later switch 2 moves with no command: the controller did it.
  clock.AdvanceMs(11000);
  UntilQueried(0);
  line->Feed(ControllerReplyFrame(0x51, 0x40));
  Step();
  EXPECT_EQ(Events({"controller switch2 A->B by itself"}), heard.Take());
}

TEST_F(StationEventsTest, CommandsCarryTheQuestionTheOperatorConfirmed) {
  Reply(1, Standby());
  heard.Take();
  prompter.answers = {true, false};
  commands.AmpPanelCommand(1, kStateButton);  // "Turn High Voltage ON?" Yes
  commands.AmpPanelCommand(1, kRfButton);     // "Inhibit RF?" No
  EXPECT_EQ(Events({"command B @ sent (Turn High Voltage ON?)"}), heard.Take());

  station.SetAttenuation(1, 12.5, "Adjust HPA-B Attenuation: 12.5 (dB)");
  EXPECT_EQ(Events({"command B K12.5 sent (Adjust HPA-B Attenuation: 12.5 (dB))"}), heard.Take());
}

TEST_F(StationEventsTest, ACommandWithThePortClosedIsToldAsNotSentAndTheOperatorIsTold) {
  station.link.ClosePort();
  Step();
  heard.Take();
  prompter.Take();
  prompter.answers = {true};
  commands.AmpPanelCommand(0, kStateButton);
  EXPECT_EQ(Events({"command A @ not sent (Turn High Voltage ON?)"}), heard.Take());
  EXPECT_EQ(Events({"Confirm: Turn High Voltage ON?",
                    "told Problem: Nothing was sent: the port is not open."}),
            prompter.Take());
}

TEST_F(StationEventsTest, FaultDialogButtonsAreTold) {
  Reply(2, OverTemperature());  // opens C's fault dialog with the alarm on
  heard.Take();
  FaultDialog dialog(station, 2);
  dialog.Acknowledge();
  dialog.Acknowledge();  // already silent: nothing more to tell
  dialog.FaultReset();
  EXPECT_EQ(Events({"acknowledged C", "fault reset C",
                    "command C B sent (Amplifier C Fault: Fault Reset)"}),
            heard.Take());
}

// Listeners that show powers (the SNMP agent's texts) learn the unit the panels now use.
TEST_F(StationEventsTest, TheUnitButtonTellsTheNewUnit) {
  commands.TogglePowerFormat();
  commands.TogglePowerFormat();
  commands.TogglePowerFormat();
  EXPECT_EQ(Events({"power unit dBm", "power unit dBW", "power unit Watts"}), heard.Take());
}

TEST_F(StationEventsTest, StartAndExitAreTold) {
  EventHub& hub = station.events;
  hub.StationStarted("2.0");
  EXPECT_EQ(Events({"started 2.0"}), heard.Take());
  hub.Remove(&heard);
  hub.StationEnded();
  EXPECT_TRUE(heard.Take().empty()) << "a removed listener hears nothing";
}

// The port: lost under the station, nothing shown as live, opened anew every 2 s.
class LinkSupervisionTest : public StationEventsTest {};

TEST_F(LinkSupervisionTest, AFailedDeviceIsClosedShownAsLostAndReopenedEveryTwoSeconds) {
  Reply(0, Standby());
  UntilQueried(0);
  line->Feed(ControllerReplyFrame(0x53, 0x44));
  Step();
  heard.Take();
  ASSERT_EQ(1, station.controller.controller_contact);

  // The adapter is pulled: its reads fail from now on, and the name is gone.
  line->failure = "the device hung up";
  opener.lines.erase("COM2");
  const size_t opens = opener.opened.size();
  windows.Take();
  Step();
  EXPECT_FALSE(station.link.PortOpen());
  EXPECT_EQ(amp_no_contact, station.amps.amp_info[0].status) << "at once, not after misses";
  EXPECT_EQ(0, station.controller.controller_contact);
  EXPECT_EQ(Events({"port lost COM2: the device hung up", "state A Standby -> No Contact",
                    "contact lost controller: the port was lost",
                    "contact lost A: the port was lost"}),
            heard.Take());
  const Events repaint = windows.Take();
  EXPECT_NE(std::find(repaint.begin(), repaint.end(), "redraw 0 105"), repaint.end());
  EXPECT_NE(std::find(repaint.begin(), repaint.end(), "invalidate all erase"), repaint.end());

  // Tried again every 2 s, and nothing is written meanwhile.
  line->ClearWritten();
  for (int tick = 0; tick < 80; ++tick) Step();  // 4.48 s
  EXPECT_EQ(opens + 2, opener.opened.size());
  EXPECT_TRUE(line->frames.empty());
  EXPECT_TRUE(heard.Take().empty()) << "failed reopens tell nothing new";

  // The adapter comes back under the same name: polling resumes where the rotation was.
  auto back = opener.Add("COM2");
  const int rotation = station.current_device;
  for (int tick = 0; tick < 40 && back->frames.empty(); ++tick) Step();
  EXPECT_TRUE(station.link.PortOpen());
  EXPECT_EQ(Events({"port restored COM2"}), heard.Take());
  ASSERT_FALSE(back->frames.empty());
  EXPECT_EQ(64 + (rotation + 1) % 4, back->frames[0][1]);
}

// A terminal server's port opens at once and connects later, or is refused: it is back
// only once connected, and a server that keeps refusing tells nothing new.
TEST_F(LinkSupervisionTest, AReopenedPortIsBackOnlyOnceItHasConnected) {
  Reply(0, Standby());
  heard.Take();
  line->failure = "the terminal server closed the connection";
  auto server = opener.Add("COM2");  // what the next open reaches: a connection being made
  server->connecting = true;
  Step();
  EXPECT_EQ("port lost COM2: the terminal server closed the connection", heard.Take().front());

  // Opened again after 2 s and held open while it connects; not opened again on top.
  const size_t opens = opener.opened.size();
  for (int tick = 0; tick < 80; ++tick) Step();  // 4.48 s
  EXPECT_EQ(opens + 1, opener.opened.size());
  EXPECT_TRUE(station.link.PortOpen());
  EXPECT_TRUE(station.link.lost());
  EXPECT_TRUE(heard.Take().empty()) << "not back before it has connected";
  EXPECT_TRUE(server->frames.empty());

  // Refused: closed quietly, the loss stands, and it is tried again 2 s later, when it
  // is refused at once; 2 s after that it connects.
  server->failure = "connection refused";
  opener.Add("COM2")->failure = "connection refused";
  Step();
  EXPECT_FALSE(station.link.PortOpen());
  for (int tick = 0; tick < 36; ++tick) Step();  // 2.02 s
  EXPECT_EQ(opens + 2, opener.opened.size());
  EXPECT_FALSE(station.link.PortOpen());
  EXPECT_TRUE(heard.Take().empty());
  auto again = opener.Add("COM2");
  again->connecting = true;
  for (int tick = 0; tick < 36; ++tick) Step();
  EXPECT_EQ(opens + 3, opener.opened.size());
  ASSERT_TRUE(station.link.PortOpen());

  // Connected: back, and polling resumes.
  again->connecting = false;
  Step();
  EXPECT_EQ(Events({"port restored COM2"}), heard.Take());
  EXPECT_FALSE(station.link.lost());
  for (int tick = 0; tick < 8 && again->frames.empty(); ++tick) Step();
  EXPECT_FALSE(again->frames.empty());
}

TEST_F(LinkSupervisionTest, AClosedOrReopenedPortLeavesNothingLookingLive) {
  Reply(0, Standby());
  Reply(1, Standby());
  heard.Take();
  station.link.ClosePort("closed by the test");
  Step();
  for (int amp = 0; amp < kAmpCount; ++amp)
    EXPECT_EQ(amp_no_contact, station.amps.amp_info[amp].status) << amp;
  EXPECT_EQ(0, station.controller.controller_contact);
  const Events closed = heard.Take();
  EXPECT_EQ("port closed COM2: closed by the test", closed.front());
  EXPECT_NE(std::find(closed.begin(), closed.end(), "contact lost A: the port is closed"),
            closed.end());

  // Nobody reopens a port closed on purpose.
  for (int tick = 0; tick < 80; ++tick) Step();
  EXPECT_FALSE(station.link.PortOpen());

  // Opened anew (the serial dialog): what was shown came from before, so it goes too.
  ASSERT_EQ(1, station.link.InitSerial());
  Step();
  UntilQueried(1);
  Reply(0, Standby());
  EXPECT_EQ(amp_standby, station.amps.amp_info[0].status);
  station.link.InitSerial();
  Step();
  EXPECT_EQ(amp_no_contact, station.amps.amp_info[0].status);
}

}  // namespace
}  // namespace onefortwo
