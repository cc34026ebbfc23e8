#pragma once

#include "platform/prompter.h"
#include "platform/station_windows.h"
#include "shell/station.h"
#include "user/panel_windows.h"

namespace onefortwo {

// The operator's commands from the amplifier panels and the diagram. Each runs to its end
// on the user-interface thread; a Yes/No question is modal and the poll cycle goes on
// under it, so what was chosen at the press is what is sent after the answer. Commands go
// out on the line at once; their effect shows with the next status reply.
class OperatorCommands {
 public:
  // `windows` is the station's window requests (the same object the station was made
  // with); `panels` the panels' and their dialogs'.
  OperatorCommands(Station& station, Prompter& prompter, StationWindows& windows,
                   PanelWindows& panels);

  // A press of control `control_id` on panel `amp` (0..2): 101 cycles the power unit,
  // 103 toggles constant power, 104 switches RF and 105 high voltage after "Confirm"
  // (105 opens the fault dialog instead while the amplifier is faulted and its dialog is
  // closed), 106 and 107 open the number entry. 102, other ids and other amps do nothing.
  void AmpPanelCommand(int amp, int control_id);

  // Cycles the power unit watts -> dBm -> dBW -> watts (any other value to watts) and puts
  // the new unit name on every panel, "----" in every panel's forward and reverse power
  // places until the next reply brings them in the new unit, and has every amplifier's
  // picture repainted.
  void TogglePowerFormat();

  // A left click at client pixel (x, y) of the main window, hit-tested against the layout
  // of the last paint: an amplifier raises its panel (and runs its fault dialog modal when
  // it is faulted and the dialog is closed); a switch disc throws its waveguide switch and
  // the mode text toggles automatic and manual redundancy, each after "Confirm". Any x
  // and y are safe.
  void MainWindowMouseClick(int x, int y);

 private:
  bool Confirm(const char* prompt) { return prompter_.AskYesNo(prompt, "Confirm"); }
  // Asks, then throws waveguide switch `number` (1 or 2) to its other position.
  void ToggleWaveguideSwitch(int number);
  // After a command: when it could not go out because the port is closed, says so.
  void Sent(bool sent);

  Station& station_;
  Prompter& prompter_;
  StationWindows& windows_;
  PanelWindows& panels_;
};

}  // namespace onefortwo
