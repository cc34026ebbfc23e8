#include "canvas/render_main_window.h"

#include "canvas/qpainter_canvas.h"
#include "paint/paint_main_window.h"
#include "paint/paint_objects.h"

namespace onefortwo {
namespace {

Rect ToRect(const QRect& r) {
  return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

}  // namespace

void RenderMainWindow(QPainter& painter, const QRect& client, const QRect& update,
                      const amp_struct* amp_info, const ControllerState& controller,
                      DiagramLayout& layout, bool simulated) {
  QPainterCanvas canvas(painter);
  canvas.FillRect(ToRect(client), Brush{kMainWindowBackground});
  PaintMainWindow(canvas, ToRect(client), ToRect(update), amp_info, controller, layout,
                  simulated);
}

QImage RenderMainWindowImage(int width, int height, const amp_struct* amp_info,
                             const ControllerState& controller, DiagramLayout& layout,
                             bool simulated) {
  QImage image(width, height, QImage::Format_RGB32);
  QPainter painter(&image);
  const QRect client(0, 0, width, height);
  RenderMainWindow(painter, client, client, amp_info, controller, layout, simulated);
  return image;
}

}  // namespace onefortwo
