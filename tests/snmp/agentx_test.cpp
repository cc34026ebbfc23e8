// The subagent against a real master agent: snmpd and snmptrapd started on loopback ports
// with configurations of the test's own, the station on the in-process installation SIM,
// driven tick by tick and changed through the simulator's commands. What snmpget and
// snmpwalk read after a fault, a switch-over and a silent amplifier; the notifications as
// snmptrapd logs them; a SET refused with nothing on the line; the reconnection after the
// master restarts, and with no master at the start.

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "recording_status.h"
#include "shell/station_lifecycle.h"
#include "sim/station_rig.h"
#include "snmp_agent.h"
#include "snmp_servers.h"
#include "support/fake_panel_windows.h"
#include "support/recording_events.h"
#include "support/scripted_prompter.h"
#include "user/operator_commands.h"

namespace onefortwo {
namespace {

// The station's time a change may take to show: a rotation is 4 ticks of 56 ms, and the
// controller switches over within a rotation of seeing the fault.
constexpr double kStationLimitMs = 5000;
// Real time for the agent's side: a notification reaches snmptrapd within milliseconds;
// the subagent retries every 5 s.
constexpr int kTrapTimeoutMs = 5000;
constexpr int kReconnectTimeoutMs = 15000;

class AgentxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ("", servers.failure());
    rig = StationRig::Make("SIM", &agent.events());
    ASSERT_EQ("", rig->failure());
    station().events.Add(&heard);
    station().events.StationStarted(kStationVersion);
  }

  Station& station() { return rig->station(); }

  // Starts the agent and waits until the master serves the module.
  void Connect() {
    ASSERT_TRUE(agent.Start());
    ASSERT_TRUE(status.WaitFor("SNMP agent: connected to " + servers.agentx_address(), 10000))
        << status.last();
  }

  // Ticks until every device answers.
  void AllInContact() {
    ASSERT_TRUE(rig->TickUntil(
        [this] {
          return station().contact[0] && station().contact[1] && station().contact[2] &&
                 station().contact[3];
        },
        kStationLimitMs));
  }

  // The values snmpget prints for `names`, one line each, e.g.
  // "ONEFORTWO-MIB::onefortwoAmpState.1 = INTEGER: standby(6)".
  std::string Get(const std::vector<std::string>& names) {
    const CommandResult result = servers.Get(names);
    EXPECT_EQ(0, result.status) << result.output;
    return result.output;
  }

  void Sim(const std::string& command) { ASSERT_EQ("ok", rig->Command(command)) << command; }

  SnmpServers servers;
  RecordingStatus status;
  SnmpAgent agent{servers.agentx_address(), status};
  RecordingEvents heard;
  std::unique_ptr<StationRig> rig;
};

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(AgentxTest, AWalkShowsTheInstallationAsTheStationSeesIt) {
  Connect();
  AllInContact();
  const CommandResult walk = servers.Walk();
  ASSERT_EQ(0, walk.status) << walk.output;
  for (const char* line : {
           "onefortwoStationVersion.0 = STRING: 2.0",
           "onefortwoStationSimulated.0 = INTEGER: true(1)",
           "onefortwoPortName.0 = STRING: SIM",
           "onefortwoPortOpen.0 = INTEGER: true(1)",
           "onefortwoAmpName.3 = STRING: C",
           "onefortwoAmpContact.2 = INTEGER: true(1)",
           "onefortwoAmpState.1 = INTEGER: standby(6)",
           "onefortwoAmpFaultText.3 = STRING: No Faults",
           "onefortwoAmpAttenuation.2 = INTEGER: 100 0.1 dB",
           "onefortwoAmpRemote.1 = INTEGER: true(1)",
           "onefortwoControllerContact.0 = INTEGER: true(1)",
           "onefortwoControllerSwitch1.0 = INTEGER: a(1)",
           "onefortwoControllerSwitch2.0 = INTEGER: a(1)",
           "onefortwoControllerMode.0 = INTEGER: automatic(1)",
           "onefortwoControllerControl.0 = INTEGER: remote(2)",
       })
    EXPECT_TRUE(Has(walk.output, std::string("ONEFORTWO-MIB::") + line)) << line << "\n" << walk.output;
  EXPECT_FALSE(Has(walk.output, "No more variables")) << walk.output;
}

