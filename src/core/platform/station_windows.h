#pragma once

namespace onefortwo {

// A rectangle of client pixels: left and top inside, right and bottom outside.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

enum class MessageIcon { warning, error, exclamation };

// What the core asks of the station's windows. The GUI implements it; tests fake it and
// check each request. All calls come on the user-interface thread.
class StationWindows {
 public:
  virtual ~StationWindows() = default;

  // A message box with an OK button and no owner window.
  virtual void ShowMessage(const char* text, const char* caption, MessageIcon icon) = 0;

  // Whether amplifier `amp`'s fault dialog (0..2) is open now.
  virtual bool IsFaultDialogOpen(int amp) = 0;
  // Opens amplifier `amp`'s fault dialog modeless, owned by its panel. When the call
  // returns, IsFaultDialogOpen(amp) is true.
  virtual void OpenFaultDialog(int amp) = 0;
  // Sets the open fault dialog's summary text and has it repainted with its background
  // erased, so that it turns red or plain with the amplifier's state.
  virtual void UpdateFaultDialog(int amp, const char* fault_text) = 0;

  // Marks part of the main window's client area for repainting; null marks all of it.
  virtual void InvalidateMainWindow(const Rect* rect, bool erase) = 0;
  // Paints what is marked in the main window now, before returning.
  virtual void UpdateMainWindow() = 0;

  // Has panel `amp`'s owner-drawn button `control_id` (102..105) draw itself anew.
  virtual void RedrawPanelButton(int amp, int control_id) = 0;
  // Puts `text` into panel `amp`'s value control `control_id` (106..111).
  virtual void SetPanelText(int amp, int control_id, const char* text) = 0;
};

}  // namespace onefortwo
