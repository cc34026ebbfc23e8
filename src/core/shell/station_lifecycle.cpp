#include "shell/station_lifecycle.h"

namespace onefortwo {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

bool IsSeparator(char c) {
  return c == '/' || c == kSeparator;
}

}  // namespace

const char* MainWindowTitle(bool simulated) {
  return simulated ? "Varek 1:2 System - SIM" : "Varek 1:2 System";
}

bool StartStation(Station& station, const std::string& working_directory) {
  std::string folder = working_directory;
  if (!folder.empty() && !IsSeparator(folder.back())) folder += kSeparator;
  station.link.save_directory = folder;
  station.events.StationStarted(kStationVersion);

  station.link.LoadSerialDefaults();
  if (!station.link.defaults_problem().empty()) {
    // No port is opened in place of the one the file meant; the operator is told why
    // before the serial configuration dialog comes up.
    station.windows().ShowMessage(
        (station.link.defaults_problem() + " Choose the port in the dialog that follows.").c_str(),
        "Problem", MessageIcon::error);
  }
  station.link.InitSerial();  // the result is not needed: the port's state tells
  for (int amp = 0; amp < kAmpCount; ++amp) station.amps.InitAmpInfo(amp);
  return station.link.PortOpen();
}

bool ConfirmExit(Station& station, Prompter& prompter) {
  if (!prompter.AskYesNo("Exit 1:2 M&C?", "Confirm")) return false;
  station.link.ClosePort("the station ends");
  station.events.StationEnded();
  return true;
}

}  // namespace onefortwo
