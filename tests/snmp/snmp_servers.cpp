#include "snmp_servers.h"

#include <sys/socket.h>

#include <chrono>
#include <sstream>
#include <thread>

namespace onefortwo {
namespace {

constexpr int kCommandTimeoutMs = 10000;
constexpr const char* kModules = "ONEFORTWO-MIB:SNMPv2-MIB";

bool HasAll(const std::string& line, const std::vector<std::string>& parts) {
  for (const std::string& part : parts) {
    if (line.find(part) == std::string::npos) return false;
  }
  return true;
}

}  // namespace

SnmpServers::SnmpServers(bool unix_socket) : unix_socket_(unix_socket) {
  if (std::string(ONEFORTWO_SMI_MIBS).empty()) {
    failure_ = "the SMI base modules (SNMPv2-SMI, SNMPv2-TC, SNMPv2-CONF) were not found when "
               "the build was configured: run scripts/setup.sh, then cmake again";
    return;
  }
  // A port found free may be taken by someone else before the server binds it: then
  // once more with other ports.
  for (int attempt = 0; attempt < 3; ++attempt) {
    failure_.clear();
    if (Start()) return;
    master_.Stop();
    trap_receiver_.Stop();
  }
}

bool SnmpServers::Start() {
  snmp_port_ = FreeLoopbackPort(SOCK_DGRAM);
  agentx_port_ = FreeLoopbackPort(SOCK_STREAM);
  trap_port_ = FreeLoopbackPort(SOCK_DGRAM);
  if (snmp_port_ < 0 || agentx_port_ < 0 || trap_port_ < 0) {
    failure_ = "no free loopback port";
    return false;
  }
  std::ostringstream master;
  master << "master agentx\n"
         << "agentXSocket " << agentx_address() << "\n"
         << "rocommunity public 127.0.0.1\n"
         << "rwcommunity private 127.0.0.1\n"
         << "trap2sink 127.0.0.1:" << trap_port_ << " public\n";
  dir_.Write("snmpd.conf", master.str());
  dir_.Write("snmptrapd.conf", "authCommunity log public\n");

  if (!trap_receiver_.Start("snmptrapd",
                            {"-f", "-C", "-c", dir_.path() + "snmptrapd.conf", "-Lf",
                             dir_.path() + "traps.log", "-F", "TRAP %V| %v\n",
                             "udp:127.0.0.1:" + std::to_string(trap_port_)},
                            environment(), dir_.path() + "snmptrapd.out")) {
    failure_ = "snmptrapd did not start (is it installed? scripts/setup.sh installs it)";
    return false;
  }
  if (!StartMaster()) return false;
  // snmptrapd says its version once it listens.
  for (int i = 0; i < 250 && Traps().find("NET-SNMP version") == std::string::npos; ++i) {
    if (!trap_receiver_.Running()) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (Traps().find("NET-SNMP version") == std::string::npos) {
    failure_ = "snmptrapd did not come up: " + dir_.Read("snmptrapd.out");
    return false;
  }
  return true;
}

SnmpServers::~SnmpServers() {
  master_.Stop();
  trap_receiver_.Stop();
}

std::string SnmpServers::agentx_address() const {
  if (unix_socket_) return dir_.path() + "agentx/master";
  return "tcp:127.0.0.1:" + std::to_string(agentx_port_);
}

std::string SnmpServers::snmp_address() const { return "127.0.0.1:" + std::to_string(snmp_port_); }

Environment SnmpServers::environment() const {
  return {{"MIBDIRS", std::string(ONEFORTWO_SMI_MIBS) + ":" + ONEFORTWO_NETSNMP_MIBS + ":" +
                          ONEFORTWO_MIB_DIR},
          {"MIBS", kModules},
          {"SNMPCONFPATH", dir_.path()},
          {"SNMP_PERSISTENT_DIR", dir_.path() + "persist"}};
}

bool SnmpServers::StartMaster() {
  if (!master_.Start("snmpd",
                     {"-f", "-C", "-c", dir_.path() + "snmpd.conf", "-Lf",
                      dir_.path() + "snmpd.log", "udp:127.0.0.1:" + std::to_string(snmp_port_)},
                     environment(), dir_.path() + "snmpd.out")) {
    failure_ = "snmpd did not start (is it installed? scripts/setup.sh installs it)";
    return false;
  }
  if (!WaitForMaster()) {
    failure_ = "snmpd did not answer: " + dir_.Read("snmpd.log") + dir_.Read("snmpd.out");
    return false;
  }
  return true;
}

void SnmpServers::StopMaster() { master_.Stop(); }

bool SnmpServers::WaitForMaster() {
  for (int i = 0; i < 50; ++i) {
    if (!master_.Running()) return false;
    const CommandResult up = RunCommand(
        "snmpget", {"-v2c", "-c", "public", "-t", "0.2", "-r", "0", snmp_address(), "sysUpTime.0"},
        environment(), kCommandTimeoutMs);
    if (up.status == 0) return true;
  }
  return false;
}

CommandResult SnmpServers::Get(const std::vector<std::string>& names) const {
  std::vector<std::string> args = {"-v2c", "-c", "public", snmp_address()};
  for (const std::string& name : names) args.push_back("ONEFORTWO-MIB::" + name);
  return RunCommand("snmpget", args, environment(), kCommandTimeoutMs);
}

CommandResult SnmpServers::Walk(const std::string& name) const {
  return RunCommand("snmpwalk", {"-v2c", "-c", "public", snmp_address(), "ONEFORTWO-MIB::" + name},
                    environment(), kCommandTimeoutMs);
}

CommandResult SnmpServers::Set(const std::string& name, const std::string& type,
                               const std::string& value, const std::string& community) const {
  return RunCommand("snmpset",
                    {"-v2c", "-c", community, snmp_address(), "ONEFORTWO-MIB::" + name, type, value},
                    environment(), kCommandTimeoutMs);
}

CommandResult SnmpServers::Translate(const std::vector<std::string>& args) const {
  return RunCommand("snmptranslate", args, environment(), kCommandTimeoutMs);
}

std::string SnmpServers::Traps() const { return dir_.Read("traps.log"); }

std::string SnmpServers::WaitForTrap(const std::vector<std::string>& parts, int timeout_ms) const {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    std::istringstream lines(Traps());
    std::string line;
    while (std::getline(lines, line)) {
      if (line.rfind("TRAP ", 0) == 0 && HasAll(line, parts)) return line;
    }
    if (std::chrono::steady_clock::now() >= until) return std::string();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace onefortwo
