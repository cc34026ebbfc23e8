// The SNMP agent's figures, with a real snmpd on loopback and the subagent connected to
// it, the station polling the in-process installation SIM at 115200 baud on real time:
//   BM_PublishAmpReply   what the tick thread pays for one amplifier reply's changes
//                        (the listener's update and the snapshot's hand-over);
//   BM_FullWalk          one walk of the whole module by GETNEXT (as snmpwalk) and by
//                        GETBULK (as snmpbulkwalk), timed by snmp_walker, a client of its
//                        own process, 100 walks in a row;
//   BM_PollTiming        the poll ticks' duration and lateness against their 56 ms slots,
//                        idle and while snmp_walker runs 100 walks in a row.
// Run with --benchmark_repetitions=5 for medians. Needs snmpd (scripts/setup.sh).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "child_process.h"
#include "stand_ins.h"
#include "shell/station.h"
#include "shell/station_lifecycle.h"
#include "sim/station_port_opener.h"
#include "snmp_agent.h"
#include "snmp_servers.h"
#include "steady_clock.h"
#include "support/temp_dir.h"

namespace onefortwo {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTick = std::chrono::milliseconds(56);

class LastStatus : public StatusDisplay {
 public:
  void ShowStatus(StatusField, const std::string& text, bool) override {
    std::lock_guard<std::mutex> lock(mutex_);
    text_ = text;
  }
  std::string text() {
    std::lock_guard<std::mutex> lock(mutex_);
    return text_;
  }

 private:
  std::mutex mutex_;
  std::string text_;
};

// The master, the connected subagent and a station on SIM, made once for all benchmarks.
struct Rig {
  SnmpServers servers;
  LastStatus status;
  SnmpAgent agent{servers.agentx_address(), status};
  NoPorts others;
  SteadyClock clock;
  QuietWindows windows;
  StationPortOpener opener{others, clock};
  Station station{opener, clock, windows};
  std::string failure;

  Rig() {
    if (!servers.failure().empty()) {
      failure = servers.failure();
      return;
    }
    station.events.Add(&agent.events());
    station.events.StationStarted(kStationVersion);
    station.link.serial_baud = 115200;
    station.link.SetSerialPort("SIM");
    if (station.link.InitSerial() != 1) {
      failure = "SIM did not open";
      return;
    }
    for (int amp = 0; amp < kAmpCount; ++amp) station.amps.InitAmpInfo(amp);
    opener.installation().amplifier(0).SetHighVoltage(SimAmplifier::HighVoltage::on);
    agent.Start();
    const auto until = Clock::now() + std::chrono::seconds(10);
    while (status.text().rfind("SNMP agent: connected", 0) != 0 && Clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (status.text().rfind("SNMP agent: connected", 0) != 0) {
      failure = "the subagent did not connect: " + status.text();
      return;
    }
    auto slot = Clock::now();
    for (int tick = 0; tick < 60 && !AllInContact(); ++tick) {
      slot += kTick;
      std::this_thread::sleep_until(slot);
      Tick();
    }
    if (!AllInContact()) failure = "the installation did not answer";
  }
  ~Rig() { station.events.Remove(&agent.events()); }

  bool AllInContact() const {
    return station.contact[0] && station.contact[1] && station.contact[2] && station.contact[3];
  }
  void Tick() {
    station.SuperviseLink();
    station.Poll(0);
  }

  // snmp_walker run as a child, its lines in `output`.
  bool StartWalker(ChildProcess* walker, const std::string& output, int walks, bool bulk) {
    return walker->Start(ONEFORTWO_SNMP_WALKER,
                         {servers.snmp_address(), "public", std::to_string(walks), bulk ? "bulk" : "next"},
                         {}, output);
  }
};

Rig& Shared() {
  static Rig rig;
  return rig;
}

// Microseconds and instances of each walk snmp_walker printed.
std::vector<std::pair<double, int>> Walks(const std::string& path) {
  std::vector<std::pair<double, int>> walks;
  std::ifstream in(path);
  double us = 0;
  int found = 0;
  while (in >> us >> found) walks.push_back({us, found});
  return walks;
}

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(fraction * (values.size() - 1) + 0.5)];
}

