#include "steady_clock.h"

#include <chrono>
#include <thread>

namespace onefortwo {

bool SteadyClock::QueryPerformanceFrequency(int64_t* frequency) {
  *frequency = kFrequency;
  return true;
}

int64_t SteadyClock::QueryPerformanceCounter() {
  using Tick = std::chrono::duration<int64_t, std::ratio<1, kFrequency>>;
  return std::chrono::duration_cast<Tick>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SteadyClock::Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace onefortwo
