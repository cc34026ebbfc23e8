#pragma once

#include "platform/sound.h"

namespace onefortwo {

// Counts the beeps asked of it.
class FakeSound : public Sound {
 public:
  void Beep() override { ++beeps; }
  int beeps = 0;
};

}  // namespace onefortwo
