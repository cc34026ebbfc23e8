#pragma once

#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/serial_device.h"
#include "sim/sim_installation.h"
#include "sim/sim_options.h"

namespace onefortwo {

// The station's port opener: the name "SIM" (in any case) opens the built-in simulated
// installation in process; every other name goes to `other_ports` (on Linux the termios
// opener). The installation is made at the first open and kept for the opener's life,
// so choosing the port again finds the installation as it was, as with real equipment.
class StationPortOpener : public SerialPortOpener {
 public:
  static constexpr const char* kSimPortName = "SIM";

  // `other_ports` and `clock` must outlive the opener and every device it opened.
  StationPortOpener(SerialPortOpener& other_ports, Clock& clock,
                    const SimOptions& options = SimOptions());

  // "SIM": a device on the installation, or null with OpenError::busy while a port is
  // open on it already, OpenError::failed when the clock has no counter to time it.
  std::unique_ptr<SerialDevice> Open(const std::string& port_name, OpenError* error) override;

  static bool IsSimPortName(const std::string& port_name);
  // The installation behind "SIM", for fault injection; made on first use.
  SimInstallation& installation();

 private:
  SerialPortOpener& other_ports_;
  Clock& clock_;
  SimOptions options_;
  std::shared_ptr<SimInstallation> installation_;
};

}  // namespace onefortwo
