#include "qpainter_canvas_test.h"

#include <QImage>
#include <QList>
#include <QPainter>
#include <QPoint>
#include <QTest>

#include "canvas/qpainter_canvas.h"
#include "paint/push_button.h"

namespace onefortwo {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

QImage WhiteImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(kWhite);
  return image;
}

// Whether any pixel within `radius` of `at` has the colour `rgb`.
bool Near(const QImage& image, QPoint at, QRgb rgb, int radius = 1) {
  for (int y = at.y() - radius; y <= at.y() + radius; ++y)
    for (int x = at.x() - radius; x <= at.x() + radius; ++x)
      if (image.valid(x, y) && image.pixel(x, y) == rgb) return true;
  return false;
}

// The bounding box of the pixels that are not white.
QRect Inked(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != kWhite) box |= QRect(x, y, 1, 1);
  return box;
}

}  // namespace

void QPainterCanvasTest::lineLeavesOutItsEndPixel_data() {
  QTest::addColumn<QPoint>("from");
  QTest::addColumn<QPoint>("to");
  QTest::addColumn<QList<QPoint>>("drawn");
  QTest::addColumn<QList<QPoint>>("left_out");
  QTest::newRow("left to right") << QPoint(10, 10) << QPoint(20, 10)
                                 << QList<QPoint>{{10, 10}, {19, 10}}
                                 << QList<QPoint>{{9, 10}, {20, 10}};
  QTest::newRow("right to left") << QPoint(20, 10) << QPoint(10, 10)
                                 << QList<QPoint>{{20, 10}, {11, 10}}
                                 << QList<QPoint>{{21, 10}, {10, 10}};
  QTest::newRow("downwards") << QPoint(10, 10) << QPoint(10, 20)
                             << QList<QPoint>{{10, 10}, {10, 19}} << QList<QPoint>{{10, 20}};
  QTest::newRow("upwards") << QPoint(10, 20) << QPoint(10, 10) << QList<QPoint>{{10, 20}, {10, 11}}
                           << QList<QPoint>{{10, 10}};
  QTest::newRow("diagonal") << QPoint(10, 10) << QPoint(20, 20)
                            << QList<QPoint>{{10, 10}, {15, 15}, {19, 19}}
                            << QList<QPoint>{{20, 20}};
  QTest::newRow("length 0") << QPoint(10, 10) << QPoint(10, 10) << QList<QPoint>{}
                            << QList<QPoint>{{10, 10}};
  QTest::newRow("slanted") << QPoint(20, 10) << QPoint(10, 14) << QList<QPoint>{{20, 10}, {11, 14}}
                           << QList<QPoint>{{10, 14}};
  QTest::newRow("one pixel") << QPoint(10, 10) << QPoint(9, 11) << QList<QPoint>{{10, 10}}
                             << QList<QPoint>{{9, 11}};
}

void QPainterCanvasTest::lineLeavesOutItsEndPixel() {
  QFETCH(QPoint, from);
  QFETCH(QPoint, to);
  QFETCH(QList<QPoint>, drawn);
  QFETCH(QList<QPoint>, left_out);
  QImage image = WhiteImage(32, 32);
  {
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    canvas.SelectObject(Pen{Rgb(0, 0, 0), 1});
    canvas.MoveTo(from.x(), from.y());
    canvas.LineTo(to.x(), to.y());
  }
  for (const QPoint& p : drawn)
    QVERIFY2(image.pixel(p) == kBlack, qPrintable(QString::number(p.x())));
  for (const QPoint& p : left_out)
    QVERIFY2(image.pixel(p) == kWhite, qPrintable(QString::number(p.x())));
}

void QPainterCanvasTest::arcRunsCounterclockwiseFromStartToEnd_data() {
  // A circle of diameter 64 in (10, 10)-(74, 74); its ports top (42, 10), left (10, 42),
  // bottom (42, 74), right (74, 42). Quadrants are looked at on their diagonals.
  QTest::addColumn<QPoint>("start");
  QTest::addColumn<QPoint>("end");
  QTest::addColumn<bool>("upper_left");
  QTest::addColumn<bool>("lower_left");
  QTest::addColumn<bool>("lower_right");
  QTest::addColumn<bool>("upper_right");
  QTest::newRow("top to left") << QPoint(42, 10) << QPoint(10, 42) << true << false << false
                               << false;
  QTest::newRow("left to top") << QPoint(10, 42) << QPoint(42, 10) << false << true << true << true;
  QTest::newRow("top to bottom: an output")
      << QPoint(42, 10) << QPoint(42, 74) << true << true << false << false;
  QTest::newRow("rays only: points far outside")
      << QPoint(42, -500) << QPoint(-500, 42) << true << false << false << false;
  QTest::newRow("one ray: the whole circle")
      << QPoint(74, 42) << QPoint(90, 42) << true << true << true << true;
}

void QPainterCanvasTest::arcRunsCounterclockwiseFromStartToEnd() {
  QFETCH(QPoint, start);
  QFETCH(QPoint, end);
  QFETCH(bool, upper_left);
  QFETCH(bool, lower_left);
  QFETCH(bool, lower_right);
  QFETCH(bool, upper_right);
  QImage image = WhiteImage(90, 90);
  {
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    canvas.SelectObject(Pen{Rgb(0, 0, 0), 1});
    canvas.Arc(10, 10, 74, 74, start.x(), start.y(), end.x(), end.y());
  }
  QCOMPARE(Near(image, {19, 19}, kBlack, 2), upper_left);
  QCOMPARE(Near(image, {19, 64}, kBlack, 2), lower_left);
  QCOMPARE(Near(image, {64, 64}, kBlack, 2), lower_right);
  QCOMPARE(Near(image, {64, 19}, kBlack, 2), upper_right);
  // Inside its rectangle, right column and bottom row left out.
  QVERIFY(QRect(10, 10, 64, 64).contains(Inked(image)));
}

