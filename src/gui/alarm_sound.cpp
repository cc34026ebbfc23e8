#include "alarm_sound.h"

#include <QApplication>

namespace onefortwo {

void AlarmSound::Beep() {
  if (!desktop_) desktop_ = std::make_unique<DesktopSound>("onefortwo");
  if (!desktop_->Play("dialog-warning", "Amplifier fault")) QApplication::beep();
}

}  // namespace onefortwo
