#include "journal_windows/trend_chart_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace onefortwo {

TrendChartView::TrendChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
  setRubberBand(QChartView::HorizontalRubberBand);
  setRenderHint(QPainter::Antialiasing, false);
  setFocusPolicy(Qt::StrongFocus);
}

void TrendChartView::wheelEvent(QWheelEvent* event) {
  const QRectF plot = chart()->plotArea();
  const double factor = event->angleDelta().y() > 0 ? 0.8 : 1.25;
  // Zoom about the pointer: the time under it stays under it.
  const double x = std::clamp(event->position().x(), plot.left(), plot.right());
  QRectF zoomed = plot;
  zoomed.setWidth(plot.width() * factor);
  zoomed.moveLeft(x - (x - plot.left()) * factor);
  chart()->zoomIn(zoomed);
  event->accept();
}

void TrendChartView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    panning_ = true;
    last_ = event->pos();
    setCursor(Qt::ClosedHandCursor);
    event->accept();
    return;
  }
  QChartView::mousePressEvent(event);
}

void TrendChartView::mouseMoveEvent(QMouseEvent* event) {
  if (panning_) {
    chart()->scroll(last_.x() - event->pos().x(), 0);
    last_ = event->pos();
    event->accept();
    return;
  }
  QChartView::mouseMoveEvent(event);
}

void TrendChartView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    // Qt's chart view zooms out on a right click; here the right button pans.
    panning_ = false;
    unsetCursor();
    event->accept();
    return;
  }
  QChartView::mouseReleaseEvent(event);
}

void TrendChartView::mouseDoubleClickEvent(QMouseEvent* event) {
  emit resetRequested();
  event->accept();
}

void TrendChartView::keyPressEvent(QKeyEvent* event) {
  const double step = chart()->plotArea().width() / 10;
  switch (event->key()) {
    case Qt::Key_Left: chart()->scroll(-step, 0); break;
    case Qt::Key_Right: chart()->scroll(step, 0); break;
    case Qt::Key_Plus: chart()->zoom(1.25); break;
    case Qt::Key_Minus: chart()->zoom(0.8); break;
    default: QChartView::keyPressEvent(event); return;
  }
  event->accept();
}

}  // namespace onefortwo
