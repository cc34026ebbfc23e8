#pragma once

#include "amp/amp_info.h"
#include "controller/controller.h"
#include "paint/canvas.h"
#include "paint/paint_objects.h"

namespace onefortwo {

// The six drawing routines the diagram is built from. Each gives a raised look lit from
// the top left by drawing offset lines or shapes in dark, face, highlight and shadow pens,
// later ones over earlier ones, so the order of drawing is part of each routine. They
// select pens and brushes and set the text colour and background mode on the canvas and
// put nothing back; the paint of the main window restores the canvas when it is done.
// `scale` is the size of 32 layout units in pixels; every routine copes with 0.
class DiagramPrimitives {
 public:
  // Draws on `main_hdc` with `objects`, laid out at `scale_factor` pixels per layout unit,
  // showing the amplifiers of `amp_info` (kAmpCount records) and the switches of
  // `controller`. All are borrowed for the routines' calls.
  DiagramPrimitives(Canvas& main_hdc, const PaintObjects& objects, float scale_factor,
                    const amp_struct* amp_info, const ControllerState& controller);

  // A straight run between (x1, y1) and (x2, y2), ends in either order, as five parallel
  // lines from 2 pixels above (left of) the reference line to 5 below (right of) it:
  // black, `color`, `shade` (bgray_pen when null), then the wide black body and the wide
  // shadow, which start 1 and 2 pixels further along. A run is horizontal when it is wider
  // than tall; slanted runs follow the same rule.
  void WaveGuidePipe(int x1, int y1, int x2, int y2, const Pen& color, const Pen* shade);

  // A right-angled bend whose legs' reference lines meet at (x, y). `option`: 0 joins right
  // and down, 1 left and down, 2 up and right, 3 left and up; any other draws nothing.
  void WaveGuideCorner(int x, int y, int option, const Pen& color, const Pen* shade);

  // An output: a "(" of diameter scale/2 whose centre lies 1.25 scale right of the switch
  // disc centre (x0, y0), as a wide shadow, a wide black arc and a front arc in `color`.
  void DrawOutput(int x0, int y0, int scale, const Pen& color);

  // A dummy load: a vertical zigzag 7 * (scale / 12) pixels tall centred on y, with a lead
  // above and below, joined on its left when `left_connect` is non-zero and otherwise the
  // mirror image. Below scale 12 every stroke has length 0 and nothing shows.
  void DrawLoad(int x, int y, int left_connect, int scale);

  // Amplifier `amp` (0..2) as a right-pointing triangle of side `scale` centred on (x, y),
  // filled in the colour of its state and labelled with the state, or with its forward
  // power while high voltage is on. A state outside the enumeration shows as without
  // contact: gray and "?". Any other `amp` draws nothing.
  void DrawAmp(int amp, int x, int y, int scale);

  // Switch disc `which_waveguide` (1..4) centred on (x, y), of diameter `scale`, with its
  // two channels straight through when its switch is in the position that feeds it
  // (discs 1, 3: "A"; discs 2, 4: "B") and crossed otherwise, also for any other disc
  // number or switch position.
  void DrawSwitch(int which_waveguide, int x, int y, int scale);

 private:
  // The pen of the five lines of a run, from the outer black line to the shadow.
  const Pen& RunPen(int i, const Pen& color, const Pen* shade) const;

  Canvas& main_hdc_;
  const PaintObjects& objects_;
  float scale_factor_;
  const amp_struct* amp_info_;
  const ControllerState& controller_;
};

}  // namespace onefortwo
