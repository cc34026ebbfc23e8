#pragma once

namespace onefortwo {

// The platform's exclamation sound, used for the fault alarm.
class Sound {
 public:
  virtual ~Sound() = default;
  // Starts the sound and returns at once.
  virtual void Beep() = 0;
};

}  // namespace onefortwo
