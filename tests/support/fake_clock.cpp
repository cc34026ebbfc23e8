#include "support/fake_clock.h"

namespace onefortwo {

bool FakeClock::QueryPerformanceFrequency(int64_t* frequency) {
  if (!has_counter) return false;
  *frequency = kFrequency;
  return true;
}

void FakeClock::Sleep(int milliseconds) {
  ++sleeps;
  slept_ms += milliseconds;
  AdvanceMs(milliseconds);
}

}  // namespace onefortwo
