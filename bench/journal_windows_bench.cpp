// The journal's windows, offscreen: from construction to the first complete render of
// Trends over the last 24 hours of three amplifiers kept at full rate, and of the Journal
// window over a million events.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>

#include "journal_fixture.h"
#include "journal_windows/journal_window.h"
#include "journal_windows/trends_window.h"

namespace onefortwo {
namespace {

class BenchClock : public WallClock {
 public:
  int64_t NowUtcMs() override { return kBenchNow; }
};

std::string Folder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/onefortwo-bench-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    return made ? std::string(made) + "/" : std::string("/tmp/");
  }();
  return folder;
}

void Settle() {
  for (int pass = 0; pass < 3; ++pass) QCoreApplication::processEvents();
}

// The window made, shown and painted whole (grab renders every child), with the two
// charts it opens with (forward power, helix current) of A, B and C over the last day.
void BM_TrendsFirstPlot24Hours(benchmark::State& state) {
  static const std::string path = Polled24HourJournal(Folder() + "trends.sqlite");
  BenchClock clock;
  size_t points = 0;
  for (auto _ : state) {
    TrendsWindow window(path, clock);
    window.show();
    Settle();
    // The first plot used the default width; the laid-out charts read again at theirs.
    window.ShowRange();
    const QPixmap shown = window.grab();
    benchmark::DoNotOptimize(shown.width());
    points = 0;
    for (const TrendsWindow::Chart& chart : window.charts())
      for (int amp = 0; amp < 3; ++amp)
        points += static_cast<size_t>(chart.series[amp]->count() + chart.envelope[amp]->count());
  }
  state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_TrendsFirstPlot24Hours)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_JournalWindowMillionEvents(benchmark::State& state) {
  static const std::string path = [] {
    const std::string p = Folder() + "events.sqlite";
    JournalDb db;
    std::string why;
    if (!db.Open(p, JournalDb::Mode::writer, kBenchNow, &why) || !WriteEvents(db, 1000000, 30 * 86400000LL))
      std::abort();
    return p;
  }();
  BenchClock clock;
  for (auto _ : state) {
    JournalWindow window(path, clock);
    window.show();
    Settle();
    const QPixmap shown = window.grab();
    benchmark::DoNotOptimize(shown.width());
  }
}
BENCHMARK(BM_JournalWindowMillionEvents)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace onefortwo

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  // The journals made here go with the run.
  const std::string remove = "rm -rf '" + onefortwo::Folder() + "'";
  return std::system(remove.c_str()) == 0 ? 0 : 1;
}
