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

// The design sheet is 260 x 190 layout units; `scale` pixels stand for 32 of them.
constexpr int kSheetWidth = 260;
constexpr int kSheetHeight = 190;

// The layout for a client area of `width` x `height` pixels: the sheet scaled to fit,
// limited by the height when the client is wider than 26:19 and by the width otherwise.
// Stores the size of 32 layout units in `*scale` (0 when the client is too small to draw
// in). A height of 0 counts as 1; negative sizes count as 0.
DiagramLayout ComputeLayout(int width, int height, int* scale);

// The corner of the mode text, fixed for the whole run.
constexpr int manx = 2;
constexpr int many = 0;

}  // namespace onefortwo
