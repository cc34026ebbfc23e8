#pragma once

#include <cstdint>
#include <string>

namespace onefortwo {

// What a simulated device answers to a command text: the reply text and whether the
// frame opens with ACK (obeyed) or NAK (refused).
struct DeviceAnswer {
  bool ack = true;
  std::string text;
};

// Every status byte the devices send carries this bit. The line does not escape control
// bytes, and the station's receiver takes an STX, ACK or NAK inside a reply as a new frame
// and an ETX as its end; with 0x40 set a status byte lies in 0x40..0x7F and never looks
// like one of them. The station's parsers ignore the bit.
constexpr uint8_t kStatusByteBase = 0x40;

}  // namespace onefortwo
