// What ONEFORTWO-MIB shows as the station's events come in, what a walk visits, and the
// varbinds of each notification: the listener and the object table, without net-snmp.

#include "mib_objects.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>

#include "mib_listener.h"

namespace onefortwo {
namespace {

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::string Render(const MibValue& value) {
  switch (value.type) {
    case MibValue::Type::integer:
      return std::to_string(value.number);
    case MibValue::Type::timeticks:
      return "ticks " + std::to_string(value.number);
    case MibValue::Type::text:
      return "\"" + value.text + "\"";
    case MibValue::Type::object_id:
      return OidText(value.oid);
  }
  return "?";
}

class MibTest : public ::testing::Test {
 protected:
  // "onefortwoAmpState.1" as the agent answers a GET of it: "8", "\"500 Watts\"",
  // "absent" (no such instance), "no such object".
  std::string Value(const std::string& name_and_instance) {
    const size_t dot = name_and_instance.find('.');
    const std::string name = name_and_instance.substr(0, dot);
    Oid oid;
    for (const MibObjectName& object : objects.Objects()) {
      if (name == object.name) oid = object.oid;
    }
    if (oid.empty()) return "unknown name " + name;
    oid.push_back(static_cast<uint32_t>(std::stoul(name_and_instance.substr(dot + 1))));
    MibVarbind found;
    switch (objects.Get(handover.snapshot.Read(), oid, NowNs(), &found)) {
      case MibLookup::found:
        return Render(found.value);
      case MibLookup::no_such_instance:
        return "absent";
      case MibLookup::no_such_object:
        return "no such object";
    }
    return "?";
  }

  // The notifications queued since the last call, each as "kind: oid=value, ...", the
  // module's prefix left out of the OIDs.
  std::vector<std::string> Notifications() {
    std::vector<std::string> all;
    Notification notification;
    const std::string prefix = OidText(kOnefortwoMib) + ".";
    const auto shorten = [&prefix](std::string text) {
      return text.rfind(prefix, 0) == 0 ? text.substr(prefix.size()) : text;
    };
    while (handover.notifications.Pop(&notification)) {
      std::string text;
      for (const MibVarbind& varbind : NotificationVarbinds(notification)) {
        if (varbind.oid == kSnmpTrapOid) {
          text = shorten(Render(varbind.value)) + ":";
        } else {
          text += " " + shorten(OidText(varbind.oid)) + "=" + Render(varbind.value);
        }
      }
      all.push_back(text);
    }
    return all;
  }

  static amp_struct Shown(amp_enum status, const char* power_out, const char* power_back) {
    amp_struct shown;
    std::memset(&shown, 0, sizeof shown);
    shown.status = status;
    shown.fault_status = fault_none;
    std::strcpy(shown.power_out, power_out);
    std::strcpy(shown.power_back, power_back);
    shown.remote = 1;
    return shown;
  }
  static AmpReadings Readings(double forward_dbm) {
    return {10.0, 12.0, 10.3, 60.0, forward_dbm, forward_dbm - 20};
  }

