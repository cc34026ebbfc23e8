#include "sim/frame_log.h"

#include <cstdio>

namespace onefortwo {

std::string ReadableBytes(const SimBytes& bytes) {
  std::string text;
  for (uint8_t byte : bytes) {
    if (byte >= 0x20 && byte < 0x7F && byte != '<') {
      text += static_cast<char>(byte);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "<%02X>", byte);
      text += hex;
    }
  }
  return text;
}

std::string FrameLogLine(const LineEvent& event) {
  const char* what = "";
  switch (event.kind) {
    case LineEvent::command:
      what = "heard";
      break;
    case LineEvent::unanswered:
      what = "silent";
      break;
    case LineEvent::other_address:
      what = "not ours";
      break;
    case LineEvent::bad_check:
      what = "bad check";
      break;
    case LineEvent::reply:
      what = "reply";
      break;
    case LineEvent::noise:
      what = "noise";
      break;
  }
  char head[64];
  const char device =
      event.device >= 0 && event.device <= 3 ? static_cast<char>('@' + event.device) : '-';
  std::snprintf(head, sizeof head, "%12.3f %-9s %c  ", event.at_ms, what, device);
  std::string line = head + ReadableBytes(event.bytes);
  if (event.kind == LineEvent::reply && event.fault == ReplyFault::bad_check) {
    line += "  (check byte spoilt)";
  } else if (event.kind == LineEvent::reply && event.fault == ReplyFault::cut_short) {
    line += "  (cut short)";
  }
  return line;
}

}  // namespace onefortwo
