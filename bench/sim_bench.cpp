// The station's poll step on the built-in port "SIM": what the in-process installation
// costs on every 56 ms tick (frame in, devices advanced, reply out, parsed, refreshed),
// at the default 9600 baud and at 115200.

#include <benchmark/benchmark.h>

#include "shell/station.h"
#include "sim/station_port_opener.h"

#include "stand_ins.h"

namespace onefortwo {
namespace {

void BM_PollTickOnSim(benchmark::State& state) {
  NoPorts others;
  TickClock clock;
  QuietWindows windows;
  StationPortOpener opener(others, clock);
  Station station(opener, clock, windows);
  station.link.serial_baud = static_cast<int>(state.range(0));
  station.link.SetSerialPort("SIM");
  if (station.link.InitSerial() != 1) {
    state.SkipWithError("SIM did not open");
    return;
  }
  // High voltage on, so that readings move and every reply refreshes the panel.
  opener.installation().amplifier(0).SetHighVoltage(SimAmplifier::HighVoltage::on);
  int64_t next = 0;
  for (auto _ : state) {
    next += 56 * (TickClock::kFrequency / 1000);
    if (clock.now < next) clock.now = next;
    next = clock.now;
    station.Poll(0);
  }
  if (station.error_count[1] != 0) state.SkipWithError("replies were missed");
  benchmark::DoNotOptimize(station.amps.amp_info[0].status);
}
BENCHMARK(BM_PollTickOnSim)->Arg(9600)->Arg(115200);

}  // namespace
}  // namespace onefortwo
