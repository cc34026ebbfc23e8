#pragma once

#include <cstdint>

namespace onefortwo {

// The high-resolution counter and the sleep of the platform, as the reply clock uses them.
class Clock {
 public:
  virtual ~Clock() = default;
  // Counts per second of the counter into `*frequency`; false when the machine has none.
  virtual bool QueryPerformanceFrequency(int64_t* frequency) = 0;
  // The counter's present reading. Only called after QueryPerformanceFrequency succeeded.
  virtual int64_t QueryPerformanceCounter() = 0;
  // Blocks the calling thread for `milliseconds`.
  virtual void Sleep(int milliseconds) = 0;
};

// A counter reading `counter` at `frequency` counts a second, in ms. Whole seconds and the
// rest apart, so that a large counter keeps its precision.
inline double CounterMs(int64_t counter, int64_t frequency) {
  return static_cast<double>(counter / frequency) * 1000.0 +
         static_cast<double>(counter % frequency) * 1000.0 / static_cast<double>(frequency);
}

}  // namespace onefortwo
