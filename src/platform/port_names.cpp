#include "port_names.h"

#include <cctype>
#include <cstdlib>

namespace onefortwo {

std::string DevicePathForPort(const std::string& port_name) {
  if (port_name.size() > 3 && (port_name.compare(0, 3, "COM") == 0 ||
                               port_name.compare(0, 3, "com") == 0)) {
    const std::string digits = port_name.substr(3);
    bool all_digits = digits.size() <= 6;
    for (char c : digits) all_digits = all_digits && std::isdigit(static_cast<unsigned char>(c));
    if (all_digits) {
      const long n = std::strtol(digits.c_str(), nullptr, 10);
      if (n >= 1) return "/dev/ttyS" + std::to_string(n - 1);
    }
  }
  return port_name;
}

}  // namespace onefortwo
