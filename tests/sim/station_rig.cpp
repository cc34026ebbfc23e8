#include "station_rig.h"

#include <chrono>
#include <thread>
#include <vector>

#include "posix_serial_device.h"
#include "sim/sim_console.h"
#include "sim/station_port_opener.h"
#include "steady_clock.h"
#include "support/fake_clock.h"
#include "support/fake_serial_device.h"
#include "tool_process.h"

namespace onefortwo {
namespace {

constexpr double kTickMs = 56;

void StartStation(Station& station, const std::string& port, std::string* failure) {
  if (!station.link.SetSerialPort(port.c_str())) {
    *failure = "port name refused: " + port;
    return;
  }
  if (station.link.InitSerial() != 1) {
    *failure =
        std::string("cannot open ") + port + ": " + OpenErrorText(station.link.last_open_error());
    return;
  }
  for (int amp = 0; amp < kAmpCount; ++amp) station.amps.InitAmpInfo(amp);
}

class InProcessRig : public StationRig {
 public:
  explicit InProcessRig(StationEvents* listener)
      : opener_(other_ports_, clock_, Options()), console_(opener_.installation()) {
    station_ = std::make_unique<Station>(opener_, clock_, windows_);
    station_->events.Add(listener);
    StartStation(*station_, "SIM", &failure_);
  }

  // The timer's slots are 56 ms apart whatever the last step took (a send waits for its
  // frame to leave, which moves the fake clock).
  void Tick() override {
    next_tick_ms_ += kTickMs;
    if (NowMs() < next_tick_ms_) clock_.AdvanceMs(next_tick_ms_ - NowMs());
    next_tick_ms_ = NowMs();
    station_->Poll(0);
  }
  double NowMs() override {
    return static_cast<double>(clock_.counter) * 1000.0 / FakeClock::kFrequency;
  }
  std::string Command(const std::string& line) override {
    const std::string answer = console_.Execute(line);
    const size_t last = answer.rfind('\n');
    return last == std::string::npos ? answer : answer.substr(last + 1);
  }

 private:
  static SimOptions Options() {
    SimOptions options;
    options.warmup_ms = kWarmupMs;
    return options;
  }
  FakeOpener other_ports_;
  FakeClock clock_;
  StationPortOpener opener_;
  SimConsole console_;
  double next_tick_ms_ = 0;
};

class ToolRig : public StationRig {
 public:
  // On a pseudo-terminal, or with `tcp` on a TCP port the system picks.
  ToolRig(bool tcp, StationEvents* listener) {
    std::vector<std::string> args = {"--warmup", std::to_string(static_cast<int>(kWarmupMs))};
    if (tcp) args.insert(args.end(), {"--tcp", "0"});
    std::string path;  // the port name the tool prints first: its path, or tcp:HOST:PORT
    if (!tool_.Start(args, false) || !tool_.ReadLine(&path, 5000)) {
      failure_ = "onefortwo-sim did not start";
      return;
    }
    station_ = std::make_unique<Station>(opener_, clock_, windows_);
    station_->events.Add(listener);
    StartStation(*station_, path, &failure_);
    next_tick_ = std::chrono::steady_clock::now();
  }
  ~ToolRig() override {
    station_.reset();
    tool_.Stop();
  }

  void Tick() override {
    // The timer's next slot; a rig that fell behind (a loaded machine) starts afresh.
    const auto now = std::chrono::steady_clock::now();
    next_tick_ += std::chrono::milliseconds(static_cast<int>(kTickMs));
    if (next_tick_ < now) next_tick_ = now;
    std::this_thread::sleep_until(next_tick_);
    station_->Poll(0);
  }
  double NowMs() override {
    using Ms = std::chrono::duration<double, std::milli>;
    return Ms(std::chrono::steady_clock::now().time_since_epoch()).count();
  }
  std::string Command(const std::string& line) override {
    if (!tool_.WriteLine(line)) return "error: the tool's input is closed";
    std::string answer;
    while (tool_.ReadLine(&answer, 3000)) {
      if (answer.rfind("ok", 0) == 0 || answer.rfind("error", 0) == 0) return answer;
    }
    return "error: no answer from the tool";
  }

 private:
  ToolProcess tool_;
  PosixSerialPortOpener opener_;
  SteadyClock clock_;
  std::chrono::steady_clock::time_point next_tick_;
};

}  // namespace

std::unique_ptr<StationRig> StationRig::Make(const std::string& kind, StationEvents* listener) {
  if (kind == "pty" || kind == "tcp") return std::make_unique<ToolRig>(kind == "tcp", listener);
  return std::make_unique<InProcessRig>(listener);
}

bool StationRig::TickUntil(const std::function<bool()>& done, double limit_ms) {
  const double until = NowMs() + limit_ms;
  while (NowMs() < until) {
    Tick();
    if (done()) return true;
  }
  return false;
}

}  // namespace onefortwo
