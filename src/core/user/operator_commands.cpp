#include "user/operator_commands.h"

#include <cstring>

#include "user/diagram_hit.h"
#include "user/panel_action.h"

namespace onefortwo {

OperatorCommands::OperatorCommands(Station& station, Prompter& prompter, StationWindows& windows,
                                   PanelWindows& panels)
    : station_(station), prompter_(prompter), windows_(windows), panels_(panels) {}

void OperatorCommands::AmpPanelCommand(int amp, int control_id) {
  if (amp < 0 || amp >= kAmpCount) return;
  const PanelAction action =
      AmpPanelAction(station_.amps.amp_info[amp], windows_.IsFaultDialogOpen(amp), control_id);
  switch (action.kind) {
    case PanelActionKind::none:
      break;
    case PanelActionKind::toggle_unit:
      TogglePowerFormat();
      break;
    case PanelActionKind::toggle_constant:
      Sent(station_.SetConstant(amp, action.constant_on, -1.0,
                                action.constant_on ? "Constant Power button: on at the power shown"
                                                   : "Constant Power button: off"));
      break;
    case PanelActionKind::open_fault_dialog:
      windows_.OpenFaultDialog(amp);
      break;
    case PanelActionKind::number_entry:
      panels_.OpenNumberEntry(amp, action.entry);
      break;
    case PanelActionKind::confirm_command:
      if (Confirm(action.prompt)) Sent(station_.SendToAmp(amp, action.command, action.prompt));
      break;
  }
}

void OperatorCommands::TogglePowerFormat() {
  power_enum& format = station_.power_format;
  switch (format) {
    case power_watts:
      format = power_dbm;
      break;
    case power_dbm:
      format = power_dbw;
      break;
    default:
      format = power_watts;
      break;
  }
  static const char kNoValue[] = "----";
  for (int amp = 0; amp < kAmpCount; ++amp) {
    panels_.ShowPowerUnit(amp, power_unit_name[format]);
    windows_.SetPanelText(amp, kPowerOutText, kNoValue);
    windows_.SetPanelText(amp, kPowerBackText, kNoValue);
    // The panel now shows "----" in both places: recorded as shown, so that the next
    // refresh writes the reading even when its text reads the same in the new unit (no
    // power is "0" in watts and in dBm alike) instead of leaving "----" standing.
    amp_struct& shown = station_.amp_prev[amp];
    std::strncpy(shown.power_out, kNoValue, kReadingSize);
    std::strncpy(shown.power_back, kNoValue, kReadingSize);
    station_.UpdateAmpDisplay(amp);
  }
  station_.events.PowerUnitChanged(format);
}

void OperatorCommands::MainWindowMouseClick(int x, int y) {
  const DiagramSpot spot = DiagramHitTest(station_.layout, x, y);
  switch (spot) {
    case DiagramSpot::amp_a:
    case DiagramSpot::amp_b:
    case DiagramSpot::amp_c: {
      const int amp = spot == DiagramSpot::amp_a ? 0 : spot == DiagramSpot::amp_b ? 1 : 2;
      panels_.ShowPanel(amp);
      if (station_.amps.amp_info[amp].status == amp_fault && !windows_.IsFaultDialogOpen(amp))
        panels_.RunFaultDialog(amp);
      break;
    }
    case DiagramSpot::disc1:
    case DiagramSpot::disc2:
      ToggleWaveguideSwitch(1);
      break;
    case DiagramSpot::disc3:
    case DiagramSpot::disc4:
      ToggleWaveguideSwitch(2);
      break;
    case DiagramSpot::mode_text:
      // The question names the mode to go to, so the answer sends that mode's command.
      if (station_.controller.controller_manual != 0) {
        static const char kAutomatic[] = "Activate Automatic Mode?";
        if (Confirm(kAutomatic)) Sent(station_.Command(kControllerDevice, "61", kAutomatic));
      } else {
        static const char kManual[] = "Activate Manual Mode?";
        if (Confirm(kManual)) Sent(station_.Command(kControllerDevice, "60", kManual));
      }
      break;
    case DiagramSpot::none:
      break;
  }
}

void OperatorCommands::ToggleWaveguideSwitch(int number) {
  static const struct {
    const char* prompt;
    int ControllerState::*position;
    const char* to_b;  // sent while the switch stands at A (65)
    const char* to_a;  // sent otherwise
  } kSwitches[] = {
      {"Toggle Waveguide Switch 1?", &ControllerState::waveguide1, "B1B", "B1A"},
      {"Toggle Waveguide Switch 2?", &ControllerState::waveguide2, "B2B", "B2A"},
  };
  const auto& s = kSwitches[number == 1 ? 0 : 1];
  if (!Confirm(s.prompt)) return;
  // The switch is thrown from where it stands when the operator says Yes.
  const bool at_a = station_.controller.*s.position == 65;
  Sent(station_.Command(kControllerDevice, at_a ? s.to_b : s.to_a, s.prompt));
}

void OperatorCommands::Sent(bool sent) {
  // A confirmed command that did not go out must not pass for one that did.
  if (!sent && !station_.link.PortOpen())
    prompter_.Tell("Nothing was sent: the port is not open.", "Problem");
}

}  // namespace onefortwo
