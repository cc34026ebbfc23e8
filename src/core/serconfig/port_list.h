#pragma once

#include <string>
#include <vector>

namespace onefortwo {

// The port names the configuration dialog offers: COM1 to COM8, "SIM" (the simulated
// installation) and `devices`, the serial devices found on this machine (device paths).
// Names the station cannot take (empty, or longer than kMaxPortNameLength) and repeats are
// left out. Sorted as the operator reads them: ignoring case, then by case.
std::vector<std::string> SerialPortList(const std::vector<std::string>& devices);

}  // namespace onefortwo
