#include "paint/path_colors.h"

namespace onefortwo {

PenPair GreenPair(const PaintObjects& o) {
  return {&o.green_hi_pen, &o.green_shade_pen};
}
PenPair YellowPair(const PaintObjects& o) {
  return {&o.yellow_hi_pen, &o.yellow_shade_pen};
}
PenPair GrayPair(const PaintObjects& o) {
  return {&o.bgray_pen, &o.gray_pen};
}

PathColors ChoosePathColors(int waveguide1, int waveguide2, const PaintObjects& o) {
  const PenPair green = GreenPair(o);
  const PenPair yellow = YellowPair(o);
  const PenPair gray = GrayPair(o);
  if (waveguide1 == 'A' && waveguide2 == 'A') return {green, yellow, gray, gray};
  if (waveguide1 == 'A' && waveguide2 == 'B') return {green, gray, yellow, gray};
  if (waveguide1 == 'B' && waveguide2 == 'A') return {gray, yellow, green, green};
  return {gray, green, yellow, green};
}

}  // namespace onefortwo
