#pragma once

#include "amp/amp_info.h"
#include "controller/controller.h"
#include "paint/diagram_layout.h"
#include "platform/clock.h"
#include "platform/serial_device.h"
#include "platform/station_windows.h"
#include "round/round.h"
#include "wserial/serial_link.h"

namespace onefortwo {

// The two status queries of the rotation.
constexpr const char* kControllerQuery = "1";
constexpr const char* kAmpQuery = "?13AIPQTV";
// A device that has not answered within this many ms of the last send has missed.
constexpr long kReplyTimeoutMs = 200;
// At most this many frames are taken in on one tick.
constexpr int kMaxFramesPerTick = 100;
// Panel controls the refresh writes to.
enum PanelControl {
  kPowerUnitButton = 101,
  kRemoteButton = 102,
  kConstantButton = 103,
  kRfButton = 104,
  kStateButton = 105,
  kPowerOutText = 106,
  kAttenuationText = 107,
  kPowerBackText = 108,
  kTempText = 109,
  kVoltageText = 110,
  kCurrentText = 111,
};

// The whole station: the serial line, the amplifier and controller records, the poll
// cycle and the layout of the last paint. Every test starts from a fresh one.
class Station {
 public:
  Station(SerialPortOpener& opener, Clock& clock, StationWindows& windows);

  // One step of the poll cycle; the main window's timer calls it with 0 every 56 ms
  // while the port is open. Takes in every waiting reply frame (at most 100), routes each
  // by its address, counts a miss when 200 ms have passed without one, and sends the next
  // status query of the rotation A, B, C, controller.
  void Poll(int iteration);

  // Shows on panel `amp` what changed in amp_info[amp] since the last call, and has the
  // amplifier's spot in the main window repainted when its state or forward power changed.
  void UpdateAmpPopup(int amp);
  // Has amplifier `amp`'s picture in the main window repainted.
  void UpdateAmpDisplay(int amp);

  // Set-point commands for amplifier `amp` (0..2), in the unit of power_format. Each sends
  // one command at once; false when the value cannot be commanded and nothing was sent.
  bool SetPower(int amp, double pwr);
  bool SetAttenuation(int amp, double db);
  // `on` 0 switches constant-power mode off; otherwise on at `pwr`, or, when `pwr` is not at
  // least 0, at the amplifier's present forward power in power_format (also right after a
  // change of unit, before the next reply has brought power_out into the new unit).
  bool SetConstant(int amp, int on, double pwr);

  // Sends `text` to amplifier `amp` (0..2).
  bool SendToAmp(int amp, const char* text);

  SerialLink link;
  AmpModel amps;
  ControllerState controller;
  power_enum power_format = power_watts;
  DiagramLayout layout;
  amp_struct amp_prev[kAmpCount] = {};  // what the panels show

  int current_device = 0;       // device queried last: 0 controller, 1..3 amplifiers
  int error_count[4] = {};      // consecutive misses by device, never resting above 2

 private:
  StationWindows& windows_;
};

}  // namespace onefortwo
