#pragma once

#include "agent_handover.h"
#include "events/station_events.h"

namespace onefortwo {

// Keeps what ONEFORTWO-MIB shows from the station's events and hands it to the agent's
// thread: each event that changes the picture publishes a new snapshot, and each event
// the module notifies queues a notification and wakes the agent. Runs on the tick thread
// inside the station's events; never waits, never takes a lock, allocates nothing.
class MibListener : public StationEvents {
 public:
  // `handover` outlives the listener.
  explicit MibListener(AgentHandover& handover);

  void StationStarted(const std::string& version) override;
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
  void PowerUnitChanged(power_enum unit) override;

  // The picture as last published (the tick thread's own copy).
  const MibSnapshot& snapshot() const { return now_; }

 private:
  void Publish();
  void Notify(const Notification& notification);
  void FollowPort(const PortEvent& port, bool open);

  AgentHandover& handover_;
  MibSnapshot now_;
  power_enum unit_ = power_watts;
};

}  // namespace onefortwo
