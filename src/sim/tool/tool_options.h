#pragma once

#include <string>

#include "platform/serial_device.h"
#include "sim/sim_options.h"

namespace onefortwo {

// The command line of onefortwo-sim.
struct ToolOptions {
  std::string device;  // serial device to serve on; empty: a new pseudo-terminal
  LineSettings line;   // rate and format of the line (9600 8N1 unless given)
  SimOptions sim;
  bool log_frames = false;  // frame log on standard error from the start
  bool help = false;
};

// Reads the arguments after the program name: --device PATH (or PATH alone), --baud N,
// --format 8N1, --turnaround MS, --warmup MS, --seed N, --log, --help; "--name=value"
// works too. False with a one-line reason in `*error` for anything else.
bool ParseToolOptions(int argc, const char* const* argv, ToolOptions* options, std::string* error);

// The --help text: usage, options and the standard-input commands.
std::string ToolUsage();

}  // namespace onefortwo
