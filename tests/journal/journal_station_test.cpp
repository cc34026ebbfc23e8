// The journal on a running station: every kind of event from scripted runs, on the
// in-process simulated installation and on a fake line, with a fake wall clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "amp/fault_dialog.h"
#include "journal/csv.h"
#include "journal/journal_recorder.h"
#include "journal_support.h"
#include "shell/station_lifecycle.h"
#include "sim/station_rig.h"
#include "support/fake_clock.h"
#include "support/fake_serial_device.h"
#include "support/fake_windows.h"
#include "support/recording_events.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace onefortwo {
namespace {

using Lines = std::vector<std::string>;

JournalOptions Options(const TempDir& dir) {
  JournalOptions options;
  options.path = dir.path() + "journal.sqlite";
  options.user = "tester";
  return options;
}

// The station on the in-process installation, its journal's wall clock following the
// station's clock from 03:00 UTC.
class JournalOnSim : public ::testing::Test {
 protected:
  JournalOnSim() : rig(StationRig::Make("SIM")), recorder(Options(dir), wall, &status) {
    rig->station().events.Add(&recorder);
  }
  ~JournalOnSim() override { rig->station().events.Remove(&recorder); }

  bool TickUntil(const std::function<bool()>& done, double limit_ms = 5000) {
    const double until = rig->NowMs() + limit_ms;
    while (rig->NowMs() < until) {
      rig->Tick();
      wall.Set(kThreeAm + std::llround(rig->NowMs()));
      if (done()) return true;
    }
    return false;
  }
  // The events written since the last call.
  Lines Written() {
    recorder.Flush();
    return JournalLines(recorder.path(), &seen);
  }
  Station& station() { return rig->station(); }
  const amp_struct& Amp(int amp) { return station().amps.amp_info[amp]; }

