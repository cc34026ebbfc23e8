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

PortEvent SerialLink::DescribePort(const std::string& reason) const {
  PortEvent port;
  port.port = serial_port;
  port.settings.baud = serial_baud;
  port.settings.data_bits = serial_data;
  port.settings.stop_code = serial_stop;
  port.settings.parity_code = serial_parity;
  port.simulated = simulated_;
  port.reason = reason;
  return port;
}

void SerialLink::ClosePort(const std::string& reason) {
  if (!serial_device) return;
  serial_device.reset();
  if (restoring_) {  // closed on purpose while reconnecting: nobody reopens it now
    restoring_ = false;
    lost_ = false;
    lost_reason_.clear();
  }
  if (events_ != nullptr) events_->PortClosed(DescribePort(reason));
}

std::string SerialLink::DeviceFailure() const {
  return serial_device ? serial_device->Failure() : std::string();
}

void SerialLink::LosePort(const std::string& reason) {
  if (!serial_device) return;
  serial_device.reset();
  lost_ = true;
  if (restoring_) {  // a reopen that never connected: the loss told before stands
    restoring_ = false;
    return;
  }
  lost_reason_ = reason;
  if (events_ != nullptr) events_->PortLost(DescribePort(reason));
}

int SerialLink::OpenPort() {
  InitBaudTable();
  refused_settings_ = false;
  simulated_ = false;
  restoring_ = false;
  if (serial_port[0] == '\0') {  // no port named: nothing to open
    last_open_error_ = OpenError::no_such_port;
    return 0;
  }
  OpenError error = OpenError::failed;
  serial_device = opener_.Open(serial_port, &error);
  if (!serial_device) {
    last_open_error_ = error == OpenError::none ? OpenError::failed : error;
    return 0;
  }
  last_open_error_ = OpenError::none;
  // A new port begins with a new frame: half a reply from the old one is no part of it.
  ResetReceiver();
  simulated_ = serial_device->Simulated();
  lost_ = false;
  lost_reason_.clear();
  ++open_count_;
  LineSettings settings;
  settings.baud = serial_baud;
  settings.data_bits = serial_data;
  settings.stop_code = serial_stop;
  settings.parity_code = serial_parity;
  if (!serial_device->Configure(settings)) {
    refused_settings_ = true;
    return 0;
  }
  reply_clock.CheckSystemTimerInit();
  return 1;
}

int SerialLink::InitSerial() {
  ClosePort("closed to open it anew");
  // The operator's choice ends any reopening of a lost port.
  lost_ = false;
  lost_reason_.clear();
  const int result = OpenPort();
  if (events_ == nullptr) return result;
  if (result == 1) {
    events_->PortOpened(DescribePort(std::string()));
  } else if (serial_device) {
    events_->PortRefused(DescribePort(
        "the port opened but refused these settings; it stays open as it is"));
  } else if (serial_port[0] == '\0') {
    events_->PortRefused(DescribePort(defaults_problem_.empty() ? std::string("no port is named")
                                                                : defaults_problem_));
  } else {
    events_->PortRefused(DescribePort(OpenErrorText(last_open_error_)));
  }
  return result;
}

bool SerialLink::Reopen() {
  if (serial_device) return true;
  const std::string reason = lost_reason_;
  OpenPort();
  if (!serial_device) {
    lost_ = true;  // still lost, for the same reason
    lost_reason_ = reason;
    return false;
  }
  if (!serial_device->Failure().empty()) {
    // Failed as it opened (a terminal server that refused at once): still lost.
    serial_device.reset();
    lost_ = true;
    lost_reason_ = reason;
    return false;
  }
  if (serial_device->Connecting()) {
    // Open, but not connected yet: it may still be refused, so the loss stands.
    restoring_ = true;
    lost_ = true;
    lost_reason_ = reason;
    return true;
  }
  if (events_ != nullptr) events_->PortRestored(DescribePort(std::string()));
  return true;
}

void SerialLink::CheckRestored() {
  if (!restoring_ || !serial_device) return;
  if (serial_device->Connecting() || !serial_device->Failure().empty()) return;
  restoring_ = false;
  lost_ = false;
  lost_reason_.clear();
  if (events_ != nullptr) events_->PortRestored(DescribePort(std::string()));
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
    case OpenError::bad_tcp_address:
      return "not a terminal server address: write tcp:HOST:PORT, PORT from 1 to 65535";
    case OpenError::tcp_not_supported:
      return "terminal servers (tcp:) cannot be opened on this system; use a COM port";
    case OpenError::failed:
      break;
  }
  return "the system could not open the port";
}

}  // namespace onefortwo
