#include "alarm_sound.h"

#include <QApplication>

namespace onefortwo {

void AlarmSound::Beep() {
  const auto now = std::chrono::steady_clock::now();
  if (now >= retry_desktop_at_) {
    if (!desktop_) desktop_ = std::make_unique<DesktopSound>("onefortwo");
    if (desktop_->Play("dialog-warning", "Amplifier fault")) return;
    // No sound server or device: every try costs work and fills the error output with the
    // sound libraries' complaints, so the desktop sound is tried again a minute later.
    retry_desktop_at_ = now + std::chrono::minutes(1);
  }
  QApplication::beep();
}

}  // namespace onefortwo
