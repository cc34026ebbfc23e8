#pragma once

#include <string>

#include "sim/device_answer.h"

namespace onefortwo {

// The simulated redundancy controller: the positions of the two waveguide switches, the
// redundancy mode and local or remote control.
//
// It starts in remote control and automatic mode with both switches in position A
// (amplifier A on output 1, B on output 2, C the spare). "B1A", "B1B", "B2A", "B2B" throw
// a switch, "60" chooses manual and "61" automatic mode, in either mode. In local control
// only the status query "1" is answered; every other command is refused with NAK.
class SimController {
 public:
  // Obeys one command text (the status query "1" included) and returns the answer.
  DeviceAnswer Answer(const std::string& text);
  // The reply text to the status query: "1" and the status bytes S1..S4. S1: 0x01
  // automatic mode, 0x02 switch 1 in A, 0x10 local; S4: 0x04 switch 2 in A.
  std::string StatusText() const;

  // In automatic mode, throws the switches that put the spare in place of a faulted
  // amplifier on an output (see RedundantPositions). True when a switch moved.
  bool ApplyAutomaticRedundancy(const bool faulted[3]);

  // --- Front-panel changes, from tests and the operator of onefortwo-sim -------------
  // `position` 'A' or 'B' for switch 1 or 2; false (nothing changes) otherwise.
  bool SetSwitch(int waveguide, char position);
  void SetManual(bool on) { manual_ = on; }
  void SetLocal(bool on) { local_ = on; }

  char waveguide1() const { return waveguide1_; }
  char waveguide2() const { return waveguide2_; }
  bool manual() const { return manual_; }
  bool local() const { return local_; }

 private:
  char waveguide1_ = 'A';
  char waveguide2_ = 'A';
  bool manual_ = false;
  bool local_ = false;
};

}  // namespace onefortwo
