// The yardstick of the station's idle CPU: a bare Qt Widgets program, one shown window and
// a 56 ms timer that does nothing but count, as the station's main window has. What a Qt
// program with that timer costs on its own, measured beside the station in the same run
// (bench/idle_cpu.sh).

#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle("56 ms timer");
  window.resize(520, 380);
  window.show();
  unsigned long ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
  timer.start(56);
  return application.exec();
}
