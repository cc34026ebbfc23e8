// The poll cycle: one step per timer tick over the rotation A, B, C, controller.

#include "shell/station.h"

namespace onefortwo {

void Station::Poll(int iteration) {
  if (iteration >= kMaxFramesPerTick) return;
  const int status = link.TrapResponse();
  if (status == 0 && link.PastTime(kReplyTimeoutMs) == 0) return;  // still waiting

  if (status != 0) {
    const int address = static_cast<signed char>(link.response_buf[1]);
    const int device =
        address >= base_address && address <= base_address + 3 ? address - base_address : -1;
    if (device == 0) {
      controller.ParseControllerResponse(link.response_buf, link.receive_count);
    } else if (device > 0) {
      amps.ParseAmpResponse(device - 1, link.response_buf, link.receive_count, power_format);
      UpdateAmpPopup(device - 1);
    }
    if (device >= 0) error_count[device] = 0;
    link.ResetReceiver();
    Poll(iteration + 1);
  } else if (link.response_pending >= 0) {
    // No frame, and the reply time-out has run out: a miss for the device last written to.
    link.ResetReceiver();
    int device = link.response_pending - base_address;
    if (device < 0 || device > 3) device = 0;
    error_count[device] += 1;
    if (error_count[device] > 2) {
      if (device != 0) {
        amps.InitAmpInfo(device - 1);
        UpdateAmpPopup(device - 1);
      }
      error_count[device] = 2;
    }
  }

  if (iteration != 0) return;
  current_device += 1;
  if (current_device > 3) current_device = 0;
  if (current_device == 0) {
    link.SendCommand(base_address, kControllerQuery, 0);
  } else {
    link.SendCommand(base_address + current_device, kAmpQuery, 0);
  }
  link.PastTime(0);
}

}  // namespace onefortwo
