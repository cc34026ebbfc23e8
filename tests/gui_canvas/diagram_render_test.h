#pragma once

#include <QObject>

namespace onefortwo {

// What a person sees of the main window, rendered offscreen into an image.
class DiagramRenderTest : public QObject {
  Q_OBJECT

 private slots:
  void pathColours_data();
  void pathColours();
  void amplifierFill_data();
  void amplifierFill();
  void modeText_data();
  void modeText();
  void tooSmallToDrawIn();
};

}  // namespace onefortwo
