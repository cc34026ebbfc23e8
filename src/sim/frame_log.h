#pragma once

#include <string>

#include "sim/sim_installation.h"

namespace onefortwo {

// One line of the frame log for `event`, without a line end, e.g.
//      1234.567 heard     A  <02>A?13AIPQTV<03>v
//      1239.567 reply     A  <06>A?T@@@10.006.057.037.025.410.5<03>i
//      1300.000 reply     B  <06>B?L@@@10.000.0  (cut short)
//      1302.000 bad check -  <02>A?13AIPQTV<03>w
// Printable ASCII stands as it is; every other byte (and "<") is written <hh> in
// hexadecimal. The time is the event's, in ms; the device is "@" for the controller, the
// amplifier's letter, or "-" for none.
std::string FrameLogLine(const LineEvent& event);

// `bytes` written as above: printable ASCII as is, others as <hh>.
std::string ReadableBytes(const SimBytes& bytes);

}  // namespace onefortwo
