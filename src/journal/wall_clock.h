#pragma once

#include <cstdint>

namespace onefortwo {

// The time of day as the journal stamps it: UTC, milliseconds since 1970-01-01T00:00:00Z.
// Unlike the station's steady clock it may jump (the machine's clock set or corrected);
// the journal records what it said. May be called from any thread.
class WallClock {
 public:
  virtual ~WallClock() = default;
  virtual int64_t NowUtcMs() = 0;
};

// The machine's clock (std::chrono::system_clock).
class SystemWallClock : public WallClock {
 public:
  int64_t NowUtcMs() override;
};

}  // namespace onefortwo
