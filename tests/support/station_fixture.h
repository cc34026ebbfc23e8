#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "shell/station.h"
#include "support/fake_clock.h"
#include "support/fake_serial_device.h"
#include "support/fake_windows.h"

namespace onefortwo {

// A fresh station on an open fake line "COM2" with a fake clock and fake windows.
class StationTest : public ::testing::Test {
 protected:
  StationTest() : line(opener.Add("COM2")), station(opener, clock, windows) {
    EXPECT_EQ(1, station.link.InitSerial());
    for (int amp = 0; amp < kAmpCount; ++amp) station.amps.InitAmpInfo(amp);
  }

  // Runs one timer tick's poll step after `ms` of time have passed.
  void Tick(double ms = 56) {
    clock.AdvanceMs(ms);
    station.Poll(0);
  }

  FakeOpener opener;
  std::shared_ptr<FakeLine> line;
  FakeClock clock;
  FakeWindows windows;
  Station station;
};

}  // namespace onefortwo
