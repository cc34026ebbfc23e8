#pragma once

#include <string>
#include <vector>

#include "amp/amp_info.h"
#include "platform/serial_device.h"

namespace onefortwo {

// Device numbers as on the line (address = base_address + device): 0 the redundancy
// controller, 1..3 amplifiers A..C. Events about the line itself carry kLineDevice.
constexpr int kLineDevice = -1;
constexpr int kControllerDevice = 0;
constexpr int kDeviceCount = 4;
// "line", "controller", "A", "B", "C"; "?" for any other number.
const char* DeviceName(int device);

// What the controller's status reply says: the four facts the diagram draws.
struct ControllerStatus {
  int waveguide1;         // switch 1: 65 ('A') or 66 ('B')
  int waveguide2;         // switch 2 likewise
  int controller_local;   // 1 local control, 0 remote
  int controller_manual;  // 1 manual redundancy, 0 automatic
  bool operator==(const ControllerStatus& o) const {
    return waveguide1 == o.waveguide1 && waveguide2 == o.waveguide2 &&
           controller_local == o.controller_local && controller_manual == o.controller_manual;
  }
  bool operator!=(const ControllerStatus& o) const { return !(*this == o); }
};

// A change in the controller's reply. A switch that moved within kCommandedWindowMs of a
// switch command sent from this station counts as commanded; otherwise the controller
// moved it itself (an automatic switch-over, or its front panel). Likewise for the mode.
struct ControllerChange {
  static constexpr double kCommandedWindowMs = 10000;
  ControllerStatus before;
  ControllerStatus after;
  bool switch_commanded;
  bool mode_commanded;
};

// The port, as the operator named it, with its settings.
struct PortEvent {
  std::string port;      // "COM2", "/dev/ttyUSB0", "tcp:10.0.0.5:4001", "SIM"
  LineSettings settings;
  bool simulated;        // the built-in simulated installation
  std::string reason;    // why it was refused, closed or lost; empty when it opened
};

// A command the station put on the line, other than the status queries of the rotation.
struct CommandEvent {
  int device;            // 0 controller, 1..3 amplifiers A..C
  std::string text;      // the command text as framed ("@", "D27.3", "B1B")
  // What the operator confirmed: the Yes/No question ("Turn High Voltage ON?"), or the
  // dialog and entry that led to the command ("Adjust HPA-A Output Power: 60 (dBm)").
  std::string question;
  bool sent;             // false when no frame reached an open port
};

// What happened at the station, told once as it happens. Every call comes on the
// user-interface thread, inside the 56 ms tick or an operator's action: a listener must
// return at once (no disk or network waits) and must not call back into the station.
// Every method does nothing unless overridden.
class StationEvents {
 public:
  virtual ~StationEvents() = default;

  // The station's run: started in its working directory, ended by a confirmed exit.
  virtual void StationStarted(const std::string& /*version*/) {}
  virtual void StationEnded() {}

  // The port. Opened: by start-up or the serial dialog. Refused: it could not be opened,
  // or it opened but refused its settings. Closed: by the operator (reopening with other
  // settings, exit). Lost: it failed under the station (adapter unplugged, connection
  // dropped). Restored: reopened by itself after a loss.
  virtual void PortOpened(const PortEvent& /*port*/) {}
  virtual void PortRefused(const PortEvent& /*port*/) {}
  virtual void PortClosed(const PortEvent& /*port*/) {}
  virtual void PortLost(const PortEvent& /*port*/) {}
  virtual void PortRestored(const PortEvent& /*port*/) {}

  // Every accepted amplifier status reply: `shown` is the record as the panel now shows
  // it (powers in the panel's unit), `readings` the numbers as received.
  virtual void AmpReply(int /*amp*/, const amp_struct& /*shown*/,
                        const AmpReadings& /*readings*/) {}
  // Every accepted controller status reply.
  virtual void ControllerReply(const ControllerStatus& /*status*/) {}

  // A device went silent (its third miss in a row, or the port went away: `reason`
  // says which), or answered again (its first good reply since; also the first reply
  // after the start).
  virtual void ContactLost(int /*device*/, const std::string& /*reason*/) {}
  virtual void ContactRestored(int /*device*/) {}

  // An amplifier's operating state changed (amp_no_contact included), a fault came up
  // (the summary fault changed to `fault`) or went (the summary fault `fault` ended).
  virtual void AmpStateChanged(int /*amp*/, amp_enum /*from*/, amp_enum /*to*/) {}
  virtual void FaultRaised(int /*amp*/, fault_enum /*fault*/) {}
  virtual void FaultCleared(int /*amp*/, fault_enum /*fault*/) {}

  // The controller's reply differs from the one before.
  virtual void ControllerChanged(const ControllerChange& /*change*/) {}

  // The operator's actions.
  virtual void CommandSent(const CommandEvent& /*command*/) {}
  // The panels' unit button chose `unit` for every power shown and entered. The powers in
  // AmpReply's `shown` are in this unit from the next reply on; the station starts in
  // power_watts.
  virtual void PowerUnitChanged(power_enum /*unit*/) {}
  virtual void AlarmAcknowledged(int /*amp*/) {}
  virtual void FaultResetPressed(int /*amp*/) {}
};

// Hands every event to each listener added, in the order they were added. Listeners are
// not owned; remove one before it is destroyed.
class EventHub : public StationEvents {
 public:
  void Add(StationEvents* listener);
  void Remove(StationEvents* listener);

  void StationStarted(const std::string& version) override;
  void StationEnded() override;
  void PortOpened(const PortEvent& port) override;
  void PortRefused(const PortEvent& port) override;
  void PortClosed(const PortEvent& port) override;
  void PortLost(const PortEvent& port) override;
  void PortRestored(const PortEvent& port) override;
  void AmpReply(int amp, const amp_struct& shown, const AmpReadings& readings) override;
  void ControllerReply(const ControllerStatus& status) override;
  void ContactLost(int device, const std::string& reason) override;
  void ContactRestored(int device) override;
  void AmpStateChanged(int amp, amp_enum from, amp_enum to) override;
  void FaultRaised(int amp, fault_enum fault) override;
  void FaultCleared(int amp, fault_enum fault) override;
  void ControllerChanged(const ControllerChange& change) override;
  void CommandSent(const CommandEvent& command) override;
  void PowerUnitChanged(power_enum unit) override;
  void AlarmAcknowledged(int amp) override;
  void FaultResetPressed(int amp) override;

 private:
  std::vector<StationEvents*> listeners_;
};

}  // namespace onefortwo
