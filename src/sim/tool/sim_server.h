#pragma once

#include "tool_options.h"

namespace onefortwo {

// Runs onefortwo-sim: opens the line (a new pseudo-terminal, or options.device), prints
// its path as the first line on standard output, then serves the simulated installation
// on it and carries out the commands read from standard input until "quit" or a signal.
// End of standard input stops the commands, not the service. Returns the exit status:
// 0 after "quit", 1 when the line cannot be opened or fails (with a one-line message on
// standard error).
int RunSimServer(const ToolOptions& options);

}  // namespace onefortwo
