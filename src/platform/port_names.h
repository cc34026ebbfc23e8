#pragma once

#include <string>

namespace onefortwo {

// The device path a port name stands for on this system: "COMn" (n from 1) is
// /dev/ttyS(n-1), a name beginning with '/' is used as it is; anything else is returned
// unchanged (the opener then reports no such port).
std::string DevicePathForPort(const std::string& port_name);

}  // namespace onefortwo
