#pragma once

namespace onefortwo {

// What the operator's commands ask of the amplifier panels and of the dialogs opened from
// them, beyond the station's own requests (StationWindows, whose OpenFaultDialog also
// serves the panel's state button: modeless, owned by the panel). The GUI implements it;
// tests fake it. All calls come on the user-interface thread.
class PanelWindows {
 public:
  virtual ~PanelWindows() = default;

  // Brings panel `amp` (0..2) to the foreground and shows it, restoring it when minimised;
  // creates it first when it no longer exists.
  virtual void ShowPanel(int amp) = 0;

  // Opens amplifier `amp`'s fault dialog modal, owned by its panel, and returns when the
  // operator has closed it. The poll timer keeps running meanwhile, and while it is open
  // StationWindows::IsFaultDialogOpen(amp) is true.
  virtual void RunFaultDialog(int amp) = 0;

  // Opens the number entry dialog of panel `amp` for entry kind `type` (106 output power,
  // 107 attenuation), modal to that panel only. The dialog keeps its amplifier and kind
  // for its whole life (a NumberEntry made with them), so dialogs of two panels may be
  // open at once. May return before the dialog closes.
  virtual void OpenNumberEntry(int amp, int type) = 0;

  // Shows `unit_name` on panel `amp`'s unit button (101) and reverse-power unit label (112).
  virtual void ShowPowerUnit(int amp, const char* unit_name) = 0;
};

}  // namespace onefortwo
