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
      if (controller.ParseControllerResponse(link.response_buf, link.receive_count)) {
        GainContact(device);
        const ControllerStatus now = controller.Status();
        events.ControllerReply(now);
        // Changes are told against the last reply heard, not against the start values.
        if (controller_heard_ && now != controller_heard_status_) {
          const double at = NowMs();
          ControllerChange change;
          change.before = controller_heard_status_;
          change.after = now;
          change.switch_commanded =
              at - last_switch_command_ms_ <= ControllerChange::kCommandedWindowMs;
          change.mode_commanded =
              at - last_mode_command_ms_ <= ControllerChange::kCommandedWindowMs;
          events.ControllerChanged(change);
        }
        controller_heard_ = true;
        controller_heard_status_ = now;
      }
    } else if (device > 0) {
      const int amp = device - 1;
      const amp_enum before = amps.amp_info[amp].status;
      const bool status_reply =
          amps.ParseAmpResponse(amp, link.response_buf, link.receive_count, power_format);
      UpdateAmpPopup(amp);
      if (status_reply) {
        GainContact(device);
        ReportAmp(amp, before);
        const fault_enum fault = amps.amp_info[amp].fault_status;
        if (fault != reported_fault_[amp]) {
          if (reported_fault_[amp] != fault_none) events.FaultCleared(amp, reported_fault_[amp]);
          if (fault != fault_none) events.FaultRaised(amp, fault);
          reported_fault_[amp] = fault;
        }
        events.AmpReply(amp, amps.amp_info[amp], amps.readings[amp]);
      }
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
        const amp_enum before = amps.amp_info[device - 1].status;
        amps.InitAmpInfo(device - 1);
        UpdateAmpPopup(device - 1);
        ReportAmp(device - 1, before);
      }
      LoseContact(device, "no reply to three queries in a row");
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
