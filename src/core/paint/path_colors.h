#pragma once

#include "paint/paint_objects.h"

namespace onefortwo {

// The highlight and shade pen a waveguide run is drawn with.
struct PenPair {
  const Pen* hi;
  const Pen* shade;
};

// The pairs of the switched runs: path A over the top (amplifier A), path B between the
// switch rows, path C along the bottom, and both crossover runs.
struct PathColors {
  PenPair p1;  // path A
  PenPair p2;  // path B
  PenPair p3;  // path C
  PenPair p4;  // crossovers
};

// The fixed pairs: signal 1 green, signal 2 yellow, idle gray.
PenPair GreenPair(const PaintObjects& o);
PenPair YellowPair(const PaintObjects& o);
PenPair GrayPair(const PaintObjects& o);

// Where each signal flows for the switch positions `waveguide1` and `waveguide2` ('A' or
// 'B'). Any position other than 'A' or 'B' gives the last row: B green, C yellow, A idle.
PathColors ChoosePathColors(int waveguide1, int waveguide2, const PaintObjects& o);

}  // namespace onefortwo
