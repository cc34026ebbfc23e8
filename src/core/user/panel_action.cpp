#include "user/panel_action.h"

namespace onefortwo {

PanelAction AmpPanelAction(const amp_struct& info, bool fault_dialog_open, int control_id) {
  PanelAction action;
  switch (control_id) {
    case 101:
      action.kind = PanelActionKind::toggle_unit;
      break;
    case 103:
      action.kind = PanelActionKind::toggle_constant;
      action.constant_on = info.constant == 0 ? 1 : 0;
      break;
    case 104:
      action.kind = PanelActionKind::confirm_command;
      if (info.rf_inhibit) {
        action.prompt = "Enable RF?";
        action.command = "J";
      } else {
        action.prompt = "Inhibit RF?";
        action.command = "I";
      }
      break;
    case 105:
      if (info.status == amp_fault && !fault_dialog_open) {
        action.kind = PanelActionKind::open_fault_dialog;
      } else if (info.status == amp_hv_on || info.status == amp_auto_hv ||
                 info.status == amp_fault) {
        action.kind = PanelActionKind::confirm_command;
        action.prompt = "Turn High Voltage OFF?";
        action.command = "A";
      } else {
        action.kind = PanelActionKind::confirm_command;
        action.prompt = "Turn High Voltage ON?";
        action.command = "@";
      }
      break;
    case 106:
    case 107:
      action.kind = PanelActionKind::number_entry;
      action.entry = control_id;
      break;
    default:  // 102 is display only; other ids are not panel commands
      break;
  }
  return action;
}

}  // namespace onefortwo
