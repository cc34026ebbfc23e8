// Time from an adapter's return to the station's first good reply, in two cases:
//   pty  a USB adapter: onefortwo-sim on a pseudo-terminal behind a /dev/serial/by-id
//        style link; pulled (the tool killed, the line hangs up) and plugged in again (a
//        new tool, the link pointed at its pseudo-terminal);
//   tcp  a terminal server: onefortwo-sim --tcp killed and started again on the same port.
// The station is the real one on the system's ports and the steady clock, ticked every
// 56 ms as the main window's timer ticks it (supervision, then the poll step). Each round
// waits a different time after the loss before the return, spread over the 2 s between
// two reopens, so that the figures cover every phase of the retry cycle. "Return" is the
// moment the new device can be opened (the link pointed, the port listening); the first
// good reply is the first device's contact restored.
//   build/bench/reconnect_figures [ROUNDS]   (10 rounds of each unless given)

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "posix_serial_device.h"
#include "stand_ins.h"
#include "shell/main_timer.h"
#include "shell/station.h"
#include "steady_clock.h"
#include "tool_process.h"

namespace onefortwo {
namespace {

using Steady = std::chrono::steady_clock;

double SinceMs(Steady::time_point from) {
  return std::chrono::duration<double, std::milli>(Steady::now() - from).count();
}

class NoSound : public Sound {
 public:
  void Beep() override {}
};

// Notes when a device's contact comes back.
class ContactWatch : public StationEvents {
 public:
  void ContactRestored(int) override {
    if (!restored) restored_at = Steady::now();
    restored = true;
  }
  bool restored = false;
  Steady::time_point restored_at;
};

class TickedStation {
 public:
  TickedStation() : station_(opener_, clock_, windows_) {
    station_.events.Add(&watch);
    next_ = Steady::now();
  }
  Station& station() { return station_; }

  bool Open(const std::string& port) {
    if (!station_.link.SetSerialPort(port.c_str()) || station_.link.InitSerial() != 1) return false;
    for (int amp = 0; amp < kAmpCount; ++amp) station_.amps.InitAmpInfo(amp);
    return true;
  }
  void Tick() {
    next_ += std::chrono::milliseconds(MainTimer::kIntervalMs);
    if (next_ < Steady::now()) next_ = Steady::now();
    std::this_thread::sleep_until(next_);
    timer_.Tick();
  }
  bool TickUntil(const std::function<bool()>& done, double limit_ms) {
    const auto start = Steady::now();
    while (SinceMs(start) < limit_ms) {
      Tick();
      if (done()) return true;
    }
    return false;
  }
  bool AllInContact() const {
    return std::all_of(std::begin(station_.contact), std::end(station_.contact),
                       [](bool in) { return in; });
  }

  ContactWatch watch;

 private:
  PosixSerialPortOpener opener_;
  SteadyClock clock_;
  QuietWindows windows_;
  Station station_;
  NoSound sound_;
  MainTimer timer_{station_, windows_, sound_};
  Steady::time_point next_;
};

bool PointLink(const std::string& link, const std::string& target) {
  const std::string fresh = link + ".new";
  ::unlink(fresh.c_str());
  return ::symlink(target.c_str(), fresh.c_str()) == 0 &&
         ::rename(fresh.c_str(), link.c_str()) == 0;
}

// One case: starts its device (returning its port name), and brings it back.
struct Case {
  const char* name;
  // Starts the first device; the port name the station opens.
  std::function<bool(ToolProcess&, std::string*)> start;
  // Starts the device anew after the loss; returns when it can be opened.
  std::function<bool(ToolProcess&)> bring_back;
};

bool Measure(const Case& one, int rounds, std::vector<double>* ms) {
  ToolProcess tool;
  std::string port;
  if (!one.start(tool, &port)) return false;
  TickedStation ts;
  Station& station = ts.station();
  if (!ts.Open(port) || !ts.TickUntil([&] { return ts.AllInContact(); }, 5000)) {
    std::fprintf(stderr, "%s: the station did not reach every device on %s\n", one.name,
                 port.c_str());
    return false;
  }
  for (int round = 0; round < rounds; ++round) {
    tool.Kill();
    if (!ts.TickUntil([&] { return station.link.lost(); }, 3000)) {
      std::fprintf(stderr, "%s: the loss was not seen\n", one.name);
      return false;
    }
    // Wait 0.5 s plus a share of the 2 s retry cycle before the return.
    const double wait_ms = 500 + kReopenIntervalMs * round / rounds;
    const auto lost = Steady::now();
    while (SinceMs(lost) < wait_ms) ts.Tick();

    ts.watch.restored = false;
    if (!one.bring_back(tool)) return false;
    const auto returned = Steady::now();
    if (!ts.TickUntil([&] { return ts.watch.restored; }, 10000)) {
      std::fprintf(stderr, "%s: no reply within 10 s of the return\n", one.name);
      return false;
    }
    ms->push_back(
        std::chrono::duration<double, std::milli>(ts.watch.restored_at - returned).count());
    if (!ts.TickUntil([&] { return ts.AllInContact(); }, 5000)) return false;
  }
  tool.Stop();
  return true;
}

void Report(const char* name, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  double sum = 0;
  for (double one : ms) sum += one;
  const size_t n = ms.size();
  const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
  std::printf("%-4s %2zu returns: min %6.0f ms  median %6.0f ms  mean %6.0f ms  max %6.0f ms\n",
              name, n, ms.front(), median, sum / static_cast<double>(n), ms.back());
  std::printf("     each:");
  for (double one : ms) std::printf(" %.0f", one);
  std::printf("\n");
}

}  // namespace
}  // namespace onefortwo

int main(int argc, char** argv) {
  using namespace onefortwo;
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

  char pattern[] = "/tmp/onefortwo-by-id-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) return 1;
  const std::string dir = pattern;
  const std::string link = dir + "/usb-RS485_T1-if00-port0";
  const Case pty = {
      "pty",
      [&](ToolProcess& tool, std::string* port) {
        std::string path;
        if (!tool.Start({}, false) || !tool.ReadLine(&path, 5000) || !PointLink(link, path)) {
          return false;
        }
        *port = link;
        return true;
      },
      [&](ToolProcess& tool) {
        std::string path;
        return tool.Start({}, false) && tool.ReadLine(&path, 5000) && PointLink(link, path);
      },
  };
  std::string listen;  // the TCP address the tool listens on, kept for its restarts
  const Case tcp = {
      "tcp",
      [&](ToolProcess& tool, std::string* port) {
        if (!tool.Start({"--tcp", "0"}, true) || !tool.ReadLine(port, 5000)) return false;
        listen = port->substr(4);  // after "tcp:"
        return true;
      },
      [&](ToolProcess& tool) {
        std::string port;
        return tool.Start({"--tcp", listen}, true) && tool.ReadLine(&port, 5000);
      },
  };

  int status = 0;
  for (const Case* one : {&pty, &tcp}) {
    std::vector<double> ms;
    if (Measure(*one, rounds, &ms)) {
      Report(one->name, ms);
    } else {
      std::fprintf(stderr, "%s: not measured\n", one->name);
      status = 1;
    }
  }
  ::unlink(link.c_str());
  ::rmdir(dir.c_str());
  return status;
}
