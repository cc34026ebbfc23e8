#pragma once

#include <string>
#include <vector>

#include "platform/station_windows.h"

namespace onefortwo {

// Records every request the core makes of the windows, as one line of text each, e.g.
// "invalidate 2,0,92,15 erase", "invalidate all keep", "update", "open fault 1",
// "fault text 1 Over Temperature", "redraw 0 105", "text 0 106 1000", "message Warning: ...".
class FakeWindows : public StationWindows {
 public:
  void ShowMessage(const char* text, const char* caption, MessageIcon icon) override;
  bool IsFaultDialogOpen(int amp) override { return amp >= 0 && amp < 3 && fault_open[amp]; }
  void OpenFaultDialog(int amp) override;
  void UpdateFaultDialog(int amp, const char* fault_text) override;
  void InvalidateMainWindow(const Rect* rect, bool erase) override;
  void UpdateMainWindow() override;
  void RedrawPanelButton(int amp, int control_id) override;
  void SetPanelText(int amp, int control_id, const char* text) override;

  // The requests made since the last call, and forgets them.
  std::vector<std::string> Take();

  std::vector<std::string> log;
  bool fault_open[3] = {false, false, false};
};

}  // namespace onefortwo
