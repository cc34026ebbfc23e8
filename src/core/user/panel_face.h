#pragma once

#include <cstdint>

#include "amp/amp_info.h"

namespace onefortwo {

// The platform's grayed-text colour (COLOR_GRAYTEXT), looked up when the button is drawn.
// It is not a COLORREF: its high byte is set, which no 0x00BBGGRR value has.
constexpr uint32_t kSysColorGrayText = 0x80000011u;

// Text and colours of one owner-drawn panel button. Colours are 0x00BBGGRR; 0 selects the
// button painter's default for that role (text, face, second text colour).
struct PanelButtonFace {
  const char* text = "";
  uint32_t textcolor = 0;  // or kSysColorGrayText
  uint32_t bkcolor = 0;
  uint32_t t2color = 0;
};

// The face of owner-drawn button `control_id` of a panel showing `info`: 102 remote/local,
// 103 constant power, 104 RF, 105 operating state. False, and `face` untouched, for any
// other id (not an owner-drawn panel button) or a status outside amp_enum.
bool PanelButtonFaceFor(const amp_struct& info, int control_id, PanelButtonFace* face);

// Panel background colours.
enum color_enum { gray_color = 0, green_color = 1, red_color = 2, yellow_color = 3 };

// The COLORREF of panel background `color`; gray for gray_color and any value outside 1..3.
// Every panel is gray: nothing in the station selects another colour.
uint32_t PanelColor(int color);

}  // namespace onefortwo
