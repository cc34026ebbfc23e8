#pragma once

#include <cstdint>

namespace onefortwo {

// How the simulated installation behaves where the equipment leaves a choice.
struct SimOptions {
  // Time from the end of a command frame to the first byte of the reply, in ms. A few
  // ms is what an RS-485 device needs to turn the line round and build its answer.
  double turnaround_ms = 5.0;
  // Warm-up of the high voltage after "@": the amplifier reports time delay this long
  // (ms) before it reports high voltage on.
  double warmup_ms = 3000.0;
  // Time constant (ms) with which forward power follows its set point.
  double power_time_constant_ms = 300.0;
  // Seed of the noise bytes, so that a run with noise can be repeated.
  uint32_t noise_seed = 1;
};

}  // namespace onefortwo
