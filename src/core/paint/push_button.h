#pragma once

#include "paint/canvas.h"

namespace onefortwo {

// The desktop's colours for push buttons, taken from the platform when a button is drawn.
// The defaults are the classic gray scheme, for tests and for platforms without one.
struct SystemColors {
  colorref btn_face = Rgb(192, 192, 192);
  colorref btn_highlight = Rgb(255, 255, 255);  // lit edges and the caption's embossing
  colorref btn_shadow = Rgb(128, 128, 128);     // inner shadow
  colorref dark_shadow = Rgb(64, 64, 64);       // outer dark edge
  colorref btn_text = Rgb(0, 0, 0);
  colorref gray_text = Rgb(128, 128, 128);  // disabled text; the panels' "off" captions
};

// Draws a three-dimensional push button with a centred, embossed caption.
// - `r`: the button rectangle, which must start at (0, 0) because the caption is placed
//   relative to the canvas origin. Its right and bottom are decremented by one in the
//   caller's rectangle, and the button is drawn inside the decremented rectangle.
// - `text`: the NUL-terminated caption.
// - `up`: non-zero for a raised button (lit top-left edges, dark bottom-right edge),
//   zero for a pressed one (dark frame, inner shadow along the top and left, embossing two
//   pixels down and right instead of one).
// - `textcolor`, `bkcolor`, `t2color`: caption, face and embossing colours; 0 selects the
//   system's button text, face and highlight colour, so pure black cannot be asked for.
// The canvas's pen, text colour, background colour and background mode are as they were
// when it returns.
void DrawPushButton(Canvas& hdc, Rect* r, const char* text, int up, colorref textcolor,
                    colorref bkcolor, colorref t2color, const SystemColors& system);

}  // namespace onefortwo
