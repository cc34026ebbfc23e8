#pragma once

#include <QChartView>
#include <QPoint>

namespace onefortwo {

// A chart that zooms and pans along its time axis: drag with the left button to zoom to
// a span, the wheel to zoom in or out where the pointer is, drag with the right button
// (or the arrow keys) to pan, double-click to go back to the whole range. The window
// follows each change through the time axis' rangeChanged.
class TrendChartView : public QChartView {
  Q_OBJECT

 public:
  explicit TrendChartView(QChart* chart, QWidget* parent = nullptr);

 signals:
  // The operator asked for the whole range again.
  void resetRequested();

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool panning_ = false;
  QPoint last_;
};

}  // namespace onefortwo
