// Reply frames: ACK (or NAK), address, text, ETX, XOR check byte, assembled byte by byte
// across as many calls as it takes.

#include "wserial/serial_link.h"

namespace onefortwo {

int SerialLink::ReadByte(uint8_t* byte) {
  if (!serial_device) return -1;
  const int got = serial_device->Read(byte, 1);
  return got < 0 ? -1 : (got > 0 ? 1 : 0);
}

void SerialLink::ResetReceiver() {
  response_done = 0;
  got_start = 0;
  receive_count = 0;
}

int SerialLink::CheckSumError() const {
  if (receive_count < 2 || receive_count > kResponseLimit) return 1;
  return XorChecksum(response_buf, receive_count - 1) != response_buf[receive_count - 1] ? 1 : 0;
}

int SerialLink::TrapResponse() {
  uint8_t byte = 0;
  int got = ReadByte(&byte);
  if (got < 0) return 0;
  // Once the frame is finished the loop stops, so the next frame's bytes stay in the port.
  while (got > 0 && response_done < 2) {
    if (response_done == 1) {
      response_done = 2;  // this byte is the check byte, whatever its value
    } else if (byte == STX || byte == ACK || byte == NAK) {
      receive_count = 0;  // a new frame begins: what was collected before is dropped
      got_start = 1;
    } else if (byte == ETX && got_start == 1) {
      response_done = 1;
    }
    response_buf[receive_count] = static_cast<char>(byte);
    ++receive_count;
    if (receive_count >= kResponseLimit) response_done = 2;
    if (response_done >= 2) break;
    got = ReadByte(&byte) > 0 ? 1 : 0;  // a failed read counts as no byte
  }
  if (response_done < 2) return 0;
  if (receive_count >= kResponseLimit) {
    receive_count = 0;
    return 0;
  }
  if (receive_count == 0) return 0;  // overflowed earlier: nothing until a reset
  if (static_cast<uint8_t>(response_buf[0]) != ACK) return 0;
  if (CheckSumError()) return 0;
  return 1;
}

}  // namespace onefortwo
