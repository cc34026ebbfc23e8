#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/station_windows.h"

namespace onefortwo {

// The one millisecond interval timer of the serial link, on the platform's counter when
// there is one and on a sleeping 50 ms fallback when there is none.
class ReplyClock {
 public:
  ReplyClock(Clock& clock, StationWindows& windows) : clock_(clock), windows_(windows) {}

  // Finds the counter's frequency once. Without a counter it warns the operator, once
  // per run, and timing goes on with the fallback.
  void CheckSystemTimerInit();

  // 0 restarts the timer and returns 0. Otherwise 1 when `msec_interval` ms have passed
  // since the last restart: at least that many with the counter; more than that many
  // without it, where every call sleeps 50 ms and counts exactly 50 ms.
  int PastTime(long msec_interval);

  // Counts per second (low 32 bits); 0 until found, and for good without a counter.
  uint32_t system_timer_freq = 0;
  // Counter reading at the last restart; without a counter its low 32 bits count ms.
  uint64_t pt_start_time = 0;
  // Set until the missing-counter warning has been shown.
  bool warn_missing_timer = true;

 private:
  Clock& clock_;
  StationWindows& windows_;
};

}  // namespace onefortwo
