#include "user/diagram_hit.h"

namespace onefortwo {
namespace {

// Width and height of the mode text's hot box in pixels; it does not scale.
constexpr int kModeTextWidth = 92;
constexpr int kModeTextHeight = 12;
// No window is this large; a larger range would only come from a broken layout.
constexpr float kMaxRange = 1e6f;

bool InSpot(long long cx, long long cy, long long range, long long x, long long y) {
  return cx - range <= x && x <= cx + range && cy - range < y && y < cy + range;
}

}  // namespace

int HitRange(float scale_factor) {
  const float range = 16 * scale_factor;
  if (!(range > 0)) return 0;
  if (range > kMaxRange) return static_cast<int>(kMaxRange);
  return static_cast<int>(range);
}

DiagramSpot DiagramHitTest(const DiagramLayout& layout, int x, int y) {
  const int range = HitRange(layout.scale_factor);
  const struct {
    int cx, cy;
    DiagramSpot spot;
  } spots[] = {
      {layout.hxa, layout.hya, DiagramSpot::amp_a}, {layout.hxb, layout.hyb, DiagramSpot::amp_b},
      {layout.hxc, layout.hyc, DiagramSpot::amp_c}, {layout.sx1, layout.sy1, DiagramSpot::disc1},
      {layout.sx2, layout.sy2, DiagramSpot::disc2}, {layout.sx3, layout.sy3, DiagramSpot::disc3},
      {layout.sx4, layout.sy4, DiagramSpot::disc4},
  };
  for (const auto& s : spots) {
    if (InSpot(s.cx, s.cy, range, x, y)) return s.spot;
  }
  const long long lx = x;
  const long long ly = y;
  if (manx <= lx && lx <= manx + kModeTextWidth && many < ly && ly < many + kModeTextHeight)
    return DiagramSpot::mode_text;
  return DiagramSpot::none;
}

}  // namespace onefortwo
