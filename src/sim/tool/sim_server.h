#pragma once

#include "tool_options.h"

namespace onefortwo {

// Runs onefortwo-sim: opens the line (a new pseudo-terminal, options.device, or a TCP
// port to listen on), prints the port name the station opens as the first line on
// standard output (its path, or "tcp:127.0.0.1:40123"), then serves the simulated
// installation on it and carries out the commands read from standard input until "quit"
// or a signal. End of standard input stops the commands, not the service. On TCP one
// station is served at a time; when its connection drops, the installation carries on as
// it was and the next connection is served (each noted on standard error). Returns the
// exit status: 0 after "quit", 1 when the line cannot be opened or fails (with a
// one-line message on standard error).
int RunSimServer(const ToolOptions& options);

}  // namespace onefortwo
