#include "paint/diagram_primitives.h"

#include <cstring>
#include <utility>

namespace onefortwo {
namespace {

// Offsets of the five lines of a run: `kDelta` across the pipe, `kPipeDelta2` and
// `kCornerDelta2` along it, so that the wide lines start a little later.
constexpr int kDelta[5] = {0, 1, 2, 4, 6};
constexpr int kPipeDelta2[5] = {0, 0, 0, 1, 2};
constexpr int kCornerDelta2[5] = {0, 1, 2, 1, 1};

// trunc(v): a real value to an integer, toward zero.
int Trunc(double v) {
  return static_cast<int>(v);
}

}  // namespace

DiagramPrimitives::DiagramPrimitives(Canvas& main_hdc, const PaintObjects& objects,
                                     float scale_factor, const amp_struct* amp_info,
                                     const ControllerState& controller)
    : main_hdc_(main_hdc),
      objects_(objects),
      scale_factor_(scale_factor),
      amp_info_(amp_info),
      controller_(controller) {}

const Pen& DiagramPrimitives::RunPen(int i, const Pen& color, const Pen* shade) const {
  switch (i) {
    case 0:
      return objects_.black_pen;
    case 1:
      return color;
    case 2:
      return shade != nullptr ? *shade : objects_.bgray_pen;
    case 3:
      return objects_.black_pen2;
    default:
      return objects_.outline_pen2;
  }
}

void DiagramPrimitives::WaveGuidePipe(int x1, int y1, int x2, int y2, const Pen& color,
                                      const Pen* shade) {
  // Horizontal runs go left to right, vertical runs top to bottom.
  if (x2 < x1) {
    if (y1 == y2) {
      std::swap(x1, x2);
    } else if (y1 > y2) {
      std::swap(x1, x2);
      std::swap(y1, y2);
    }
  } else if (y1 > y2 && x1 == x2) {
    std::swap(y1, y2);
  }
  const bool horizontal = x2 - x1 > y2 - y1;
  if (horizontal) {
    y1 -= 2;
    y2 -= 2;
  } else {
    x1 -= 2;
    x2 -= 2;
  }
  for (int i = 0; i < 5; ++i) {
    main_hdc_.SelectObject(RunPen(i, color, shade));
    if (horizontal) {
      main_hdc_.MoveTo(x1 + kPipeDelta2[i], y1 + kDelta[i]);
      main_hdc_.LineTo(x2, y2 + kDelta[i]);
    } else {
      main_hdc_.MoveTo(x1 + kDelta[i], y1 + kPipeDelta2[i]);
      main_hdc_.LineTo(x2 + kDelta[i], y2 + kPipeDelta2[i]);
    }
  }
}

void DiagramPrimitives::WaveGuideCorner(int x, int y, int option, const Pen& color,
                                        const Pen* shade) {
  switch (option) {
    case 0:  // right and down: one polyline per line of the run
      for (int i = 0; i < 5; ++i) {
        const int d = kDelta[i];
        main_hdc_.SelectObject(RunPen(i, color, shade));
        main_hdc_.MoveTo(x + 5, y - 2 + d);
        main_hdc_.LineTo(x - 2 + d, y - 2 + d);
        main_hdc_.LineTo(x - 2 + d, y + 5);
      }
      break;
    case 1:  // left and down: the horizontal leg, then the vertical one
      for (int i = 0; i < 5; ++i) {
        const int d = kDelta[i];
        main_hdc_.SelectObject(RunPen(i, color, shade));
        main_hdc_.MoveTo(x - 4, y - 2 + d);
        main_hdc_.LineTo(x + 2 - d, y - 2 + d);
      }
      for (int i = 0; i < 5; ++i) {
        const int d = kDelta[i];
        main_hdc_.SelectObject(RunPen(i, color, shade));
        main_hdc_.MoveTo(x - 2 + d, y + 1 - kCornerDelta2[i]);
        main_hdc_.LineTo(x - 2 + d, y + 5);
      }
      break;
    case 2:  // up and right: the vertical leg, then the horizontal one
      for (int i = 0; i < 5; ++i) {
        const int d = kDelta[i];
        main_hdc_.SelectObject(RunPen(i, color, shade));
        main_hdc_.MoveTo(x - 2 + d, y - 4);
        main_hdc_.LineTo(x - 2 + d, y + 3 - d);
      }
      for (int i = 0; i < 5; ++i) {
        const int d = kDelta[i];
        main_hdc_.SelectObject(RunPen(i, color, shade));
        main_hdc_.MoveTo(x + 4, y - 2 + d);
        main_hdc_.LineTo(x - kCornerDelta2[i], y - 2 + d);
      }
      break;
    case 3:  // left and up: one polyline per line of the run
      for (int i = 0; i < 5; ++i) {
        const int d = kDelta[i];
        main_hdc_.SelectObject(RunPen(i, color, shade));
        main_hdc_.MoveTo(x - 3, y - 2 + d);
        main_hdc_.LineTo(x - 2 + d, y - 2 + d);
        main_hdc_.LineTo(x - 2 + d, y - 3);
      }
      break;
    default:
      break;
  }
}

void DiagramPrimitives::DrawOutput(int x0, int y0, int scale, const Pen& color) {
  const struct {
    int k;
    const Pen& pen;
  } layers[] = {{3, objects_.outline_pen2}, {1, objects_.black_pen2}, {-1, color}};
  for (const auto& layer : layers) {
    const int x = x0 + layer.k;
    const int y = y0 + layer.k;
    main_hdc_.SelectObject(layer.pen);
    // The left half of the circle of diameter scale/2 centred 1.25 scale right of (x, y),
    // counterclockwise from its top point to its bottom point.
    main_hdc_.Arc(x + scale, Trunc(y - 0.25 * scale), Trunc(x + 1.5 * scale),
                  Trunc(y + 0.25 * scale), Trunc(x + 1.25 * scale), Trunc(y - 0.25 * scale),
                  Trunc(x + 1.25 * scale), Trunc(y + 0.25 * scale));
  }
}

void DiagramPrimitives::DrawLoad(int x, int y, int left_connect, int scale) {
  const int s = scale / 12;
  const int dir = left_connect != 0 ? 1 : -1;
  const int X = x - 4 * dir;

  // The leads: black, white, black and a shadow one pixel lower.
  const Pen* const pa[4] = {&objects_.black_pen, &objects_.white_pen, &objects_.black_pen,
                            &objects_.outline_pen};
  constexpr int dxa[4] = {0, 1, 2, 3};
  constexpr int dya[4] = {0, 0, 0, 1};
  for (int i = 0; i < 4; ++i) {
    main_hdc_.SelectObject(*pa[i]);
    const int c = X + dir * (dxa[i] + 1);
    main_hdc_.MoveTo(c, Trunc(y - 3.5 * s + dya[i]));
    main_hdc_.LineTo(c, Trunc(y - 2.5 * s + dya[i]));
    main_hdc_.MoveTo(c, Trunc(y + 3.5 * s + dya[i]));
    main_hdc_.LineTo(c, Trunc(y + 2.5 * s + dya[i]));
  }

  // The zigzag: six strokes, each drawn six times over before the next.
  const Pen* const pb[6] = {&objects_.black_pen, &objects_.white_pen, &objects_.white_pen,
                            &objects_.black_pen, &objects_.black_pen, &objects_.outline_pen};
  constexpr int dxb[6] = {0, 1, 2, 3, 3, 4};
  constexpr int dyb[6] = {0, 0, 0, 0, 1, 2};
  for (int stroke = 1; stroke <= 6; ++stroke) {
    for (int i = 0; i < 6; ++i) {
      const int a = dxb[i];
      const int b = dyb[i];
      main_hdc_.SelectObject(*pb[i]);
      switch (stroke) {
        case 1:
          main_hdc_.MoveTo(X + dir * a, Trunc(y - 2.5 * s + b));
          main_hdc_.LineTo(X - dir * (s - a), y - 2 * s + b);
          break;
        case 2:
          main_hdc_.MoveTo(X - dir * (s + a - 4), y - 2 * s + b);
          main_hdc_.LineTo(X + dir * (s - a + 4), y - s + b);
          break;
        case 3:
          main_hdc_.MoveTo(X + dir * (s + a), y - s + b);
          main_hdc_.LineTo(X - dir * (s - a), y + b);
          break;
        case 4:
          main_hdc_.MoveTo(X - dir * (s + a - 4), y + b);
          main_hdc_.LineTo(X + dir * (s - a + 4), y + s + b);
          break;
        case 5:
          main_hdc_.MoveTo(X + dir * (s + a), y + s + b);
          main_hdc_.LineTo(X - dir * (s - a), y + 2 * s + b);
          break;
        default:
          main_hdc_.MoveTo(X - dir * (s + a - 4), y + 2 * s + b + 1);
          main_hdc_.LineTo(X - dir * (a - 4), Trunc(y + 2.5 * s + b + 1));
          break;
      }
    }
  }
}

void DiagramPrimitives::DrawAmp(int amp, int x, int y, int scale) {
  if (amp < 0 || amp >= kAmpCount) return;
  const amp_struct& info = amp_info_[amp];
  const int h = scale / 2;
  const int yc = y - 1;

  const Brush* brush = &objects_.gray_brush;
  const Pen* hi_pen = &objects_.white_pen;
  const Pen* shade_pen = &objects_.gray_pen;
  char string[80] = "?";
  const auto state = [&](const Brush& b, const Pen& hi, const Pen& shade, const char* label) {
    brush = &b;
    hi_pen = &hi;
    shade_pen = &shade;
    std::strcpy(string, label);
  };
  switch (info.status) {
    case amp_fault:
      state(objects_.red_brush, objects_.red_hi_pen, objects_.red_shade_pen, "Flt");
      break;
    case amp_alarm:
      state(objects_.yellow_brush, objects_.yellow_hi_pen, objects_.yellow_shade_pen, "Alrm");
      break;
    case amp_ftd:
      state(objects_.magenta_brush, objects_.magenta_hi_pen, objects_.magenta_shade_pen, "FTD");
      break;
    case amp_standby:
      state(objects_.blue_brush, objects_.blue_hi_pen, objects_.blue_shade_pen, "Stby");
      break;
    case amp_auto_hv:
      state(objects_.magenta_brush, objects_.magenta_hi_pen, objects_.magenta_shade_pen, "Auto");
      break;
    case amp_hv_on:
      state(objects_.green_brush, objects_.green_hi_pen, objects_.green_shade_pen, "");
      // The forward power as the record holds it; bounded, the record's text is.
      std::memcpy(string, info.power_out, kReadingSize);
      string[kReadingSize] = '\0';
      break;
    default:  // no contact, power off and anything outside the enumeration
      break;
  }

  const Point points[3] = {{x - h, yc - h}, {x + h, yc}, {x - h, yc + h}};
  const Point& p0 = points[0];
  const Point& p1 = points[1];
  const Point& p2 = points[2];

  main_hdc_.SelectObject(objects_.black_pen);
  main_hdc_.SelectObject(*brush);
  main_hdc_.Polygon(points, 3);

  main_hdc_.SelectObject(*shade_pen);
  main_hdc_.MoveTo(p2.x + 1, p2.y - 1);
  main_hdc_.LineTo(p0.x + 1, p0.y + 1);
  main_hdc_.LineTo(p1.x - 1, p1.y);
  main_hdc_.LineTo(p1.x - 2, p1.y);
  main_hdc_.LineTo(p2.x + 1, p2.y - 1);
  main_hdc_.LineTo(p2.x + 1, p2.y - 2);
  main_hdc_.LineTo(p1.x - 5, p1.y + 1);

  main_hdc_.SelectObject(*hi_pen);
  main_hdc_.MoveTo(p2.x + 2, p2.y - 4);
  main_hdc_.LineTo(p0.x + 2, p0.y + 2);
  main_hdc_.LineTo(p1.x - 4, p1.y - 1);

  main_hdc_.SelectObject(objects_.outline_pen2);
  main_hdc_.MoveTo(p1.x, p1.y + 4);
  main_hdc_.LineTo(p2.x + 3, p2.y + 3);

  main_hdc_.SelectObject(objects_.black_pen2);
  main_hdc_.MoveTo(p1.x, p1.y + 2);
  main_hdc_.LineTo(p2.x + 3, p2.y + 1);

  // The label starts three layout units right of the back edge, centred on the apex.
  main_hdc_.SetTextColor(Rgb(0, 0, 0));
  main_hdc_.SetBkMode(BkMode::transparent);
  const int len = static_cast<int>(std::strlen(string));
  const Size extent = main_hdc_.GetTextExtentPoint32A(string, len);
  main_hdc_.TextOutA(Trunc(p0.x + 3.0 * scale_factor_), yc - extent.cy / 2, string, len);
}

void DiagramPrimitives::DrawSwitch(int which_waveguide, int x, int y, int scale) {
  const int r = Trunc(scale * 0.5);
  const int sb = Trunc(scale * 0.45454545454545453);  // 5/11: the channels end inside the rim

  main_hdc_.SelectObject(objects_.outline_pen2);
  main_hdc_.SelectObject(objects_.black_brush);
  main_hdc_.Ellipse(x - r + 3, y - r + 3, x + r + 3, y + r + 3);  // drop shadow
  main_hdc_.SelectObject(objects_.black_pen2);
  main_hdc_.SelectObject(objects_.fill_brush);
  main_hdc_.Ellipse(x - r, y - r, x + r, y + r);  // disc
  main_hdc_.SelectObject(objects_.bright_pen);
  main_hdc_.SelectObject(objects_.gray_brush);
  main_hdc_.Ellipse(x - r + 3, y - r + 3, x + r - 4, y + r - 4);  // face
  main_hdc_.SelectObject(objects_.dgray_pen);
  main_hdc_.SelectObject(objects_.basic_brush);
  main_hdc_.Ellipse(x - scale / 8, y - scale / 8, x + scale / 8, y + scale / 8);  // hub

  const int waveguide1 = controller_.waveguide1;
  const int waveguide2 = controller_.waveguide2;
  const bool forward =
      (which_waveguide == 1 && waveguide1 == 'A') || (which_waveguide == 2 && waveguide1 == 'B') ||
      (which_waveguide == 3 && waveguide2 == 'A') || (which_waveguide == 4 && waveguide2 == 'B');

  // Each channel is a quarter circle of radius scale/2 centred diagonally off the disc
  // centre, drawn as a wide gray, a thin black and a thin white line.
  struct Channel {
    const Pen& pen;
    int left, top, right, bottom, xs, ys, xe, ye;
  };
  const PaintObjects& o = objects_;
  const int s = scale;
  if (forward) {  // left to top, and right to bottom
    const Channel rows[] = {
        {o.gray_pen2, x - s + 1, y - s + 1, x + 1, y + 1, x - sb + 1, y + 1, x + 1, y - sb + 1},
        {o.gray_pen2, x - 1, y - 1, x + s - 1, y + s - 1, x + sb - 1, y - 1, x - 1, y + sb - 1},
        {o.black_pen, x - s + 1, y - s + 1, x + 1, y + 1, x - sb + 1, y + 1, x + 1, y - sb + 1},
        {o.black_pen, x - 1, y - 1, x + s - 1, y + s - 1, x + sb - 1, y - 1, x - 1, y + sb - 1},
        {o.white_pen, x - s + 2, y - s + 2, x + 2, y + 2, x - sb + 2, y + 2, x + 2, y - sb + 2},
        {o.white_pen, x, y, x + s, y + s, x + sb, y, x, y + sb},
    };
    for (const Channel& c : rows) {
      main_hdc_.SelectObject(c.pen);
      main_hdc_.Arc(c.left, c.top, c.right, c.bottom, c.xs, c.ys, c.xe, c.ye);
    }
  } else {  // top to right, and bottom to left
    const Channel rows[] = {
        {o.gray_pen2, x - 1, y + 1 - s, x - 1 + s, y + 1, x - 1, y + 1 - sb, x - 1 + sb, y + 1},
        {o.black_pen, x - 2, y + 1 - s, x - 2 + s, y + 1, x - 2, y + 1 - sb, x - 2 + sb, y + 1},
        {o.white_pen, x - 3, y + 2 - s, x - 3 + s, y + 2, x - 3, y + 2 - sb, x - 3 + sb, y + 2},
        {o.white_pen, x + 1 - s, y - 1, x + 1, y - 1 + s, x + 1, y - 1 + sb, x + 1 - sb, y - 1},
        {o.gray_pen2, x + 2 - s, y - 2, x + 2, y - 2 + s, x + 2, y - 2 + sb, x + 2 - sb, y - 2},
        {o.black_pen, x + 1 - s, y - 2, x + 1, y - 2 + s, x + 1, y - 2 + sb, x + 1 - sb, y - 2},
    };
    for (const Channel& c : rows) {
      main_hdc_.SelectObject(c.pen);
      main_hdc_.Arc(c.left, c.top, c.right, c.bottom, c.xs, c.ys, c.xe, c.ye);
    }
  }
}

}  // namespace onefortwo
