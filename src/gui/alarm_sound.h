#pragma once

#include <chrono>
#include <memory>

#include "desktop_sound.h"
#include "platform/sound.h"

namespace onefortwo {

// The fault alarm: the desktop's "dialog-warning" sound, or the window system's beep
// (QApplication::beep) where that cannot be played.
class AlarmSound : public Sound {
 public:
  void Beep() override;

 private:
  std::unique_ptr<DesktopSound> desktop_;  // made at the first alarm, not at start
  // After a failed play the desktop sound is not tried again before this time.
  std::chrono::steady_clock::time_point retry_desktop_at_;
};

}  // namespace onefortwo
