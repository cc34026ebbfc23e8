#include "snmp_agent.h"

namespace onefortwo {

SnmpAgent::SnmpAgent(const std::string& address, StatusDisplay& status)
    : listener_(handover_), subagent_(address, handover_, status) {}

}  // namespace onefortwo
