#pragma once

#include <string>

#include "platform/prompter.h"
#include "shell/station.h"

namespace onefortwo {

// The station's version, as its journal and its agent tell it.
constexpr const char* kStationVersion = "2.0";

// The main window's title: "Varek 1:2 System", and "Varek 1:2 System - SIM" while the
// port is the simulated installation, so that nobody takes it for the real one.
const char* MainWindowTitle(bool simulated);

// The station's start before any window exists: `working_directory` becomes the folder of
// the defaults file (a separator is added when it has none at its end; "" means the
// current folder), the saved settings are read and the port opened with them, and the
// three amplifiers start in the no-contact state. Returns whether the port is open; when it
// is not, the serial configuration dialog must run before the main window is shown. A file
// whose port name cannot be used opens no port and says why in a message box first.
bool StartStation(Station& station, const std::string& working_directory);

// The exit command, from File, Exit or from closing the main window: asks
// "Exit 1:2 M&C?" captioned "Confirm". On Yes the port is closed and the result is true:
// the program then ends. On No nothing changes and polling goes on.
bool ConfirmExit(Station& station, Prompter& prompter);

}  // namespace onefortwo
