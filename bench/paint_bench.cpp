// One paint of the main window into an image through QPainter, with the amplifiers in
// three different states: PaintMainWindow alone (the diagram over what is there), and a
// whole repaint (the gray erase first, as every paint of the window has it).

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstring>

#include "canvas/qpainter_canvas.h"
#include "canvas/render_main_window.h"
#include "paint/paint_main_window.h"
#include "paint/paint_objects.h"

#include "stand_ins.h"

namespace onefortwo {
namespace {

// The station's state while painting: three amplifiers in different states, one switch
// thrown.
struct Installation {
  Installation() {
    for (int amp = 0; amp < kAmpCount; ++amp) amps.InitAmpInfo(amp);
    amps.amp_info[0].status = amp_hv_on;
    std::strcpy(amps.amp_info[0].power_out, "1000");
    amps.amp_info[1].status = amp_fault;
    controller.waveguide2 = 'B';
  }
  QuietWindows windows;
  AmpModel amps{windows};
  ControllerState controller{windows};
  DiagramLayout layout;
};

void BM_PaintMainWindow(benchmark::State& state) {
  Installation station;
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(ToQColor(kMainWindowBackground));
  const Rect client{0, 0, width, height};
  for (auto _ : state) {
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    PaintMainWindow(canvas, client, client, station.amps.amp_info, station.controller,
                    station.layout);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_PaintMainWindow)->Args({1920, 1080})->Args({520, 380})->Unit(benchmark::kMicrosecond);

void BM_RepaintWithErase(benchmark::State& state) {
  Installation station;
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  QImage image(width, height, QImage::Format_RGB32);
  const QRect client(0, 0, width, height);
  for (auto _ : state) {
    QPainter painter(&image);
    RenderMainWindow(painter, client, client, station.amps.amp_info, station.controller,
                     station.layout);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_RepaintWithErase)->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace onefortwo

int main(int argc, char** argv) {
  // Fonts need a GUI application; no display is needed to paint into an image.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
