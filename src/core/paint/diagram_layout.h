#pragma once

namespace onefortwo {

// Where the last paint put the diagram's parts, in client pixels. Written by the painting
// of the main window; read by the mouse commands and the amplifier display refresh, which
// so always work with the layout of the most recent paint. All zero before the first.
struct DiagramLayout {
  float scale_factor = 0.0f;  // pixels per layout unit: scale / 32
  int x0 = 0, y0 = 0;         // origin of the design sheet (negative)
  int sx1 = 0, sy1 = 0;       // switch disc centres 1..4
  int sx2 = 0, sy2 = 0;
  int sx3 = 0, sy3 = 0;
  int sx4 = 0, sy4 = 0;
  int hxa = 0, hya = 0;  // amplifier centres A, B, C
  int hxb = 0, hyb = 0;
  int hxc = 0, hyc = 0;
};

// The corner of the mode text, fixed for the whole run.
constexpr int manx = 2;
constexpr int many = 0;

}  // namespace onefortwo
