#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QPen>

#include "paint/canvas.h"
#include "paint/push_button.h"

namespace onefortwo {

QColor ToQColor(colorref color);
colorref ToColorref(const QColor& color);

// The font the diagram's labels and mode text are written in, standing for the surface's
// default font: DejaVu Sans (Debian's fonts-dejavu-core, always there with fontconfig),
// bold, 12 pixels (14 pixels a line), without antialiasing and fully hinted; the desktop's
// sans-serif where DejaVu is missing.
QFont DiagramFont();

// The button colours of `palette` for DrawPushButton: face Button, lit edge Light,
// inner shadow Dark, outer edge Shadow, text ButtonText, gray text the disabled ButtonText.
SystemColors SystemColorsFromPalette(const QPalette& palette);

// The core's Canvas drawn with a QPainter, aliased, in device pixels, keeping the
// desktop's conventions the pictures are built on: a line leaves out its end pixel, an
// ellipse's figure leaves out the right column and bottom row of its rectangle, an arc
// runs counterclockwise between the rays through its start and end points, and text is
// placed by its top left corner. Wide lines are centred on their line and round-ended, as
// the desktop's wide pens are. The painter must be active
// for as long as the canvas is used; the canvas sets the painter's pen, brush, font and
// render hints and leaves them so.
class QPainterCanvas : public Canvas {
 public:
  explicit QPainterCanvas(QPainter& painter, const QFont& font = DiagramFont());

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

 private:
  // What the painter's pen is: the selected pen at its width (curves and outlines), the
  // selected pen one pixel wide (lines), or the text colour.
  enum class PainterPen { none, outline, thin, text };
  // Puts `which` on the painter if it is not there yet.
  void Use(PainterPen which);

  QPainter& painter_;
  QFontMetrics metrics_;
  Pen pen_{0, 1};
  Brush brush_{Rgb(255, 255, 255)};
  colorref text_color_ = 0;
  colorref bk_color_ = Rgb(255, 255, 255);
  BkMode bk_mode_ = BkMode::opaque;
  QPoint position_;
  QPen line_pen_;
  QPen thin_pen_;
  QPen text_pen_;
  PainterPen painter_pen_ = PainterPen::none;
};

}  // namespace onefortwo