  TempDir dir;
  FakeWallClock wall;
  RecordingStatus status;
  std::unique_ptr<StationRig> rig;
  JournalRecorder recorder;
  int64_t seen = 0;
};

TEST_F(JournalOnSim, FaultSwitchOverAcknowledgeResetCommandedSwitchAndContact) {
  ASSERT_EQ("", rig->failure());
  ASSERT_EQ("ok", rig->Command("hv A on"));
  ASSERT_EQ("ok", rig->Command("hv B on"));
  ASSERT_TRUE(TickUntil([&] {
    return Amp(0).status == amp_hv_on && Amp(1).status == amp_hv_on &&
           Amp(2).status == amp_standby && station().contact[0];
  }));
  Lines first = Written();
  std::sort(first.begin(), first.end());
  EXPECT_EQ(Lines({"A | contact restored | Contact restored",
                   "A | state changed | No Contact -> High Voltage",
                   "B | contact restored | Contact restored",
                   "B | state changed | No Contact -> High Voltage",
                   "C | contact restored | Contact restored",
                   "C | state changed | No Contact -> Standby",
                   "controller | contact restored | Contact restored"}),
            first);
  EXPECT_EQ("Journal: journal.sqlite", status.Last());

  // A trips on output 1 in automatic mode: the controller switches the spare in itself.
  ASSERT_EQ("ok", rig->Command("fault A over-temp"));
  ASSERT_TRUE(TickUntil([&] { return station().controller.waveguide1 == 'B'; }));
  EXPECT_EQ(Lines({"A | state changed | High Voltage -> Faulted",
                   "A | fault raised | Fault: Over Temperature",
                   "controller | switch changed | Waveguide switch 1 A -> B, by the controller itself"}),
            Written());

  // The operator acknowledges the alarm and resets the fault.
  FaultDialog dialog(station(), 0);
  dialog.Acknowledge();
  ASSERT_TRUE(dialog.FaultReset());
  ASSERT_TRUE(TickUntil([&] { return Amp(0).status != amp_fault; }));
  EXPECT_EQ(Lines({"A | alarm acknowledged | Alarm acknowledged | tester",
                   "A | fault reset | Fault Reset pressed | tester",
                   "A | command | Sent \"B\" after \"Amplifier A Fault: Fault Reset\" | tester",
                   "A | state changed | Faulted -> Standby",
                   "A | fault cleared | Fault cleared: Over Temperature"}),
            Written());

  // Switch 1 thrown back from this station.
  ASSERT_TRUE(station().Command(0, "B1A", "Toggle Waveguide Switch 1?"));
  ASSERT_TRUE(TickUntil([&] { return station().controller.waveguide1 == 'A'; }));
  EXPECT_EQ(Lines({"controller | command | Sent \"B1A\" after \"Toggle Waveguide Switch 1?\" | tester",
                   "controller | switch changed | Waveguide switch 1 B -> A, commanded from this station"}),
            Written());

  // B falls silent and comes back.
  ASSERT_EQ("ok", rig->Command("silent B"));
  ASSERT_TRUE(TickUntil([&] { return !station().contact[2]; }));
  EXPECT_EQ(Lines({"B | state changed | High Voltage -> No Contact",
                   "B | contact lost | Contact lost: no reply to three queries in a row"}),
            Written());
  ASSERT_EQ("ok", rig->Command("normal B"));
  ASSERT_TRUE(TickUntil([&] { return station().contact[2]; }));
  EXPECT_EQ(Lines({"B | contact restored | Contact restored",
                   "B | state changed | No Contact -> High Voltage"}),
            Written());
}

TEST_F(JournalOnSim, EveryGoodReplyIsARowOfNumbersWithThePowersInDbm) {
  ASSERT_EQ("ok", rig->Command("hv A on"));
  station().power_format = power_watts;  // the panels show watts; the journal keeps dBm
  int replies = 0;
  RecordingEvents counter;
  station().events.Add(&counter);
  ASSERT_TRUE(TickUntil([&] { return counter.readings.size() >= 30; }, 20000));
  station().events.Remove(&counter);
  replies = static_cast<int>(counter.readings.size());
  recorder.Flush();

  JournalDb db;
  std::string why;
  ASSERT_TRUE(db.Open(recorder.path(), JournalDb::Mode::reader, 0, &why)) << why;
  std::ostringstream csv;
  ASSERT_TRUE(WriteReadingsCsv(db, 0, 0, INT64_MAX, csv, &why));
  const std::string text = csv.str();
  EXPECT_EQ(0u, text.rfind("time,amp,attenuation_db,helix_current_ma,helix_voltage_kv,"
                           "temperature_c,forward_dbm,reverse_dbm\n", 0));
  // The last row of A holds the numbers of A's last reply as received.
  const AmpReadings& last = station().amps.readings[0];
  const std::string last_row = text.substr(text.rfind('\n', text.size() - 2) + 1);
  EXPECT_NE(std::string::npos,
            last_row.find(",A," + CsvNumber(last.attenuation_db) + "," +
                          CsvNumber(last.helix_current_ma) + "," + CsvNumber(last.helix_voltage_kv) +
                          "," + CsvNumber(last.temperature_c) + "," + CsvNumber(last.forward_dbm) +
                          "," + CsvNumber(last.reverse_dbm) + "\n"))
      << last_row;
  EXPECT_GT(last.forward_dbm, 40) << "dBm, not watts";
  // One row per reply of every amplifier.
  int rows = 0;
  for (int amp = 0; amp < 3; ++amp) {
    std::ostringstream all;
    ASSERT_TRUE(WriteReadingsCsv(db, amp, 0, INT64_MAX, all, &why));
    const std::string s = all.str();
    rows += static_cast<int>(std::count(s.begin(), s.end(), '\n')) - 1;
  }
  EXPECT_EQ(replies, rows);
}

// The station's run on a fake line: started, the port opened, lost, restored and closed,
// and the end, each as the station tells it.
TEST(JournalOfAStationRun, StartPortLostRestoredAndExit) {
  TempDir dir;
  dir.Write("sdefault.txt", "COM2 9600 N 8 1");
  FakeOpener opener;
  auto line = opener.Add("COM2");
  FakeClock clock;
  FakeWindows windows;
  Station station(opener, clock, windows);
  FakeWallClock wall;
  JournalRecorder recorder(Options(dir), wall, nullptr);
  station.events.Add(&recorder);

  ASSERT_TRUE(StartStation(station, dir.path()));
  line->failure = "the device hung up";
  opener.lines.erase("COM2");
  for (int tick = 0; tick < 3; ++tick) {
    clock.AdvanceMs(56);
    station.SuperviseLink();
    station.Poll(0);
  }
  opener.Add("COM2");
  for (int tick = 0; tick < 60 && !station.link.PortOpen(); ++tick) {
    clock.AdvanceMs(56);
    station.SuperviseLink();
    station.Poll(0);
  }
  ASSERT_TRUE(station.link.PortOpen());
  ScriptedPrompter prompter;
  prompter.answers = {true};
  ASSERT_TRUE(ConfirmExit(station, prompter));
  station.events.Remove(&recorder);
  recorder.Flush();

  EXPECT_EQ(Lines({"station | station started | Station started, version 2.0 | tester",
                   "line | port opened | Port COM2 (9600 8N1) opened",
                   "line | port lost | Port COM2 (9600 8N1) lost: the device hung up",
                   "line | port restored | Port COM2 (9600 8N1) restored",
                   "line | port closed | Port COM2 (9600 8N1) closed: the station ends",
                   "station | station ended | Station ended | tester"}),
            JournalLines(recorder.path()));
}

TEST(JournalOfAStationRun, APortThatDoesNotOpenIsRefusedWithItsReason) {
  TempDir dir;
  dir.Write("sdefault.txt", "COM9 19200 E 7 2");
  FakeOpener opener;
  FakeClock clock;
  FakeWindows windows;
  Station station(opener, clock, windows);
  FakeWallClock wall;
  JournalRecorder recorder(Options(dir), wall, nullptr);
  station.events.Add(&recorder);
  ASSERT_FALSE(StartStation(station, dir.path()));
  station.events.Remove(&recorder);
  recorder.Flush();
  EXPECT_EQ(Lines({"station | station started | Station started, version 2.0 | tester",
                   "line | port refused | Port COM9 (19200 7E2) refused: there is no such port on this machine"}),
            JournalLines(recorder.path()));
}

}  // namespace
}  // namespace onefortwo
