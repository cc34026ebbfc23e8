// Command frames: STX, address, text, ETX, XOR check byte.

#include <cstring>

#include "wserial/serial_link.h"

namespace onefortwo {

char XorChecksum(const char* command, int command_length) {
  if (command_length >= kResponseBufferSize) command_length = kResponseBufferSize - 1;
  if (command_length < 0) command_length = 0;
  unsigned char sum = 0;
  for (int i = 0; i < command_length; ++i) sum ^= static_cast<unsigned char>(command[i]);
  return static_cast<char>(sum);
}

bool SerialLink::SendCommand(int device, const char* command_string, int command_length) {
  response_pending = device;
  int length = command_length;
  if (length == 0) {
    length = command_string == nullptr
                 ? 0
                 : static_cast<int>(strnlen(command_string, kMaxCommandLength + 1));
  }
  // A text that does not fit the frame buffer is refused whole rather than cut.
  if (length < 0 || length > kMaxCommandLength) return false;

  char frame[kFrameBufferSize];
  frame[0] = static_cast<char>(STX);
  frame[1] = static_cast<char>(device & 0xFF);
  if (length > 0) std::memcpy(frame + 2, command_string, static_cast<size_t>(length));
  frame[2 + length] = static_cast<char>(ETX);
  frame[3 + length] = XorChecksum(frame, length + 3);

  bool sent = false;
  if (serial_device) {
    sent = serial_device->Write(reinterpret_cast<const uint8_t*>(frame),
                                static_cast<size_t>(length + 4));
    serial_device->Flush();
  }
  PastTime(0);
  return sent;
}

}  // namespace onefortwo
