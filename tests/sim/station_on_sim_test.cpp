// The station on the built-in port "SIM": the opener, and the poll cycle against the
// line's timing on a fake clock.

#include <gtest/gtest.h>

#include "shell/station.h"
#include "sim/sim_serial_device.h"
#include "sim/station_port_opener.h"
#include "support/fake_clock.h"
#include "support/fake_serial_device.h"
#include "support/fake_windows.h"
#include "support/temp_dir.h"

namespace onefortwo {
namespace {

TEST(StationPortOpener, SimForItsNameEveryOtherNameToTheOtherPorts) {
  const struct {
    const char* name;
    bool sim;
    OpenError error;
  } rows[] = {
      {"SIM", true, OpenError::none},           {"sim", true, OpenError::none},
      {"Sim", true, OpenError::none},           {"COM2", false, OpenError::none},
      {"SIMX", false, OpenError::no_such_port}, {"SI", false, OpenError::no_such_port},
      {"", false, OpenError::no_such_port},
  };
  for (const auto& row : rows) {
    FakeOpener other;
    other.Add("COM2");
    FakeClock clock;
    StationPortOpener opener(other, clock);
    OpenError error = OpenError::failed;
    const auto device = opener.Open(row.name, &error);
    EXPECT_EQ(row.error, error) << row.name;
    EXPECT_EQ(row.sim, dynamic_cast<SimSerialDevice*>(device.get()) != nullptr) << row.name;
    EXPECT_EQ(row.sim ? 0u : 1u, other.opened.size()) << row.name;
  }
}

TEST(StationPortOpener, OnePortAtATimeAndTheSameInstallationWhenReopened) {
  FakeOpener other;
  FakeClock clock;
  StationPortOpener opener(other, clock);
  OpenError error = OpenError::none;
  auto first = opener.Open("SIM", &error);
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(nullptr, opener.Open("SIM", &error));
  EXPECT_EQ(OpenError::busy, error);

  opener.installation().controller().SetSwitch(1, 'B');
  first.reset();
  auto again = opener.Open("SIM", &error);
  ASSERT_NE(nullptr, again);
  EXPECT_EQ('B', opener.installation().controller().waveguide1());
}

TEST(StationPortOpener, RefusedWithoutACounterToTimeTheLine) {
  FakeOpener other;
  FakeClock clock;
  clock.has_counter = false;
  StationPortOpener opener(other, clock);
  OpenError error = OpenError::none;
  EXPECT_EQ(nullptr, opener.Open("SIM", &error));
  EXPECT_EQ(OpenError::failed, error);
}

TEST(StationOnSim, InitSerialOpensTheSimulationNamedInTheDefaultsFile) {
  TempDir dir;
  dir.Write("sdefault.txt", "SIM 19200 E 7 2");
  FakeOpener other;
  FakeClock clock;
  FakeWindows windows;
  StationPortOpener opener(other, clock);
  Station station(opener, clock, windows);
  station.link.save_directory = dir.path();
  station.link.LoadSerialDefaults();
  ASSERT_EQ(1, station.link.InitSerial());
  EXPECT_TRUE(other.opened.empty());
  EXPECT_EQ(19200, opener.installation().timing().baud());
  EXPECT_EQ(11, opener.installation().timing().bits_per_byte());
}

TEST(StationOnSim, SendingWaitsUntilTheFrameHasLeft) {
  FakeOpener other;
  FakeClock clock;
  FakeWindows windows;
  StationPortOpener opener(other, clock);
  Station station(opener, clock, windows);
  ASSERT_TRUE(station.link.SetSerialPort("SIM"));
  ASSERT_EQ(1, station.link.InitSerial());
  // 13 bytes of 10 bits at 9600 baud: 13.54 ms, waited in whole ms.
  station.link.SendCommand(65, kAmpQuery, 0);
  EXPECT_EQ(1, clock.sleeps);
  EXPECT_EQ(14, clock.slept_ms);
  // The reply time-out runs from the end of the frame.
  EXPECT_EQ(0, station.link.PastTime(1));
}

// The poll cycle on "SIM" at a given rate, ticking in 56 ms slots as the main window's
// timer does; counts the queries the installation heard and the misses the station saw.
struct PollRun {
  int queries = 0;
  int misses = 0;
  amp_enum status_b = amp_no_contact;  // in alarm on the installation
  int controller_local = 1;            // remote on the installation
};

PollRun RunPoll(int baud, int ticks) {
  FakeOpener other;
  FakeClock clock;
  FakeWindows windows;
  StationPortOpener opener(other, clock);
  Station station(opener, clock, windows);
  station.link.serial_baud = baud;
  station.link.SetSerialPort("SIM");
  PollRun run;
  if (station.link.InitSerial() != 1) return run;
  for (int amp = 0; amp < kAmpCount; ++amp) station.amps.InitAmpInfo(amp);
  opener.installation().set_observer([&run](const LineEvent& event) {
    if (event.kind == LineEvent::command) ++run.queries;
  });
  opener.installation().amplifier(1).SetAlarm(true);
  double next_tick = 0;
  const auto now_ms = [&clock] { return clock.counter * 1000.0 / FakeClock::kFrequency; };
  for (int tick = 0; tick < ticks; ++tick) {
    next_tick += 56;
    if (now_ms() < next_tick) clock.AdvanceMs(next_tick - now_ms());
    next_tick = now_ms();
    int before[4];
    std::copy(station.error_count, station.error_count + 4, before);
    station.Poll(0);
    for (int device = 0; device < 4; ++device) {
      run.misses += station.error_count[device] > before[device];
    }
  }
  opener.installation().AdvanceTo(now_ms() + 1000);  // the last query reaches the devices
  run.status_b = station.amps.amp_info[1].status;
  run.controller_local = station.controller.controller_local;
  return run;
}

TEST(StationOnSim, PollCycleMeetsTheLinesTiming) {
  const struct {
    int baud;
    int min_queries, max_queries;  // heard in 400 ticks
    bool misses;
    amp_enum status_b;
  } rows[] = {
      // A query and its reply fit between two ticks: a query on every tick, every
      // device asked on every fourth (the first query goes out on the fourth tick).
      {115200, 397, 397, false, amp_alarm},
      {9600, 397, 397, false, amp_alarm},
      // An amplifier's 13-byte query takes 54 ms to leave and its 33-byte reply is in
      // 142 ms later, within the 200 ms time-out: four ticks an amplifier, two for the
      // controller.
      {2400, 110, 116, false, amp_alarm},
      // At 1200 baud the reply needs 280 ms on the line: the time-out runs out half way
      // through, the receiver drops the part it holds, and no amplifier reply is ever
      // taken in. The controller's 9-byte reply still is.
      {1200, 80, 95, true, amp_no_contact},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.baud);
    const PollRun run = RunPoll(row.baud, 400);
    EXPECT_GE(run.queries, row.min_queries);
    EXPECT_LE(run.queries, row.max_queries);
    EXPECT_EQ(row.misses, run.misses > 0) << run.misses;
    EXPECT_EQ(row.status_b, run.status_b);
    EXPECT_EQ(0, run.controller_local);
  }
}

}  // namespace
}  // namespace onefortwo
