// What the station tells of its devices and its port: contact gained and lost, state and
// fault changes, and the port closed, lost and opened anew.

#include "shell/station.h"

namespace onefortwo {

void Station::ReportAmp(int amp, amp_enum before) {
  const amp_struct& now = amps.amp_info[amp];
  if (before != now.status) events.AmpStateChanged(amp, before, now.status);
}

void Station::GainContact(int device) {
  if (contact[device]) return;
  contact[device] = true;
  if (device == kControllerDevice && controller.controller_contact == 0) {
    // The live picture comes back exactly as drawn before.
    controller.controller_contact = 1;
    windows_.InvalidateMainWindow(nullptr, true);
    windows_.UpdateMainWindow();
  }
  events.ContactRestored(device);
}

void Station::LoseContact(int device, const std::string& reason) {
  if (device == kControllerDevice && controller.controller_contact != 0) {
    controller.controller_contact = 0;
    windows_.InvalidateMainWindow(nullptr, true);
    windows_.UpdateMainWindow();
  }
  if (!contact[device]) return;
  contact[device] = false;
  events.ContactLost(device, reason);
}

void Station::ShowNothingLive(const std::string& reason) {
  for (int amp = 0; amp < kAmpCount; ++amp) {
    const amp_enum before = amps.amp_info[amp].status;
    amps.InitAmpInfo(amp);
    UpdateAmpPopup(amp);
    ReportAmp(amp, before);
  }
  for (int device = 0; device < kDeviceCount; ++device) LoseContact(device, reason);
}

void Station::SuperviseLink() {
  if (link.PortOpen()) {
    const std::string failure = link.DeviceFailure();
    if (!failure.empty()) {
      link.LosePort(failure);
      reopen_at_ms_ = NowMs() + kReopenIntervalMs;
    } else {
      link.CheckRestored();  // a reopened terminal server that has now connected
    }
  } else if (link.lost()) {
    const double now = NowMs();
    // Without a counter there is no telling the time: every tick tries.
    if (!(now < reopen_at_ms_)) {
      if (!link.Reopen()) reopen_at_ms_ = now + kReopenIntervalMs;
    }
  }

  if (!link.PortOpen()) {
    if (!shown_closed_) {
      shown_closed_ = true;
      ShowNothingLive(link.lost() ? "the port was lost" : "the port is closed");
    }
    return;
  }
  shown_closed_ = false;
  if (seen_open_count_ != link.open_count()) {
    // Opened anew since the last look: whatever was shown came from before.
    seen_open_count_ = link.open_count();
    ShowNothingLive("the port was opened anew");
  }
}

}  // namespace onefortwo
