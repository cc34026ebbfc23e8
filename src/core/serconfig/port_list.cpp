#include "serconfig/port_list.h"

#include <algorithm>
#include <cctype>

#include "wserial/serial_link.h"

namespace onefortwo {
namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
  const bool less = std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) < lower(y); });
  const bool greater = std::lexicographical_compare(
      b.begin(), b.end(), a.begin(), a.end(), [&](char x, char y) { return lower(x) < lower(y); });
  return less || (!greater && a < b);
}

}  // namespace

std::vector<std::string> SerialPortList(const std::vector<std::string>& devices) {
  std::vector<std::string> ports;
  for (int n = 1; n <= 8; ++n) ports.push_back("COM" + std::to_string(n));
  ports.push_back("SIM");
  for (const std::string& device : devices) {
    if (!device.empty() && device.size() <= static_cast<size_t>(kMaxPortNameLength))
      ports.push_back(device);
  }
  std::sort(ports.begin(), ports.end(), LessIgnoringCase);
  ports.erase(std::unique(ports.begin(), ports.end()), ports.end());
  return ports;
}

}  // namespace onefortwo
