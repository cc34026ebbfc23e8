#include "mib_listener.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace onefortwo {
namespace {

bool IsAmp(int amp) { return amp >= 0 && amp < kAmpCount; }

// `value` in tenths, rounded half away from zero; false for no number (NaN) or one that
// does not fit.
bool Tenths(double value, int32_t* tenths) {
  if (!std::isfinite(value) || std::fabs(value) > 2e8) return false;
  *tenths = static_cast<int32_t>(std::lround(value * 10.0));
  return true;
}

// The panel's text without the blanks its layout pads with ("  50" reverse watts),
// followed by the unit the panel's unit button shows: "500 Watts", "57.0 dBm".
void PanelPowerText(char* to, const char* shown, power_enum unit) {
  char text[kReadingSize];
  CopyText(text, kReadingSize, shown);
  const char* start = text;
  while (*start == ' ') ++start;
  char* end = text + std::strlen(text);
  while (end > start && end[-1] == ' ') *--end = '\0';
  const char* unit_name = unit >= power_watts && unit <= power_dbw ? power_unit_name[unit] : "";
  std::snprintf(to, kSnapshotPowerTextSize, "%s %s", start, unit_name);
}

Notification Blank(NotificationKind kind) {
  Notification notification;
  std::memset(&notification, 0, sizeof notification);
  notification.kind = kind;
  return notification;
}

}  // namespace

MibListener::MibListener(AgentHandover& handover) : handover_(handover), now_(EmptySnapshot()) {}

void MibListener::Publish() { handover_.snapshot.Publish(now_); }

void MibListener::Notify(const Notification& notification) {
  handover_.notifications.Push(notification);
  handover_.wakeup.Signal();
}

void MibListener::StationStarted(const std::string& version) {
  now_.started = true;
  now_.started_ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
  CopyText(now_.version, kSnapshotVersionSize, version.c_str());
  Publish();
}

void MibListener::FollowPort(const PortEvent& port, bool open) {
  if (!port.port.empty()) CopyText(now_.port, kSnapshotPortSize, port.port.c_str());
  now_.simulated = port.simulated;
  now_.port_open = open;
  Publish();
}

void MibListener::PortOpened(const PortEvent& port) { FollowPort(port, true); }
void MibListener::PortRefused(const PortEvent& port) { FollowPort(port, false); }
void MibListener::PortClosed(const PortEvent& port) { FollowPort(port, false); }

void MibListener::PortLost(const PortEvent& port) {
  FollowPort(port, false);
  Notification lost = Blank(NotificationKind::port_lost);
  CopyText(lost.port, kSnapshotPortSize, now_.port);
  CopyText(lost.reason, kNotificationReasonSize, port.reason.c_str());
  Notify(lost);
}

void MibListener::PortRestored(const PortEvent& port) {
  FollowPort(port, true);
  Notification restored = Blank(NotificationKind::port_restored);
  CopyText(restored.port, kSnapshotPortSize, now_.port);
  Notify(restored);
}

void MibListener::AmpReply(int amp, const amp_struct& shown, const AmpReadings& readings) {
  if (!IsAmp(amp)) return;
  AmpRow& row = now_.amps[amp];
  row.state = shown.status;
  row.fault = shown.fault_status;
  row.has_readings = true;
  row.has_forward = Tenths(readings.forward_dbm, &row.forward_tenths_dbm);
  row.has_reverse = Tenths(readings.reverse_dbm, &row.reverse_tenths_dbm);
  row.has_attenuation = Tenths(readings.attenuation_db, &row.attenuation_tenths_db);
  row.has_current = Tenths(readings.helix_current_ma, &row.current_tenths_ma);
  row.has_voltage = Tenths(readings.helix_voltage_kv, &row.voltage_tenths_kv);
  row.has_temperature = Tenths(readings.temperature_c, &row.temperature_tenths_c);
  PanelPowerText(row.forward_text, shown.power_out, unit_);
  PanelPowerText(row.reverse_text, shown.power_back, unit_);
  row.remote = shown.remote != 0;
  row.constant = shown.constant != 0;
  row.rf_inhibit = shown.rf_inhibit != 0;
  Publish();
}

void MibListener::ControllerReply(const ControllerStatus& status) {
  now_.controller_known = true;
  now_.waveguide1 = status.waveguide1;
  now_.waveguide2 = status.waveguide2;
  now_.controller_manual = status.controller_manual != 0;
  now_.controller_local = status.controller_local != 0;
  Publish();
}

void MibListener::ContactLost(int device, const std::string& reason) {
  if (device == kControllerDevice) {
    now_.controller_contact = false;
  } else if (IsAmp(device - 1)) {
    AmpRow& row = now_.amps[device - 1];
    row.contact = false;
    row.has_readings = false;
  } else {
    return;
  }
  Publish();
  Notification lost = Blank(NotificationKind::contact_lost);
  lost.device = device;
  CopyText(lost.reason, kNotificationReasonSize, reason.c_str());
  Notify(lost);
}

void MibListener::ContactRestored(int device) {
  if (device == kControllerDevice) {
    now_.controller_contact = true;
  } else if (IsAmp(device - 1)) {
    now_.amps[device - 1].contact = true;
  } else {
    return;
  }
  Publish();
  Notification restored = Blank(NotificationKind::contact_restored);
  restored.device = device;
  Notify(restored);
}

void MibListener::AmpStateChanged(int amp, amp_enum /*from*/, amp_enum to) {
  if (!IsAmp(amp)) return;
  now_.amps[amp].state = to;
  Publish();
}

void MibListener::FaultRaised(int amp, fault_enum fault) {
  if (!IsAmp(amp)) return;
  now_.amps[amp].fault = fault;
  Publish();
  Notification faulted = Blank(NotificationKind::amp_faulted);
  faulted.device = amp + 1;
  faulted.fault = fault;
  Notify(faulted);
}

void MibListener::FaultCleared(int amp, fault_enum fault) {
  if (!IsAmp(amp)) return;
  now_.amps[amp].fault = fault_none;
  Publish();
  Notification cleared = Blank(NotificationKind::amp_fault_cleared);
  cleared.device = amp + 1;
  cleared.fault = fault;
  Notify(cleared);
}

void MibListener::ControllerChanged(const ControllerChange& change) {
  if (change.before.waveguide1 == change.after.waveguide1 &&
      change.before.waveguide2 == change.after.waveguide2)
    return;  // a change of mode or control only
  Notification moved = Blank(NotificationKind::switch_changed);
  moved.device = kControllerDevice;
  moved.waveguide1 = change.after.waveguide1;
  moved.waveguide2 = change.after.waveguide2;
  moved.commanded = change.switch_commanded;
  Notify(moved);
}

void MibListener::PowerUnitChanged(power_enum unit) { unit_ = unit; }

}  // namespace onefortwo
