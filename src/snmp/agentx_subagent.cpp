#include "agentx_subagent.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/agent/net-snmp-agent-includes.h>
#include <net-snmp/agent/agent_callbacks.h>
#include <pthread.h>
#include <signal.h>

#include <chrono>

namespace onefortwo {
namespace {

// The name net-snmp knows the subagent by (its configuration file, were one read).
constexpr const char* kAppName = "onefortwo";

std::atomic<bool> g_started{false};
// The one subagent of the process, for net-snmp's callbacks: their client arguments must
// stay null, since snmp_shutdown frees the ones it finds.
AgentxSubagent* g_subagent = nullptr;

int64_t SteadyNowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::vector<oid> NetSnmpOid(const Oid& from) { return std::vector<oid>(from.begin(), from.end()); }

Oid OurOid(const oid* name, size_t length) {
  Oid to;
  to.reserve(length);
  for (size_t i = 0; i < length; ++i)
    to.push_back(name[i] > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(name[i]));
  return to;
}

void SetValue(netsnmp_variable_list* vb, const MibValue& value) {
  switch (value.type) {
    case MibValue::Type::integer:
      snmp_set_var_typed_integer(vb, ASN_INTEGER, static_cast<long>(value.number));
      break;
    case MibValue::Type::timeticks:
      snmp_set_var_typed_integer(vb, ASN_TIMETICKS, static_cast<long>(value.number));
      break;
    case MibValue::Type::text:
      snmp_set_var_typed_value(vb, ASN_OCTET_STR, value.text.data(), value.text.size());
      break;
    case MibValue::Type::object_id: {
      const std::vector<oid> id = NetSnmpOid(value.oid);
      snmp_set_var_typed_value(vb, ASN_OBJECT_ID, id.data(), id.size() * sizeof(oid));
      break;
    }
  }
}

void AddVarbind(netsnmp_variable_list** list, const MibVarbind& varbind) {
  const std::vector<oid> name = NetSnmpOid(varbind.oid);
  const MibValue& value = varbind.value;
  switch (value.type) {
    case MibValue::Type::integer:
    case MibValue::Type::timeticks: {
      const long number = static_cast<long>(value.number);
      snmp_varlist_add_variable(list, name.data(), name.size(),
                                value.type == MibValue::Type::integer ? ASN_INTEGER : ASN_TIMETICKS,
                                &number, sizeof number);
      break;
    }
    case MibValue::Type::text:
      snmp_varlist_add_variable(list, name.data(), name.size(), ASN_OCTET_STR,
                                value.text.data(), value.text.size());
      break;
    case MibValue::Type::object_id: {
      const std::vector<oid> id = NetSnmpOid(value.oid);
      snmp_varlist_add_variable(list, name.data(), name.size(), ASN_OBJECT_ID, id.data(),
                                id.size() * sizeof(oid));
      break;
    }
  }
}

// What follows the last "): " of net-snmp's connection warning, "Warning: Failed to
// connect to the agentx master agent (tcp:127.0.0.1:705): Unknown host (Connection
// refused)", without its line end: the reason in the system's words.
std::string ConnectFailure(const std::string& message) {
  std::string reason = message;
  const size_t colon = reason.rfind("): ");
  if (colon != std::string::npos) reason = reason.substr(colon + 3);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' ')) reason.pop_back();
  return reason.empty() ? std::string("no master agent answered") : reason;
}

}  // namespace

// The C callbacks net-snmp calls on the agent's thread, for g_subagent.
struct AgentxSubagent::Glue {
  static int Handle(netsnmp_mib_handler*, netsnmp_handler_registration*,
                    netsnmp_agent_request_info* info, netsnmp_request_info* requests) {
    AgentxSubagent* self = g_subagent;
    if (self == nullptr) return SNMP_ERR_GENERR;
    const MibSnapshot& snapshot = self->handover_.snapshot.Read();
    const int64_t now = SteadyNowNs();
    for (netsnmp_request_info* request = requests; request; request = request->next) {
      if (request->processed) continue;
      netsnmp_variable_list* vb = request->requestvb;
      const Oid asked = OurOid(vb->name, vb->name_length);
      MibVarbind found;
      switch (info->mode) {
        case MODE_GET:
          switch (self->objects_.Get(snapshot, asked, now, &found)) {
            case MibLookup::found:
              SetValue(vb, found.value);
              break;
            case MibLookup::no_such_object:
              netsnmp_set_request_error(info, request, SNMP_NOSUCHOBJECT);
              break;
            case MibLookup::no_such_instance:
              netsnmp_set_request_error(info, request, SNMP_NOSUCHINSTANCE);
              break;
          }
          break;
        case MODE_GETNEXT:
          // Past our last instance the varbind stays unanswered, and the agent carries
          // the request on to whatever is registered after us.
          if (self->objects_.GetNext(snapshot, asked, now, &found)) {
            const std::vector<oid> name = NetSnmpOid(found.oid);
            snmp_set_var_objid(vb, name.data(), name.size());
            SetValue(vb, found.value);
          }
          break;
        default:
          netsnmp_set_request_error(info, request, SNMP_ERR_NOTWRITABLE);
          break;
      }
    }
    return SNMP_ERR_NOERROR;
  }

  static int Connected(int, int, void*, void*) {
    // Told once the connection's registrations are through too (AnnounceConnection),
    // so that "connected" means the master serves the module.
    AgentxSubagent* self = g_subagent;
    if (self == nullptr) return 0;
    self->connected_ = true;
    self->announce_connected_ = true;
    return 0;
  }

