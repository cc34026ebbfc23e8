#pragma once

#include "platform/station_windows.h"

namespace onefortwo {

// Windows that take every request of the core and show nothing: the benchmarks measure
// the station's own work.
class QuietWindows : public StationWindows {
 public:
  void ShowMessage(const char*, const char*, MessageIcon) override {}
  bool IsFaultDialogOpen(int) override { return false; }
  void OpenFaultDialog(int) override {}
  void UpdateFaultDialog(int, const char*) override {}
  void InvalidateMainWindow(const Rect*, bool) override {}
  void UpdateMainWindow() override {}
  void RedrawPanelButton(int, int) override {}
  void SetPanelText(int, int, const char*) override {}
};

}  // namespace onefortwo
