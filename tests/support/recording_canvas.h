#pragma once

#include <string>
#include <utility>
#include <vector>

#include "paint/canvas.h"

namespace onefortwo {

// A canvas that draws nothing and writes down every drawing call with its exact
// arguments and the pen, brush or text colour it used, one line each:
//   "line 10,18 50,18 black_pen"                  (from the current position)
//   "arc 0,0,64,64 from 29,0 to 0,29 white_pen"
//   "ellipse 0,0,64,64 black_pen2 fill_brush"
//   "polygon 1,2 3,4 5,6 black_pen red_brush"
//   "fill 0,0,79,23 0x00C0C0C0"
//   "text 3,1 \"Manual\" 0x00000000 transparent"
// Pens and brushes show by their diagram names, or by names given with Name(), or else
// as "pen 0x00BBGGRR/width" and "0x00BBGGRR". Text is measured as `char_width` pixels a
// character by `line_height`.
class RecordingCanvas : public Canvas {
 public:
  RecordingCanvas();

  // Shows `pen` (or `brush`) as `name` from now on, over any earlier name of that value.
  void Name(const Pen& pen, const std::string& name);
  void Name(const Brush& brush, const std::string& name);

  // The calls recorded since the last Take, and forgets them.
  std::vector<std::string> Take();

  Pen SelectObject(const Pen& pen) override;
  Brush SelectObject(const Brush& brush) override;
  colorref SetTextColor(colorref color) override;
  colorref SetBkColor(colorref color) override;
  BkMode SetBkMode(BkMode mode) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Arc(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Polygon(const Point* points, int count) override;
  void FillRect(const Rect& rect, const Brush& brush) override;
  void TextOutA(int x, int y, const char* text, int len) override;
  Size GetTextExtentPoint32A(const char* text, int len) override;

  std::string PenName(const Pen& pen) const;
  std::string BrushName(const Brush& brush) const;

  std::vector<std::string> log;
  int char_width = 7;
  int line_height = 14;

  // What is selected and set now.
  Pen pen{0, 1};
  Brush brush{Rgb(255, 255, 255)};
  colorref text_color = 0;
  colorref bk_color = Rgb(255, 255, 255);
  BkMode bk_mode = BkMode::opaque;
  Point position;

 private:
  std::vector<std::pair<Pen, std::string>> pen_names_;
  std::vector<std::pair<Brush, std::string>> brush_names_;
};

// "0x00BBGGRR"
std::string ColorText(colorref color);

}  // namespace onefortwo
