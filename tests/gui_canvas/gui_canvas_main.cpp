// Runs the canvas and the diagram render tests in one offscreen application.
#include <QGuiApplication>
#include <QTest>

#include "diagram_render_test.h"
#include "qpainter_canvas_test.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  int failed = 0;
  {
    onefortwo::QPainterCanvasTest test;
    failed += QTest::qExec(&test, argc, argv);
  }
  {
    onefortwo::DiagramRenderTest test;
    failed += QTest::qExec(&test, argc, argv);
  }
  return failed == 0 ? 0 : 1;
}
