// The station program: the Qt application, the serial ports of this system, and the
// station running in the working directory, where sdefault.txt is read and written.

#include <QApplication>
#include <clocale>

#include "alarm_sound.h"
#include "posix_serial_device.h"
#include "station_application.h"
#include "steady_clock.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // Qt takes the locale from the environment; the numbers the station sends and shows
  // are written with a decimal point whatever it is.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("onefortwo");
  QApplication::setDesktopFileName("onefortwo");

  onefortwo::PosixSerialPortOpener opener;
  onefortwo::SteadyClock clock;
  onefortwo::AlarmSound sound;
  onefortwo::StationApplication station(opener, clock, sound);
  return station.Run();
}
