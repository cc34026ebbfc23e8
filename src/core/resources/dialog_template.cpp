#include "resources/dialog_template.h"

#include <climits>

namespace onefortwo {
namespace {

using K = ControlKind;

const DialogControl kAmplifierControls[] = {
    {-1, K::static_etched_frame, "Frame2", 6, 29, 133, 57, false, false},
    {-1, K::static_left, "Forward Power", 13, 36, 50, 8, false, false},
    {-1, K::static_left, "Reverse Power", 13, 52, 50, 8, false, false},
    {-1, K::static_left, "Attenuation", 13, 68, 50, 8, false, false},
    {108, K::static_center_sunken, "----", 71, 52, 19, 9, false, false},
    {101, K::push_button, "Watts", 98, 36, 30, 9, false, false},
    {112, K::static_center, "Watts", 98, 52, 30, 8, false, false},
    {-1, K::static_center, "dB", 98, 68, 30, 8, false, false},
    {-1, K::static_etched_frame, "Frame3", 149, 29, 118, 57, false, false},
    {-1, K::static_left, "Helix Current", 159, 52, 50, 8, false, false},
    {-1, K::static_left, "Helix Voltage", 159, 68, 50, 8, false, false},
    {-1, K::static_left, "TWT Temp", 159, 36, 50, 8, false, false},
    {-1, K::static_left, "C", 242, 36, 19, 8, false, false},
    {109, K::static_center_sunken, "---", 213, 36, 21, 9, false, false},
    {111, K::static_center_sunken, "----", 213, 52, 21, 9, false, false},
    {110, K::static_center_sunken, "----", 213, 68, 21, 9, false, false},
    {-1, K::static_left, "mA", 242, 52, 19, 8, false, false},
    {-1, K::static_left, "kV", 242, 68, 19, 8, false, false},
    {105, K::owner_drawn_button, "High Voltage", 6, 6, 60, 14, false, false},
    {104, K::owner_drawn_button, "RF Inhibited", 73, 6, 60, 14, false, false},
    {103, K::owner_drawn_button, "Constant Power", 140, 6, 60, 14, false, false},
    {102, K::owner_drawn_button, "Remote Mode", 207, 6, 60, 14, true, false},
    {106, K::flat_push_button, "----", 70, 35, 21, 11, false, false},
    {107, K::flat_push_button, "----", 70, 67, 21, 11, false, false},
};

const DialogControl kFaultControls[] = {
    {1, K::push_button, "Close", 140, 43, 50, 14, false, false},
    {116, K::push_button, "Fault Reset", 8, 43, 50, 14, false, false},
    {115, K::push_button, "Acknowledge", 74, 43, 50, 14, false, false},
    {117, K::static_center_sunken, "Summary Fault", 8, 11, 182, 12, false, false},
};

const DialogControl kGetNumberControls[] = {
    {113, K::edit, "0000", 95, 10, 23, 12, false, false},
    {1, K::default_push_button, "Ok", 8, 32, 40, 14, false, false},
    {114, K::static_left, "Enter Desired Output Power:", 8, 12, 87, 8, false, false},
    {2, K::push_button, "Cancel", 104, 32, 40, 14, false, false},
    {112, K::static_left, "(Watts)", 122, 12, 23, 8, false, false},
};

// The height of a combo box is that of its open list.
const DialogControl kSerialControls[] = {
    {101, K::combo_box, "", 52, 10, 50, 76, false, true},
    {102, K::combo_box, "", 52, 34, 50, 110, false, false},
    {103, K::combo_box, "", 52, 62, 50, 36, false, true},
    {104, K::combo_box, "", 52, 90, 50, 38, false, true},
    {105, K::combo_box, "", 52, 118, 50, 52, false, true},
    {1, K::push_button, "OK", 8, 150, 50, 14, false, false},
    {2, K::push_button, "Cancel", 72, 150, 50, 14, false, false},
    {-1, K::static_left, "Com Port", 10, 12, 40, 8, false, false},
    {-1, K::static_left, "Baud Rate", 10, 36, 36, 9, false, false},
    {-1, K::static_left, "Data Bits", 10, 64, 40, 8, false, false},
    {-1, K::static_left, "Stop Bits", 10, 92, 42, 8, false, false},
    {-1, K::static_left, "Parity", 10, 120, 38, 8, false, false},
};

template <size_t N>
constexpr size_t CountOf(const DialogControl (&)[N]) {
  return N;
}

// a * b / c rounded half away from zero, in 64 bits and cut to the int range; c > 0.
int MulDiv(long long a, int b, int c) {
  const long long product = a * b;
  const long long half = c / 2;
  long long result = product >= 0 ? (product + half) / c : -((-product + half) / c);
  if (result > INT_MAX) result = INT_MAX;
  if (result < INT_MIN) result = INT_MIN;
  return static_cast<int>(result);
}

}  // namespace

const DialogTemplate kAmplifierDialog = {
    "AmplifierDialog",          "Amplifier A", "MS Sans Serif", 8, 275, 92, kAmplifierControls,
    CountOf(kAmplifierControls)};
const DialogTemplate kFaultDialogTemplate = {
    "FaultDialog",  "Amplifer Fault!",      "MS Sans Serif", 8, 199, 65,
    kFaultControls, CountOf(kFaultControls)};
const DialogTemplate kGetNumberDialog = {
    "GetNumber",        "Enter a Number",           "MS Sans Serif", 10, 149, 50,
    kGetNumberControls, CountOf(kGetNumberControls)};
const DialogTemplate kSerialConfigurationDialog = {
    "SerialConfiguration", "Serial Port Configuration", "MS Sans Serif", 10, 133, 175,
    kSerialControls,       CountOf(kSerialControls)};

DialogBaseUnits DialogBaseUnitsFor(int alphabet_width, int font_height) {
  DialogBaseUnits base;
  base.x = alphabet_width > 0 ? (alphabet_width / 26 + 1) / 2 : 1;
  base.y = font_height > 0 ? font_height : 1;
  if (base.x < 1) base.x = 1;
  return base;
}

Rect MapDialogRect(int x, int y, int width, int height, DialogBaseUnits base) {
  Rect r;
  r.left = MulDiv(x, base.x, 4);
  r.top = MulDiv(y, base.y, 8);
  r.right = MulDiv(static_cast<long long>(x) + width, base.x, 4);
  r.bottom = MulDiv(static_cast<long long>(y) + height, base.y, 8);
  return r;
}

}  // namespace onefortwo
