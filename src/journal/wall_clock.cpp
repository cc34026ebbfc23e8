#include "journal/wall_clock.h"

#include <chrono>

namespace onefortwo {

int64_t SystemWallClock::NowUtcMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace onefortwo
