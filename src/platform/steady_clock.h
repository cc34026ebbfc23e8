#pragma once

#include "platform/clock.h"

namespace onefortwo {

// The reply clock's counter on std::chrono::steady_clock, presented as a 10 MHz counter.
class SteadyClock : public Clock {
 public:
  static constexpr int64_t kFrequency = 10000000;
  bool QueryPerformanceFrequency(int64_t* frequency) override;
  int64_t QueryPerformanceCounter() override;
  void Sleep(int milliseconds) override;
};

}  // namespace onefortwo
