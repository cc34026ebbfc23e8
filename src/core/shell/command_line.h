#pragma once

#include <string>
#include <vector>

namespace onefortwo {

// What the station's command line asks for.
struct CommandLine {
  // --agentx ADDRESS (or --agentx=ADDRESS): run the SNMP agent as an AgentX subagent of
  // the master agent at ADDRESS, in net-snmp's syntax ("tcp:127.0.0.1:705",
  // "/var/agentx/master"). Empty: no agent.
  std::string agentx;
  bool help = false;  // --help, -h
  // Every other argument, in order, for the window system to take its own from (Qt's
  // -platform, -style, ...); whatever it leaves is not an option of the station.
  std::vector<std::string> others;
};

// Parses `args` (without the program name). False for an option of the station without
// its value, or given twice; `error` then says so in one line.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* line, std::string* error);

// The station's --help text, one option a line.
std::string CommandLineUsage();

}  // namespace onefortwo
