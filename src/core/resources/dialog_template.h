#pragma once

#include <cstddef>

#include "platform/station_windows.h"

namespace onefortwo {

// Kinds of control in the station's dialog templates.
enum class ControlKind {
  static_left,           // text, left-aligned
  static_center,         // text, centred
  static_center_sunken,  // a value: centred text in a sunken box
  static_etched_frame,   // an etched frame around a group; its text is not shown
  push_button,
  default_push_button,  // the button Enter presses
  flat_push_button,     // a value the operator clicks to change: flat, text centred
  owner_drawn_button,   // drawn by the station itself (DrawPushButton)
  edit,                 // one-line entry field, sunken, left-aligned
  combo_box,            // drop-down list with an edit field; free text allowed
};

// One control of a template, at its place in dialog units.
struct DialogControl {
  int id;  // -1: no id (labels and frames)
  ControlKind kind;
  const char* text;
  int x, y, width, height;  // dialog units
  bool disabled;            // shown but not usable
  bool sorted;              // combo box: the list is sorted
};

// A dialog template: the window's title, font and size, and its controls in tab order.
struct DialogTemplate {
  const char* name;     // "AmplifierDialog", "FaultDialog", "GetNumber", "SerialConfiguration"
  const char* caption;  // replaced when the window opens, except for SerialConfiguration
  const char* font;     // "MS Sans Serif": the platform stands its own dialog font in
  int point_size;
  int width, height;  // client area, dialog units
  const DialogControl* controls;
  size_t control_count;
};

extern const DialogTemplate kAmplifierDialog;
extern const DialogTemplate kFaultDialogTemplate;
extern const DialogTemplate kGetNumberDialog;
extern const DialogTemplate kSerialConfigurationDialog;

// The dialog base units of a font as the platform computes them: `alphabet_width` is the
// width in pixels of "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz" in that font,
// `font_height` its line height in pixels. Horizontal: the average character width,
// (alphabet_width / 26 + 1) / 2; vertical: the height. Both at least 1.
struct DialogBaseUnits {
  int x;
  int y;
};
DialogBaseUnits DialogBaseUnitsFor(int alphabet_width, int font_height);

// A rectangle of dialog units in pixels (left, top, right, bottom): x units are a quarter
// of the horizontal base unit, y units an eighth of the vertical one, each product rounded
// to the nearest pixel, halves away from zero.
Rect MapDialogRect(int x, int y, int width, int height, DialogBaseUnits base);

}  // namespace onefortwo
