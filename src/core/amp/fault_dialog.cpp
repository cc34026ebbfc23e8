#include "amp/fault_dialog.h"

#include <cstdio>

namespace onefortwo {

FaultDialog::FaultDialog(Station& station, int amp)
    : station_(station), amps_(station.amps), amp_(amp) {
  char title[32];
  std::snprintf(title, sizeof title, "Amplifier %c Fault", Known() ? 'A' + amp : '?');
  title_ = title;
}

const char* FaultDialog::FaultText() const {
  if (!Known()) return "";
  const fault_enum fault = amps_.amp_info[amp_].fault_status;
  return fault >= 0 && fault < kFaultCount ? fault_string[fault] : "";
}

bool FaultDialog::Red() const {
  return Known() && amps_.amp_info[amp_].status == amp_fault;
}

bool FaultDialog::AcknowledgeEnabled() const {
  return Known() && amps_.audio_enabled[amp_] != 0;
}

void FaultDialog::Acknowledge() {
  if (!Known() || amps_.audio_enabled[amp_] == 0) return;
  amps_.audio_enabled[amp_] = 0;
  station_.events.AlarmAcknowledged(amp_);
}

bool FaultDialog::FaultReset() {
  if (!Known()) return false;
  station_.events.FaultResetPressed(amp_);
  return station_.SendToAmp(amp_, "B", title_ + ": Fault Reset");
}

}  // namespace onefortwo
