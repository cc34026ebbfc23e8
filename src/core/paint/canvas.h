#pragma once

#include <cstdint>

#include "platform/station_windows.h"

namespace onefortwo {

// A colour as 0x00BBGGRR: red in the low byte, blue in the third, the top byte 0.
using colorref = uint32_t;

constexpr colorref Rgb(int r, int g, int b) {
  return static_cast<colorref>((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
}
constexpr int RedOf(colorref c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(colorref c) {
  return static_cast<int>(c >> 8 & 0xFF);
}
constexpr int BlueOf(colorref c) {
  return static_cast<int>(c >> 16 & 0xFF);
}

// A solid pen: lines, arcs and the outlines of ellipses and polygons. `width` in pixels,
// at least 1.
struct Pen {
  colorref color = 0;
  int width = 1;
  bool operator==(const Pen& o) const { return color == o.color && width == o.width; }
  bool operator!=(const Pen& o) const { return !(*this == o); }
};

// A solid brush: the inside of ellipses and polygons, and rectangle fills.
struct Brush {
  colorref color = 0;
  bool operator==(const Brush& o) const { return color == o.color; }
  bool operator!=(const Brush& o) const { return !(*this == o); }
};

struct Point {
  int x = 0;
  int y = 0;
};

struct Size {
  int cx = 0;
  int cy = 0;
};

// How text is put down: on its own background colour (opaque) or on what is there.
enum class BkMode { transparent, opaque };

// A surface the diagram and the owner-drawn buttons draw on, in integer device pixels with
// the origin at the top left and y downwards. The calls mean what the Windows desktop's
// drawing calls of the same names mean, so that the pictures look as operators know them:
// - LineTo draws from the current position to (x, y) with the selected pen, leaving out
//   the end pixel, and makes (x, y) the current position; a line of length 0 draws nothing.
// - Arc draws, with the selected pen, the part of the ellipse inscribed in the rectangle
//   (left, top)-(right, bottom) that runs counterclockwise as seen on the screen from the
//   ray through the start point to the ray through the end point, both rays from the
//   rectangle's centre; start and end on the same ray give the whole ellipse.
// - Ellipse and Polygon are filled with the selected brush and outlined with the selected
//   pen. Ellipse's figure lies inside the rectangle, left and top included, right and
//   bottom left out.
// - FillRect fills left..right-1 by top..bottom-1 with a brush, which it does not select.
// - TextOutA puts the text's top left corner at (x, y) in the canvas's own font (the
//   surface's default: no font is ever chosen by the diagram), in the text colour, on the
//   background colour when the background mode is opaque.
// The text calls carry their 8-bit character names, which unlike the plain ones are not
// macros on Windows. The Select and Set calls return what was selected or set before, to
// be put back later. A new canvas holds a black pen of width 1, a white brush, black text,
// a white background colour and the opaque background mode.
class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual Pen SelectObject(const Pen& pen) = 0;
  virtual Brush SelectObject(const Brush& brush) = 0;
  virtual colorref SetTextColor(colorref color) = 0;
  virtual colorref SetBkColor(colorref color) = 0;
  virtual BkMode SetBkMode(BkMode mode) = 0;

  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void Arc(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) = 0;
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  virtual void Polygon(const Point* points, int count) = 0;
  virtual void FillRect(const Rect& rect, const Brush& brush) = 0;

  // `len` characters of `text` (which need not be NUL-terminated); `len` <= 0 draws nothing.
  virtual void TextOutA(int x, int y, const char* text, int len) = 0;
  // The width and the height of `len` characters of `text` in the canvas's font; the
  // height is the font's line height whatever the characters.
  virtual Size GetTextExtentPoint32A(const char* text, int len) = 0;
};

}  // namespace onefortwo
