#pragma once

#include "amp/amp_info.h"
#include "controller/controller.h"
#include "events/station_events.h"
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

// A lost port is opened anew this often (ms) until it opens.
constexpr double kReopenIntervalMs = 2000;

// The whole station: the serial line, the amplifier and controller records, the poll
// cycle and the layout of the last paint. Every test starts from a fresh one.
class Station {
 public:
  Station(SerialPortOpener& opener, Clock& clock, StationWindows& windows);

  // What happened, for the features that listen (journal, SNMP agent, status bar). Added
  // before the start; told on the user-interface thread.
  EventHub events;

  // Runs on every tick before the poll step. A port whose device has failed for good
  // (SerialDevice::Failure) is closed and told as lost, and opened anew every
  // kReopenIntervalMs until it opens; polling then resumes where the rotation was. A port
  // that opens still connecting (a terminal server) is back only once it has connected:
  // one that keeps refusing is retried without telling anything new. While
  // the port is closed, and when it has been opened anew, nothing stands on the panels or
  // in the diagram as live: the amplifiers show "No Contact" and the controller's switches
  // and modes are marked unconfirmed until each device answers.
  void SuperviseLink();

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
  // `question` is what the operator confirmed, for the listeners.
  bool SetPower(int amp, double pwr, const std::string& question = std::string());
  bool SetAttenuation(int amp, double db, const std::string& question = std::string());
  // `on` 0 switches constant-power mode off; otherwise on at `pwr`, or, when `pwr` is not at
  // least 0, at the amplifier's present forward power in power_format (also right after a
  // change of unit, before the next reply has brought power_out into the new unit).
  bool SetConstant(int amp, int on, double pwr, const std::string& question = std::string());

  // An operator's command: sends `text` to device `device` (0 controller, 1..3 amplifiers
  // A..C) at once and tells CommandSent with `question`, what the operator confirmed.
  // Returns whether a frame reached an open port.
  bool Command(int device, const char* text, const std::string& question);
  // Sends `text` to amplifier `amp` (0..2) as Command does.
  bool SendToAmp(int amp, const char* text, const std::string& question = std::string());

  // Whether each device (0 controller, 1..3 amplifiers) is in contact: it has answered a
  // status query since the port opened and not missed three in a row since.
  bool contact[kDeviceCount] = {};

  // The windows the station makes its requests of.
  StationWindows& windows() { return windows_; }

  SerialLink link;
  AmpModel amps;
  ControllerState controller;
  power_enum power_format = power_watts;
  DiagramLayout layout;
  amp_struct amp_prev[kAmpCount] = {};  // what the panels show

  int current_device = 0;       // device queried last: 0 controller, 1..3 amplifiers
  int error_count[4] = {};      // consecutive misses by device, never resting above 2

 private:
  // The station's steady time in ms from the clock's counter; NaN without a counter.
  double NowMs();
  // Tells the listeners what a status reply of amplifier `amp` changed, from `before`.
  void ReportAmp(int amp, amp_enum before);
  // A good status reply of `device`: in contact again (and, for the controller, the
  // diagram's picture confirmed).
  void GainContact(int device);
  // `device` is lost: out of contact (for the controller, the picture unconfirmed).
  void LoseContact(int device, const std::string& reason);
  // Nothing may look live: every amplifier back to no contact, the controller
  // unconfirmed, each device in contact told as lost for `reason`.
  void ShowNothingLive(const std::string& reason);

  StationWindows& windows_;
  Clock& clock_;
  // The summary fault each amplifier's last status reply carried, for FaultRaised and
  // FaultCleared (losing contact does not clear a fault).
  fault_enum reported_fault_[kAmpCount] = {fault_none, fault_none, fault_none};
  // The controller's last status reply, for ControllerChanged; none before the first.
  bool controller_heard_ = false;
  ControllerStatus controller_heard_status_ = {};
  double last_switch_command_ms_ = -1e300;
  double last_mode_command_ms_ = -1e300;
  // The open port the pictures were last checked against (SerialLink::open_count), and
  // whether they have been reset since the port closed.
  int seen_open_count_ = 0;
  bool shown_closed_ = false;
  double reopen_at_ms_ = 0;
};

}  // namespace onefortwo
