// The station program: the Qt application, the serial ports of this system and the
// built-in simulated installation "SIM", and the station running in the working
// directory, where sdefault.txt is read and written.

#include <QApplication>
#include <clocale>

#include "alarm_sound.h"
#include "sim/station_port_opener.h"
#include "station_application.h"
#include "steady_clock.h"
#ifdef _WIN32
#include "win32_serial_device.h"
#else
#include "posix_serial_device.h"
#endif

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // Qt takes the locale from the environment; the numbers the station sends and shows
  // are written with a decimal point whatever it is.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("onefortwo");
  QApplication::setDesktopFileName("onefortwo");

#ifdef _WIN32
  onefortwo::Win32SerialPortOpener serial_ports;
#else
  onefortwo::PosixSerialPortOpener serial_ports;
#endif
  onefortwo::SteadyClock clock;
  // The port name "SIM" is the built-in simulated installation; every other name is a
  // serial port of this machine.
  onefortwo::StationPortOpener opener(serial_ports, clock);
  onefortwo::AlarmSound sound;
  onefortwo::StationApplication station(opener, clock, sound);
  return station.Run();
}
