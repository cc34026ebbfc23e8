#pragma once

#include <string>
#include <vector>

namespace onefortwo {

// The serial devices of this machine that an operator may pick, as device paths under
// `dev_root` ("/dev" on Linux): the links in serial/by-id (stable names of USB adapters),
// then the ttyUSB* and ttyACM* devices, each group sorted by name. Missing folders add
// nothing; an unreadable one is skipped. Empty where there is no such folder (Windows).
std::vector<std::string> FindSerialDevices(const std::string& dev_root = "/dev");

}  // namespace onefortwo