TEST_F(AgentxTest, AFaultTheSwitchOverAndASilentAmplifierShowAndAreNotified) {
  Connect();
  AllInContact();

  // A faults; in automatic mode the controller puts the spare C in its place.
  Sim("fault A over-temp");
  ASSERT_TRUE(rig->TickUntil([this] { return station().controller.waveguide1 == 'B'; },
                             kStationLimitMs));
  const std::string faulted = Get({"onefortwoAmpState.1", "onefortwoAmpFault.1",
                                   "onefortwoAmpFaultText.1", "onefortwoControllerSwitch1.0"});
  EXPECT_TRUE(Has(faulted, "onefortwoAmpState.1 = INTEGER: faulted(3)")) << faulted;
  EXPECT_TRUE(Has(faulted, "onefortwoAmpFault.1 = INTEGER: overTemperature(4)")) << faulted;
  EXPECT_TRUE(Has(faulted, "onefortwoAmpFaultText.1 = STRING: Over Temperature")) << faulted;
  EXPECT_TRUE(Has(faulted, "onefortwoControllerSwitch1.0 = INTEGER: b(2)")) << faulted;
  EXPECT_NE("", servers.WaitForTrap({"onefortwoAmpFaulted", "onefortwoAmpName.1 = STRING: A",
                                     "onefortwoEventFault.0 = INTEGER: overTemperature(4)",
                                     "onefortwoEventFaultText.0 = STRING: Over Temperature"},
                                    kTrapTimeoutMs))
      << servers.Traps();
  EXPECT_NE("", servers.WaitForTrap({"onefortwoSwitchChanged",
                                     "onefortwoControllerSwitch1.0 = INTEGER: b(2)",
                                     "onefortwoControllerSwitch2.0 = INTEGER: a(1)",
                                     "onefortwoEventSwitchOrigin.0 = INTEGER: controller(2)"},
                                    kTrapTimeoutMs))
      << servers.Traps();

  // The operator throws switch 2 from the station: the change is marked as commanded.
  station().Command(kControllerDevice, "B2B", "Toggle Waveguide Switch 2?");
  ASSERT_TRUE(rig->TickUntil([this] { return station().controller.waveguide2 == 'B'; },
                             kStationLimitMs));
  EXPECT_NE("", servers.WaitForTrap({"onefortwoSwitchChanged",
                                     "onefortwoControllerSwitch2.0 = INTEGER: b(2)",
                                     "onefortwoEventSwitchOrigin.0 = INTEGER: station(1)"},
                                    kTrapTimeoutMs))
      << servers.Traps();

  // The fault clears.
  Sim("clear A");
  ASSERT_TRUE(rig->TickUntil(
      [this] { return station().amps.amp_info[0].fault_status == fault_none; }, kStationLimitMs));
  EXPECT_NE("", servers.WaitForTrap({"onefortwoAmpFaultCleared", "onefortwoAmpName.1 = STRING: A",
                                     "onefortwoEventFault.0 = INTEGER: overTemperature(4)"},
                                    kTrapTimeoutMs))
      << servers.Traps();

  // B goes silent: out of contact, its readings gone; then it answers again.
  Sim("silent B");
  ASSERT_TRUE(rig->TickUntil([this] { return !station().contact[2]; }, kStationLimitMs));
  const std::string silent =
      Get({"onefortwoAmpContact.2", "onefortwoAmpState.2", "onefortwoAmpForwardPower.2"});
  EXPECT_TRUE(Has(silent, "onefortwoAmpContact.2 = INTEGER: false(2)")) << silent;
  EXPECT_TRUE(Has(silent, "onefortwoAmpState.2 = INTEGER: noContact(1)")) << silent;
  EXPECT_TRUE(Has(silent, "onefortwoAmpForwardPower.2 = No Such Instance")) << silent;
  EXPECT_NE("", servers.WaitForTrap({"onefortwoContactLost", "onefortwoEventDevice.0 = INTEGER: b(2)",
                                     "no reply to three queries in a row"},
                                    kTrapTimeoutMs))
      << servers.Traps();
  Sim("normal B");
  ASSERT_TRUE(rig->TickUntil([this] { return station().contact[2]; }, kStationLimitMs));
  EXPECT_NE("", servers.WaitForTrap({"onefortwoContactRestored",
                                     "onefortwoEventDevice.0 = INTEGER: b(2)"},
                                    kTrapTimeoutMs))
      << servers.Traps();
}

