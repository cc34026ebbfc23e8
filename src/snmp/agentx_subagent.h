#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "agent_handover.h"
#include "mib_objects.h"
#include "platform/status_display.h"

namespace onefortwo {

// The AgentX subagent that serves ONEFORTWO-MIB through the system's master agent
// (snmpd with "master agentx"), on a thread of its own. net-snmp runs only there: its
// connection to the master, its requests, its pings and reconnection attempts, the
// notifications. From the station it reads only the AgentHandover (the newest snapshot,
// the queued notifications), so nothing it does, not even a master that hangs, can hold
// up the 56 ms tick (net-snmp's exchanges with the master are synchronous: one that takes
// the connection and then says nothing holds this thread about 6 s, its 1 s time-out and
// 5 retries, before it gives up). Every object is read-only: a SET is refused as notWritable, and
// nothing here can reach the serial line.
//
// The connection is told on the status display's agent field: "SNMP agent: connected to
// tcp:127.0.0.1:705", or "SNMP agent: not connected to tcp:127.0.0.1:705 (why); trying
// again every 5 s". With
// no master, or after the master went away, the subagent tries again every
// kRetryIntervalS; while connected it pings the master as often, so a master that hangs
// is noticed too. Notifications that come while it is not connected are dropped.
//
// net-snmp keeps an agent's state in process-wide globals: one subagent may run in a
// process, once.
class AgentxSubagent {
 public:
  static constexpr int kRetryIntervalS = 5;

  // `address` in net-snmp's syntax: "tcp:127.0.0.1:705", "/var/agentx/master".
  // `handover` and `status` outlive the subagent.
  AgentxSubagent(std::string address, AgentHandover& handover, StatusDisplay& status);
  // Stops the subagent when it runs.
  ~AgentxSubagent();
  AgentxSubagent(const AgentxSubagent&) = delete;
  AgentxSubagent& operator=(const AgentxSubagent&) = delete;

  // Starts the agent's thread, which connects in the background. False, with the reason
  // on the status display, when a subagent has already run in this process.
  bool Start();
  // Closes the session with the master and ends the thread; waits for it (up to the
  // 6 s above while a silent master holds it).
  void Stop();

  // Any thread.
  bool connected() const { return connected_.load(); }

 private:
  struct Glue;  // the net-snmp callbacks, in the .cpp
  friend struct Glue;

  void Run();
  void Show(const std::string& text, bool trouble);
  void ShowNotConnected(const std::string& reason);
  void SendQueued();
  void AnnounceConnection();

  const std::string address_;
  AgentHandover& handover_;
  StatusDisplay& status_;
  const MibObjects objects_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> connected_{false};
  // The agent's thread's own: the last status text, and a connection made but not yet
  // told.
  std::string shown_;
  bool announce_connected_ = false;
};

}  // namespace onefortwo
