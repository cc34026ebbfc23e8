#include "shell/station.h"

#include <cmath>
#include <cstring>

#include "amp/set_point.h"

namespace onefortwo {

Station::Station(SerialPortOpener& opener, Clock& clock, StationWindows& windows)
    : link(opener, clock, windows),
      amps(windows),
      controller(windows),
      windows_(windows),
      clock_(clock) {
  link.set_events(&events);
  // Nothing has answered yet: the controller's start values are not its state.
  controller.controller_contact = 0;
}

double Station::NowMs() {
  int64_t frequency = 0;
  if (!clock_.QueryPerformanceFrequency(&frequency) || frequency <= 0) return std::nan("");
  return CounterMs(clock_.QueryPerformanceCounter(), frequency);
}

bool Station::Command(int device, const char* text, const std::string& question) {
  if (device < 0 || device >= kDeviceCount || text == nullptr) return false;
  const bool sent = link.SendCommand(base_address + device, text, 0);
  if (device == kControllerDevice) {
    if (text[0] == 'B' && (text[1] == '1' || text[1] == '2')) last_switch_command_ms_ = NowMs();
    if (text[0] == '6' && (text[1] == '0' || text[1] == '1')) last_mode_command_ms_ = NowMs();
  }
  CommandEvent command;
  command.device = device;
  command.text = text;
  command.question = question;
  command.sent = sent;
  events.CommandSent(command);
  return sent;
}

bool Station::SendToAmp(int amp, const char* text, const std::string& question) {
  if (amp < 0 || amp >= kAmpCount) return false;
  return Command(amp + 1, text, question);
}

bool Station::SetPower(int amp, double pwr, const std::string& question) {
  const std::string text = SetPowerText(power_format, pwr);
  return !text.empty() && SendToAmp(amp, text.c_str(), question);
}

bool Station::SetAttenuation(int amp, double db, const std::string& question) {
  const std::string text = SetAttenuationText(db);
  return !text.empty() && SendToAmp(amp, text.c_str(), question);
}

bool Station::SetConstant(int amp, int on, double pwr, const std::string& question) {
  if (amp < 0 || amp >= kAmpCount) return false;
  // The level "as shown" is the forward power in the unit chosen now: right after a change
  // of unit, power_out still holds the old unit's text until the next reply.
  const std::string text =
      SetConstantText(power_format, on, pwr, amps.ForwardPowerText(amp, power_format).c_str());
  return !text.empty() && SendToAmp(amp, text.c_str(), question);
}

void Station::UpdateAmpPopup(int amp) {
  if (amp < 0 || amp >= kAmpCount) return;
  const amp_struct& now = amps.amp_info[amp];
  amp_struct& shown = amp_prev[amp];
  if (std::memcmp(&shown, &now, sizeof now) == 0) return;

  bool update_amp_display = false;
  if (shown.status != now.status) {
    windows_.RedrawPanelButton(amp, kStateButton);
    update_amp_display = true;
  }
  if (shown.rf_inhibit != now.rf_inhibit) windows_.RedrawPanelButton(amp, kRfButton);
  if (shown.remote != now.remote) windows_.RedrawPanelButton(amp, kRemoteButton);
  if (shown.constant != now.constant) windows_.RedrawPanelButton(amp, kConstantButton);

  const auto text_changed = [](const char* a, const char* b) {
    return std::strncmp(a, b, kReadingSize) != 0;
  };
  if (text_changed(shown.power_out, now.power_out)) {
    windows_.SetPanelText(amp, kPowerOutText, now.power_out);
    update_amp_display = true;
  }
  if (text_changed(shown.power_back, now.power_back))
    windows_.SetPanelText(amp, kPowerBackText, now.power_back);
  if (text_changed(shown.attenuation, now.attenuation))
    windows_.SetPanelText(amp, kAttenuationText, now.attenuation);
  if (text_changed(shown.voltage, now.voltage))
    windows_.SetPanelText(amp, kVoltageText, now.voltage);
  if (text_changed(shown.temp, now.temp)) windows_.SetPanelText(amp, kTempText, now.temp);
  if (text_changed(shown.current, now.current))
    windows_.SetPanelText(amp, kCurrentText, now.current);

  if (update_amp_display) UpdateAmpDisplay(amp);
  shown = now;
}

void Station::UpdateAmpDisplay(int amp) {
  int cx = 0;
  int cy = 0;
  switch (amp) {
    case 0:
      cx = layout.hxa, cy = layout.hya;
      break;
    case 1:
      cx = layout.hxb, cy = layout.hyb;
      break;
    case 2:
      cx = layout.hxc, cy = layout.hyc;
      break;
    default:
      return;
  }
  const float s = layout.scale_factor;
  Rect r;
  r.left = static_cast<int>(cx - 16 * s);
  r.top = static_cast<int>(cy - 16 * s);
  r.right = static_cast<int>(r.left + 32 * s);
  r.bottom = static_cast<int>(r.top + 32 * s);
  windows_.InvalidateMainWindow(&r, true);
}

}  // namespace onefortwo
