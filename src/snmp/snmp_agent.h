#pragma once

#include <string>

#include "agent_handover.h"
#include "agentx_subagent.h"
#include "mib_listener.h"

namespace onefortwo {

// The station's SNMP agent put together: the listener on the station's events, the
// hand-over and the AgentX subagent on its own thread. Add events() to the station's
// EventHub before the station starts (and remove it before the agent goes), then Start.
class SnmpAgent {
 public:
  // `address`: where the master agent listens for AgentX, in net-snmp's syntax
  // ("tcp:127.0.0.1:705", "/var/agentx/master"). `status` outlives the agent.
  SnmpAgent(const std::string& address, StatusDisplay& status);

  StationEvents& events() { return listener_; }
  const MibListener& listener() const { return listener_; }
  AgentxSubagent& subagent() { return subagent_; }

  bool Start() { return subagent_.Start(); }
  void Stop() { subagent_.Stop(); }

 private:
  AgentHandover handover_;
  MibListener listener_;
  AgentxSubagent subagent_;
};

}  // namespace onefortwo
