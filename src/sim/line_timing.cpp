#include "sim/line_timing.h"

namespace onefortwo {

bool LineTiming::Configure(const LineSettings& settings) {
  if (settings.baud <= 0) return false;
  if (settings.data_bits < 5 || settings.data_bits > 8) return false;
  if (settings.parity_code < 0 || settings.parity_code > 2) return false;
  if (settings.stop_code != 0 && settings.stop_code != 2) return false;
  baud_ = settings.baud;
  bits_per_byte_ = 1 + settings.data_bits + (settings.parity_code != 0 ? 1 : 0) +
                   (settings.stop_code == 2 ? 2 : 1);
  return true;
}

}  // namespace onefortwo
