#include "mib_objects.h"

#include "events/station_events.h"

#include <algorithm>

namespace onefortwo {

const Oid kOnefortwoMib = {1, 3, 6, 1, 4, 1, 8072, 9999, 12};
const Oid kOnefortwoObjects = MibOid({1});
const Oid kSnmpTrapOid = {1, 3, 6, 1, 6, 3, 1, 1, 4, 1, 0};

Oid MibOid(std::initializer_list<uint32_t> below) {
  Oid oid = kOnefortwoMib;
  oid.insert(oid.end(), below.begin(), below.end());
  return oid;
}

std::string OidText(const Oid& oid) {
  std::string text;
  for (uint32_t sub : oid) {
    if (!text.empty()) text += '.';
    text += std::to_string(sub);
  }
  return text;
}

namespace {

using Getter = bool (*)(const MibSnapshot&, int row, int64_t now_ns, MibValue*);

constexpr int64_t kTruthTrue = 1;  // SNMPv2-TC TruthValue
constexpr int64_t kTruthFalse = 2;

bool Integer(int64_t number, MibValue* value) {
  value->type = MibValue::Type::integer;
  value->number = number;
  return true;
}
bool Truth(bool truth, MibValue* value) { return Integer(truth ? kTruthTrue : kTruthFalse, value); }
bool Text(const char* text, MibValue* value) {
  value->type = MibValue::Type::text;
  value->text = text;
  return true;
}
// A reading: present while the amplifier is in contact and the reply held a number.
bool Reading(const AmpRow& row, bool has, int32_t tenths, MibValue* value) {
  return row.has_readings && has && Integer(tenths, value);
}
const AmpRow& Row(const MibSnapshot& snapshot, int row) { return snapshot.amps[row - 1]; }
// OnefortwoSwitchPosition: a(1), b(2).
int64_t Position(int waveguide) { return waveguide == 'B' ? 2 : 1; }

}  // namespace

struct MibObjects::Object {
  const char* name;
  Oid oid;
  bool columnar;  // in onefortwoAmpTable, instances .1 .2 .3; otherwise the scalar .0
  Getter get;
};

namespace {

// The module's readable objects, in OID order.
const std::vector<MibObjects::Object>& AllObjects() {
  using S = const MibSnapshot&;
  static const std::vector<MibObjects::Object> objects = {
      // onefortwoStation
      {"onefortwoStationVersion", MibOid({1, 1, 1}), false,
       [](S s, int, int64_t, MibValue* v) { return s.started && Text(s.version, v); }},
      {"onefortwoStationUptime", MibOid({1, 1, 2}), false,
       [](S s, int, int64_t now, MibValue* v) {
         if (!s.started) return false;
         const int64_t ticks = (now - s.started_ns) / 10000000;  // hundredths of a second
         v->type = MibValue::Type::timeticks;
         v->number = ticks < 0 ? 0 : ticks % (int64_t{1} << 32);
         return true;
       }},
      {"onefortwoStationSimulated", MibOid({1, 1, 3}), false,
       [](S s, int, int64_t, MibValue* v) { return Truth(s.simulated, v); }},
      {"onefortwoPortName", MibOid({1, 1, 4}), false,
       [](S s, int, int64_t, MibValue* v) { return Text(s.port, v); }},
      {"onefortwoPortOpen", MibOid({1, 1, 5}), false,
       [](S s, int, int64_t, MibValue* v) { return Truth(s.port_open, v); }},
      // onefortwoAmpTable
      {"onefortwoAmpName", MibOid({1, 2, 1, 2}), true,
       [](S, int r, int64_t, MibValue* v) { return Text(DeviceName(r), v); }},
      {"onefortwoAmpContact", MibOid({1, 2, 1, 3}), true,
       [](S s, int r, int64_t, MibValue* v) { return Truth(Row(s, r).contact, v); }},
      {"onefortwoAmpState", MibOid({1, 2, 1, 4}), true,
       [](S s, int r, int64_t, MibValue* v) { return Integer(Row(s, r).state + 1, v); }},
      {"onefortwoAmpFault", MibOid({1, 2, 1, 5}), true,
       [](S s, int r, int64_t, MibValue* v) { return Integer(Row(s, r).fault + 1, v); }},
      {"onefortwoAmpFaultText", MibOid({1, 2, 1, 6}), true,
       [](S s, int r, int64_t, MibValue* v) {
         const fault_enum fault = Row(s, r).fault;
         return fault >= 0 && fault < kFaultCount && Text(fault_string[fault], v);
       }},
      {"onefortwoAmpForwardPower", MibOid({1, 2, 1, 7}), true,
       [](S s, int r, int64_t, MibValue* v) {
         const AmpRow& a = Row(s, r);
         return Reading(a, a.has_forward, a.forward_tenths_dbm, v);
       }},
      {"onefortwoAmpReversePower", MibOid({1, 2, 1, 8}), true,
       [](S s, int r, int64_t, MibValue* v) {
         const AmpRow& a = Row(s, r);
         return Reading(a, a.has_reverse, a.reverse_tenths_dbm, v);
       }},
      {"onefortwoAmpForwardPowerText", MibOid({1, 2, 1, 9}), true,
       [](S s, int r, int64_t, MibValue* v) {
         return Row(s, r).has_readings && Text(Row(s, r).forward_text, v);
       }},
      {"onefortwoAmpReversePowerText", MibOid({1, 2, 1, 10}), true,
       [](S s, int r, int64_t, MibValue* v) {
         return Row(s, r).has_readings && Text(Row(s, r).reverse_text, v);
       }},
      {"onefortwoAmpAttenuation", MibOid({1, 2, 1, 11}), true,
       [](S s, int r, int64_t, MibValue* v) {
         const AmpRow& a = Row(s, r);
         return Reading(a, a.has_attenuation, a.attenuation_tenths_db, v);
       }},
      {"onefortwoAmpHelixCurrent", MibOid({1, 2, 1, 12}), true,
       [](S s, int r, int64_t, MibValue* v) {
         const AmpRow& a = Row(s, r);
         return Reading(a, a.has_current, a.current_tenths_ma, v);
       }},
      {"onefortwoAmpHelixVoltage", MibOid({1, 2, 1, 13}), true,
       [](S s, int r, int64_t, MibValue* v) {
         const AmpRow& a = Row(s, r);
         return Reading(a, a.has_voltage, a.voltage_tenths_kv, v);
       }},
      {"onefortwoAmpTemperature", MibOid({1, 2, 1, 14}), true,
       [](S s, int r, int64_t, MibValue* v) {
         const AmpRow& a = Row(s, r);
         return Reading(a, a.has_temperature, a.temperature_tenths_c, v);
       }},
      {"onefortwoAmpRemote", MibOid({1, 2, 1, 15}), true,
       [](S s, int r, int64_t, MibValue* v) {
         return Row(s, r).has_readings && Truth(Row(s, r).remote, v);
       }},
      {"onefortwoAmpConstantPower", MibOid({1, 2, 1, 16}), true,
       [](S s, int r, int64_t, MibValue* v) {
         return Row(s, r).has_readings && Truth(Row(s, r).constant, v);
       }},
      {"onefortwoAmpRfInhibited", MibOid({1, 2, 1, 17}), true,
       [](S s, int r, int64_t, MibValue* v) {
         return Row(s, r).has_readings && Truth(Row(s, r).rf_inhibit, v);
       }},
      // onefortwoController
      {"onefortwoControllerContact", MibOid({1, 3, 1}), false,
       [](S s, int, int64_t, MibValue* v) { return Truth(s.controller_contact, v); }},
      {"onefortwoControllerSwitch1", MibOid({1, 3, 2}), false,
       [](S s, int, int64_t, MibValue* v) {
         return s.controller_known && Integer(Position(s.waveguide1), v);
       }},
      {"onefortwoControllerSwitch2", MibOid({1, 3, 3}), false,
       [](S s, int, int64_t, MibValue* v) {
         return s.controller_known && Integer(Position(s.waveguide2), v);
       }},
      {"onefortwoControllerMode", MibOid({1, 3, 4}), false,
       [](S s, int, int64_t, MibValue* v) {  // automatic(1), manual(2)
         return s.controller_known && Integer(s.controller_manual ? 2 : 1, v);
       }},
      {"onefortwoControllerControl", MibOid({1, 3, 5}), false,
       [](S s, int, int64_t, MibValue* v) {  // local(1), remote(2)
         return s.controller_known && Integer(s.controller_local ? 1 : 2, v);
       }},
  };
  return objects;
}

bool IsPrefix(const Oid& prefix, const Oid& oid) {
  return prefix.size() <= oid.size() && std::equal(prefix.begin(), prefix.end(), oid.begin());
}

}  // namespace

MibObjects::MibObjects() {
  for (const Object& object : AllObjects()) {
    if (object.columnar) {
      for (int row = 1; row <= kAmpCount; ++row) {
        Oid oid = object.oid;
        oid.push_back(static_cast<uint32_t>(row));
        instances_.push_back({oid, &object, row});
      }
    } else {
      Oid oid = object.oid;
      oid.push_back(0);
      instances_.push_back({oid, &object, 0});
    }
  }
  std::sort(instances_.begin(), instances_.end(),
            [](const Instance& a, const Instance& b) { return a.oid < b.oid; });
}

MibLookup MibObjects::Get(const MibSnapshot& snapshot, const Oid& oid, int64_t now_ns,
                          MibVarbind* found) const {
  const auto at = std::lower_bound(
      instances_.begin(), instances_.end(), oid,
      [](const Instance& instance, const Oid& wanted) { return instance.oid < wanted; });
  if (at != instances_.end() && at->oid == oid) {
    found->oid = oid;
    if (at->object->get(snapshot, at->row, now_ns, &found->value)) return MibLookup::found;
    return MibLookup::no_such_instance;
  }
  for (const Object& object : AllObjects()) {
    if (IsPrefix(object.oid, oid)) return MibLookup::no_such_instance;
  }
  return MibLookup::no_such_object;
}

bool MibObjects::GetNext(const MibSnapshot& snapshot, const Oid& oid, int64_t now_ns,
                         MibVarbind* next) const {
  auto at = std::upper_bound(
      instances_.begin(), instances_.end(), oid,
      [](const Oid& after, const Instance& instance) { return after < instance.oid; });
  for (; at != instances_.end(); ++at) {
    if (at->object->get(snapshot, at->row, now_ns, &next->value)) {
      next->oid = at->oid;
      return true;
    }
  }
  return false;
}

std::vector<MibObjectName> MibObjects::Objects() const {
  std::vector<MibObjectName> names;
  for (const Object& object : AllObjects()) names.push_back({object.name, object.oid});
  return names;
}

namespace {

MibVarbind IntegerVarbind(Oid oid, int64_t number) {
  MibVarbind varbind;
  varbind.oid = std::move(oid);
  Integer(number, &varbind.value);
  return varbind;
}

MibVarbind TextVarbind(Oid oid, const std::string& text) {
  MibVarbind varbind;
  varbind.oid = std::move(oid);
  Text(text.c_str(), &varbind.value);
  return varbind;
}

// onefortwoEventDevice: a(1), b(2), c(3), controller(4).
int64_t EventDevice(int device) { return device == kControllerDevice ? 4 : device; }

// An amplifier's onefortwoAmpName instance: the amplifier named by its row.
MibVarbind AmpName(int device) {
  const uint32_t row = static_cast<uint32_t>(device);
  return TextVarbind(MibOid({1, 2, 1, 2, row}), DeviceName(device));
}

}  // namespace

std::vector<MibVarbind> NotificationVarbinds(const Notification& n) {
  MibVarbind trap;
  trap.oid = kSnmpTrapOid;
  trap.value.type = MibValue::Type::object_id;
  trap.value.oid = MibOid({0, static_cast<uint32_t>(n.kind)});
  std::vector<MibVarbind> varbinds = {trap};
  const fault_enum fault = n.fault >= 0 && n.fault < kFaultCount ? n.fault : fault_none;
  switch (n.kind) {
    case NotificationKind::amp_faulted:
    case NotificationKind::amp_fault_cleared:
      varbinds.push_back(AmpName(n.device));
      varbinds.push_back(IntegerVarbind(MibOid({1, 4, 2, 0}), fault + 1));
      varbinds.push_back(TextVarbind(MibOid({1, 4, 3, 0}), fault_string[fault]));
      break;
    case NotificationKind::switch_changed:
      varbinds.push_back(IntegerVarbind(MibOid({1, 3, 2, 0}), Position(n.waveguide1)));
      varbinds.push_back(IntegerVarbind(MibOid({1, 3, 3, 0}), Position(n.waveguide2)));
      // onefortwoEventSwitchOrigin: station(1), controller(2)
      varbinds.push_back(IntegerVarbind(MibOid({1, 4, 5, 0}), n.commanded ? 1 : 2));
      break;
    case NotificationKind::contact_lost:
      varbinds.push_back(IntegerVarbind(MibOid({1, 4, 1, 0}), EventDevice(n.device)));
      varbinds.push_back(TextVarbind(MibOid({1, 4, 4, 0}), n.reason));
      break;
    case NotificationKind::contact_restored:
      varbinds.push_back(IntegerVarbind(MibOid({1, 4, 1, 0}), EventDevice(n.device)));
      break;
    case NotificationKind::port_lost:
      varbinds.push_back(TextVarbind(MibOid({1, 1, 4, 0}), n.port));
      varbinds.push_back(TextVarbind(MibOid({1, 4, 4, 0}), n.reason));
      break;
    case NotificationKind::port_restored:
      varbinds.push_back(TextVarbind(MibOid({1, 1, 4, 0}), n.port));
      break;
  }
  return varbinds;
}

}  // namespace onefortwo
