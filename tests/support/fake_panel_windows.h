#pragma once

#include <functional>
#include <string>
#include <vector>

#include "user/panel_windows.h"

namespace onefortwo {

// Records every request made of the panels, one line each: "show 1", "run fault 2",
// "number entry 0 106", "unit 2 dBm". `while_fault_dialog` runs inside RunFaultDialog,
// standing for what happens while the modal dialog is up.
class FakePanelWindows : public PanelWindows {
 public:
  void ShowPanel(int amp) override;
  void RunFaultDialog(int amp) override;
  void OpenNumberEntry(int amp, int type) override;
  void ShowPowerUnit(int amp, const char* unit_name) override;

  // The requests made since the last call, and forgets them.
  std::vector<std::string> Take();

  std::vector<std::string> log;
  std::function<void(int amp)> while_fault_dialog;
};

}  // namespace onefortwo
