#pragma once

#include <string>

#include "sim/sim_installation.h"

namespace onefortwo {

// The line commands with which a person (or a test) puts faults on the simulated
// installation and changes its state, as onefortwo-sim reads them from its standard
// input. Every command is answered: zero or more lines of information, then one line that
// begins "ok" or "error: ". Anything at all may be typed; what is not a command is
// answered with an error and changes nothing.
class SimConsole {
 public:
  explicit SimConsole(SimInstallation& installation) : installation_(installation) {}

  // Carries out one line (without its line end). Blank lines and lines that begin with
  // "#" are answered with "" and do nothing.
  std::string Execute(const std::string& line);

  // The command list, as "help" prints it.
  static const char* HelpText();

  // Whether the frame log is on ("log on", "log off"); the tool starts it from its
  // command line.
  bool log_frames = false;
  // Set by "quit".
  bool quit = false;

 private:
  std::string Status() const;
  SimInstallation& installation_;
};

}  // namespace onefortwo
