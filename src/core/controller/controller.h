#pragma once

#include "events/station_events.h"
#include "platform/station_windows.h"

namespace onefortwo {

// Smallest accepted status reply: ACK, address, "1", S1..S4, ETX, check byte.
constexpr int kControllerStatusFrameLength = 9;

// The station's copy of the redundancy controller's state.
class ControllerState {
 public:
  explicit ControllerState(StationWindows& windows) : windows_(windows) {}

  // Decodes the controller's status reply (the frame `response_buf` of `receive_count`
  // bytes) and has what changed repainted: the mode line, the local/remote line, or the
  // whole diagram for a switch, painted before the call returns. A frame whose text is
  // not a status reply ("1" and four status bytes) changes nothing. Returns whether the
  // frame was a status reply and was taken in.
  bool ParseControllerResponse(const char* response_buf, int receive_count);

  // The four facts as they stand.
  ControllerStatus Status() const {
    return {waveguide1, waveguide2, controller_local, controller_manual};
  }

  int waveguide1 = 65;        // switch 1 in position 'A' (65) or 'B' (66)
  int waveguide2 = 65;        // switch 2 likewise
  int controller_local = 1;   // 1 local control, 0 remote
  int controller_manual = 1;  // 1 manual redundancy, 0 automatic
  // 1 while the values above are confirmed: the controller has answered since the start
  // and since the port was last opened, and not missed three replies in a row since. 0
  // otherwise, and the diagram marks the switches and modes as unconfirmed. The station
  // sets it; a record on its own counts as confirmed.
  int controller_contact = 1;

  // Client rectangles of the two mode lines at the top left of the main window.
  static constexpr Rect kModeLine = {2, 0, 92, 15};
  static constexpr Rect kControlLine = {2, 12, 92, 27};

 private:
  StationWindows& windows_;
};

}  // namespace onefortwo
