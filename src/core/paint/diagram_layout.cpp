#include "paint/diagram_layout.h"

namespace onefortwo {
namespace {

// trunc(v): a real value to an integer, toward zero.
int Trunc(double v) {
  return static_cast<int>(v);
}

}  // namespace

DiagramLayout ComputeLayout(int width, int height, int* scale) {
  if (width < 0) width = 0;
  if (height <= 0) height = 1;
  const double aspect = static_cast<double>(width) / height;
  const int s = aspect > static_cast<double>(kSheetWidth) / kSheetHeight
                    ? Trunc(32.0 * height * (1.0 / kSheetHeight))
                    : Trunc(32.0 * width * (1.0 / kSheetWidth));
  *scale = s;

  DiagramLayout l;
  // Stored as a 32-bit float; every product below uses the stored value.
  l.scale_factor = static_cast<float>(s * 0.03125);
  const float sf = l.scale_factor;
  l.x0 = Trunc(-40 * sf);
  l.y0 = Trunc(-8 * sf);
  l.sx1 = l.sx3 = Trunc(l.x0 + 100 * sf);
  l.sx2 = l.sx4 = Trunc(l.x0 + 236 * sf);
  l.sy1 = l.sy2 = Trunc(l.y0 + 64 * sf);
  l.sy3 = l.sy4 = Trunc(l.y0 + 144 * sf);
  l.hxa = l.hxb = l.hxc = Trunc(l.x0 + 172 * sf);
  l.hya = Trunc(l.y0 + 32 * sf);
  l.hyb = Trunc(l.y0 + 112 * sf);
  l.hyc = Trunc(l.y0 + 176 * sf);
  return l;
}

}  // namespace onefortwo
