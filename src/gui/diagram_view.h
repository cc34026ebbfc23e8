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

  // Paints the client area: called on every paint with a painter on the client area, the
  // client rectangle and the part to repaint. It erases with the background itself. The
  // diagram is drawn whole from the station's present state every time.
  using Painter =
      std::function<void(QPainter& painter, const QRect& client, const QRect& update)>;
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
