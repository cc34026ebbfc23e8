#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace onefortwo {

// A counter that moves only when the test says so. Frequency 10 MHz unless
// `has_counter` is false; Sleep advances the counter (and counts the sleeps).
class FakeClock : public Clock {
 public:
  static constexpr int64_t kFrequency = 10000000;

  bool QueryPerformanceFrequency(int64_t* frequency) override;
  int64_t QueryPerformanceCounter() override { return counter; }
  void Sleep(int milliseconds) override;

  void AdvanceMs(double ms) { counter += static_cast<int64_t>(ms * kFrequency / 1000.0); }

  bool has_counter = true;
  int64_t counter = 0;
  int sleeps = 0;
  int64_t slept_ms = 0;
};

}  // namespace onefortwo
