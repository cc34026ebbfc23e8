#include "sim/station_port_opener.h"

#include "sim/sim_serial_device.h"

namespace onefortwo {

StationPortOpener::StationPortOpener(SerialPortOpener& other_ports, Clock& clock,
                                     const SimOptions& options)
    : other_ports_(other_ports), clock_(clock), options_(options) {}

bool StationPortOpener::IsSimPortName(const std::string& port_name) {
  if (port_name.size() != 3) return false;
  for (size_t i = 0; i < 3; ++i) {
    const char c = port_name[i];
    if (c != kSimPortName[i] && c != kSimPortName[i] - 'A' + 'a') return false;
  }
  return true;
}

SimInstallation& StationPortOpener::installation() {
  if (!installation_) installation_ = std::make_shared<SimInstallation>(options_);
  return *installation_;
}

std::unique_ptr<SerialDevice> StationPortOpener::Open(const std::string& port_name,
                                                      OpenError* error) {
  if (!IsSimPortName(port_name)) return other_ports_.Open(port_name, error);
  int64_t frequency = 0;
  if (!clock_.QueryPerformanceFrequency(&frequency) || frequency <= 0) {
    *error = OpenError::failed;  // no counter: the line's timing cannot be kept
    return nullptr;
  }
  installation();
  if (installation_->attached()) {
    *error = OpenError::busy;
    return nullptr;
  }
  *error = OpenError::none;
  return std::make_unique<SimSerialDevice>(installation_, clock_, frequency);
}

}  // namespace onefortwo
