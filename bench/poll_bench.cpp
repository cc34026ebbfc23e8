// One poll step on an in-memory line: with an amplifier status reply waiting (take in,
// verify, parse, route, refresh, send the next query) and with nothing waiting.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "shell/station.h"

#include "stand_ins.h"

namespace onefortwo {
namespace {

// A line that hands out one prepared reply per step and swallows what is written.
class BenchLine : public SerialDevice {
 public:
  bool Configure(const LineSettings&) override { return true; }
  int Read(uint8_t* buffer, size_t size) override {
    if (pos_ >= waiting_.size() || size == 0) return 0;
    buffer[0] = waiting_[pos_++];
    return 1;
  }
  bool Write(const uint8_t*, size_t) override { return true; }
  void Flush() override {}
  void Load(const std::vector<uint8_t>* reply) {
    waiting_ = reply ? *reply : std::vector<uint8_t>();
    pos_ = 0;
  }

 private:
  std::vector<uint8_t> waiting_;
  size_t pos_ = 0;
};

class BenchOpener : public SerialPortOpener {
 public:
  explicit BenchOpener(BenchLine** made) : made_(made) {}
  std::unique_ptr<SerialDevice> Open(const std::string&, OpenError* error) override {
    *error = OpenError::none;
    auto line = std::make_unique<BenchLine>();
    *made_ = line.get();
    return line;
  }

 private:
  BenchLine** made_;
};

class StillClock : public Clock {
 public:
  bool QueryPerformanceFrequency(int64_t* f) override {
    *f = 10000000;
    return true;
  }
  int64_t QueryPerformanceCounter() override { return now; }
  void Sleep(int) override {}
  int64_t now = 0;
};

std::vector<uint8_t> AmpStatusFrame(uint8_t address, const char* forward) {
  std::vector<uint8_t> frame = {0x06, address, '?', 0x10, 0x00, 0x00, 0x00};
  const char* fields[] = {"10.0", "12.5", forward, "47.0", "45.0", "10.2"};
  for (const char* field : fields) frame.insert(frame.end(), field, field + 4);
  frame.push_back(0x03);
  uint8_t sum = 0;
  for (uint8_t b : frame) sum ^= b;
  frame.push_back(sum);
  return frame;
}

void BM_PollStepWithReply(benchmark::State& state) {
  BenchLine* line = nullptr;
  BenchOpener opener(&line);
  StillClock clock;
  QuietWindows windows;
  Station station(opener, clock, windows);
  station.link.InitSerial();
  // Alternate two readings so that every step also refreshes the panel's forward power.
  const std::vector<uint8_t> replies[2] = {AmpStatusFrame(65, "60.0"), AmpStatusFrame(65, "57.0")};
  int which = 0;
  for (auto _ : state) {
    line->Load(&replies[which]);
    which ^= 1;
    station.Poll(0);
  }
  benchmark::DoNotOptimize(station.amps.amp_info[0].status);
}
BENCHMARK(BM_PollStepWithReply);

void BM_PollStepNothingWaiting(benchmark::State& state) {
  BenchLine* line = nullptr;
  BenchOpener opener(&line);
  StillClock clock;
  QuietWindows windows;
  Station station(opener, clock, windows);
  station.link.InitSerial();
  line->Load(nullptr);
  for (auto _ : state) station.Poll(0);
}
BENCHMARK(BM_PollStepNothingWaiting);

}  // namespace
}  // namespace onefortwo

BENCHMARK_MAIN();
