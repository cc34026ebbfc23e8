#pragma once

#include <functional>
#include <memory>
#include <string>

#include "shell/station.h"
#include "support/fake_windows.h"

namespace onefortwo {

// A fresh station polling a simulated installation, driven tick by tick as the main
// window's 56 ms timer drives it. Three kinds, with the same scenarios run on each:
//   "SIM": the built-in port, in process, on a fake clock (deterministic, no waiting);
//   "pty": onefortwo-sim started as a process, on a real pseudo-terminal and real time;
//   "tcp": onefortwo-sim --tcp, reached as a terminal server over the loopback.
// The installation is changed through the simulator's line commands either way.
class StationRig {
 public:
  // High-voltage warm-up of the installation, short so that the scenarios stay quick.
  static constexpr double kWarmupMs = 500;

  // `listener`, when given, hears the station's events from before its port opens.
  static std::unique_ptr<StationRig> Make(const std::string& kind,
                                          StationEvents* listener = nullptr);
  virtual ~StationRig() = default;

  // Empty when the rig is ready; otherwise why not.
  const std::string& failure() const { return failure_; }
  Station& station() { return *station_; }
  FakeWindows& windows() { return windows_; }

  // One timer tick: waits for its time (or moves the fake clock) and runs Poll(0).
  virtual void Tick() = 0;
  // The station's clock, in ms.
  virtual double NowMs() = 0;
  // One simulator command; returns the last line of its answer ("ok" or "error: ...").
  virtual std::string Command(const std::string& line) = 0;

  // Ticks until `done` holds after a tick, for at most `limit_ms` of the station's time.
  bool TickUntil(const std::function<bool()>& done, double limit_ms);

 protected:
  std::string failure_;
  FakeWindows windows_;
  std::unique_ptr<Station> station_;
};

}  // namespace onefortwo
