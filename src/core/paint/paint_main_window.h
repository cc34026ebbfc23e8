#pragma once

#include "amp/amp_info.h"
#include "controller/controller.h"
#include "paint/canvas.h"
#include "paint/diagram_layout.h"

namespace onefortwo {

// Paints the whole one-line diagram of the installation, scaled to the client area: the
// inputs, the waveguide runs coloured by where each signal flows, the outputs and their
// port labels, the amplifiers coloured and labelled by state, the switch discs in their
// positions, the dummy loads, and the redundancy and control modes in the top left corner.
// - `client_rect`: the main window's client area (left and top 0).
// - `update_rect`: the part that needs repainting. When it is empty nothing is drawn and
//   `layout` keeps the values of the last paint. Clipping to it is the canvas's business.
// - `amp_info` (kAmpCount records) and `controller`: the state shown, as it is now.
// - `layout`: receives where this paint put the parts, for the mouse commands and the
//   amplifier display refresh.
// The background must already be erased. The canvas's pen and brush are put back at the
// end; its text colour and background mode are left as the text drawing set them.
void PaintMainWindow(Canvas& main_hdc, const Rect& client_rect, const Rect& update_rect,
                     const amp_struct* amp_info, const ControllerState& controller,
                     DiagramLayout& layout);

// The two lines of the mode text.
const char* RedundancyModeText(const ControllerState& controller);  // "Manual"/"Automatic"
const char* ControlModeText(const ControllerState& controller);     // "Local"/"Remote"

}  // namespace onefortwo
