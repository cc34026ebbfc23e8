#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

#include "amp/amp_info.h"
#include "controller/controller.h"
#include "paint/diagram_layout.h"

namespace onefortwo {

// One paint of the main window onto `painter`: the client area `client` erased with the
// window's gray background, then the diagram painted over it for the part `update` (the
// whole diagram is drawn; the painter's clip, if any, keeps it to what needs it). `layout`
// receives the layout of this paint.
void RenderMainWindow(QPainter& painter, const QRect& client, const QRect& update,
                      const amp_struct* amp_info, const ControllerState& controller,
                      DiagramLayout& layout, bool simulated = false);

// The main window's picture at `width` x `height` as an image, for tests, benchmarks and
// screenshots.
QImage RenderMainWindowImage(int width, int height, const amp_struct* amp_info,
                             const ControllerState& controller, DiagramLayout& layout,
                             bool simulated = false);

}  // namespace onefortwo
