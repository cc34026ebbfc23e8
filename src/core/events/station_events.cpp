#include "events/station_events.h"

#include <algorithm>

namespace onefortwo {

const char* DeviceName(int device) {
  switch (device) {
    case kLineDevice:
      return "line";
    case kControllerDevice:
      return "controller";
    case 1:
      return "A";
    case 2:
      return "B";
    case 3:
      return "C";
    default:
      return "?";
  }
}

void EventHub::Add(StationEvents* listener) {
  if (listener != nullptr && std::find(listeners_.begin(), listeners_.end(), listener) ==
                                 listeners_.end())
    listeners_.push_back(listener);
}

void EventHub::Remove(StationEvents* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener),
                   listeners_.end());
}

#define ONEFORTWO_FAN_OUT(call)                          \
  for (StationEvents* listener : listeners_) listener->call

void EventHub::StationStarted(const std::string& version) {
  ONEFORTWO_FAN_OUT(StationStarted(version));
}
void EventHub::StationEnded() { ONEFORTWO_FAN_OUT(StationEnded()); }
void EventHub::PortOpened(const PortEvent& port) { ONEFORTWO_FAN_OUT(PortOpened(port)); }
void EventHub::PortRefused(const PortEvent& port) { ONEFORTWO_FAN_OUT(PortRefused(port)); }
void EventHub::PortClosed(const PortEvent& port) { ONEFORTWO_FAN_OUT(PortClosed(port)); }
void EventHub::PortLost(const PortEvent& port) { ONEFORTWO_FAN_OUT(PortLost(port)); }
void EventHub::PortRestored(const PortEvent& port) { ONEFORTWO_FAN_OUT(PortRestored(port)); }
void EventHub::AmpReply(int amp, const amp_struct& shown, const AmpReadings& readings) {
  ONEFORTWO_FAN_OUT(AmpReply(amp, shown, readings));
}
void EventHub::ControllerReply(const ControllerStatus& status) {
  ONEFORTWO_FAN_OUT(ControllerReply(status));
}
void EventHub::ContactLost(int device, const std::string& reason) {
  ONEFORTWO_FAN_OUT(ContactLost(device, reason));
}
void EventHub::ContactRestored(int device) { ONEFORTWO_FAN_OUT(ContactRestored(device)); }
void EventHub::AmpStateChanged(int amp, amp_enum from, amp_enum to) {
  ONEFORTWO_FAN_OUT(AmpStateChanged(amp, from, to));
}
void EventHub::FaultRaised(int amp, fault_enum fault) { ONEFORTWO_FAN_OUT(FaultRaised(amp, fault)); }
void EventHub::FaultCleared(int amp, fault_enum fault) {
  ONEFORTWO_FAN_OUT(FaultCleared(amp, fault));
}
void EventHub::ControllerChanged(const ControllerChange& change) {
  ONEFORTWO_FAN_OUT(ControllerChanged(change));
}
void EventHub::CommandSent(const CommandEvent& command) { ONEFORTWO_FAN_OUT(CommandSent(command)); }
void EventHub::PowerUnitChanged(power_enum unit) { ONEFORTWO_FAN_OUT(PowerUnitChanged(unit)); }
void EventHub::AlarmAcknowledged(int amp) { ONEFORTWO_FAN_OUT(AlarmAcknowledged(amp)); }
void EventHub::FaultResetPressed(int amp) { ONEFORTWO_FAN_OUT(FaultResetPressed(amp)); }

#undef ONEFORTWO_FAN_OUT

}  // namespace onefortwo
