#pragma once

#include <memory>
#include <string>

#include "platform/serial_device.h"

namespace onefortwo {

// Serial ports through the Win32 comm API: reads return at once with what has arrived
// (ReadIntervalTimeout MAXDWORD, the other time-outs 0), RTS is toggled around sends for
// RS-485 adapters, and XON/XOFF is off. Terminal server names (tcp:HOST:PORT) are refused
// with OpenError::tcp_not_supported.
class Win32SerialPortOpener : public SerialPortOpener {
 public:
  std::unique_ptr<SerialDevice> Open(const std::string& port_name, OpenError* error) override;
};

}  // namespace onefortwo