void QPainterCanvasTest::ellipseAndPolygonAreFilledAndOutlined_data() {
  QTest::addColumn<int>("width");
  QTest::newRow("thin pen") << 1;
  QTest::newRow("wide pen") << 2;
}

void QPainterCanvasTest::ellipseAndPolygonAreFilledAndOutlined() {
  QFETCH(int, width);
  const QRgb red = qRgb(255, 0, 0);
  const QRgb blue = qRgb(0, 0, 255);
  QImage image = WhiteImage(70, 40);
  {
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    canvas.SelectObject(Pen{Rgb(255, 0, 0), width});
    canvas.SelectObject(Brush{Rgb(0, 0, 255)});
    canvas.Ellipse(10, 10, 30, 30);
    const Point triangle[3] = {{40, 10}, {60, 20}, {40, 30}};
    canvas.Polygon(triangle, 3);
  }
  // The ellipse: filled, outlined, within columns and rows 10..29.
  QCOMPARE(image.pixel(20, 20), blue);
  QVERIFY(Near(image, {10, 20}, red));
  QVERIFY(Near(image, {29, 20}, red));
  QVERIFY(Near(image, {20, 29}, red));
  // The outline is the pen's width thick, inwards from the rim.
  QCOMPARE(image.pixel(10 + width - 1, 20), red);
  QCOMPARE(image.pixel(10 + width, 20), blue);
  QVERIFY(QRect(10, 10, 20, 20).contains(Inked(image.copy(0, 0, 35, 40))));
  // The triangle.
  QCOMPARE(image.pixel(46, 20), blue);
  QCOMPARE(image.pixel(40, 20), red);
  QVERIFY(Near(image, {60, 20}, red));
  QCOMPARE(image.pixel(62, 20), kWhite);
}

void QPainterCanvasTest::fillRectLeavesOutRightColumnAndBottomRow() {
  QImage image = WhiteImage(20, 20);
  {
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    canvas.FillRect(Rect{2, 3, 10, 12}, Brush{Rgb(0, 0, 0)});
    canvas.FillRect(Rect{15, 15, 15, 18}, Brush{Rgb(0, 0, 0)});  // empty
  }
  QCOMPARE(Inked(image), QRect(2, 3, 8, 9));
}

void QPainterCanvasTest::textIsPlacedByItsTopLeftCorner_data() {
  QTest::addColumn<bool>("opaque");
  QTest::newRow("transparent") << false;
  QTest::newRow("opaque") << true;
}

void QPainterCanvasTest::textIsPlacedByItsTopLeftCorner() {
  QFETCH(bool, opaque);
  const QRgb green = qRgb(0, 255, 0);
  QImage image = WhiteImage(100, 60);
  Size extent;
  {
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    canvas.SetTextColor(Rgb(0, 0, 0));
    canvas.SetBkColor(Rgb(0, 255, 0));
    canvas.SetBkMode(opaque ? BkMode::opaque : BkMode::transparent);
    extent = canvas.GetTextExtentPoint32A("Hgx", 3);
    canvas.TextOutA(20, 30, "Hgx", 3);
  }
  QVERIFY(extent.cx > 10);
  QVERIFY(extent.cy > 8);
  const QRect cell(20, 30, extent.cx, extent.cy);
  QVERIFY(cell.contains(Inked(image)));
  // "H" reaches near the top of the cell and "g" below the baseline: the glyphs fill
  // most of the cell's height.
  QVERIFY(Inked(image).height() >= extent.cy * 2 / 3);
  QVERIFY(Near(image, cell.center(), kBlack, extent.cy / 2));
  QCOMPARE(image.pixel(cell.topLeft()) == green, opaque);
}

void QPainterCanvasTest::pushButtonEdges_data() {
  QTest::addColumn<int>("up");
  QTest::addColumn<QList<QPoint>>("highlight");
  QTest::addColumn<QList<QPoint>>("shadow");
  QTest::addColumn<QList<QPoint>>("dark");
  QTest::newRow("raised") << 1 << QList<QPoint>{{0, 0}, {0, 22}, {78, 0}}
                          << QList<QPoint>{{1, 22}, {77, 22}, {78, 1}, {78, 21}}
                          << QList<QPoint>{{79, 0}, {79, 23}, {0, 23}};
  QTest::newRow("pressed") << 0 << QList<QPoint>{} << QList<QPoint>{{1, 1}, {1, 20}, {77, 1}}
                           << QList<QPoint>{{0, 0}, {79, 0}, {79, 23}, {0, 23}, {0, 12}};
}

void QPainterCanvasTest::pushButtonEdges() {
  QFETCH(int, up);
  QFETCH(QList<QPoint>, highlight);
  QFETCH(QList<QPoint>, shadow);
  QFETCH(QList<QPoint>, dark);
  const SystemColors system;  // the classic scheme
  QImage image = WhiteImage(80, 24);
  {
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    Rect r{0, 0, 80, 24};
    DrawPushButton(canvas, &r, "Standby", up, 0, 0, 0, system);
  }
  for (const QPoint& p : highlight) QCOMPARE(image.pixel(p), ToQColor(system.btn_highlight).rgb());
  for (const QPoint& p : shadow) QCOMPARE(image.pixel(p), ToQColor(system.btn_shadow).rgb());
  for (const QPoint& p : dark) QCOMPARE(image.pixel(p), ToQColor(system.dark_shadow).rgb());
  QCOMPARE(image.pixel(5, 5), ToQColor(system.btn_face).rgb());
  QVERIFY(Near(image, {40, 12}, ToQColor(system.btn_text).rgb(), 6));
}

}  // namespace onefortwo
