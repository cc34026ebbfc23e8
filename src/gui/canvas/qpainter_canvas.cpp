#include "canvas/qpainter_canvas.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace onefortwo {
namespace {

// Qt angles are sixteenths of a degree, counterclockwise from three o'clock.
constexpr double kPi = 3.14159265358979323846;

// The angle, in degrees from 0 to 360, of the point on the ellipse with radii `rx`, `ry`
// that lies on the ray from its centre through a point `dx`, `dy` pixels away (y down).
// Qt's arc angles are those of the ellipse's parameter, so a ray is converted to it.
double RayAngle(double dx, double dy, double rx, double ry) {
  double degrees = std::atan2(-dy * rx, dx * ry) * 180.0 / kPi;
  if (degrees < 0) degrees += 360.0;
  return degrees;
}

// The pixels from `a` to `b`, both included, on a row or a column. (QRect::normalized
// would treat the corners as half-open.)
QRect Span(QPoint a, QPoint b) {
  return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
               QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

}  // namespace

QColor ToQColor(colorref color) {
  return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

colorref ToColorref(const QColor& color) {
  return Rgb(color.red(), color.green(), color.blue());
}

QFont DiagramFont() {
  QFont font;
  font.setFamilies({QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(12);
  font.setBold(true);
  font.setStyleStrategy(QFont::NoAntialias);
  // Without antialiasing only full hinting keeps the letters evenly spaced.
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

SystemColors SystemColorsFromPalette(const QPalette& palette) {
  SystemColors colors;
  colors.btn_face = ToColorref(palette.color(QPalette::Active, QPalette::Button));
  colors.btn_highlight = ToColorref(palette.color(QPalette::Active, QPalette::Light));
  colors.btn_shadow = ToColorref(palette.color(QPalette::Active, QPalette::Dark));
  colors.dark_shadow = ToColorref(palette.color(QPalette::Active, QPalette::Shadow));
  colors.btn_text = ToColorref(palette.color(QPalette::Active, QPalette::ButtonText));
  colors.gray_text = ToColorref(palette.color(QPalette::Disabled, QPalette::ButtonText));
  return colors;
}

QPainterCanvas::QPainterCanvas(QPainter& painter, const QFont& font)
    : painter_(painter), metrics_(font, painter.device()) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  painter_.setFont(font);
  painter_.setBrush(ToQColor(brush_.color));
  painter_.setBackgroundMode(Qt::TransparentMode);
  SelectObject(pen_);
  SetTextColor(text_color_);
}

Pen QPainterCanvas::SelectObject(const Pen& pen) {
  const Pen old = pen_;
  pen_ = pen;
  // Lines are laid down as thin lines with square ends, which cover both end points
  // (LineTo leaves the last one out itself); curves and outlines take the pen's width.
  line_pen_ = QPen(ToQColor(pen.color), pen.width < 1 ? 1 : pen.width, Qt::SolidLine, Qt::SquareCap,
                   Qt::MiterJoin);
  thin_pen_ = QPen(ToQColor(pen.color), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
  if (painter_pen_ != PainterPen::text) painter_pen_ = PainterPen::none;
  return old;
}

Brush QPainterCanvas::SelectObject(const Brush& brush) {
  const Brush old = brush_;
  brush_ = brush;
  painter_.setBrush(ToQColor(brush.color));
  return old;
}

colorref QPainterCanvas::SetTextColor(colorref color) {
  const colorref old = text_color_;
  text_color_ = color;
  text_pen_ = QPen(ToQColor(color));
  if (painter_pen_ == PainterPen::text) painter_pen_ = PainterPen::none;
  return old;
}

colorref QPainterCanvas::SetBkColor(colorref color) {
  const colorref old = bk_color_;
  bk_color_ = color;
  return old;
}

BkMode QPainterCanvas::SetBkMode(BkMode mode) {
  const BkMode old = bk_mode_;
  bk_mode_ = mode;
  return old;
}

void QPainterCanvas::Use(PainterPen which) {
  if (painter_pen_ == which) return;
  painter_.setPen(which == PainterPen::outline ? line_pen_
                  : which == PainterPen::thin  ? thin_pen_
                                               : text_pen_);
  painter_pen_ = which;
}

void QPainterCanvas::MoveTo(int x, int y) {
  position_ = QPoint(x, y);
}

void QPainterCanvas::LineTo(int x, int y) {
  const QPoint from = position_;
  const QPoint to(x, y);
  position_ = to;
  if (to == from) return;
  const int dx = to.x() - from.x();
  const int dy = to.y() - from.y();
  const bool x_major = std::abs(dx) >= std::abs(dy);
  const int width = pen_.width < 1 ? 1 : pen_.width;

  if (width > 1) {
    // A wide line covers both its ends, as the desktop's round-ended wide pens do, in
    // `width` adjacent rows (columns), the first above (left of) the line.
    const QPoint step = x_major ? QPoint(0, 1) : QPoint(1, 0);
    const QPoint first = -step * (width / 2);
    if (dx == 0 || dy == 0) {
      const QRect span = Span(from, to);
      painter_.fillRect(span.translated(first).united(span.translated(first + step * (width - 1))),
                        line_pen_.color());
      return;
    }
    Use(PainterPen::thin);
    for (int i = 0; i < width; ++i)
      painter_.drawLine(from + first + step * i, to + first + step * i);
    return;
  }

  // A thin line covers its start pixel and leaves out its end pixel, whichever way it
  // runs: drawn with both ends included up to the pixel before the end, one step back
  // along its longer axis.
  QPoint last;
  if (x_major) {
    const int x_last = to.x() - (dx > 0 ? 1 : -1);
    last = QPoint(
        x_last,
        from.y() + static_cast<int>(std::lround(static_cast<double>(x_last - from.x()) * dy / dx)));
  } else {
    const int y_last = to.y() - (dy > 0 ? 1 : -1);
    last = QPoint(
        from.x() + static_cast<int>(std::lround(static_cast<double>(y_last - from.y()) * dx / dy)),
        y_last);
  }
  if (dx == 0 || dy == 0) {
    // Most of the diagram's lines run straight across or down: a span fill is many times
    // quicker than Qt's line drawing and lays down the same pixels.
    painter_.fillRect(Span(from, last), line_pen_.color());
    return;
  }
  Use(PainterPen::thin);
  painter_.drawLine(from, last);
}

void QPainterCanvas::Arc(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) {
  if (right - left < 2 || bottom - top < 2) return;
  const double cx = (left + right) / 2.0;
  const double cy = (top + bottom) / 2.0;
  const double rx = (right - left) / 2.0;
  const double ry = (bottom - top) / 2.0;
  const double start = RayAngle(xs - cx, ys - cy, rx, ry);
  double span = RayAngle(xe - cx, ye - cy, rx, ry) - start;
  if (span <= 0) span += 360.0;  // the same ray both ends: the whole ellipse
  const int start16 = static_cast<int>(std::lround(start * 16));
  const int span16 = static_cast<int>(std::lround(span * 16));
  // A wide pen as concentric thin arcs, from the rim inwards (Qt's wide curves cost
  // several times more).
  Use(PainterPen::thin);
  const QRect rim(left, top, right - left - 1, bottom - top - 1);
  for (int i = 0; i < pen_.width || i == 0; ++i) {
    const QRect ring = rim.adjusted(i, i, -i, -i);
    if (ring.width() < 0 || ring.height() < 0) break;
    painter_.drawArc(ring, start16, span16);
  }
}

void QPainterCanvas::Ellipse(int left, int top, int right, int bottom) {
  if (right - left < 2 || bottom - top < 2) return;
  const QRect rim(left, top, right - left - 1, bottom - top - 1);
  if (pen_.width <= 1) {
    Use(PainterPen::outline);
    painter_.drawEllipse(rim);
    return;
  }
  // The inside with the brush, then a wide pen as concentric thin rings from the rim
  // inwards, so that the figure stays inside its rectangle.
  painter_.setPen(Qt::NoPen);
  painter_pen_ = PainterPen::none;
  painter_.drawEllipse(rim);
  Use(PainterPen::thin);
  const QBrush brush = painter_.brush();
  painter_.setBrush(Qt::NoBrush);
  for (int i = 0; i < pen_.width; ++i) {
    const QRect ring = rim.adjusted(i, i, -i, -i);
    if (ring.width() < 0 || ring.height() < 0) break;
    painter_.drawEllipse(ring);
  }
  painter_.setBrush(brush);
}

void QPainterCanvas::Polygon(const Point* points, int count) {
  if (count < 2) return;
  std::vector<QPoint> corners;
  corners.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) corners.emplace_back(points[i].x, points[i].y);
  Use(PainterPen::outline);
  painter_.drawPolygon(corners.data(), count);
}

void QPainterCanvas::FillRect(const Rect& rect, const Brush& brush) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  painter_.fillRect(QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top),
                    ToQColor(brush.color));
}

void QPainterCanvas::TextOutA(int x, int y, const char* text, int len) {
  if (len <= 0) return;
  const QString string = QString::fromLatin1(text, len);
  if (bk_mode_ == BkMode::opaque) {
    painter_.fillRect(QRect(x, y, metrics_.horizontalAdvance(string), metrics_.height()),
                      ToQColor(bk_color_));
  }
  Use(PainterPen::text);
  painter_.drawText(x, y + metrics_.ascent(), string);
}

Size QPainterCanvas::GetTextExtentPoint32A(const char* text, int len) {
  if (len <= 0) return {0, metrics_.height()};
  return {metrics_.horizontalAdvance(QString::fromLatin1(text, len)), metrics_.height()};
}

}  // namespace onefortwo
