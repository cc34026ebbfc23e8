#pragma once

#include <QPointer>
#include <array>

#include "amp_panel_stand_in.h"
#include "diagram_view.h"
#include "fault_dialog_stand_in.h"
#include "platform/station_windows.h"

namespace onefortwo {

class Station;

// The core's requests carried out on the Qt windows. Each window may not exist yet (the
// station starts before its windows); a request for a missing window does nothing.
class QtStationWindows : public StationWindows {
 public:
  // The station whose records the fault dialogs read; set once it exists.
  void SetStation(const Station* station) { station_ = station; }
  void SetDiagram(DiagramView* diagram) { diagram_ = diagram; }
  void SetPanel(int amp, AmpPanelStandIn* panel);

  // A box with an OK button, no owner window.
  void ShowMessage(const char* text, const char* caption, MessageIcon icon) override;

  // A fault dialog counts as open from its opening until it is closed.
  bool IsFaultDialogOpen(int amp) override;
  // Opens it modeless, owned by the amplifier's panel, with the record's fault text.
  void OpenFaultDialog(int amp) override;
  void UpdateFaultDialog(int amp, const char* fault_text) override;

  // Marks the rectangle (or the whole client area) for the next paint. Qt always fills
  // what it repaints, so `erase` needs nothing more.
  void InvalidateMainWindow(const Rect* rect, bool erase) override;
  // Paints the whole client area at once.
  void UpdateMainWindow() override;

  void RedrawPanelButton(int amp, int control_id) override;
  void SetPanelText(int amp, int control_id, const char* text) override;

  // The open fault dialog of amplifier `amp`, or null.
  FaultDialogStandIn* fault_dialog(int amp) const;
  // Destroys the fault dialogs that are open, at the end of the run.
  void CloseFaultDialogs();

 private:
  static bool Valid(int amp) { return amp >= 0 && amp < 3; }

  const Station* station_ = nullptr;
  QPointer<DiagramView> diagram_;
  std::array<QPointer<AmpPanelStandIn>, 3> panels_;
  std::array<QPointer<FaultDialogStandIn>, 3> fault_dialogs_;
};

}  // namespace onefortwo
