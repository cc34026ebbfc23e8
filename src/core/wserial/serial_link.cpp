#include "wserial/serial_link.h"

#include <cstring>

namespace onefortwo {

SerialLink::SerialLink(SerialPortOpener& opener, Clock& clock, StationWindows& windows)
    : reply_clock(clock, windows), opener_(opener) {}

SerialLink::~SerialLink() = default;

void SerialLink::InitBaudTable() {
  static const baud_struct kRates[kBaudTableSize] = {
      {1200, "1200"},   {2400, "2400"},   {4800, "4800"},   {9600, "9600"},
      {19200, "19200"}, {38400, "38400"}, {57600, "57600"}, {115200, "115200"},
  };
  for (int row = 0; row < kBaudTableSize; ++row) baud_table[row] = kRates[row];
}

bool SerialLink::SetSerialPort(const char* name) {
  if (name == nullptr) return false;
  const size_t length = std::strlen(name);
  if (length == 0 || length > static_cast<size_t>(kMaxPortNameLength)) return false;
  std::memcpy(serial_port, name, length + 1);
  return true;
}

void SerialLink::ClosePort() { serial_device.reset(); }

int SerialLink::InitSerial() {
  InitBaudTable();
  ClosePort();
  OpenError error = OpenError::failed;
  serial_device = opener_.Open(serial_port, &error);
  if (!serial_device) {
    last_open_error_ = error == OpenError::none ? OpenError::failed : error;
    return 0;
  }
  last_open_error_ = OpenError::none;
  LineSettings settings;
  settings.baud = serial_baud;
  settings.data_bits = serial_data;
  settings.stop_code = serial_stop;
  settings.parity_code = serial_parity;
  if (!serial_device->Configure(settings)) return 0;
  reply_clock.CheckSystemTimerInit();
  return 1;
}

const char* OpenErrorText(OpenError error) {
  switch (error) {
    case OpenError::none:
      return "opened";
    case OpenError::name_too_long:
      return "the port name is longer than 63 characters";
    case OpenError::no_such_port:
      return "there is no such port on this machine";
    case OpenError::access_denied:
      return "this user may not open the port";
    case OpenError::busy:
      return "another program is using the port";
    case OpenError::not_a_serial_port:
      return "the device is not a serial port";
    case OpenError::failed:
      break;
  }
  return "the system could not open the port";
}

}  // namespace onefortwo
