#include "journal/event_text.h"

#include "shell/link_status.h"

namespace onefortwo {
namespace {

EventEntry Entry(std::string device, const char* kind, std::string text) {
  EventEntry entry;
  entry.device = std::move(device);
  entry.kind = kind;
  entry.text = std::move(text);
  return entry;
}

std::string Position(int waveguide) {
  if (waveguide == 'A') return "A";
  if (waveguide == 'B') return "B";
  return "?";
}

std::string Origin(bool commanded) {
  return commanded ? "commanded from this station" : "by the controller itself";
}

}  // namespace

const char* AmpLetter(int amp) { return DeviceName(amp + 1); }

int AmpFromLetter(const std::string& letter) {
  if (letter.size() != 1) return -1;
  const char c = static_cast<char>(letter[0] & ~0x20);
  return c >= 'A' && c <= 'C' ? c - 'A' : -1;
}

const char* AmpStateName(amp_enum state) {
  static const char* const kNames[] = {"No Contact", "AC Off",  "Faulted", "Alarm",
                                       "Time Delay", "Standby", "Auto HV", "High Voltage"};
  return state >= amp_no_contact && state <= amp_hv_on ? kNames[state] : "?";
}

EventEntry StationStartedEntry(const std::string& version) {
  return Entry("station", "station started", "Station started, version " + version);
}

EventEntry StationEndedEntry() { return Entry("station", "station ended", "Station ended"); }

EventEntry PortEntry(const char* kind, const PortEvent& port) {
  std::string text = "Port " + port.port + " (" + SettingsText(port.settings) +
                     (port.simulated ? ", simulated installation" : "") + ") " +
                     (std::string(kind).substr(5));
  if (!port.reason.empty()) text += ": " + port.reason;
  return Entry("line", kind, text);
}

EventEntry ContactLostEntry(int device, const std::string& reason) {
  return Entry(DeviceName(device), "contact lost",
               reason.empty() ? "Contact lost" : "Contact lost: " + reason);
}

EventEntry ContactRestoredEntry(int device) {
  return Entry(DeviceName(device), "contact restored", "Contact restored");
}

EventEntry StateChangedEntry(int amp, amp_enum from, amp_enum to) {
  return Entry(AmpLetter(amp), "state changed",
               std::string(AmpStateName(from)) + " -> " + AmpStateName(to));
}

EventEntry FaultRaisedEntry(int amp, fault_enum fault) {
  const char* text = fault >= 0 && fault < kFaultCount ? fault_string[fault] : "?";
  return Entry(AmpLetter(amp), "fault raised", std::string("Fault: ") + text);
}

EventEntry FaultClearedEntry(int amp, fault_enum fault) {
  const char* text = fault >= 0 && fault < kFaultCount ? fault_string[fault] : "?";
  return Entry(AmpLetter(amp), "fault cleared", std::string("Fault cleared: ") + text);
}

EventEntry AlarmAcknowledgedEntry(int amp) {
  return Entry(AmpLetter(amp), "alarm acknowledged", "Alarm acknowledged");
}

EventEntry FaultResetEntry(int amp) {
  return Entry(AmpLetter(amp), "fault reset", "Fault Reset pressed");
}

EventEntry CommandEntry(const CommandEvent& command) {
  std::string text = (command.sent ? "Sent \"" : "Not sent (no open port): \"") + command.text + "\"";
  if (!command.question.empty()) text += " after \"" + command.question + "\"";
  return Entry(DeviceName(command.device), "command", text);
}

std::vector<EventEntry> ControllerChangeEntries(const ControllerChange& change) {
  std::vector<EventEntry> entries;
  const ControllerStatus& before = change.before;
  const ControllerStatus& after = change.after;
  if (before.controller_manual != after.controller_manual) {
    entries.push_back(Entry("controller", "mode changed",
                            std::string(before.controller_manual ? "Manual" : "Automatic") +
                                " -> " + (after.controller_manual ? "Manual" : "Automatic") +
                                ", " + Origin(change.mode_commanded)));
  }
  if (before.controller_local != after.controller_local) {
    entries.push_back(Entry("controller", "control changed",
                            std::string(before.controller_local ? "Local" : "Remote") + " -> " +
                                (after.controller_local ? "Local" : "Remote")));
  }
  const int before_switch[] = {before.waveguide1, before.waveguide2};
  const int after_switch[] = {after.waveguide1, after.waveguide2};
  for (int i = 0; i < 2; ++i) {
    if (before_switch[i] == after_switch[i]) continue;
    entries.push_back(Entry("controller", "switch changed",
                            "Waveguide switch " + std::to_string(i + 1) + " " +
                                Position(before_switch[i]) + " -> " + Position(after_switch[i]) +
                                ", " + Origin(change.switch_commanded)));
  }
  return entries;
}

}  // namespace onefortwo
