#pragma once

#include "paint/diagram_layout.h"

namespace onefortwo {

// The places of the diagram that answer a click, in the order in which they are tested.
enum class DiagramSpot {
  none,
  amp_a,      // amplifier A's picture, centre (hxa, hya)
  amp_b,      // (hxb, hyb)
  amp_c,      // (hxc, hyc)
  disc1,      // switch disc 1, centre (sx1, sy1): waveguide switch 1
  disc2,      // disc 2: waveguide switch 1
  disc3,      // disc 3: waveguide switch 2
  disc4,      // disc 4: waveguide switch 2
  mode_text,  // the redundancy mode line at (manx, many)
};

// Half-width in pixels of a hot spot: 16 x scale_factor, truncated toward zero; 0 for a
// scale that is not a positive number.
int HitRange(float scale_factor);

// Which place a click at client pixel (x, y) hits in `layout`, the layout of the last
// paint. A spot of centre (cx, cy) holds cx - range <= x <= cx + range and
// cy - range < y < cy + range; the mode text holds manx <= x <= manx + 92 and
// many < y < many + 12, in plain pixels. The first spot in the order of DiagramSpot
// that holds wins. Any x and y are safe.
DiagramSpot DiagramHitTest(const DiagramLayout& layout, int x, int y);

}  // namespace onefortwo
