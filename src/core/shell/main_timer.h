#pragma once

#include "platform/sound.h"
#include "platform/station_windows.h"
#include "shell/station.h"

namespace onefortwo {

// The main window's timer: one tick every 56 ms drives the poll cycle and the fault alarm.
// The ticks must keep coming while any modal dialog or message box is open, so polling
// goes on behind them.
class MainTimer {
 public:
  static constexpr int kIntervalMs = 56;
  // The alarm runs in cycles of 13 ticks (728 ms): amplifier A may beep on tick 0 of each
  // cycle, B on tick 4 and C on tick 8, so no two beeps fall on one tick.
  static constexpr int kCycleTicks = 13;
  static constexpr int kBeepSpacing = 4;

  MainTimer(Station& station, StationWindows& windows, Sound& sound)
      : station_(station), windows_(windows), sound_(sound) {}

  // One tick: the port's supervision (a failed port closed and opened anew, nothing
  // shown as live while it is closed), a step of the poll cycle while the port is open;
  // then the beep of the
  // amplifier whose turn it is, when it is faulted, its fault dialog is open and its
  // alarm has not been acknowledged (audio_enabled).
  void Tick();

  int count = 0;  // the tick's place in the alarm cycle, 0..12

 private:
  Station& station_;
  StationWindows& windows_;
  Sound& sound_;
};

}  // namespace onefortwo
