#include "round/round.h"

#include <cmath>

namespace onefortwo {

const char* const power_unit_name[3] = {"Watts", "dBm", "dBW"};
const char* const power_entry_label[3] = {"(Watts)", "(dBm)", "(dBW)"};

double Round(double number, int precision) {
  double sign = 1.0;
  if (!(number >= 0.0)) {
    sign = -1.0;
    number = -number;
  }
  const double scale = std::pow(10.0, precision);
  number = scale * number;
  double integer = 0.0;
  const double fraction = std::modf(number, &integer);
  if (fraction >= 0.5) return (integer + 1) * sign / scale;
  return integer * sign / scale;
}

}  // namespace onefortwo
