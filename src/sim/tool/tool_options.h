#pragma once

#include <string>

#include "platform/serial_device.h"
#include "sim/sim_options.h"

namespace onefortwo {

// The command line of onefortwo-sim.
struct ToolOptions {
  std::string device;  // serial device to serve on; empty: a new pseudo-terminal
  // Serve on TCP instead, as a terminal server does: listen on tcp_host:tcp_port (port 0:
  // one the system picks) for one station connection at a time.
  bool tcp = false;
  std::string tcp_host = "127.0.0.1";  // numeric, or a name; IPv6 without brackets
  int tcp_port = 0;
  LineSettings line;   // rate and format of the line (9600 8N1 unless given)
  SimOptions sim;
  bool log_frames = false;  // frame log on standard error from the start
  bool help = false;
};

// Reads the arguments after the program name: --device PATH (or PATH alone), --tcp PORT
// (or HOST:PORT, [IPv6]:PORT), --baud N, --format 8N1, --turnaround MS, --warmup MS,
// --seed N, --log, --help; "--name=value" works too. False with a one-line reason in
// `*error` for anything else, and for a device and --tcp together.
bool ParseToolOptions(int argc, const char* const* argv, ToolOptions* options, std::string* error);

// The --help text: usage, options and the standard-input commands.
std::string ToolUsage();

}  // namespace onefortwo
