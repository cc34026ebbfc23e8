// The journal: what recording costs the 56 ms tick, how fast the trends read back, and
// how large the file grows.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "journal/journal_recorder.h"
#include "journal/trend_query.h"
#include "journal_fixture.h"
#include "sim_station.h"

namespace onefortwo {
namespace {

std::string TempFolder() {
  char pattern[] = "/tmp/onefortwo-bench-XXXXXX";
  const char* made = ::mkdtemp(pattern);
  return made ? std::string(made) + "/" : std::string("/tmp/");
}

const std::string& Folder() {
  static const std::string folder = TempFolder();
  return folder;
}

class CountReplies : public StationEvents {
 public:
  void AmpReply(int, const amp_struct&, const AmpReadings&) override { ++replies; }
  long replies = 0;
};

// What the tick thread spends telling the journal one reply (range 0), or one reply with
// the events of a trip: state change, fault raised, a switch-over (range 1). The writer
// runs meanwhile, committing once a second to a real file.
void BM_RecordOnTheTick(benchmark::State& state) {
  SystemWallClock clock;
  JournalOptions options;
  options.path = Folder() + "tick.sqlite";
  JournalRecorder recorder(options, clock, nullptr);
  const amp_struct shown = {};
  const AmpReadings readings = {10.0, 3.1, 5.4, 37.2, 60.1, 25.3};
  ControllerChange change = {{'A', 'A', 0, 0}, {'B', 'A', 0, 0}, false, false};
  const bool trip = state.range(0) == 1;
  for (auto _ : state) {
    recorder.AmpReply(0, shown, readings);
    if (trip) {
      recorder.AmpStateChanged(0, amp_hv_on, amp_fault);
      recorder.FaultRaised(0, fault_over_temp);
      recorder.ControllerChanged(change);
    }
  }
  state.SetLabel(trip ? "reply + state, fault, switch" : "reply");
}
BENCHMARK(BM_RecordOnTheTick)->Arg(0)->Arg(1)->Repetitions(9)->ReportAggregatesOnly(true);

// The whole poll step on the built-in installation at 9600 baud, without (0) and with (1)
// the journal listening.
void BM_PollTickOnSimWithJournal(benchmark::State& state) {
  SimStation sim;
  Station& station = sim.station;
  SystemWallClock wall;
  JournalOptions options;
  options.path = Folder() + "poll.sqlite";
  std::unique_ptr<JournalRecorder> recorder;
  if (state.range(0) == 1) {
    recorder = std::make_unique<JournalRecorder>(options, wall, nullptr);
    station.events.Add(recorder.get());
  }
  if (!sim.Open()) {
    state.SkipWithError("SIM did not open");
    return;
  }
  sim.opener.installation().amplifier(0).SetHighVoltage(SimAmplifier::HighVoltage::on);
  for (auto _ : state) sim.Tick();
  if (recorder) station.events.Remove(recorder.get());
  state.SetLabel(state.range(0) == 1 ? "with the journal" : "without");
}
BENCHMARK(BM_PollTickOnSimWithJournal)->Arg(0)->Arg(1)->Repetitions(5)->ReportAggregatesOnly(true);

// Replies per second per amplifier when the station polls the installation at 9600 baud.
double RepliesPerSecondPerAmp() {
  SimStation sim;
  Station& station = sim.station;
  CountReplies count;
  station.events.Add(&count);
  if (!sim.Open()) return 0;
  const int64_t ten_minutes = 600 * TickClock::kFrequency;
  while (sim.clock.now < ten_minutes) sim.Tick();
  station.events.Remove(&count);
  return static_cast<double>(count.replies) / 600.0 / 3.0;
}

// The file for a day of polling at 9600 baud (every reply of the three amplifiers at the
// rate the SIM installation answers, their minute rows, a hundred events), and for a year
// as kept: 48 hours at full rate, 400 days of minute rows, 2000 events a day.
void BM_JournalSize(benchmark::State& state) {
  const double rate = RepliesPerSecondPerAmp();
  for (auto _ : state) {
    JournalDb day;
    std::string why;
    const std::string day_path = Folder() + "day.sqlite";
    if (!day.Open(day_path, JournalDb::Mode::writer, kBenchNow - 86400000, &why) ||
        !WritePolling(day, kBenchNow - 86400000, kBenchNow, 1000.0 / rate) ||
        !WriteEvents(day, 100, 86400000)) {
      state.SkipWithError("cannot write the day");
      return;
    }
    sqlite3_exec(day.handle(), "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    state.counters["replies_per_s_per_amp"] = rate;
    state.counters["day_MB"] = static_cast<double>(FileBytes(day_path)) / 1e6;
    day.Close();

    JournalDb year;
    const std::string year_path = Folder() + "year.sqlite";
    if (!year.Open(year_path, JournalDb::Mode::writer, kBenchNow - 48 * 3600000LL, &why) ||
        !WriteMinutes(year, kBenchNow - kMinuteKeepMs, kBenchNow, static_cast<int>(rate * 60)) ||
        !WritePolling(year, kBenchNow - 48 * 3600000LL, kBenchNow, 1000.0 / rate) ||
        !WriteEvents(year, 2000 * 400, kMinuteKeepMs)) {
      state.SkipWithError("cannot write the year");
      return;
    }
    sqlite3_exec(year.handle(), "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    state.counters["year_MB"] = static_cast<double>(FileBytes(year_path)) / 1e6;
  }
}
BENCHMARK(BM_JournalSize)->Iterations(1)->Unit(benchmark::kSecond);

// One reading of the three amplifiers from a journal holding the last 24 hours at full
// rate (4.46 replies a second each) and rolled up. Range 0: the 24 hours at 1000 and 2000
// buckets (a minute at the least over 4 hours: from the minute rows). Range 1 at 2000:
// the last 4 hours, the longest span read from every reply (7.2 s buckets).
void BM_Trend(benchmark::State& state) {
  static const std::string path = Polled24HourJournal(Folder() + "trend.sqlite");
  JournalDb db;
  std::string why;
  if (!db.Open(path, JournalDb::Mode::reader, 0, &why)) {
    state.SkipWithError(why.c_str());
    return;
  }
  size_t points = 0;
  for (auto _ : state) {
    points = 0;
    for (int amp = 0; amp < 3; ++amp) {
      TrendQuery query;
      query.amp = amp;
      query.reading = Reading::helix_current;
      query.since_ms = kBenchNow - (state.range(0) == 0 ? 86400000 : kFullRateSpanMs);
      query.until_ms = kBenchNow;
      query.buckets = static_cast<int>(state.range(1));
      std::vector<TrendBucket> trend;
      if (!QueryTrend(db, query, &trend, &why)) state.SkipWithError(why.c_str());
      points += MinMaxPoints(trend).size();
    }
  }
  state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_Trend)->Args({0, 1000})->Args({0, 2000})->Args({1, 2000})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace onefortwo

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  // The journals made here go with the run.
  const std::string remove = "rm -rf '" + onefortwo::Folder() + "'";
  return std::system(remove.c_str()) == 0 ? 0 : 1;
}
