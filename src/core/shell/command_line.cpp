#include "shell/command_line.h"

namespace onefortwo {

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* line,
                      std::string* error) {
  *line = CommandLine();
  const std::string agentx = "--agentx";
  bool agentx_given = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      line->help = true;
      continue;
    }
    if (arg != agentx && arg.rfind(agentx + "=", 0) != 0) {
      line->others.push_back(arg);
      continue;
    }
    std::string address;
    if (arg == agentx) {
      // The address is the next argument, unless that is another option.
      if (i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] != '-') address = args[++i];
    } else {
      address = arg.substr(agentx.size() + 1);
    }
    if (address.empty()) {
      *error = "--agentx needs the master agent's address, e.g. --agentx tcp:127.0.0.1:705";
      return false;
    }
    if (agentx_given) {
      *error = "--agentx given twice";
      return false;
    }
    agentx_given = true;
    line->agentx = address;
  }
  return true;
}

std::string CommandLineUsage() {
  return "Usage: onefortwo [--agentx ADDRESS]\n"
         "The monitor-and-control station of a 1:2 redundant amplifier installation; it runs\n"
         "in the working directory, where sdefault.txt names its serial port.\n"
         "  --agentx ADDRESS  serve ONEFORTWO-MIB as an AgentX subagent of the master agent\n"
         "                    at ADDRESS (tcp:127.0.0.1:705, /var/agentx/master)\n"
         "  -h, --help        this text\n";
}

}  // namespace onefortwo
