#include "support/recording_canvas.h"

#include <cstdio>

namespace onefortwo {
namespace {

std::string At(int x, int y) {
  return std::to_string(x) + "," + std::to_string(y);
}

std::string Box(int left, int top, int right, int bottom) {
  return At(left, top) + "," + At(right, bottom);
}

}  // namespace

std::string ColorText(colorref color) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(color));
  return text;
}

RecordingCanvas::RecordingCanvas() {
  // The diagram's pens and brushes, written out here rather than taken from the code
  // under test, so that a wrong colour or width shows as a wrong name.
  const std::pair<Pen, const char*> pens[] = {
      {{0x00FFFFFF, 1}, "white_pen"},         {{0x00000000, 1}, "black_pen"},
      {{0x00000000, 2}, "black_pen2"},        {{0x003F3F3F, 1}, "dgray_pen"},
      {{0x007F7F7F, 1}, "gray_pen"},          {{0x007F7F7F, 2}, "gray_pen2"},
      {{0x00AFAFAF, 1}, "bgray_pen"},         {{0x00DFE7E7, 1}, "bright_pen"},
      {{0x006F5F5F, 1}, "outline_pen"},       {{0x006F5F5F, 2}, "outline_pen2"},
      {{0x005F5FC0, 2}, "red_shade_pen"},     {{0x00C0C0FF, 1}, "red_hi_pen"},
      {{0x005FABAB, 1}, "yellow_shade_pen"},  {{0x0087FFFF, 1}, "yellow_hi_pen"},
      {{0x00C0AFAF, 1}, "magenta_shade_pen"}, {{0x00FFDFFF, 1}, "magenta_hi_pen"},
      {{0x00AFA787, 1}, "blue_shade_pen"},    {{0x00FFDFC0, 1}, "blue_hi_pen"},
      {{0x0067AB67, 1}, "green_shade_pen"},   {{0x007FFF7F, 1}, "green_hi_pen"},
  };
  for (const auto& p : pens) Name(p.first, p.second);
  const std::pair<Brush, const char*> brushes[] = {
      {{0x007F7F7F}, "basic_brush"},   {{0x00AFBFBF}, "fill_brush"}, {{0x00E3DBDB}, "gray_brush"},
      {{0x00000000}, "black_brush"},   {{0x008387FF}, "red_brush"},  {{0x005FD7D7}, "yellow_brush"},
      {{0x00FFC0D7}, "magenta_brush"}, {{0x00FFCF87}, "blue_brush"}, {{0x0067DF67}, "green_brush"},
  };
  for (const auto& b : brushes) Name(b.first, b.second);
}

void RecordingCanvas::Name(const Pen& p, const std::string& name) {
  pen_names_.insert(pen_names_.begin(), {p, name});
}

void RecordingCanvas::Name(const Brush& b, const std::string& name) {
  brush_names_.insert(brush_names_.begin(), {b, name});
}

std::string RecordingCanvas::PenName(const Pen& p) const {
  for (const auto& named : pen_names_)
    if (named.first == p) return named.second;
  return "pen " + ColorText(p.color) + "/" + std::to_string(p.width);
}

std::string RecordingCanvas::BrushName(const Brush& b) const {
  for (const auto& named : brush_names_)
    if (named.first == b) return named.second;
  return ColorText(b.color);
}

std::vector<std::string> RecordingCanvas::Take() {
  std::vector<std::string> taken;
  taken.swap(log);
  return taken;
}

Pen RecordingCanvas::SelectObject(const Pen& p) {
  const Pen old = pen;
  pen = p;
  return old;
}

Brush RecordingCanvas::SelectObject(const Brush& b) {
  const Brush old = brush;
  brush = b;
  return old;
}

colorref RecordingCanvas::SetTextColor(colorref color) {
  const colorref old = text_color;
  text_color = color;
  return old;
}

colorref RecordingCanvas::SetBkColor(colorref color) {
  const colorref old = bk_color;
  bk_color = color;
  return old;
}

BkMode RecordingCanvas::SetBkMode(BkMode mode) {
  const BkMode old = bk_mode;
  bk_mode = mode;
  return old;
}

void RecordingCanvas::MoveTo(int x, int y) {
  position = {x, y};
}

void RecordingCanvas::LineTo(int x, int y) {
  log.push_back("line " + At(position.x, position.y) + " " + At(x, y) + " " + PenName(pen));
  position = {x, y};
}

void RecordingCanvas::Arc(int left, int top, int right, int bottom, int xs, int ys, int xe,
                          int ye) {
  log.push_back("arc " + Box(left, top, right, bottom) + " from " + At(xs, ys) + " to " +
                At(xe, ye) + " " + PenName(pen));
}

void RecordingCanvas::Ellipse(int left, int top, int right, int bottom) {
  log.push_back("ellipse " + Box(left, top, right, bottom) + " " + PenName(pen) + " " +
                BrushName(brush));
}

void RecordingCanvas::Polygon(const Point* points, int count) {
  std::string line = "polygon";
  for (int i = 0; i < count; ++i) line += " " + At(points[i].x, points[i].y);
  log.push_back(line + " " + PenName(pen) + " " + BrushName(brush));
}

void RecordingCanvas::FillRect(const Rect& rect, const Brush& b) {
  log.push_back("fill " + Box(rect.left, rect.top, rect.right, rect.bottom) + " " + BrushName(b));
}

void RecordingCanvas::TextOutA(int x, int y, const char* text, int len) {
  const std::string mode = bk_mode == BkMode::transparent ? "transparent" : "opaque";
  log.push_back("text " + At(x, y) + " \"" + std::string(text, len > 0 ? len : 0) + "\" " +
                ColorText(text_color) + " " + mode);
}

Size RecordingCanvas::GetTextExtentPoint32A(const char*, int len) {
  return {char_width * (len > 0 ? len : 0), line_height};
}

}  // namespace onefortwo
