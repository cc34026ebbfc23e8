#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/serial_device.h"
#include "platform/station_windows.h"

namespace onefortwo {

// The benchmarks' stand-ins for the windows, the clock and the system's ports.

// Windows that take every request of the core and show nothing: the benchmarks measure
// the station's own work.
class QuietWindows : public StationWindows {
 public:
  void ShowMessage(const char*, const char*, MessageIcon) override {}
  bool IsFaultDialogOpen(int) override { return false; }
  void OpenFaultDialog(int) override {}
  void UpdateFaultDialog(int, const char*) override {}
  void InvalidateMainWindow(const Rect*, bool) override {}
  void UpdateMainWindow() override {}
  void RedrawPanelButton(int, int) override {}
  void SetPanelText(int, int, const char*) override {}
};

// A counter that moves only by what the benchmark gives it and by what a send waits for
// its frame to leave (Sleep).
class TickClock : public Clock {
 public:
  static constexpr int64_t kFrequency = 10000000;
  bool QueryPerformanceFrequency(int64_t* f) override {
    *f = kFrequency;
    return true;
  }
  int64_t QueryPerformanceCounter() override { return now; }
  void Sleep(int ms) override { now += ms * (kFrequency / 1000); }
  int64_t now = 0;
};

// The system's ports, none of them there: the benchmarks run on the built-in SIM.
class NoPorts : public SerialPortOpener {
 public:
  std::unique_ptr<SerialDevice> Open(const std::string&, OpenError* error) override {
    *error = OpenError::no_such_port;
    return nullptr;
  }
};

}  // namespace onefortwo