  AgentHandover handover;
  MibListener listener{handover};
  MibObjects objects;
};

TEST_F(MibTest, ARowShowsTheReplyInTenthsAndThePowersAsThePanelShowsThem) {
  listener.ContactRestored(1);
  listener.AmpReply(0, Shown(amp_hv_on, "500", "   5"), Readings(57.0));
  EXPECT_EQ("1", Value("onefortwoAmpContact.1"));
  EXPECT_EQ("8", Value("onefortwoAmpState.1")) << "highVoltage";
  EXPECT_EQ("570", Value("onefortwoAmpForwardPower.1"));
  EXPECT_EQ("370", Value("onefortwoAmpReversePower.1"));
  EXPECT_EQ("\"500 Watts\"", Value("onefortwoAmpForwardPowerText.1"));
  EXPECT_EQ("\"5 Watts\"", Value("onefortwoAmpReversePowerText.1")) << "without the padding";
  EXPECT_EQ("100", Value("onefortwoAmpAttenuation.1"));
  EXPECT_EQ("120", Value("onefortwoAmpHelixCurrent.1"));
  EXPECT_EQ("103", Value("onefortwoAmpHelixVoltage.1"));
  EXPECT_EQ("600", Value("onefortwoAmpTemperature.1"));
  EXPECT_EQ("1", Value("onefortwoAmpRemote.1"));
  EXPECT_EQ("2", Value("onefortwoAmpConstantPower.1"));
  EXPECT_EQ("2", Value("onefortwoAmpRfInhibited.1"));
  EXPECT_EQ("\"A\"", Value("onefortwoAmpName.1"));
  EXPECT_EQ("absent", Value("onefortwoAmpForwardPower.2")) << "B has not answered";
  EXPECT_EQ("2", Value("onefortwoAmpContact.2"));
  EXPECT_EQ("1", Value("onefortwoAmpState.2")) << "noContact";

  // The unit button: the next reply's texts are in the new unit.
  listener.PowerUnitChanged(power_dbm);
  EXPECT_EQ("\"500 Watts\"", Value("onefortwoAmpForwardPowerText.1")) << "until the next reply";
  listener.AmpReply(0, Shown(amp_hv_on, "57.0", "37.0"), Readings(57.0));
  EXPECT_EQ("\"57.0 dBm\"", Value("onefortwoAmpForwardPowerText.1"));
  listener.PowerUnitChanged(power_dbw);
  listener.AmpReply(0, Shown(amp_hv_on, "27.0", " 7.0"), Readings(57.0));
  EXPECT_EQ("\"7.0 dBW\"", Value("onefortwoAmpReversePowerText.1"));
}

TEST_F(MibTest, ReadingsRoundToTenthsAndAFieldWithoutANumberIsAbsent) {
  AmpReadings readings = Readings(57.06);
  readings.helix_current_ma = std::nan("");
  readings.temperature_c = -0.05;
  listener.AmpReply(2, Shown(amp_standby, "508", "   5"), readings);
  EXPECT_EQ("571", Value("onefortwoAmpForwardPower.3"));
  EXPECT_EQ("-1", Value("onefortwoAmpTemperature.3")) << "halves away from zero";
  EXPECT_EQ("absent", Value("onefortwoAmpHelixCurrent.3"));
  EXPECT_EQ("103", Value("onefortwoAmpHelixVoltage.3"));
}

TEST_F(MibTest, OutOfContactTheReadingsGoAndTheFaultStays) {
  listener.ContactRestored(2);
  listener.AmpReply(1, Shown(amp_fault, "0", "   0"), Readings(0));
  listener.FaultRaised(1, fault_over_temp);
  listener.ContactLost(2, "no reply to three queries in a row");
  listener.AmpStateChanged(1, amp_fault, amp_no_contact);
  EXPECT_EQ("2", Value("onefortwoAmpContact.2"));
  EXPECT_EQ("1", Value("onefortwoAmpState.2"));
  EXPECT_EQ("4", Value("onefortwoAmpFault.2")) << "overTemperature: no reply has cleared it";
  EXPECT_EQ("\"Over Temperature\"", Value("onefortwoAmpFaultText.2"));
  for (const char* reading :
       {"onefortwoAmpForwardPower.2", "onefortwoAmpForwardPowerText.2", "onefortwoAmpAttenuation.2",
        "onefortwoAmpTemperature.2", "onefortwoAmpRemote.2", "onefortwoAmpRfInhibited.2"})
    EXPECT_EQ("absent", Value(reading)) << reading;
}

TEST_F(MibTest, TheControllerIsUnknownUntilItAnswersAndKeepsItsLastReplyWhenSilent) {
  EXPECT_EQ("2", Value("onefortwoControllerContact.0"));
  EXPECT_EQ("absent", Value("onefortwoControllerSwitch1.0"));
  EXPECT_EQ("absent", Value("onefortwoControllerMode.0"));
  listener.ContactRestored(0);
  listener.ControllerReply({'B', 'A', 0, 1});
  EXPECT_EQ("1", Value("onefortwoControllerContact.0"));
  EXPECT_EQ("2", Value("onefortwoControllerSwitch1.0")) << "b";
  EXPECT_EQ("1", Value("onefortwoControllerSwitch2.0")) << "a";
  EXPECT_EQ("2", Value("onefortwoControllerMode.0")) << "manual";
  EXPECT_EQ("2", Value("onefortwoControllerControl.0")) << "remote";
  listener.ContactLost(0, "the port was lost");
  EXPECT_EQ("2", Value("onefortwoControllerContact.0"));
  EXPECT_EQ("2", Value("onefortwoControllerSwitch1.0")) << "as the diagram keeps it, unconfirmed";
}

TEST_F(MibTest, TheStationShowsItsVersionPortAndUptime) {
  EXPECT_EQ("absent", Value("onefortwoStationUptime.0")) << "before the start";
  EXPECT_EQ("\"\"", Value("onefortwoPortName.0"));
  listener.StationStarted("2.0");
  PortEvent port{"SIM", LineSettings{}, true, ""};
  listener.PortOpened(port);
  EXPECT_EQ("\"2.0\"", Value("onefortwoStationVersion.0"));
  EXPECT_EQ("\"SIM\"", Value("onefortwoPortName.0"));
  EXPECT_EQ("1", Value("onefortwoStationSimulated.0"));
  EXPECT_EQ("1", Value("onefortwoPortOpen.0"));
  const std::string uptime = Value("onefortwoStationUptime.0");
  EXPECT_TRUE(uptime == "ticks 0" || uptime == "ticks 1") << uptime;
  port.reason = "the device hung up";
  listener.PortLost(port);
  EXPECT_EQ("2", Value("onefortwoPortOpen.0"));
  EXPECT_EQ("\"SIM\"", Value("onefortwoPortName.0"));
}

TEST_F(MibTest, LookupsOutsideTheInstancesAreTold) {
  EXPECT_EQ("absent", Value("onefortwoAmpState.4")) << "no amplifier D";
  EXPECT_EQ("absent", Value("onefortwoPortOpen.1")) << "a scalar has only .0";
  MibVarbind found;
  EXPECT_EQ(MibLookup::no_such_object,
            objects.Get(handover.snapshot.Read(), MibOid({1, 9, 1, 0}), NowNs(), &found));
  EXPECT_EQ(MibLookup::no_such_object,
            objects.Get(handover.snapshot.Read(), MibOid({1, 4, 1, 0}), NowNs(), &found))
      << "accessible-for-notify: not readable";
}

// A walk: GETNEXT from the module's root visits every instance with a value, each OID
// after the one before, and ends past the last.
TEST_F(MibTest, AWalkVisitsEveryInstanceInOidOrderAndSkipsTheAbsentOnes) {
  const auto walk = [this] {
    std::vector<Oid> visited;
    MibVarbind next;
    Oid at = kOnefortwoMib;
    while (objects.GetNext(handover.snapshot.Read(), at, NowNs(), &next)) {
      EXPECT_LT(at, next.oid);
      at = next.oid;
      visited.push_back(at);
    }
    return visited;
  };
  listener.StationStarted("2.0");
  listener.ControllerReply({'A', 'A', 0, 0});
  for (int amp = 0; amp < kAmpCount; ++amp)
    listener.AmpReply(amp, Shown(amp_standby, "0", "   0"), Readings(0));
  const std::vector<Oid> all = walk();
  EXPECT_EQ(5u + 16u * 3u + 5u, all.size()) << "station, 16 columns of 3 rows, controller";
  EXPECT_EQ(MibOid({1, 1, 1, 0}), all.front());
  EXPECT_EQ(MibOid({1, 2, 1, 2, 1}), all[5]) << "the table column by column";
  EXPECT_EQ(MibOid({1, 2, 1, 2, 2}), all[6]);
  EXPECT_EQ(MibOid({1, 3, 5, 0}), all.back());

  listener.ContactLost(2, "no reply to three queries in a row");
  EXPECT_EQ(all.size() - 11u, walk().size()) << "B's 11 readings and flags";

  MibVarbind next;
  EXPECT_FALSE(objects.GetNext(handover.snapshot.Read(), MibOid({1, 3, 5, 0}), NowNs(), &next));
  EXPECT_TRUE(objects.GetNext(handover.snapshot.Read(), MibOid({1, 2, 1, 4, 99}), NowNs(), &next));
  EXPECT_EQ(MibOid({1, 2, 1, 5, 1}), next.oid) << "past a column's last row: the next column";
}

struct NotificationCase {
  const char* name;
  std::function<void(MibListener&)> events;
  std::vector<std::string> expected;
};

TEST_F(MibTest, EachNotificationCarriesItsObjects) {
  ControllerChange switch_over = {{'A', 'A', 0, 0}, {'B', 'A', 0, 0}, false, false};
  ControllerChange commanded = {{'B', 'A', 0, 0}, {'B', 'B', 0, 0}, true, false};
  ControllerChange mode_only = {{'A', 'A', 0, 0}, {'A', 'A', 0, 1}, false, true};
  PortEvent port{"/dev/ttyUSB0", LineSettings{}, false, "the device hung up"};
  const std::vector<NotificationCase> cases = {
      {"fault raised", [](MibListener& l) { l.FaultRaised(0, fault_over_temp); },
       {"0.1: 1.2.1.2.1=\"A\" 1.4.2.0=4 1.4.3.0=\"Over Temperature\""}},
      {"fault replaced",
       [](MibListener& l) {
         l.FaultCleared(2, fault_low_line);
         l.FaultRaised(2, fault_fan_locked);
       },
       {"0.2: 1.2.1.2.3=\"C\" 1.4.2.0=7 1.4.3.0=\"Low Line\"",
        "0.1: 1.2.1.2.3=\"C\" 1.4.2.0=6 1.4.3.0=\"Fan Locked\""}},
      {"automatic switch-over", [&](MibListener& l) { l.ControllerChanged(switch_over); },
       {"0.3: 1.3.2.0=2 1.3.3.0=1 1.4.5.0=2"}},
      {"commanded switch", [&](MibListener& l) { l.ControllerChanged(commanded); },
       {"0.3: 1.3.2.0=2 1.3.3.0=2 1.4.5.0=1"}},
      {"mode change only", [&](MibListener& l) { l.ControllerChanged(mode_only); }, {}},
      {"contact lost and restored",
       [](MibListener& l) {
         l.ContactLost(0, "no reply to three queries in a row");
         l.ContactRestored(3);
       },
       {"0.4: 1.4.1.0=4 1.4.4.0=\"no reply to three queries in a row\"", "0.5: 1.4.1.0=3"}},
      {"port lost and restored",
       [&](MibListener& l) {
         l.PortLost(port);
         l.PortRestored(port);
       },
       {"0.6: 1.1.4.0=\"/dev/ttyUSB0\" 1.4.4.0=\"the device hung up\"",
        "0.7: 1.1.4.0=\"/dev/ttyUSB0\""}},
      {"replies and port opening notify nothing",
       [&](MibListener& l) {
         l.PortOpened(port);
         l.AmpReply(0, Shown(amp_standby, "0", "   0"), Readings(0));
         l.ControllerReply({'A', 'A', 0, 0});
       },
       {}},
  };
  for (const NotificationCase& row : cases) {
    row.events(listener);
    EXPECT_EQ(row.expected, Notifications()) << row.name;
  }
}

TEST_F(MibTest, AReasonTooLongForTheNotificationIsCutNotOverrun) {
  listener.ContactLost(1, std::string(500, 'x'));
  const std::vector<std::string> texts = Notifications();
  ASSERT_EQ(1u, texts.size());
  EXPECT_NE(std::string::npos, texts[0].find("=\"" + std::string(kNotificationReasonSize - 1, 'x') + "\""));
}

}  // namespace
}  // namespace onefortwo
