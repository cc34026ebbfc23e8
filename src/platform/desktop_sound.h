#pragma once

#include <string>

namespace onefortwo {

// The desktop's event sounds. On Linux they are looked up by their freedesktop event names
// ("dialog-warning") in the sound theme and played by the sound server, through
// libcanberra; on Windows every event is the system's exclamation sound (MessageBeep).
// Where the build had neither, every Play fails, so that the caller falls back to its own
// sound.
class DesktopSound {
 public:
  // `application_name` is what the sound server shows as the sound's source.
  explicit DesktopSound(const std::string& application_name);
  ~DesktopSound();
  DesktopSound(const DesktopSound&) = delete;
  DesktopSound& operator=(const DesktopSound&) = delete;

  // Starts the event sound `event_id` and returns at once. False when it cannot be played:
  // no libcanberra, no sound server or device, or no such sound in the theme.
  bool Play(const char* event_id, const char* description);

 private:
  struct Context;
  Context* context_ = nullptr;  // null when no context could be made
};

}  // namespace onefortwo
