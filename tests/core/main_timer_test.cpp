#include "shell/main_timer.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fake_sound.h"
#include "support/station_fixture.h"

namespace onefortwo {
namespace {

class MainTimerTest : public StationTest {
 protected:
  // Puts amplifier `amp` into the fault with its dialog open and its alarm on.
  void Alarm(int amp) {
    station.amps.amp_info[amp].status = amp_fault;
    windows.fault_open[amp] = true;
    station.amps.audio_enabled[amp] = 1;
  }
  // Runs `ticks` ticks, 56 ms apart, and returns the ticks (from 0) that beeped.
  std::vector<int> Run(int ticks) {
    std::vector<int> beeped;
    for (int tick = 0; tick < ticks; ++tick) {
      const int before = sound.beeps;
      clock.AdvanceMs(MainTimer::kIntervalMs);
      timer.Tick();
      if (sound.beeps != before) beeped.push_back(tick);
      EXPECT_LE(sound.beeps - before, 1) << "two beeps on tick " << tick;
    }
    return beeped;
  }

  FakeSound sound;
  MainTimer timer{station, windows, sound};
};

TEST_F(MainTimerTest, EachAmplifierBeepsOnItsOwnTickOfThe13TickCycle) {
  const struct {
    const char* name;
    std::vector<int> alarmed;
    std::vector<int> beeped;
  } cases[] = {
      {"A", {0}, {0, 13, 26}},
      {"B", {1}, {4, 17, 30}},
      {"C", {2}, {8, 21, 34}},
      {"all three", {0, 1, 2}, {0, 4, 8, 13, 17, 21, 26, 30, 34}},
  };
  // No polling: once the closed port's first tick has shown every amplifier as out of
  // contact, the records stay as each case sets them.
  station.link.ClosePort();
  timer.Tick();
  for (const auto& c : cases) {
    for (int amp = 0; amp < kAmpCount; ++amp) {
      station.amps.InitAmpInfo(amp);
      station.amps.audio_enabled[amp] = 0;
      windows.fault_open[amp] = false;
    }
    timer.count = 0;
    for (int amp : c.alarmed) Alarm(amp);
    EXPECT_EQ(c.beeped, Run(39)) << c.name;
  }
}

TEST_F(MainTimerTest, OnlyAFaultWithItsDialogOpenAndItsAlarmOnBeeps) {
  const struct {
    const char* name;
    amp_enum status;
    bool dialog_open;
    int audio_enabled;
    bool beeps;
  } cases[] = {
      {"faulted, dialog open, alarm on", amp_fault, true, 1, true},
      {"dialog closed", amp_fault, false, 1, false},
      {"alarm acknowledged", amp_fault, true, 0, false},
      {"fault cleared to standby", amp_standby, true, 1, false},
      {"no contact", amp_no_contact, true, 1, false},
  };
  // No polling: once the closed port's first tick has shown every amplifier as out of
  // contact, the records stay as each case sets them.
  station.link.ClosePort();
  timer.Tick();
  for (const auto& c : cases) {
    for (int amp = 0; amp < kAmpCount; ++amp) {
      station.amps.amp_info[amp].status = c.status;
      windows.fault_open[amp] = c.dialog_open;
      station.amps.audio_enabled[amp] = c.audio_enabled;
    }
    sound.beeps = 0;
    timer.count = 0;
    Run(MainTimer::kCycleTicks);
    EXPECT_EQ(c.beeps ? 3 : 0, sound.beeps) << c.name;
  }
}

TEST_F(MainTimerTest, PollsOnlyWhileThePortIsOpen) {
  Run(4);  // the fourth tick sends the first query
  EXPECT_EQ(1u, line->frames.size());
  EXPECT_EQ(1, station.current_device);

  station.link.ClosePort();
  Run(20);
  EXPECT_EQ(1u, line->frames.size());
  EXPECT_EQ(1, station.current_device);
  EXPECT_EQ(20 % MainTimer::kCycleTicks + 4, timer.count) << "the cycle keeps counting";
}

}  // namespace
}  // namespace onefortwo
