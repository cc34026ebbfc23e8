// The station program: the Qt application, the serial ports of this system and the
// built-in simulated installation "SIM", and the station running in the working
// directory, where sdefault.txt is read and written. With --agentx ADDRESS the station's
// SNMP agent serves ONEFORTWO-MIB through the master agent at ADDRESS.

#include <QApplication>
#include <clocale>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "alarm_sound.h"
#include "shell/command_line.h"
#include "sim/station_port_opener.h"
#include "station_application.h"
#include "steady_clock.h"
#ifdef ONEFORTWO_HAVE_SNMP
#include "snmp_agent.h"
#endif
#ifdef _WIN32
#include "win32_serial_device.h"
#else
#include "posix_serial_device.h"
#endif

namespace {

// A bad command line: one line on standard error, exit status 2.
int Refuse(const std::string& why) {
  std::fprintf(stderr, "onefortwo: %s (see onefortwo --help)\n", why.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // The station's own options first, so that --help needs no display; Qt then takes its
  // own (-platform, -style, ...) from the rest, and anything left over is refused.
  std::vector<std::string> args(argv + 1, argv + argc);
  onefortwo::CommandLine command_line;
  std::string error;
  if (!onefortwo::ParseCommandLine(args, &command_line, &error)) return Refuse(error);
  if (command_line.help) {
    std::fputs(onefortwo::CommandLineUsage().c_str(), stdout);
    return 0;
  }
#ifndef ONEFORTWO_HAVE_SNMP
  if (!command_line.agentx.empty()) return Refuse("this build has no SNMP agent");
#endif
  std::vector<char*> qt_argv = {argv[0]};
  for (std::string& other : command_line.others) qt_argv.push_back(other.data());
  qt_argv.push_back(nullptr);
  int qt_argc = static_cast<int>(qt_argv.size()) - 1;

  QApplication application(qt_argc, qt_argv.data());
  if (qt_argc > 1) return Refuse(std::string("unknown argument ") + qt_argv[1]);
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
#ifdef ONEFORTWO_HAVE_SNMP
  // The agent hears the station from its start on, and says on the status bar whether it
  // is connected; without --agentx none of it runs.
  std::unique_ptr<onefortwo::SnmpAgent> agent;
  if (!command_line.agentx.empty()) {
    agent = std::make_unique<onefortwo::SnmpAgent>(command_line.agentx, station.status_display());
    station.station().events.Add(&agent->events());
    agent->Start();
  }
#endif
  const int code = station.Run();
#ifdef ONEFORTWO_HAVE_SNMP
  if (agent) {
    station.station().events.Remove(&agent->events());
    agent->Stop();
  }
#endif
  return code;
}
