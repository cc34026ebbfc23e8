#include "support/recording_events.h"

#include <cstdio>

namespace onefortwo {
namespace {

const char* StateName(amp_enum state) {
  static const char* const kNames[] = {"No Contact", "AC Off",  "Faulted", "Alarm",
                                       "Time Delay", "Standby", "Auto HV", "High Voltage"};
  return state >= 0 && state <= amp_hv_on ? kNames[state] : "?";
}

std::string Letter(int amp) { return DeviceName(amp + 1); }

}  // namespace

void RecordingEvents::StationStarted(const std::string& version) {
  log.push_back("started " + version);
}
void RecordingEvents::StationEnded() { log.push_back("ended"); }
void RecordingEvents::PortOpened(const PortEvent& port) {
  log.push_back("port opened " + port.port + (port.simulated ? " simulated" : ""));
}
void RecordingEvents::PortRefused(const PortEvent& port) {
  log.push_back("port refused " + port.port + ": " + port.reason);
}
void RecordingEvents::PortClosed(const PortEvent& port) {
  log.push_back("port closed " + port.port + ": " + port.reason);
}
void RecordingEvents::PortLost(const PortEvent& port) {
  log.push_back("port lost " + port.port + ": " + port.reason);
}
void RecordingEvents::PortRestored(const PortEvent& port) {
  log.push_back("port restored " + port.port);
}
void RecordingEvents::AmpReply(int amp, const amp_struct&, const AmpReadings& values) {
  readings.push_back(values);
  if (!record_replies) return;
  char text[64];
  std::snprintf(text, sizeof text, "reply %s %.1f dBm", Letter(amp).c_str(), values.forward_dbm);
  log.push_back(text);
}
void RecordingEvents::ControllerReply(const ControllerStatus&) {}
void RecordingEvents::ContactLost(int device, const std::string& reason) {
  log.push_back(std::string("contact lost ") + DeviceName(device) + ": " + reason);
}
void RecordingEvents::ContactRestored(int device) {
  log.push_back(std::string("contact restored ") + DeviceName(device));
}
void RecordingEvents::AmpStateChanged(int amp, amp_enum from, amp_enum to) {
  log.push_back("state " + Letter(amp) + " " + StateName(from) + " -> " + StateName(to));
}
void RecordingEvents::FaultRaised(int amp, fault_enum fault) {
  log.push_back("fault raised " + Letter(amp) + " " + fault_string[fault]);
}
void RecordingEvents::FaultCleared(int amp, fault_enum fault) {
  log.push_back("fault cleared " + Letter(amp) + " " + fault_string[fault]);
}
void RecordingEvents::ControllerChanged(const ControllerChange& change) {
  const auto pos = [](int p) { return p == 65 ? "A" : "B"; };
  const ControllerStatus& b = change.before;
  const ControllerStatus& a = change.after;
  if (b.waveguide1 != a.waveguide1)
    log.push_back(std::string("controller switch1 ") + pos(b.waveguide1) + "->" +
                  pos(a.waveguide1) + (change.switch_commanded ? " commanded" : " by itself"));
  if (b.waveguide2 != a.waveguide2)
    log.push_back(std::string("controller switch2 ") + pos(b.waveguide2) + "->" +
                  pos(a.waveguide2) + (change.switch_commanded ? " commanded" : " by itself"));
  if (b.controller_manual != a.controller_manual)
    log.push_back(std::string("controller mode ") + (a.controller_manual ? "manual" : "automatic") +
                  (change.mode_commanded ? " commanded" : " by itself"));
  if (b.controller_local != a.controller_local)
    log.push_back(std::string("controller ") + (a.controller_local ? "local" : "remote"));
}
void RecordingEvents::CommandSent(const CommandEvent& command) {
  log.push_back(std::string("command ") + DeviceName(command.device) + " " + command.text +
                (command.sent ? " sent" : " not sent") + " (" + command.question + ")");
}
void RecordingEvents::PowerUnitChanged(power_enum unit) {
  log.push_back(std::string("power unit ") + power_unit_name[unit]);
}
void RecordingEvents::AlarmAcknowledged(int amp) { log.push_back("acknowledged " + Letter(amp)); }
void RecordingEvents::FaultResetPressed(int amp) { log.push_back("fault reset " + Letter(amp)); }

std::vector<std::string> RecordingEvents::Take() {
  std::vector<std::string> taken;
  taken.swap(log);
  return taken;
}

}  // namespace onefortwo
