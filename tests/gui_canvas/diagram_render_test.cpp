#include "diagram_render_test.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <cstring>

#include "canvas/qpainter_canvas.h"
#include "canvas/render_main_window.h"
#include "paint/paint_objects.h"
#include "support/fake_windows.h"

namespace onefortwo {
namespace {

QRgb ToRgb(colorref color) {
  return ToQColor(color).rgb();
}

// A fresh installation as the station sees it at start, painted at 520 x 380 (scale 64).
struct Picture {
  Picture() {
    for (int amp = 0; amp < kAmpCount; ++amp) amps.InitAmpInfo(amp);
  }
  QImage Render(int width = 520, int height = 380) {
    return RenderMainWindowImage(width, height, amps.amp_info, controller, layout);
  }

  FakeWindows windows;
  AmpModel amps{windows};
  ControllerState controller{windows};
  DiagramLayout layout;
};

// Whether the run along `y` shows the highlight of `hi` one row above it and the shade of
// `shade` on it at column `x`, as a horizontal run's coloured lines lie.
void ExpectRunColours(const QImage& image, int x, int y, const Pen& hi, const Pen& shade,
                      const char* what) {
  QVERIFY2(image.pixel(x, y - 1) == ToRgb(hi.color), what);
  QVERIFY2(image.pixel(x, y) == ToRgb(shade.color), what);
}

}  // namespace

void DiagramRenderTest::pathColours_data() {
  QTest::addColumn<int>("waveguide1");
  QTest::addColumn<int>("waveguide2");
  QTest::addColumn<QString>("a");  // path A, B, C and the crossovers: green, yellow or gray
  QTest::addColumn<QString>("b");
  QTest::addColumn<QString>("c");
  QTest::addColumn<QString>("cross");
  QTest::newRow("A A") << int('A') << int('A') << "green"
                       << "yellow"
                       << "gray"
                       << "gray";
  QTest::newRow("A B") << int('A') << int('B') << "green"
                       << "gray"
                       << "yellow"
                       << "gray";
  QTest::newRow("B A") << int('B') << int('A') << "gray"
                       << "yellow"
                       << "green"
                       << "green";
  QTest::newRow("B B") << int('B') << int('B') << "gray"
                       << "green"
                       << "yellow"
                       << "green";
  QTest::newRow("unknown positions") << int('C') << 0 << "gray"
                                     << "green"
                                     << "yellow"
                                     << "green";
}

void DiagramRenderTest::pathColours() {
  QFETCH(int, waveguide1);
  QFETCH(int, waveguide2);
  QFETCH(QString, a);
  QFETCH(QString, b);
  QFETCH(QString, c);
  QFETCH(QString, cross);
  const PaintObjects o;
  const auto pair = [&](const QString& name) -> std::pair<const Pen&, const Pen&> {
    if (name == "green") return {o.green_hi_pen, o.green_shade_pen};
    if (name == "yellow") return {o.yellow_hi_pen, o.yellow_shade_pen};
    return {o.bgray_pen, o.gray_pen};
  };

  Picture picture;
  picture.controller.waveguide1 = waveguide1;
  picture.controller.waveguide2 = waveguide2;
  const QImage image = picture.Render();
  const DiagramLayout& l = picture.layout;
  const int scale = 64;

  // Each path's run across, halfway between the left switch discs and the amplifier.
  const int x = (l.sx1 + l.hxa - scale / 2) / 2;
  ExpectRunColours(image, x, l.hya, pair(a).first, pair(a).second, "path A");
  ExpectRunColours(image, x, l.hyb, pair(b).first, pair(b).second, "path B");
  ExpectRunColours(image, x, l.hyc, pair(c).first, pair(c).second, "path C");
  // Both crossovers' runs across.
  ExpectRunColours(image, l.sx1 + scale / 2, l.sy1 + scale, pair(cross).first, pair(cross).second,
                   "left crossover");
  ExpectRunColours(image, l.sx2 - scale / 2, l.sy2 + scale, pair(cross).first, pair(cross).second,
                   "right crossover");
  // Whatever the switches: input and output 1 green, input and output 2 yellow, the load
  // stubs gray.
  ExpectRunColours(image, l.sx1 - 3 * scale / 4, l.sy1, o.green_hi_pen, o.green_shade_pen,
                   "input 1");
  ExpectRunColours(image, l.sx2 + 3 * scale / 4, l.sy2, o.green_hi_pen, o.green_shade_pen,
                   "output 1");
  ExpectRunColours(image, l.sx3 - 3 * scale / 4, l.sy3, o.yellow_hi_pen, o.yellow_shade_pen,
                   "input 2");
  ExpectRunColours(image, l.sx4 + 3 * scale / 4, l.sy4, o.yellow_hi_pen, o.yellow_shade_pen,
                   "output 2");
  ExpectRunColours(image, l.sx1 + scale / 2 + 4, l.sy1, o.bgray_pen, o.gray_pen, "load 1");
  ExpectRunColours(image, l.sx2 - scale / 2 - 4, l.sy2, o.bgray_pen, o.gray_pen, "load 2");
}

void DiagramRenderTest::amplifierFill_data() {
  const PaintObjects o;
  QTest::addColumn<int>("status");
  QTest::addColumn<QRgb>("fill");
  QTest::newRow("no contact") << int(amp_no_contact) << ToRgb(o.gray_brush.color);
  QTest::newRow("power off") << int(amp_ac_off) << ToRgb(o.gray_brush.color);
  QTest::newRow("fault") << int(amp_fault) << ToRgb(o.red_brush.color);
  QTest::newRow("alarm") << int(amp_alarm) << ToRgb(o.yellow_brush.color);
  QTest::newRow("time delay") << int(amp_ftd) << ToRgb(o.magenta_brush.color);
  QTest::newRow("standby") << int(amp_standby) << ToRgb(o.blue_brush.color);
  QTest::newRow("auto HV") << int(amp_auto_hv) << ToRgb(o.magenta_brush.color);
  QTest::newRow("HV on") << int(amp_hv_on) << ToRgb(o.green_brush.color);
  QTest::newRow("status 8") << 8 << ToRgb(o.gray_brush.color);
  QTest::newRow("status -1") << -1 << ToRgb(o.gray_brush.color);
}

void DiagramRenderTest::amplifierFill() {
  QFETCH(int, status);
  QFETCH(QRgb, fill);
  Picture picture;
  for (amp_struct& amp : picture.amps.amp_info) {
    amp.status = static_cast<amp_enum>(status);
    std::strcpy(amp.power_out, "1000");
  }
  const QImage image = picture.Render();
  const DiagramLayout& l = picture.layout;
  const int h = 32;
  // Inside each triangle, above its label: half way to the apex, 3/8 up from the apex row.
  const int ys[] = {l.hya, l.hyb, l.hyc};
  for (int y : ys) {
    const int yc = y - 1;
    QCOMPARE(image.pixel(l.hxa - h / 2, yc - 3 * h / 8), fill);
    QCOMPARE(image.pixel(l.hxa - h / 2, yc + 3 * h / 8), fill);
  }
}

void DiagramRenderTest::modeText_data() {
  QTest::addColumn<int>("manual");
  QTest::addColumn<int>("local");
  QTest::addColumn<QString>("first");
  QTest::addColumn<QString>("second");
  QTest::newRow("at start") << 1 << 1 << "Manual"
                            << "Local";
  QTest::newRow("automatic remote") << 0 << 0 << "Automatic"
                                    << "Remote";
  QTest::newRow("manual remote") << 1 << 0 << "Manual"
                                 << "Remote";
  QTest::newRow("automatic local") << 0 << 1 << "Automatic"
                                   << "Local";
}

void DiagramRenderTest::modeText() {
  QFETCH(int, manual);
  QFETCH(int, local);
  QFETCH(QString, first);
  QFETCH(QString, second);
  Picture picture;
  picture.controller.controller_manual = manual;
  picture.controller.controller_local = local;
  const QImage image = picture.Render();

  // The two words as they should read: white over a black shadow one pixel down and
  // right, on the window's gray, lines 12 pixels apart from (2, 0).
  QImage expected(image.size(), QImage::Format_RGB32);
  expected.fill(ToQColor(kMainWindowBackground));
  {
    QPainter painter(&expected);
    QPainterCanvas canvas(painter);
    canvas.SetBkMode(BkMode::transparent);
    int y = 0;
    for (const QByteArray& word : {first.toLatin1(), second.toLatin1()}) {
      canvas.SetTextColor(Rgb(0, 0, 0));
      canvas.TextOutA(3, y + 1, word.constData(), word.size());
      canvas.SetTextColor(Rgb(255, 255, 255));
      canvas.TextOutA(2, y, word.constData(), word.size());
      y += 12;
    }
  }
  // The corner the controller's parser repaints: (2, 0)-(92, 27).
  const QRect corner(0, 0, 95, 28);
  QCOMPARE(image.copy(corner), expected.copy(corner));
  // And it is legible: white letters are there.
  int white = 0;
  const QImage area = image.copy(corner);
  for (int y = 0; y < area.height(); ++y)
    for (int x = 0; x < area.width(); ++x) white += area.pixel(x, y) == qRgb(255, 255, 255);
  QVERIFY(white > 40);
}

void DiagramRenderTest::tooSmallToDrawIn() {
  // Scale 0 and a client of height 1 (the smallest a window may have): the paint runs and
  // the mode text, which does not scale, is still drawn.
  for (const QSize size : {QSize(7, 5), QSize(300, 1), QSize(1, 1)}) {
    Picture picture;
    const QImage image = picture.Render(size.width(), size.height());
    QCOMPARE(picture.layout.scale_factor, 0.0f);
    QCOMPARE(image.size(), size);
  }
}

}  // namespace onefortwo
