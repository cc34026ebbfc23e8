#pragma once

#include "platform/serial_device.h"
#include "sim/sim_options.h"

namespace onefortwo {

// How long bytes take on the simulated line. A byte occupies the line for its start bit,
// data bits, parity bit and stop bits at the configured rate: 10 bits at 8N1, so 1.04 ms
// at 9600 baud and 0.087 ms at 115200.
class LineTiming {
 public:
  // Takes the station's settings. False, and nothing changes, for settings no UART
  // takes (a rate not above 0, data bits outside 5..8, unknown parity or stop code).
  bool Configure(const LineSettings& settings);

  int baud() const { return baud_; }
  int bits_per_byte() const { return bits_per_byte_; }
  // Milliseconds one byte occupies the line.
  double byte_ms() const { return 1000.0 * bits_per_byte_ / baud_; }

 private:
  int baud_ = 9600;
  int bits_per_byte_ = 10;
};

}  // namespace onefortwo
