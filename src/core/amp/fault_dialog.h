#pragma once

#include <cstdint>
#include <string>

#include "amp/amp_info.h"
#include "shell/station.h"

namespace onefortwo {

// The fault dialog's background while its amplifier is faulted: pure red, 0x00BBGGRR.
constexpr uint32_t kFaultDialogRed = 0x000000FF;

// One open fault dialog ("FaultDialog") of one amplifier: what it shows and what its
// buttons do. There is at most one per amplifier; the reply parsing opens it when the
// amplifier faults (alarm armed), the panel's state button and a click on the diagram open
// it on demand, and the reply parsing sets its text while it is open
// (StationWindows::UpdateFaultDialog). Closing it only destroys the window.
class FaultDialog {
 public:
  // Opened for amplifier `amp` (0..2) of `station`; it keeps that amplifier until it
  // closes.
  FaultDialog(Station& station, int amp);

  int amp() const { return amp_; }
  // "Amplifier A Fault".
  const std::string& title() const { return title_; }
  // The summary fault's text at opening ("Over Temperature"); later texts come with
  // StationWindows::UpdateFaultDialog.
  const char* FaultText() const;

  // Asked at every repaint. Red background (kFaultDialogRed) while the amplifier is
  // faulted, the platform's plain background otherwise.
  bool Red() const;
  // Asked at every repaint: Acknowledge is enabled only while the alarm is on.
  bool AcknowledgeEnabled() const;

  // Acknowledge: silences the alarm (until the fault changes while the amplifier is
  // faulted, or it faults anew with its dialog closed). The button is then disabled.
  // Tells AlarmAcknowledged while the alarm was on.
  void Acknowledge();
  // Fault Reset: sends "B" to the amplifier; the dialog stays open. Tells
  // FaultResetPressed, then the command. False when nothing reached an open port.
  bool FaultReset();

 private:
  bool Known() const { return amp_ >= 0 && amp_ < kAmpCount; }

  Station& station_;
  AmpModel& amps_;
  int amp_;
  std::string title_;
};

}  // namespace onefortwo
