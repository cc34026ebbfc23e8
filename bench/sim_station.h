#pragma once

#include "shell/station.h"
#include "sim/station_port_opener.h"
#include "stand_ins.h"

namespace onefortwo {

// A station on the built-in installation SIM with quiet windows, driven tick by tick on a
// counter that moves 56 ms a tick and by what a send waits for its frame to leave.
struct SimStation {
  // Opens SIM at `baud`; false when it did not open.
  bool Open(int baud = 9600) {
    station.link.serial_baud = baud;
    station.link.SetSerialPort("SIM");
    return station.link.InitSerial() == 1;
  }
  // One poll step in the timer's next slot, 56 ms after the last one (or later, when the
  // last step's send moved the counter past it).
  void Tick() {
    next += 56 * (TickClock::kFrequency / 1000);
    if (clock.now < next) clock.now = next;
    next = clock.now;
    station.Poll(0);
  }

  NoPorts others;
  TickClock clock;
  QuietWindows windows;
  StationPortOpener opener{others, clock};
  Station station{opener, clock, windows};
  int64_t next = 0;
};

}  // namespace onefortwo
