#include "controller/controller.h"

namespace onefortwo {

bool ControllerState::ParseControllerResponse(const char* response_buf, int receive_count) {
  // A reply too short for four status bytes would show earlier traffic as switch positions.
  if (receive_count < kControllerStatusFrameLength || response_buf[2] != '1') return false;
  const unsigned char s1 = static_cast<unsigned char>(response_buf[3]);
  const unsigned char s4 = static_cast<unsigned char>(response_buf[6]);
  const int manual = (s1 & 0x01) ? 0 : 1;
  const int wg1 = (s1 & 0x02) ? 65 : 66;
  const int local = (s1 & 0x10) ? 1 : 0;
  const int wg2 = (s4 & 0x04) ? 65 : 66;

  bool redraw = false;
  if (manual != controller_manual) {
    controller_manual = manual;
    redraw = true;
    windows_.InvalidateMainWindow(&kModeLine, true);
  }
  if (local != controller_local) {
    controller_local = local;
    redraw = true;
    windows_.InvalidateMainWindow(&kControlLine, true);
  }
  if (wg1 != waveguide1) {
    waveguide1 = wg1;
    redraw = true;
    windows_.InvalidateMainWindow(nullptr, false);
  }
  if (wg2 != waveguide2) {
    waveguide2 = wg2;
    redraw = true;
    windows_.InvalidateMainWindow(nullptr, false);
  }
  if (redraw) windows_.UpdateMainWindow();
  return true;
}

}  // namespace onefortwo
