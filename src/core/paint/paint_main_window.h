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
// - `simulated`: the port is the simulated installation; a "SIMULATION" mark stands in
//   the top right corner.
// While the controller's state is unconfirmed (controller_contact 0) the switch discs are
// hatched and the mode text is greyed, with "No Contact" under it; the switch positions
// and modes drawn are the last the controller reported.
// The background must already be erased. The canvas's pen and brush are put back at the
// end; its text colour and background mode are left as the text drawing set them.
void PaintMainWindow(Canvas& main_hdc, const Rect& client_rect, const Rect& update_rect,
                     const amp_struct* amp_info, const ControllerState& controller,
                     DiagramLayout& layout, bool simulated = false);

// The marks that tell what is not live, and where.
constexpr const char* kSimulationMark = "SIMULATION";
constexpr const char* kControllerNoContact = "No Contact";
constexpr colorref kUnconfirmedText = Rgb(160, 160, 160);  // the greyed mode text
constexpr colorref kUnconfirmedHatch = Rgb(63, 63, 63);    // the hatching over the discs
constexpr colorref kSimulationColor = Rgb(255, 176, 0);

// The two lines of the mode text.
const char* RedundancyModeText(const ControllerState& controller);  // "Manual"/"Automatic"
const char* ControlModeText(const ControllerState& controller);     // "Local"/"Remote"

}  // namespace onefortwo
