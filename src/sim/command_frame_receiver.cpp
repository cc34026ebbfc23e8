#include "sim/command_frame_receiver.h"

#include "wserial/serial_link.h"

namespace onefortwo {

bool CommandFrameReceiver::Feed(uint8_t byte) {
  switch (state_) {
    case State::hunting:
      if (byte == STX) {
        collected_.assign(1, byte);
        state_ = State::in_frame;
      }
      return false;
    case State::in_frame:
      if (byte == STX) {
        collected_.assign(1, byte);
        return false;
      }
      collected_.push_back(byte);
      if (byte == ETX) {
        state_ = State::check_byte;
      } else if (collected_.size() >= kMaxFrame) {
        state_ = State::hunting;  // no ETX where a command frame must have ended
        collected_.clear();
      }
      return false;
    case State::check_byte:
      break;
  }
  // The check byte may take any value, a control byte's included.
  collected_.push_back(byte);
  state_ = State::hunting;
  frame_ = HeardFrame();
  frame_.bytes.swap(collected_);
  const size_t size = frame_.bytes.size();
  const char* raw = reinterpret_cast<const char*>(frame_.bytes.data());
  frame_.check_ok = static_cast<uint8_t>(XorChecksum(raw, static_cast<int>(size - 1))) == byte;
  if (size >= 4) {
    frame_.address = frame_.bytes[1];
    frame_.text.assign(raw + 2, size - 4);
  }
  return true;
}

}  // namespace onefortwo