TEST_F(AgentxTest, PowersFollowThePanelsUnit) {
  Connect();
  AllInContact();
  Sim("hv C on");
  ASSERT_TRUE(rig->TickUntil(
      [this] { return station().amps.readings[2].forward_dbm >= 56.95; }, kStationLimitMs));
  const std::string watts = Get({"onefortwoAmpForwardPower.3", "onefortwoAmpForwardPowerText.3"});
  EXPECT_TRUE(Has(watts, "onefortwoAmpForwardPower.3 = INTEGER: 570 0.1 dBm")) << watts;
  EXPECT_TRUE(Has(watts, "onefortwoAmpForwardPowerText.3 = STRING: 501 Watts")) << watts;  // 57.0 dBm

  // The operator presses a panel's unit button: dBm on every panel from the next reply.
  ScriptedPrompter prompter;
  FakePanelWindows panels;
  OperatorCommands commands(station(), prompter, rig->windows(), panels);
  commands.TogglePowerFormat();
  ASSERT_TRUE(rig->TickUntil([this] { return std::string(station().amps.amp_info[2].power_out) == "57.0"; },
                             kStationLimitMs));
  const std::string dbm = Get({"onefortwoAmpForwardPowerText.3"});
  EXPECT_TRUE(Has(dbm, "onefortwoAmpForwardPowerText.3 = STRING: 57.0 dBm")) << dbm;
}

// The master's AgentX socket given as a path, as Debian's snmpd has it by default.
TEST(AgentxSocketTest, TheSubagentConnectsThroughASocketPath) {
  SnmpServers servers(true);
  ASSERT_EQ("", servers.failure());
  RecordingStatus status;
  SnmpAgent agent(servers.agentx_address(), status);
  agent.events().StationStarted(kStationVersion);
  ASSERT_EQ('/', servers.agentx_address()[0]);
  ASSERT_TRUE(agent.Start());
  ASSERT_TRUE(status.WaitFor("SNMP agent: connected to " + servers.agentx_address(), 10000))
      << status.last();
  const CommandResult version = servers.Get({"onefortwoStationVersion.0"});
  EXPECT_NE(std::string::npos, version.output.find("STRING: 2.0")) << version.output;
}

TEST_F(AgentxTest, ASetIsRefusedAndNothingGoesOnTheLine) {
  Connect();
  AllInContact();
  heard.Take();
  // Through the read-write community the master hands the SET to the subagent, which
  // refuses it; through the read-only one the master refuses it itself.
  const CommandResult written = servers.Set("onefortwoAmpState.1", "i", "8", "private");
  EXPECT_NE(0, written.status);
  EXPECT_TRUE(Has(written.output, "notWritable")) << written.output;
  const CommandResult read_only = servers.Set("onefortwoControllerSwitch1.0", "i", "2", "public");
  EXPECT_NE(0, read_only.status);
  EXPECT_TRUE(Has(read_only.output, "noAccess")) << read_only.output;
  for (int tick = 0; tick < 8; ++tick) rig->Tick();
  for (const std::string& event : heard.Take())
    EXPECT_EQ(std::string::npos, event.find("command")) << event;
  const std::string after = Get({"onefortwoAmpState.1", "onefortwoControllerSwitch1.0"});
  EXPECT_TRUE(Has(after, "onefortwoAmpState.1 = INTEGER: standby(6)")) << after;
  EXPECT_TRUE(Has(after, "onefortwoControllerSwitch1.0 = INTEGER: a(1)")) << after;
}

