#pragma once

#include "amp/amp_info.h"

namespace onefortwo {

// What a press of a panel control leads to.
enum class PanelActionKind {
  none,               // nothing: the remote/local button (102, disabled) and unknown ids
  toggle_unit,        // the unit button (101): cycle the power unit
  toggle_constant,    // the constant-power button (103): SetConstant(amp, constant_on, -1)
  open_fault_dialog,  // the state button (105) of a faulted amplifier with no fault dialog
  number_entry,       // a value button (106, 107): the number entry dialog for `entry`
  confirm_command,    // ask `prompt` (caption "Confirm"); on Yes send `command` to the amp
};

struct PanelAction {
  PanelActionKind kind = PanelActionKind::none;
  const char* prompt = nullptr;   // confirm_command
  const char* command = nullptr;  // confirm_command
  int constant_on = 0;            // toggle_constant: 1 switches on, 0 off
  int entry = 0;                  // number_entry: 106 output power, 107 attenuation
};

// The action of a press of control `control_id` on the panel of an amplifier whose record
// is `info` now and whose fault dialog is open or not. Everything is decided from the
// state at the press: the command chosen is the one sent after the answer, whatever a poll
// step changes while the question is open.
PanelAction AmpPanelAction(const amp_struct& info, bool fault_dialog_open, int control_id);

}  // namespace onefortwo
