// ControllerState::ParseControllerResponse on any frame of any length.
//
// The input: one byte giving the record's state before the frame (bit 0 switch 1 in B,
// bit 1 switch 2 in B, bit 2 local, bit 3 manual); the rest is the frame as it stands in
// response_buf, its length as receive_count, in a buffer of exactly that size.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "amp_invariants.h"
#include "controller/controller.h"
#include "fuzz_check.h"
#include "support/fake_windows.h"

namespace onefortwo {
namespace {

void RunControllerReply(const uint8_t* data, size_t size) {
  if (size < 1) return;
  FakeWindows windows;
  ControllerState controller(windows);
  controller.waveguide1 = (data[0] & 1) ? 'B' : 'A';
  controller.waveguide2 = (data[0] & 2) ? 'B' : 'A';
  controller.controller_local = (data[0] & 4) ? 1 : 0;
  controller.controller_manual = (data[0] & 8) ? 1 : 0;
  const ControllerStatus before = controller.Status();
  const std::vector<char> frame(data + 1, data + size);
  const int receive_count = static_cast<int>(frame.size());

  const bool taken = controller.ParseControllerResponse(frame.data(), receive_count);

  CheckControllerRecord(controller);
  const ControllerStatus after = controller.Status();
  if (!taken) {
    FUZZ_CHECK(after == before, "a frame that was not taken changed the controller");
  } else {
    FUZZ_CHECK(receive_count >= kControllerStatusFrameLength && frame[2] == '1',
               "a %d-byte frame taken as a status reply", receive_count);
  }
  // Repainted exactly when something changed, and then painted at once.
  if (after == before) {
    FUZZ_CHECK(windows.log.empty(), "nothing changed, yet asked for %s",
               windows.log.front().c_str());
  } else {
    FUZZ_CHECK(!windows.log.empty() && windows.log.back() == "update",
               "a change without a repaint");
  }
}

}  // namespace
}  // namespace onefortwo

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  onefortwo::RunControllerReply(data, size);
  return 0;
}
