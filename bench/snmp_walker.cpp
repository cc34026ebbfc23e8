// snmp_walker ADDRESS COMMUNITY COUNT [next|bulk]: walks onefortwoObjects COUNT times in a
// row through the master agent at ADDRESS (SNMPv2c) and prints one line a walk: the
// microseconds it took and the instances it found. "next" walks one GETNEXT a varbind, as
// snmpwalk does; "bulk" asks for 64 varbinds a GETBULK, as snmpbulkwalk does. The timing
// starts at the first request and ends with the answer that leaves the subtree, so process
// start-up and MIB loading are not in it. A process of its own: the benchmark's subagent
// keeps net-snmp's agent state in its process.

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: snmp_walker ADDRESS COMMUNITY COUNT [next|bulk]\n");
    return 2;
  }
  const bool bulk = argc > 4 && std::strcmp(argv[4], "bulk") == 0;
  const int count = std::atoi(argv[3]);
  netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
  netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
  netsnmp_config_remember(const_cast<char*>("mibs :"));
  init_snmp("snmp_walker");

  netsnmp_session settings;
  snmp_sess_init(&settings);
  settings.peername = argv[1];
  settings.version = SNMP_VERSION_2c;
  settings.community = reinterpret_cast<u_char*>(argv[2]);
  settings.community_len = std::strlen(argv[2]);
  settings.timeout = 2000000;
  settings.retries = 0;
  netsnmp_session* session = snmp_open(&settings);
  if (session == nullptr) {
    std::fprintf(stderr, "snmp_walker: cannot open a session to %s\n", argv[1]);
    return 1;
  }
  const oid root[] = {1, 3, 6, 1, 4, 1, 8072, 9999, 12, 1};
  const size_t root_length = sizeof root / sizeof root[0];

  for (int walk = 0; walk < count; ++walk) {
    oid name[MAX_OID_LEN];
    size_t name_length = root_length;
    std::memcpy(name, root, sizeof root);
    int found = 0;
    bool done = false;
    const auto start = std::chrono::steady_clock::now();
    while (!done) {
      netsnmp_pdu* request = snmp_pdu_create(bulk ? SNMP_MSG_GETBULK : SNMP_MSG_GETNEXT);
      if (bulk) {
        request->non_repeaters = 0;
        request->max_repetitions = 64;
      }
      snmp_add_null_var(request, name, name_length);
      netsnmp_pdu* response = nullptr;
      const int status = snmp_synch_response(session, request, &response);
      if (status != STAT_SUCCESS || response == nullptr || response->errstat != SNMP_ERR_NOERROR) {
        std::fprintf(stderr, "snmp_walker: request failed\n");
        return 1;
      }
      done = response->variables == nullptr;
      for (netsnmp_variable_list* vb = response->variables; vb && !done; vb = vb->next_variable) {
        if (vb->type == SNMP_ENDOFMIBVIEW || vb->type == SNMP_NOSUCHOBJECT ||
            vb->type == SNMP_NOSUCHINSTANCE || vb->name_length < root_length ||
            snmp_oid_compare(vb->name, root_length, root, root_length) != 0) {
          done = true;
          break;
        }
        ++found;
        std::memcpy(name, vb->name, vb->name_length * sizeof(oid));
        name_length = vb->name_length;
      }
      snmp_free_pdu(response);
    }
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("%lld %d\n", static_cast<long long>(took.count()), found);
  }
  snmp_close(session);
  snmp_shutdown("snmp_walker");
  return 0;
}
