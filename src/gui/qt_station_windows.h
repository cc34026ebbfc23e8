#pragma once

#include <QPointer>
#include <array>

#include "amp_panel.h"
#include "diagram_view.h"
#include "fault_dialog_window.h"
#include "platform/station_windows.h"
#include "user/panel_windows.h"

namespace onefortwo {

class Station;

// The core's requests carried out on the Qt windows: the station's (fault dialogs, panel
// refresh, main window repaint, messages) and the operator commands' (panels raised, fault
// dialogs run modal, number entry, the power unit). Each window may not exist yet (the
// station starts before its windows); a request for a missing window does nothing.
class QtStationWindows : public StationWindows, public PanelWindows {
 public:
  // The station whose records the dialogs read and whose line they send on; set once it
  // exists.
  void SetStation(Station* station) { station_ = station; }
  void SetDiagram(DiagramView* diagram) { diagram_ = diagram; }
  void SetPanel(int amp, AmpPanel* panel);

  // A box with an OK button, no owner window.
  void ShowMessage(const char* text, const char* caption, MessageIcon icon) override;

  // A fault dialog counts as open from its opening until it is closed, whichever way it
  // was opened.
  bool IsFaultDialogOpen(int amp) override;
  // Opens it modeless, owned by the amplifier's panel.
  void OpenFaultDialog(int amp) override;
  void UpdateFaultDialog(int amp, const char* fault_text) override;

  // Marks the rectangle (or the whole client area) for the next paint. Qt always fills
  // what it repaints, so `erase` needs nothing more.
  void InvalidateMainWindow(const Rect* rect, bool erase) override;
  // Paints the whole client area at once.
  void UpdateMainWindow() override;

  void RedrawPanelButton(int amp, int control_id) override;
  void SetPanelText(int amp, int control_id, const char* text) override;

  void ShowPanel(int amp) override;
  // Opens the fault dialog owned by the panel, holds the panel while it is open and returns
  // when it is closed; the timer, the main window and the other panels go on meanwhile.
  void RunFaultDialog(int amp) override;
  // Opens the number entry dialog owned by the panel and holds the panel while it is
  // open; returns at once.
  void OpenNumberEntry(int amp, int type) override;
  void ShowPowerUnit(int amp, const char* unit_name) override;

  // The open fault dialog of amplifier `amp`, or null.
  FaultDialogWindow* fault_dialog(int amp) const;
  // Destroys the fault dialogs that are open, at the end of the run.
  void CloseFaultDialogs();

 private:
  static bool Valid(int amp) { return amp >= 0 && amp < 3; }
  // A new fault dialog of `amp`, recorded as its amplifier's until it is closed.
  FaultDialogWindow* MakeFaultDialog(int amp);

  Station* station_ = nullptr;
  QPointer<DiagramView> diagram_;
  std::array<QPointer<AmpPanel>, 3> panels_;
  std::array<QPointer<FaultDialogWindow>, 3> fault_dialogs_;
};

}  // namespace onefortwo
