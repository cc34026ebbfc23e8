#pragma once

namespace onefortwo {

// How a device misbehaves on the line, put on it from outside.
enum class ReplyFault {
  none,       // hears, obeys and answers as it should
  silent,     // switched off or cut from the line: hears nothing, obeys nothing, answers nothing
  nak,        // refuses every frame: does not obey, answers NAK with the text's echo
  bad_check,  // obeys, but its reply goes out with a wrong check byte
  cut_short,  // obeys, but its reply stops half way (no ETX, no check byte)
};
constexpr int kReplyFaultCount = 5;

// "none", "silent", "nak", "badcheck", "cut": the names onefortwo-sim takes.
const char* ReplyFaultName(ReplyFault fault);

// The reply faults of the four devices (0 the controller, 1..3 amplifiers A..C).
class ReplyFaults {
 public:
  static constexpr int kDevices = 4;

  // Puts `fault` on `device` for its next `count` frames, or for every frame from now on
  // when `count` is below 1. ReplyFault::none takes any fault off. False for a device
  // outside 0..3.
  bool Set(int device, ReplyFault fault, int count);
  // The fault for a frame addressed to `device` now; uses up one of a counted fault.
  ReplyFault Take(int device);
  ReplyFault fault(int device) const;
  // Frames still to be spoilt; -1 for a fault without end, 0 without a fault.
  int remaining(int device) const;

 private:
  struct Entry {
    ReplyFault fault = ReplyFault::none;
    int remaining = 0;  // -1: without end
  };
  Entry entries_[kDevices];
};

}  // namespace onefortwo
