#include "shell/main_timer.h"

namespace onefortwo {

void MainTimer::Tick() {
  station_.SuperviseLink();
  if (station_.link.PortOpen()) station_.Poll(0);

  for (int amp = 0; amp < kAmpCount; ++amp) {
    if (amp * kBeepSpacing == count && station_.amps.amp_info[amp].status == amp_fault &&
        windows_.IsFaultDialogOpen(amp) && station_.amps.audio_enabled[amp] != 0) {
      sound_.Beep();
    }
  }
  count += 1;
  if (count >= kCycleTicks) count = 0;
}

}  // namespace onefortwo