  static int Disconnected(int, int, void*, void*) {
    AgentxSubagent* self = g_subagent;
    if (self == nullptr) return 0;
    self->connected_ = false;
    if (!self->stop_) self->ShowNotConnected("the master agent went away");
    return 0;
  }

  // net-snmp's log: kept out of the station's terminal; a failed connection attempt
  // gives the status its reason.
  static int Log(int, int, void* server, void*) {
    AgentxSubagent* self = g_subagent;
    const auto* message = static_cast<const snmp_log_message*>(server);
    if (self == nullptr || message == nullptr || message->msg == nullptr) return 0;
    const std::string text = message->msg;
    if (!self->connected_ && !self->stop_ &&
        text.find("Failed to connect to the agentx master agent") != std::string::npos)
      self->ShowNotConnected(ConnectFailure(text));
    return 0;
  }

  static void Wake(int, void*) {
    AgentxSubagent* self = g_subagent;
    if (self == nullptr) return;
    self->handover_.wakeup.Drain();
    self->SendQueued();
  }
};

AgentxSubagent::AgentxSubagent(std::string address, AgentHandover& handover,
                               StatusDisplay& status)
    : address_(std::move(address)), handover_(handover), status_(status) {}

AgentxSubagent::~AgentxSubagent() { Stop(); }

bool AgentxSubagent::Start() {
  if (thread_.joinable()) return true;
  if (g_started.exchange(true)) {
    status_.ShowStatus(StatusField::agent,
                       "SNMP agent: not started (a subagent already ran in this process)", true);
    return false;
  }
  stop_ = false;
  thread_ = std::thread([this] { Run(); });
  return true;
}

void AgentxSubagent::Stop() {
  if (!thread_.joinable()) return;
  stop_ = true;
  handover_.wakeup.Signal();
  thread_.join();
}

void AgentxSubagent::Show(const std::string& text, bool trouble) {
  if (text == shown_) return;
  shown_ = text;
  status_.ShowStatus(StatusField::agent, text, trouble);
}

void AgentxSubagent::ShowNotConnected(const std::string& reason) {
  Show("SNMP agent: not connected to " + address_ + " (" + reason + "); trying again every " +
           std::to_string(kRetryIntervalS) + " s",
       true);
}

void AgentxSubagent::AnnounceConnection() {
  if (!announce_connected_) return;
  announce_connected_ = false;
  if (connected_) Show("SNMP agent: connected to " + address_, false);
}

void AgentxSubagent::SendQueued() {
  Notification notification;
  while (handover_.notifications.Pop(&notification)) {
    if (!connected_) continue;  // no master to hand it to: dropped, as a trap would be
    netsnmp_variable_list* list = nullptr;
    for (const MibVarbind& varbind : NotificationVarbinds(notification)) AddVarbind(&list, varbind);
    send_v2trap(list);
    snmp_free_varbind(list);
  }
}

void AgentxSubagent::Run() {
  // Signals belong to the station's own thread; a master that hangs up must not raise
  // SIGPIPE here either (the write then fails with EPIPE and the session is closed).
  sigset_t all;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, nullptr);

  snmp_disable_log();
  netsnmp_register_loghandler(NETSNMP_LOGHANDLER_CALLBACK, LOG_DEBUG);
  g_subagent = this;
  snmp_register_callback(SNMP_CALLBACK_LIBRARY, SNMP_CALLBACK_LOGGING, &Glue::Log, nullptr);

  netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_ROLE, 1);
  netsnmp_ds_set_string(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_X_SOCKET, address_.c_str());
  // Alarms (pings, reconnection) run from the loop below, not from SIGALRM.
  netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_ALARM_DONT_USE_SIG, 1);
  // The subagent takes nothing from snmp.conf files, keeps no persistent state and needs
  // no MIB files: the module's objects are compiled in.
  netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
  netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
  netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
  netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
  netsnmp_config_remember(const_cast<char*>("mibs :"));

  snmp_register_callback(SNMP_CALLBACK_APPLICATION, SNMPD_CALLBACK_INDEX_START, &Glue::Connected,
                         nullptr);
  snmp_register_callback(SNMP_CALLBACK_APPLICATION, SNMPD_CALLBACK_INDEX_STOP,
                         &Glue::Disconnected, nullptr);

  init_agent(kAppName);
  // After init_agent, which sets net-snmp's own default of a ping every 15 s.
  netsnmp_ds_set_int(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_AGENTX_PING_INTERVAL,
                     kRetryIntervalS);
  // Registered before the first connection: every (re)connection registers it with the
  // master. Read-only: a SET never reaches the handler, net-snmp answers notWritable.
  const std::vector<oid> root = NetSnmpOid(kOnefortwoObjects);
  netsnmp_handler_registration* registration = netsnmp_create_handler_registration(
      "onefortwoObjects", &Glue::Handle, root.data(), root.size(), HANDLER_CAN_RONLY);
  if (registration != nullptr) netsnmp_register_handler(registration);
  if (handover_.wakeup.fd() >= 0) register_readfd(handover_.wakeup.fd(), &Glue::Wake, nullptr);

  Show("SNMP agent: connecting to " + address_, false);
  init_snmp(kAppName);  // the first connection attempt
  AnnounceConnection();
  if (!connected_ && shown_.rfind("SNMP agent: connecting", 0) == 0)
    ShowNotConnected("no master agent answered");

  while (!stop_) {
    agent_check_and_process(1);
    AnnounceConnection();
  }

  if (handover_.wakeup.fd() >= 0) unregister_readfd(handover_.wakeup.fd());
  snmp_shutdown(kAppName);
  connected_ = false;
  g_subagent = nullptr;
}

}  // namespace onefortwo
