#include "diagram_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace onefortwo {

DiagramView::DiagramView(QWidget* parent) : QWidget(parent) {
  // Every paint fills what it repaints, so Qt need not clear it first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void DiagramView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (painter_) {
    painter_(painter, rect(), event->rect());
  } else {
    painter.fillRect(event->rect(), QColor(kBackground));
  }
}

void DiagramView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !click_) return;
  const QPoint at = event->position().toPoint();
  click_(at.x(), at.y());
}

}  // namespace onefortwo
