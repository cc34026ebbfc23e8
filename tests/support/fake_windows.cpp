#include "support/fake_windows.h"

namespace onefortwo {

void FakeWindows::ShowMessage(const char* text, const char* caption, MessageIcon) {
  log.push_back(std::string("message ") + caption + ": " + text);
}

void FakeWindows::OpenFaultDialog(int amp) {
  fault_open[amp] = true;
  log.push_back("open fault " + std::to_string(amp));
}

void FakeWindows::UpdateFaultDialog(int amp, const char* fault_text) {
  log.push_back("fault text " + std::to_string(amp) + " " + fault_text);
}

void FakeWindows::InvalidateMainWindow(const Rect* rect, bool erase) {
  std::string line = "invalidate ";
  if (rect == nullptr) {
    line += "all";
  } else {
    line += std::to_string(rect->left) + "," + std::to_string(rect->top) + "," +
            std::to_string(rect->right) + "," + std::to_string(rect->bottom);
  }
  log.push_back(line + (erase ? " erase" : " keep"));
}

void FakeWindows::UpdateMainWindow() { log.push_back("update"); }

void FakeWindows::RedrawPanelButton(int amp, int control_id) {
  log.push_back("redraw " + std::to_string(amp) + " " + std::to_string(control_id));
}

void FakeWindows::SetPanelText(int amp, int control_id, const char* text) {
  log.push_back("text " + std::to_string(amp) + " " + std::to_string(control_id) + " " + text);
}

std::vector<std::string> FakeWindows::Take() {
  std::vector<std::string> taken;
  taken.swap(log);
  return taken;
}

}  // namespace onefortwo
