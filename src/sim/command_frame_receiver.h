#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace onefortwo {

using SimBytes = std::vector<uint8_t>;

// A command frame as a device on the line heard it.
struct HeardFrame {
  SimBytes bytes;         // STX to check byte, as received
  int address = -1;       // the address byte, -1 when the frame had none (STX ETX check)
  std::string text;       // the command text between address and ETX
  bool check_ok = false;  // the check byte is the XOR of STX to ETX
};

// The devices' side of the line: assembles command frames (STX, address, text, ETX, check
// byte) from the bytes as they come. Bytes before an STX are line noise and dropped; a
// new STX inside a frame starts the frame again; a frame that outgrows the 256 bytes of a
// command frame is dropped whole.
class CommandFrameReceiver {
 public:
  static constexpr size_t kMaxFrame = 256;

  // Takes the next byte. True when it completed a frame, which then stands in frame()
  // until the next call.
  bool Feed(uint8_t byte);
  const HeardFrame& frame() const { return frame_; }

 private:
  enum class State { hunting, in_frame, check_byte };
  State state_ = State::hunting;
  SimBytes collected_;
  HeardFrame frame_;
};

}  // namespace onefortwo