TEST_F(AgentxTest, TheMasterGoesAwayAndComesBackWhileTheStationPollsOn) {
  Connect();
  AllInContact();
  servers.StopMaster();
  const auto tick = [this] { rig->Tick(); };
  ASSERT_TRUE(status.WaitFor("SNMP agent: not connected to " + servers.agentx_address() + " (",
                             kReconnectTimeoutMs, tick))
      << status.last();
  EXPECT_TRUE(status.trouble());
  EXPECT_TRUE(Has(status.last(), "trying again every 5 s")) << status.last();
  // The station went on polling all the while.
  Sim("fault B over-volt");
  ASSERT_TRUE(rig->TickUntil([this] { return station().amps.amp_info[1].status == amp_fault; },
                             kStationLimitMs));

  ASSERT_TRUE(servers.StartMaster()) << servers.failure();
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(status.WaitFor("SNMP agent: connected to", kReconnectTimeoutMs, tick))
      << status.last();
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - started);
  EXPECT_FALSE(status.trouble());
  const std::string after = Get({"onefortwoAmpState.2"});
  EXPECT_TRUE(Has(after, "onefortwoAmpState.2 = INTEGER: faulted(3)")) << after;
  std::printf("reconnected %lld ms after the master came back\n",
              static_cast<long long>(took.count()));
}

TEST_F(AgentxTest, WithoutAMasterAtTheStartItConnectsOnceOneComes) {
  servers.StopMaster();
  ASSERT_TRUE(agent.Start());
  const auto tick = [this] { rig->Tick(); };
  ASSERT_TRUE(status.WaitFor("SNMP agent: not connected to " + servers.agentx_address() + " (",
                             10000, tick)) << status.last();
  EXPECT_TRUE(status.trouble());
  AllInContact();
  ASSERT_TRUE(servers.StartMaster()) << servers.failure();
  ASSERT_TRUE(status.WaitFor("SNMP agent: connected to " + servers.agentx_address(),
                             kReconnectTimeoutMs, tick))
      << status.last();
  const std::string now = Get({"onefortwoAmpContact.1"});
  EXPECT_TRUE(Has(now, "onefortwoAmpContact.1 = INTEGER: true(1)")) << now;
  const std::vector<std::string> texts = status.texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ("SNMP agent: connecting to " + servers.agentx_address(), texts.front());
}

// A "master" that takes the connection and never answers: the subagent's thread waits in
// net-snmp's synchronous AgentX open; the station's ticks do not wait with it.
TEST_F(AgentxTest, AMasterThatNeverAnswersHoldsUpOnlyTheAgentsThread) {
  const int port = FreeLoopbackPort(SOCK_STREAM);
  const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  ASSERT_EQ(0, ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address));
  ASSERT_EQ(0, ::listen(listener, 4));
  std::atomic<bool> heard_open{false};
  std::thread silent([&] {
    const int connection = ::accept(listener, nullptr, nullptr);
    char bytes[256];
    if (connection >= 0 && ::recv(connection, bytes, sizeof bytes, 0) > 0) heard_open = true;
    std::this_thread::sleep_for(std::chrono::seconds(8));  // holds it open, says nothing
    if (connection >= 0) ::close(connection);
  });
  RecordingStatus hung_status;
  SnmpAgent hung("tcp:127.0.0.1:" + std::to_string(port), hung_status);
  station().events.Remove(&agent.events());
  station().events.Add(&hung.events());
  ASSERT_TRUE(hung.Start());
  for (int i = 0; i < 200 && !heard_open; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(heard_open) << "the subagent sent its Open";
  const auto opened = std::chrono::steady_clock::now();
  // The agent's thread is stuck in the exchange now; the station polls on all the same.
  AllInContact();
  Sim("fault C low-line");
  EXPECT_TRUE(rig->TickUntil([this] { return station().amps.amp_info[2].status == amp_fault; },
                             kStationLimitMs));
  EXPECT_EQ("SNMP agent: connecting to tcp:127.0.0.1:" + std::to_string(port), hung_status.last());
  // net-snmp gives up on the silent master after its time-out (1 s, 5 retries) and says so.
  EXPECT_TRUE(hung_status.WaitFor("SNMP agent: not connected to", 15000)) << hung_status.last();
  std::printf("the silent master held the agent's thread %lld ms\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - opened)
                                         .count()));
  silent.join();
  ::close(listener);
  station().events.Remove(&hung.events());
}

}  // namespace
}  // namespace onefortwo
