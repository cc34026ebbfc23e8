#include "wserial/reply_clock.h"

#include <cmath>

namespace onefortwo {

void ReplyClock::CheckSystemTimerInit() {
  if (system_timer_freq != 0) return;
  int64_t frequency = 0;
  if (clock_.QueryPerformanceFrequency(&frequency) && static_cast<uint32_t>(frequency) != 0) {
    system_timer_freq = static_cast<uint32_t>(frequency);
    return;
  }
  if (warn_missing_timer) {
    windows_.ShowMessage("High Performance Timer not found.  Performance may be impacted.",
                         "Warning", MessageIcon::error);
  }
  warn_missing_timer = false;
}

int ReplyClock::PastTime(long msec_interval) {
  constexpr uint64_t kHigh = 0xFFFFFFFF00000000ull;
  if (msec_interval == 0) {
    if (system_timer_freq != 0) {
      pt_start_time = static_cast<uint64_t>(clock_.QueryPerformanceCounter());
    } else {
      pt_start_time &= kHigh;
    }
    return 0;
  }
  if (system_timer_freq != 0) {
    const uint32_t now = static_cast<uint32_t>(clock_.QueryPerformanceCounter());
    // The difference of the low 32 bits, as a signed number, survives one wrap.
    const int32_t counts = static_cast<int32_t>(now - static_cast<uint32_t>(pt_start_time));
    const float msec = static_cast<float>(counts * 1000.0 / system_timer_freq);
    return std::fabs(msec) >= static_cast<float>(msec_interval) ? 1 : 0;
  }
  clock_.Sleep(50);
  const uint32_t total = static_cast<uint32_t>(pt_start_time) + 50;
  pt_start_time = (pt_start_time & kHigh) | total;
  return msec_interval < static_cast<long>(total) ? 1 : 0;
}

}  // namespace onefortwo
