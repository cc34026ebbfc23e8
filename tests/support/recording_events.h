#pragma once

#include <string>
#include <vector>

#include "events/station_events.h"

namespace onefortwo {

// Records every station event as one line of text, e.g. "contact restored A",
// "state A No Contact -> Standby", "fault raised B Over Temperature",
// "command @ B1B sent (Toggle Waveguide Switch 1?)", "port lost COM2: the device hung up",
// "controller switch1 A->B commanded", "power unit dBm". Amplifier replies are recorded only when
// `record_replies` is set, as "reply A 60.0 dBm".
class RecordingEvents : public StationEvents {
 public:
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

  // The events since the last call, and forgets them.
  std::vector<std::string> Take();

  bool record_replies = false;
  std::vector<std::string> log;
  std::vector<AmpReadings> readings;  // of every amplifier reply, in order
};

}  // namespace onefortwo
