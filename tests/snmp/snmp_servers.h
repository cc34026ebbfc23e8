#pragma once

#include <string>
#include <vector>

#include "child_process.h"
#include "support/temp_dir.h"

namespace onefortwo {

// A master agent (snmpd) and a notification receiver (snmptrapd) of the test's own, on
// loopback ports chosen at run time, with configuration files in a fresh folder and none
// of the system's: "master agentx" with an AgentX socket on TCP, a read-only community
// "public" and a read-write one "private" (so that a SET gets past the master's access
// control to the subagent, which must refuse it itself), and trap2sink to the
// snmptrapd, which logs each notification on one line, its varbinds apart by "| ":
//   TRAP SNMPv2-MIB::sysUpTime.0 = ...| SNMPv2-MIB::snmpTrapOID.0 = OID:
//   ONEFORTWO-MIB::onefortwoAmpFaulted| ONEFORTWO-MIB::onefortwoAmpName.1 = STRING: A| ...
// The client commands resolve ONEFORTWO-MIB's names from mib/. Both servers are stopped
// by the destructor, also when a test fails.
class SnmpServers {
 public:
  // The AgentX socket on TCP, or with `unix_socket` a socket path in the test's folder.
  explicit SnmpServers(bool unix_socket = false);
  ~SnmpServers();

  // Empty when both servers run; otherwise why not.
  const std::string& failure() const { return failure_; }
  // "tcp:127.0.0.1:PORT" or the socket's path, for the subagent.
  std::string agentx_address() const;
  // "127.0.0.1:PORT", where the master answers SNMP.
  std::string snmp_address() const;

  // The master alone, stopped and started again on the same ports.
  void StopMaster();
  bool StartMaster();

  // snmpget, snmpwalk, snmpset (version 2c) with ONEFORTWO-MIB loaded, e.g.
  // Get({"onefortwoAmpState.1"}); values print as "INTEGER: standby(6)".
  CommandResult Get(const std::vector<std::string>& names) const;
  CommandResult Walk(const std::string& name = "onefortwoMIB") const;
  CommandResult Set(const std::string& name, const std::string& type, const std::string& value,
                    const std::string& community) const;
  // snmptranslate with the same MIBs.
  CommandResult Translate(const std::vector<std::string>& args) const;

  // What snmptrapd has logged so far.
  std::string Traps() const;
  // Waits until a logged notification line holds every one of `parts`; that line, or ""
  // after `timeout_ms`.
  std::string WaitForTrap(const std::vector<std::string>& parts, int timeout_ms) const;

  // The environment every client command and server runs with: the MIB path and
  // modules, and no system configuration or persistent files.
  Environment environment() const;

 private:
  bool Start();
  bool WaitForMaster();

  TempDir dir_;
  int snmp_port_ = -1;
  int agentx_port_ = -1;
  int trap_port_ = -1;
  bool unix_socket_ = false;
  ChildProcess master_;
  ChildProcess trap_receiver_;
  std::string failure_;
};

}  // namespace onefortwo
