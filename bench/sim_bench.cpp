// The station's poll step on the built-in port "SIM": what the in-process installation
// costs on every 56 ms tick (frame in, devices advanced, reply out, parsed, refreshed),
// at the default 9600 baud and at 115200.

#include <benchmark/benchmark.h>


#include "sim_station.h"

namespace onefortwo {
namespace {

void BM_PollTickOnSim(benchmark::State& state) {
  SimStation sim;
  Station& station = sim.station;
  if (!sim.Open(static_cast<int>(state.range(0)))) {
    state.SkipWithError("SIM did not open");
    return;
  }
  // High voltage on, so that readings move and every reply refreshes the panel.
  sim.opener.installation().amplifier(0).SetHighVoltage(SimAmplifier::HighVoltage::on);
  for (auto _ : state) sim.Tick();
  if (station.error_count[1] != 0) state.SkipWithError("replies were missed");
  benchmark::DoNotOptimize(station.amps.amp_info[0].status);
}
BENCHMARK(BM_PollTickOnSim)->Arg(9600)->Arg(115200);

}  // namespace
}  // namespace onefortwo
