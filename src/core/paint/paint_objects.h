#pragma once

#include "paint/canvas.h"

namespace onefortwo {

// The pens and brushes of the diagram. One set is made at the start of every paint and
// dropped at its end: nothing graphical outlives a paint. The names tell the colour family;
// the tones are the values below (the magenta family is a lavender, the blue family a light
// sky blue).
struct PaintObjects {
  // Pens, all solid; width 1 unless the name ends in 2.
  Pen white_pen{Rgb(255, 255, 255), 1};          // switch channel and load highlight
  Pen black_pen{Rgb(0, 0, 0), 1};                // outer line of runs; outlines
  Pen black_pen2{Rgb(0, 0, 0), 2};               // run body, output arc, disc outline
  Pen dgray_pen{Rgb(63, 63, 63), 1};             // switch hub outline
  Pen gray_pen{Rgb(127, 127, 127), 1};           // shade of idle runs and gray amplifier
  Pen gray_pen2{Rgb(127, 127, 127), 2};          // switch channel body
  Pen bgray_pen{Rgb(175, 175, 175), 1};          // highlight of idle runs; default shade
  Pen bright_pen{Rgb(231, 231, 223), 1};         // outline of the switch face
  Pen outline_pen{Rgb(95, 95, 111), 1};          // load shadow
  Pen outline_pen2{Rgb(95, 95, 111), 2};         // drop shadows
  Pen red_shade_pen{Rgb(192, 95, 95), 2};        // faulted amplifier (the one wide shade)
  Pen red_hi_pen{Rgb(255, 192, 192), 1};         // faulted amplifier
  Pen yellow_shade_pen{Rgb(171, 171, 95), 1};    // signal 2; amplifier in alarm
  Pen yellow_hi_pen{Rgb(255, 255, 135), 1};      // signal 2; amplifier in alarm
  Pen magenta_shade_pen{Rgb(175, 175, 192), 1};  // time delay, automatic high voltage
  Pen magenta_hi_pen{Rgb(255, 223, 255), 1};
  Pen blue_shade_pen{Rgb(135, 167, 175), 1};  // standby
  Pen blue_hi_pen{Rgb(192, 223, 255), 1};
  Pen green_shade_pen{Rgb(103, 171, 103), 1};  // signal 1; high voltage on
  Pen green_hi_pen{Rgb(127, 255, 127), 1};

  // Brushes, all solid.
  Brush basic_brush{Rgb(127, 127, 127)};    // switch hub
  Brush fill_brush{Rgb(191, 191, 175)};     // switch disc
  Brush gray_brush{Rgb(219, 219, 227)};     // switch face; amplifier without a state colour
  Brush black_brush{Rgb(0, 0, 0)};          // switch drop shadow
  Brush red_brush{Rgb(255, 135, 131)};      // faulted amplifier
  Brush yellow_brush{Rgb(215, 215, 95)};    // amplifier in alarm
  Brush magenta_brush{Rgb(215, 192, 255)};  // time delay or automatic high voltage
  Brush blue_brush{Rgb(135, 207, 255)};     // standby
  Brush green_brush{Rgb(103, 223, 103)};    // high voltage on
};

// A fresh set of the diagram's pens and brushes for one paint.
inline PaintObjects CreatePaintObjects() {
  return PaintObjects{};
}

// The colour the main window's background is erased with before each paint: the desktop's
// stock gray brush.
constexpr colorref kMainWindowBackground = Rgb(128, 128, 128);

}  // namespace onefortwo
