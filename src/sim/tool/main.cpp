// onefortwo-sim: the simulated installation on a pseudo-terminal or a serial device.

#include <cstdio>
#include <string>

#include "sim_server.h"
#include "tool_options.h"

int main(int argc, char** argv) {
  onefortwo::ToolOptions options;
  std::string error;
  if (!onefortwo::ParseToolOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "onefortwo-sim: %s\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(onefortwo::ToolUsage().c_str(), stdout);
    return 0;
  }
  return onefortwo::RunSimServer(options);
}
