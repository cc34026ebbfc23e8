#include "paint/paint_main_window.h"

#include <cmath>
#include <cstring>

#include "paint/diagram_primitives.h"
#include "paint/paint_objects.h"
#include "paint/path_colors.h"

namespace onefortwo {
namespace {

int Trunc(double v) {
  return static_cast<int>(v);
}

bool IsEmpty(const Rect& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

// `text` twice: a black shadow one pixel down and right, then `color` (white) on top.
void ShadowedText(Canvas& hdc, int x, int y, const char* text,
                  colorref color = Rgb(255, 255, 255)) {
  const int len = static_cast<int>(std::strlen(text));
  hdc.SetTextColor(Rgb(0, 0, 0));
  hdc.TextOutA(x + 1, y + 1, text, len);
  hdc.SetTextColor(color);
  hdc.TextOutA(x, y, text, len);
}

// Diagonal lines across the disc of radius `r` centred on (x, y), `step` pixels apart:
// the switch's position is not confirmed.
void HatchDisc(Canvas& hdc, int x, int y, int r, int step) {
  if (r <= 0 || step <= 0) return;
  const double half_sqrt2 = 0.70710678118654752;
  for (int c = -r + step / 2; c < r; c += step) {
    // The chord at distance c from the centre, running down and to the right.
    const double h = std::sqrt(static_cast<double>(r) * r - static_cast<double>(c) * c);
    const double cx = x + c * half_sqrt2;
    const double cy = y - c * half_sqrt2;
    hdc.MoveTo(Trunc(cx - h * half_sqrt2), Trunc(cy - h * half_sqrt2));
    hdc.LineTo(Trunc(cx + h * half_sqrt2), Trunc(cy + h * half_sqrt2));
  }
}

}  // namespace

const char* RedundancyModeText(const ControllerState& controller) {
  return controller.controller_manual != 0 ? "Manual" : "Automatic";
}

const char* ControlModeText(const ControllerState& controller) {
  return controller.controller_local != 0 ? "Local" : "Remote";
}

void PaintMainWindow(Canvas& main_hdc, const Rect& client_rect, const Rect& update_rect,
                     const amp_struct* amp_info, const ControllerState& controller,
                     DiagramLayout& layout, bool simulated) {
  if (IsEmpty(update_rect)) return;

  const PaintObjects objects = CreatePaintObjects();
  const PaintObjects& o = objects;
  const Pen default_pen = main_hdc.SelectObject(o.black_pen2);
  const Brush default_brush = main_hdc.SelectObject(o.basic_brush);

  int scale = 0;
  layout = ComputeLayout(client_rect.right - client_rect.left, client_rect.bottom - client_rect.top,
                         &scale);
  const DiagramLayout& l = layout;
  const float sf = l.scale_factor;
  const int half = scale / 2;

  const PathColors paths = ChoosePathColors(controller.waveguide1, controller.waveguide2, o);
  const PenPair green = GreenPair(o);
  const PenPair yellow = YellowPair(o);
  const PenPair gray = GrayPair(o);

  DiagramPrimitives draw(main_hdc, o, sf, amp_info, controller);
  const auto pipe = [&](int x1, int y1, int x2, int y2, const PenPair& pair) {
    draw.WaveGuidePipe(x1, y1, x2, y2, *pair.hi, pair.shade);
  };
  const auto corner = [&](int x, int y, int kind, const PenPair& pair) {
    draw.WaveGuideCorner(x, y, kind, *pair.hi, pair.shade);
  };

  // The waveguide runs, under everything else. Corner kinds: 0 joins right and down,
  // 1 left and down, 2 up and right, 3 left and up.
  pipe(l.sx1 - scale, l.sy1, l.sx1 - half, l.sy1, green);     // input 1 stub
  pipe(l.sx2 + half, l.sy2, l.sx2 + scale, l.sy2, green);     // output 1 stub
  pipe(l.sx3 - scale, l.sy3, l.sx3 - half, l.sy3, yellow);    // input 2 stub
  pipe(l.sx4 + half, l.sy4, l.sx4 + scale, l.sy4, yellow);    // output 2 stub
  pipe(l.sx1 + half, l.sy1, l.sx1 + scale + 1, l.sy1, gray);  // disc 1 to its load
  pipe(l.sx2 - scale - 1, l.sy2, l.sx2 - half, l.sy2, gray);  // second load to disc 2

  // Left crossover: down from disc 1, across, down, into the right port of disc 3.
  pipe(l.sx1, l.sy1 + half, l.sx1, l.sy1 + scale, paths.p4);
  pipe(l.sx1, l.sy1 + scale, l.sx1 + scale, l.sy1 + scale, paths.p4);
  pipe(l.sx1 + scale, l.sy1 + scale, l.sx1 + scale, l.sy3, paths.p4);
  pipe(l.sx3 + half, l.sy3, l.sx3 + scale + 1, l.sy3, paths.p4);
  corner(l.sx1, l.sy1 + scale, 2, paths.p4);
  corner(l.sx1 + scale, l.sy1 + scale, 1, paths.p4);
  corner(l.sx1 + scale, l.sy3, 3, paths.p4);

  // Right crossover: down from disc 2, across, down, into the left port of disc 4.
  pipe(l.sx2, l.sy2 + half, l.sx2, l.sy2 + scale, paths.p4);
  pipe(l.sx2, l.sy2 + scale, l.sx2 - scale, l.sy2 + scale, paths.p4);
  pipe(l.sx2 - scale, l.sy2 + scale, l.sx2 - scale, l.sy4, paths.p4);
  pipe(l.sx4 - scale - 1, l.sy4, l.sx4 - half, l.sy4, paths.p4);
  corner(l.sx2, l.sy2 + scale, 3, paths.p4);
  corner(l.sx2 - scale, l.sy2 + scale, 0, paths.p4);
  corner(l.sx2 - scale, l.sy4, 2, paths.p4);

  // Path A: up from disc 1, across the top, down into disc 2.
  pipe(l.sx1, l.sy1 - half, l.sx1, l.hya, paths.p1);
  pipe(l.sx1, l.hya, l.sx2, l.hya, paths.p1);
  pipe(l.sx2, l.hya, l.sx2, l.sy2 - half, paths.p1);
  corner(l.sx1, l.hya, 0, paths.p1);
  corner(l.sx2, l.hya, 1, paths.p1);

  // Path B: up from disc 3, across between the switch rows, down into disc 4.
  pipe(l.sx3, l.sy3 - half, l.sx3, l.hyb, paths.p2);
  pipe(l.sx3, l.hyb, l.sx4, l.hyb, paths.p2);
  pipe(l.sx4, l.hyb, l.sx4, l.sy4 - half, paths.p2);
  corner(l.sx3, l.hyb, 0, paths.p2);
  corner(l.sx4, l.hyb, 1, paths.p2);

  // Path C: down from disc 3, across the bottom, up into disc 4.
  pipe(l.sx3, l.sy3 + half, l.sx3, l.hyc, paths.p3);
  pipe(l.sx3, l.hyc, l.sx4, l.hyc, paths.p3);
  pipe(l.sx4, l.hyc, l.sx4, l.sy4 + half, paths.p3);
  corner(l.sx3, l.hyc, 2, paths.p3);
  corner(l.sx4, l.hyc, 3, paths.p3);

  // The input chevrons, the only slanted runs; the tip is the outer end of the stub.
  pipe(Trunc(l.sx1 - 44 * sf), Trunc(l.sy1 - 8 * sf), Trunc(l.sx1 - 32 * sf), l.sy1, green);
  pipe(Trunc(l.sx1 - 32 * sf - 3), l.sy1 + 2, Trunc(l.sx1 - 44 * sf), Trunc(l.sy1 + 8 * sf), green);
  pipe(Trunc(l.sx3 - 44 * sf), Trunc(l.sy3 - 8 * sf), Trunc(l.sx3 - 32 * sf), l.sy3, yellow);
  pipe(Trunc(l.sx3 - 32 * sf - 3), l.sy3 + 2, Trunc(l.sx3 - 44 * sf), Trunc(l.sy3 + 8 * sf),
       yellow);

  draw.DrawOutput(l.sx2, l.sy2, scale, o.green_hi_pen);
  draw.DrawOutput(l.sx4, l.sy4, scale, o.yellow_hi_pen);

  // Port labels: inputs left of the chevrons, outputs on the open side of the arcs.
  const int c = main_hdc.GetTextExtentPoint32A("1", 1).cy / 2;
  main_hdc.SetBkMode(BkMode::transparent);
  const struct {
    double x;  // truncated only after the shadow's pixel is added
    int y;
    const char* text;
  } labels[] = {
      {l.sx1 - 48 * sf, l.sy1 - c, "1"},
      {l.sx3 - 48 * sf, l.sy3 - c, "2"},
      {l.sx2 + 40 * sf, l.sy2 - c, "1"},
      {l.sx4 + 40 * sf, l.sy4 - c, "2"},
  };
  main_hdc.SetTextColor(Rgb(0, 0, 0));
  for (const auto& label : labels)
    main_hdc.TextOutA(Trunc(label.x + 1), label.y + 1, label.text, 1);
  main_hdc.SetTextColor(Rgb(255, 255, 255));
  for (const auto& label : labels) main_hdc.TextOutA(Trunc(label.x), label.y, label.text, 1);

  draw.DrawAmp(0, l.hxa, l.hya, scale);
  draw.DrawAmp(1, l.hxb, l.hyb, scale);
  draw.DrawAmp(2, l.hxc, l.hyc, scale);

  draw.DrawSwitch(1, l.sx1, l.sy1, scale);
  draw.DrawSwitch(2, l.sx2, l.sy2, scale);
  draw.DrawSwitch(3, l.sx3, l.sy3, scale);
  draw.DrawSwitch(4, l.sx4, l.sy4, scale);

  // The loads are mirror images: disc 1's joined on its left, disc 2's on its right.
  draw.DrawLoad(Trunc(l.sx1 + 36 * sf), l.sy1, 1, scale);
  draw.DrawLoad(Trunc(l.sx2 - 36 * sf), l.sy2, 0, scale);

  const bool confirmed = controller.controller_contact != 0;
  if (!confirmed) {
    main_hdc.SelectObject(Pen{kUnconfirmedHatch, 1});
    const int r = Trunc(scale * 0.5);
    const int step = scale / 6 > 3 ? scale / 6 : 3;
    HatchDisc(main_hdc, l.sx1, l.sy1, r, step);
    HatchDisc(main_hdc, l.sx2, l.sy2, r, step);
    HatchDisc(main_hdc, l.sx3, l.sy3, r, step);
    HatchDisc(main_hdc, l.sx4, l.sy4, r, step);
  }

  main_hdc.SetBkMode(BkMode::transparent);
  const colorref mode_color = confirmed ? Rgb(255, 255, 255) : kUnconfirmedText;
  ShadowedText(main_hdc, manx, many, RedundancyModeText(controller), mode_color);
  ShadowedText(main_hdc, manx, many + 12, ControlModeText(controller), mode_color);
  if (!confirmed) ShadowedText(main_hdc, manx, many + 24, kControllerNoContact);

  if (simulated) {
    const int len = static_cast<int>(std::strlen(kSimulationMark));
    const Size extent = main_hdc.GetTextExtentPoint32A(kSimulationMark, len);
    ShadowedText(main_hdc, client_rect.right - extent.cx - 4, many, kSimulationMark,
                 kSimulationColor);
  }

  main_hdc.SelectObject(default_pen);
  main_hdc.SelectObject(default_brush);
}

}  // namespace onefortwo
