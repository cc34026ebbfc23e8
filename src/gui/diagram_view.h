#pragma once

#include <QColor>
#include <QWidget>
#include <functional>

namespace onefortwo {

// The main window's client area: the stock gray background and, on it, the diagram.
class DiagramView : public QWidget {
  Q_OBJECT

 public:
  // The stock gray brush the client area is filled with before the diagram is drawn.
  static constexpr QRgb kBackground = qRgb(128, 128, 128);

  // Draws the diagram: called on every paint after the area to repaint has been filled
  // with the background, with a painter on the client area and the client's size in
  // pixels. The diagram is drawn whole from the station's present state every time.
  using Painter = std::function<void(QPainter& painter, const QSize& client)>;
  // A left click at client pixel (x, y).
  using Click = std::function<void(int x, int y)>;

  explicit DiagramView(QWidget* parent = nullptr);

  // The diagram's painting. Until it is set the client area shows only the background.
  void SetPainter(Painter painter) { painter_ = std::move(painter); }
  // What a left click on the diagram does. Until it is set a click does nothing.
  void SetClick(Click click) { click_ = std::move(click); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  Painter painter_;
  Click click_;
};

}  // namespace onefortwo
