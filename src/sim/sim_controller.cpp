#include "sim/sim_controller.h"

#include <initializer_list>

#include "shell/station.h"
#include "sim/redundancy.h"

namespace onefortwo {

DeviceAnswer SimController::Answer(const std::string& text) {
  DeviceAnswer answer;
  answer.text = text;  // commands are answered with their own echo
  if (text == kControllerQuery) {
    answer.text = StatusText();
    return answer;
  }
  if (local_) {
    answer.ack = false;  // local: the front panel has control
    return answer;
  }
  if (text.size() == 3 && text[0] == 'B' && (text[1] == '1' || text[1] == '2') &&
      (text[2] == 'A' || text[2] == 'B')) {
    SetSwitch(text[1] - '0', text[2]);
  } else if (text == "60") {
    manual_ = true;
  } else if (text == "61") {
    manual_ = false;
  } else {
    answer.ack = false;
  }
  return answer;
}

std::string SimController::StatusText() const {
  int s1 = 0;
  if (!manual_) s1 |= 0x01;
  if (waveguide1_ == 'A') s1 |= 0x02;
  if (local_) s1 |= 0x10;
  const int s4 = waveguide2_ == 'A' ? 0x04 : 0x00;
  std::string text(1, '1');
  for (int bits : {s1, 0, 0, s4}) text += static_cast<char>(kStatusByteBase | bits);
  return text;
}

bool SimController::SetSwitch(int waveguide, char position) {
  if (position != 'A' && position != 'B') return false;
  if (waveguide == 1) {
    waveguide1_ = position;
  } else if (waveguide == 2) {
    waveguide2_ = position;
  } else {
    return false;
  }
  return true;
}

bool SimController::ApplyAutomaticRedundancy(const bool faulted[3]) {
  if (manual_) return false;
  char one = waveguide1_;
  char two = waveguide2_;
  if (!RedundantPositions(waveguide1_, waveguide2_, faulted, &one, &two)) return false;
  const bool moved = one != waveguide1_ || two != waveguide2_;
  waveguide1_ = one;
  waveguide2_ = two;
  return moved;
}

}  // namespace onefortwo
