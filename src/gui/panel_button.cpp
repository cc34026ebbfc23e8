#include "panel_button.h"

#include <qdrawutil.h>

#include <QPainter>

#include "canvas/qpainter_canvas.h"
#include "paint/push_button.h"
#include "user/panel_face.h"

namespace onefortwo {
namespace {

// Width in pixels of the sunken client edge around the button.
constexpr int kClientEdge = 2;

}  // namespace

PanelButton::PanelButton(const amp_struct& record, int control_id, QWidget* parent)
    : QAbstractButton(parent), record_(record), control_id_(control_id) {}

void PanelButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  qDrawWinPanel(&painter, rect(), palette(), true);

  // The button is drawn in the client area inside the edge, whose corner is its origin.
  const int width = this->width() - 2 * kClientEdge;
  const int height = this->height() - 2 * kClientEdge;
  if (width <= 0 || height <= 0) return;
  painter.translate(kClientEdge, kClientEdge);
  painter.setClipRect(0, 0, width, height);

  PanelButtonFace face;  // a state outside the table shows a blank button
  PanelButtonFaceFor(record_, control_id_, &face);
  const SystemColors system = SystemColorsFromPalette(palette());
  const colorref textcolor =
      face.textcolor == kSysColorGrayText ? system.gray_text : face.textcolor;
  // Captions are drawn in exact pixels, as the diagram's texts are.
  QFont caption = font();
  caption.setStyleStrategy(QFont::NoAntialias);
  QPainterCanvas canvas(painter, caption);
  Rect r{0, 0, width, height};
  DrawPushButton(canvas, &r, face.text, isDown() ? 0 : 1, textcolor, face.bkcolor, face.t2color,
                 system);
  drawn_text_ = QString::fromLatin1(face.text);
}

}  // namespace onefortwo
