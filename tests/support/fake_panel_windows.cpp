#include "support/fake_panel_windows.h"

namespace onefortwo {

void FakePanelWindows::ShowPanel(int amp) {
  log.push_back("show " + std::to_string(amp));
}

void FakePanelWindows::RunFaultDialog(int amp) {
  log.push_back("run fault " + std::to_string(amp));
  if (while_fault_dialog) while_fault_dialog(amp);
}

void FakePanelWindows::OpenNumberEntry(int amp, int type) {
  log.push_back("number entry " + std::to_string(amp) + " " + std::to_string(type));
}

void FakePanelWindows::ShowPowerUnit(int amp, const char* unit_name) {
  log.push_back("unit " + std::to_string(amp) + " " + unit_name);
}

std::vector<std::string> FakePanelWindows::Take() {
  std::vector<std::string> taken;
  taken.swap(log);
  return taken;
}

}  // namespace onefortwo
