#include "user/panel_face.h"

namespace onefortwo {
namespace {

// Faces of the operating-state button (105), indexed by amp_enum.
const PanelButtonFace kStateFaces[] = {
    {"No Contact", 0, 0, 0},
    {"Power Off", 0, 0, 0},
    {"Faulted", 0, 0x008387FF, 0x005F5FC0},
    {"Alarm", 0, 0x005FD7D7, 0x005FABAB},
    {"Time Delay", 0, 0x00FFC0D7, 0x00C0AFAF},
    {"Standby", 0, 0x00FFCF87, 0x00AFA787},
    {"Auto HV", 0, 0x005FD7D7, 0x005FABAB},
    {"High Voltage", 0, 0x0067DF67, 0x0067AB67},
};

}  // namespace

bool PanelButtonFaceFor(const amp_struct& info, int control_id, PanelButtonFace* face) {
  switch (control_id) {
    case 102:
      *face = info.remote ? PanelButtonFace{"Remote Mode", 0, 0, 0}
                          : PanelButtonFace{"Local Mode", kSysColorGrayText, 0, 0};
      return true;
    case 103:
      *face = info.constant ? PanelButtonFace{"Constant Power", 0, 0x0067DF67, 0x0067AB67}
                            : PanelButtonFace{"Const Pwr OFF", kSysColorGrayText, 0, 0};
      return true;
    case 104:
      *face = info.rf_inhibit ? PanelButtonFace{"RF Inhibited", 0, 0x005FD7D7, 0x005FABAB}
                              : PanelButtonFace{"RF Enabled", 0, 0, 0};
      return true;
    case 105:
      if (info.status < amp_no_contact || info.status > amp_hv_on) return false;
      *face = kStateFaces[info.status];
      return true;
    default:
      return false;
  }
}

uint32_t PanelColor(int color) {
  switch (color) {
    case green_color:
      return 0x007FDF7F;
    case red_color:
      return 0x007F7FDF;
    case yellow_color:
      return 0x007FDFDF;
    default:
      return 0x00AFAFAF;
  }
}

}  // namespace onefortwo
