#pragma once

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
};

}  // namespace onefortwo
