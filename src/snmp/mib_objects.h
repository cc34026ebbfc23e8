#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mib_snapshot.h"
#include "notification.h"

namespace onefortwo {

// An object identifier, one number a sub-identifier.
using Oid = std::vector<uint32_t>;

// onefortwoMIB: net-snmp's experimental arc (netSnmpExperimental,
// 1.3.6.1.4.1.8072.9999) and 12 under it, until the project has an enterprise number.
extern const Oid kOnefortwoMib;
// onefortwoObjects: the subtree the agent registers and serves.
extern const Oid kOnefortwoObjects;
// SNMPv2-MIB's snmpTrapOID.0, the first varbind of every notification.
extern const Oid kSnmpTrapOid;

// kOnefortwoMib followed by `below`.
Oid MibOid(std::initializer_list<uint32_t> below);
// "1.3.6.1.4.1.8072.9999.12.1.1.1.0".
std::string OidText(const Oid& oid);

// A value as SNMP carries it: INTEGER (enumerations and TruthValue too), OCTET STRING,
// TimeTicks or OBJECT IDENTIFIER.
struct MibValue {
  enum class Type { integer, text, timeticks, object_id };
  Type type = Type::integer;
  int64_t number = 0;  // integer; timeticks (hundredths of a second, 0..2^32-1)
  std::string text;
  Oid oid;
  bool operator==(const MibValue& o) const {
    return type == o.type && number == o.number && text == o.text && oid == o.oid;
  }
};

struct MibVarbind {
  Oid oid;
  MibValue value;
};

enum class MibLookup {
  found,
  no_such_object,    // not an object the module serves
  no_such_instance,  // an object of the module without that instance, or without a value now
};

// One readable object of the module: its descriptor as in ONEFORTWO-MIB and its OID.
struct MibObjectName {
  const char* name;
  Oid oid;
};

// The readable objects of ONEFORTWO-MIB over a snapshot: what a GET and a GETNEXT find.
// Instances are kept in OID order (the station's scalars .0, then the amplifier table
// column by column, rows 1..3, then the controller's scalars), so a walk visits them in
// the order SNMP requires. `now_ns` is std::chrono::steady_clock's time in ns, for the
// uptime.
class MibObjects {
 public:
  MibObjects();

  MibLookup Get(const MibSnapshot& snapshot, const Oid& oid, int64_t now_ns,
                MibVarbind* found) const;
  // The first instance after `oid` in OID order that has a value now; false past the last.
  bool GetNext(const MibSnapshot& snapshot, const Oid& oid, int64_t now_ns,
               MibVarbind* next) const;

  // Every readable object, in OID order.
  std::vector<MibObjectName> Objects() const;

  struct Object;
  struct Instance {
    Oid oid;
    const Object* object;
    int row;  // 0 for a scalar; 1..3 in the amplifier table
  };

 private:
  std::vector<Instance> instances_;
};

// The varbinds of `notification`: snmpTrapOID.0 with the notification's OID first, then
// the values of its OBJECTS in the module's order, all as the notification carries them
// (the switches' positions of the reply that moved them, not of a later one).
std::vector<MibVarbind> NotificationVarbinds(const Notification& notification);

}  // namespace onefortwo