void BM_PublishAmpReply(benchmark::State& state) {
  Rig& rig = Shared();
  if (!rig.failure.empty()) return state.SkipWithError(rig.failure.c_str());
  StationEvents& listener = rig.agent.events();
  amp_struct shown[2];
  std::memset(shown, 0, sizeof shown);
  shown[0].status = amp_hv_on;
  std::strcpy(shown[0].power_out, "500");
  std::strcpy(shown[0].power_back, "   5");
  shown[1] = shown[0];
  std::strcpy(shown[1].power_out, "501");
  const AmpReadings readings[2] = {{10.0, 12.0, 10.3, 60.0, 57.0, 37.0},
                                   {10.0, 12.1, 10.3, 60.1, 57.0, 37.0}};
  int n = 0;
  for (auto _ : state) {
    listener.AmpReply(n % kAmpCount, shown[n & 1], readings[n & 1]);
    ++n;
  }
}
BENCHMARK(BM_PublishAmpReply);

void BM_FullWalk(benchmark::State& state) {
  Rig& rig = Shared();
  if (!rig.failure.empty()) return state.SkipWithError(rig.failure.c_str());
  const bool bulk = state.range(0) == 1;
  TempDir dir;
  ChildProcess walker;
  if (!rig.StartWalker(&walker, dir.path() + "walks.txt", 100, bulk))
    return state.SkipWithError("snmp_walker did not start");
  // The station polls on while the walks run, as it does in the program.
  auto next = Clock::now();
  while (walker.Running()) {
    next += kTick;
    std::this_thread::sleep_until(next);
    rig.Tick();
  }
  const std::vector<std::pair<double, int>> walks = Walks(dir.path() + "walks.txt");
  if (walks.size() != 100) return state.SkipWithError("snmp_walker did not finish its walks");
  size_t i = 0;
  for (auto _ : state) {
    state.SetIterationTime(walks[i].first / 1e6);
    state.counters["instances"] = walks[i].second;
    ++i;
  }
}
BENCHMARK(BM_FullWalk)->ArgName("bulk")->Arg(0)->Arg(1)->Iterations(100)->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Ticks in their 56 ms slots: while `walks` walks run (until they are done), or for
// `idle_ticks` ticks without them.
void BM_PollTiming(benchmark::State& state) {
  Rig& rig = Shared();
  if (!rig.failure.empty()) return state.SkipWithError(rig.failure.c_str());
  const bool under_walks = state.range(0) == 1;
  for (auto _ : state) {
    TempDir dir;
    ChildProcess walker;
    if (under_walks && !rig.StartWalker(&walker, dir.path() + "walks.txt", 100, false))
      return state.SkipWithError("snmp_walker did not start");
    std::vector<double> tick_us, late_us;
    const int idle_ticks = 60;
    auto slot = Clock::now();
    while (under_walks ? walker.Running() || tick_us.size() < 10
                       : tick_us.size() < static_cast<size_t>(idle_ticks)) {
      slot += kTick;
      std::this_thread::sleep_until(slot);
      const auto start = Clock::now();
      rig.Tick();
      const auto end = Clock::now();
      late_us.push_back(std::chrono::duration<double, std::micro>(start - slot).count());
      tick_us.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    double total_s = 0;
    for (double us : tick_us) total_s += us / 1e6;
    state.SetIterationTime(total_s);
    state.counters["ticks"] = static_cast<double>(tick_us.size());
    state.counters["tick_us_p50"] = Percentile(tick_us, 0.5);
    state.counters["tick_us_p99"] = Percentile(tick_us, 0.99);
    state.counters["tick_us_max"] = Percentile(tick_us, 1.0);
    state.counters["late_us_p50"] = Percentile(late_us, 0.5);
    state.counters["late_us_max"] = Percentile(late_us, 1.0);
    if (under_walks) state.counters["walks"] = static_cast<double>(Walks(dir.path() + "walks.txt").size());
  }
  if (rig.station.error_count[1] != 0 || !rig.station.contact[1])
    state.SkipWithError("the station missed replies");
}
BENCHMARK(BM_PollTiming)->ArgName("under_walks")->Arg(0)->Arg(1)->Iterations(1)->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace onefortwo

BENCHMARK_MAIN();
