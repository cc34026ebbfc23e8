#pragma once

#include <QObject>

namespace onefortwo {

// The desktop's drawing conventions, as the QPainter canvas keeps them.
class QPainterCanvasTest : public QObject {
  Q_OBJECT

 private slots:
  void lineLeavesOutItsEndPixel_data();
  void lineLeavesOutItsEndPixel();
  void arcRunsCounterclockwiseFromStartToEnd_data();
  void arcRunsCounterclockwiseFromStartToEnd();
  void ellipseAndPolygonAreFilledAndOutlined_data();
  void ellipseAndPolygonAreFilledAndOutlined();
  void fillRectLeavesOutRightColumnAndBottomRow();
  void textIsPlacedByItsTopLeftCorner_data();
  void textIsPlacedByItsTopLeftCorner();
  void pushButtonEdges_data();
  void pushButtonEdges();
};

}  // namespace onefortwo
