#include "amp/fault_dialog.h"

#include <cstdio>

namespace onefortwo {

FaultDialog::FaultDialog(AmpModel& amps, SerialLink& link, int amp)
    : amps_(amps), link_(link), amp_(amp) {
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
  if (Known()) amps_.audio_enabled[amp_] = 0;
}

bool FaultDialog::FaultReset() {
  return Known() && link_.SendCommand(base_address + amp_ + 1, "B", 0);
}

}  // namespace onefortwo
