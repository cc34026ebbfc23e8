// The link surviving real failures, the station driven tick by tick as the main window's
// timer drives it (supervision, then the poll step): a terminal server that drops the
// connection or refuses it, a terminal server's host that does not exist, and a USB
// adapter (a pseudo-terminal behind a /dev/serial/by-id style link) pulled and plugged
// in again.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "posix_serial_device.h"
#include "shell/link_status.h"
#include "shell/main_timer.h"
#include "shell/station.h"
#include "steady_clock.h"
#include "support/amp_reply.h"
#include "support/fake_clock.h"
#include "support/fake_sound.h"
#include "support/fake_windows.h"
#include "support/recording_events.h"
#include "support/tcp_test_server.h"
#include "support/temp_dir.h"
#include "tcp_serial_device.h"
#include "tool_process.h"

namespace onefortwo {
namespace {

using Events = std::vector<std::string>;
constexpr double kTickMs = 56;

// The system's port opener, noting the station's time of every open.
class NotingOpener : public SerialPortOpener {
 public:
  explicit NotingOpener(std::function<double()> now) : now_(std::move(now)) {}
  std::unique_ptr<SerialDevice> Open(const std::string& port_name, OpenError* error) override {
    opened_at.push_back(now_());
    return ports_.Open(port_name, error);
  }
  std::vector<double> opened_at;  // ms

 private:
  std::function<double()> now_;
  PosixSerialPortOpener ports_;
};

class NoDisplay : public StatusDisplay {
 public:
  void ShowStatus(StatusField, const std::string&, bool) override {}
};

// A station on the system's ports. Its time is the fake clock, moved 56 ms a tick, or
// with `real_time` the steady clock, each tick waiting for its slot; either way the
// kernel's sockets and the tool run in real time.
class TickedStation {
 public:
  explicit TickedStation(bool real_time)
      : real_time_(real_time),
        clock_(real_time ? static_cast<Clock&>(steady_) : static_cast<Clock&>(fake_)),
        opener_([this] { return NowMs(); }),
        station_(opener_, clock_, windows_),
        status_(display_) {
    station_.events.Add(&heard);
    station_.events.Add(&status_);
    next_tick_ = std::chrono::steady_clock::now();
  }

  Station& station() { return station_; }
  const std::vector<double>& opened_at() const { return opener_.opened_at; }
  const std::string& status_text() const { return status_.text(); }
  double longest_tick_ms() const { return longest_tick_ms_; }

  // Opens `port` as the operator's choice does.
  bool Open(const std::string& port) {
    if (!station_.link.SetSerialPort(port.c_str())) return false;
    const bool opened = station_.link.InitSerial() == 1;
    for (int amp = 0; amp < kAmpCount; ++amp) station_.amps.InitAmpInfo(amp);
    return opened;
  }

  double NowMs() {
    int64_t frequency = 1;
    clock_.QueryPerformanceFrequency(&frequency);
    return static_cast<double>(clock_.QueryPerformanceCounter()) * 1000.0 /
           static_cast<double>(frequency);
  }

  void Tick() {
    if (real_time_) {
      next_tick_ += std::chrono::milliseconds(static_cast<int>(kTickMs));
      const auto now = std::chrono::steady_clock::now();
      if (next_tick_ < now) next_tick_ = now;  // fell behind on a loaded machine
      std::this_thread::sleep_until(next_tick_);
    } else {
      fake_.AdvanceMs(kTickMs);
    }
    const auto before = std::chrono::steady_clock::now();
    timer_.Tick();
    const std::chrono::duration<double, std::milli> took =
        std::chrono::steady_clock::now() - before;
    longest_tick_ms_ = std::max(longest_tick_ms_, took.count());
    // On the fake clock, a moment of real time for the loopback to carry what was sent.
    if (!real_time_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  // Ticks until `done` holds after a tick, at most `ticks` times.
  bool TickUntil(const std::function<bool()>& done, int ticks) {
    for (int tick = 0; tick < ticks; ++tick) {
      Tick();
      if (done()) return true;
    }
    return false;
  }

  bool AllInContact() const {
    return std::all_of(std::begin(station_.contact), std::end(station_.contact),
                       [](bool in) { return in; });
  }
  bool NothingShownLive() const {
    for (int amp = 0; amp < kAmpCount; ++amp) {
      if (station_.amps.amp_info[amp].status != amp_no_contact) return false;
    }
    return station_.controller.controller_contact == 0;
  }

  RecordingEvents heard;

 private:
  bool real_time_;
  FakeClock fake_;
  SteadyClock steady_;
  Clock& clock_;
  NotingOpener opener_;
  FakeWindows windows_;
  Station station_;
  FakeSound sound_;
  MainTimer timer_{station_, windows_, sound_};
  NoDisplay display_;
  LinkStatus status_;
  std::chrono::steady_clock::time_point next_tick_;
  double longest_tick_ms_ = 0;
};

// The opens after the loss at `lost_at_ms` (the ones from `first` on) come every 2 s, to
// within the tick on which each refusal is seen.
void ExpectRetriedEveryTwoSeconds(double lost_at_ms, const std::vector<double>& opened_at,
                                  size_t first) {
  double last = lost_at_ms;
  for (size_t i = first; i < opened_at.size(); ++i) {
    EXPECT_GE(opened_at[i] - last, kReopenIntervalMs) << "open " << i;
    EXPECT_LE(opened_at[i] - last, kReopenIntervalMs + 3 * kTickMs) << "open " << i;
    last = opened_at[i];
  }
}

// The station's query frames as a terminal server of the test reads them.
class QueryReader {
 public:
  explicit QueryReader(TcpTestServer& server) : server_(server) {}
  // The next whole query frame (controller "1", amplifier "?13AIPQTV"), within `ms`.
  Bytes Next(int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      const size_t start = std::find(pending_.begin(), pending_.end(), 0x02) - pending_.begin();
      if (start + 1 < pending_.size()) {
        const size_t length = pending_[start + 1] == 0x40 ? 5 : 13;
        if (pending_.size() >= start + length) {
          Bytes frame(pending_.begin() + start, pending_.begin() + start + length);
          pending_.erase(pending_.begin(), pending_.begin() + start + length);
          return frame;
        }
      }
      if (std::chrono::steady_clock::now() > until) return Bytes();
      const Bytes got = server_.Read(64, 10);
      pending_.insert(pending_.end(), got.begin(), got.end());
    }
  }

 private:
  TcpTestServer& server_;
  Bytes pending_;
};

AmpReply Standby() {
  AmpReply reply;
  reply.state1 = 0x08;
  return reply;
}

TEST(TerminalServer, DroppedConnectionIsLostRetriedEveryTwoSecondsAndPollingResumes) {
  TcpTestServer server;
  ASSERT_TRUE(server.Listen());
  const int port = server.port();
  TickedStation ts(false);
  Station& station = ts.station();
  ASSERT_TRUE(ts.Open(server.PortName()));
  ASSERT_TRUE(server.Accept(2000));

  // A's queries answered until it is in contact.
  QueryReader queries(server);
  ASSERT_TRUE(ts.TickUntil(
      [&] {
        const Bytes query = queries.Next(5);
        if (!query.empty() && query[1] == 0x41) server.Write(AckFrame(0x41, Standby().Text()));
        return station.contact[1];
      },
      200));
  ASSERT_EQ(amp_standby, station.amps.amp_info[0].status);
  ts.heard.Take();

  // The terminal server drops the connection and listens no more.
  server.CloseConnection();
  server.StopListening();
  ASSERT_TRUE(ts.TickUntil([&] { return station.link.lost(); }, 40));
  const double lost_at = ts.NowMs();
  EXPECT_TRUE(ts.NothingShownLive()) << "at once, not after three misses";
  const Events lost = ts.heard.Take();
  ASSERT_FALSE(lost.empty());
  EXPECT_EQ("port lost " + server.PortName() + ": the terminal server closed the connection",
            lost.front());
  EXPECT_NE(lost.end(), std::find(lost.begin(), lost.end(), "contact lost A: the port was lost"));

  // Refused every 2 s meanwhile, telling nothing new.
  const size_t opens_before = ts.opened_at().size();
  for (int tick = 0; tick < 80; ++tick) ts.Tick();  // 4.48 s
  EXPECT_EQ(opens_before + 2, ts.opened_at().size());
  ExpectRetriedEveryTwoSeconds(lost_at, ts.opened_at(), opens_before);
  EXPECT_EQ(Events(), ts.heard.Take());
  EXPECT_TRUE(ts.NothingShownLive());

  // A server listens again on the same port: the station is back within a reopen and
  // polls the whole rotation.
  ASSERT_TRUE(server.Listen("127.0.0.1", port));
  ASSERT_TRUE(ts.TickUntil([&] { return !station.link.lost(); }, 60));
  EXPECT_EQ(Events({"port restored " + server.PortName()}), ts.heard.Take());
  ASSERT_TRUE(server.Accept(2000));
  QueryReader again(server);
  std::vector<int> asked;
  ASSERT_TRUE(ts.TickUntil(
      [&] {
        const Bytes query = again.Next(5);
        if (!query.empty()) asked.push_back(query[1]);
        return asked.size() == 4;
      },
      40));
  // Four queries in the rotation's order, whoever was first.
  for (size_t i = 1; i < asked.size(); ++i) {
    EXPECT_EQ(0x40 + (asked[i - 1] - 0x40 + 1) % 4, asked[i]) << i;
  }
}

TEST(TerminalServer, RefusedAtTheFirstOpenIsShownLostAndRetried) {
  const int port = FreeLoopbackPort();
  ASSERT_NE(0, port);
  const std::string name = "tcp:127.0.0.1:" + std::to_string(port);
  TickedStation ts(false);
  // The name opens (the connection is made later), so the station does not ask for
  // another port; the refusal comes on a tick.
  ASSERT_TRUE(ts.Open(name));
  ASSERT_TRUE(ts.TickUntil([&] { return ts.station().link.lost(); }, 20));
  const double lost_at = ts.NowMs();
  EXPECT_EQ(Events({"port opened " + name, "port lost " + name + ": connection refused"}),
            ts.heard.Take());
  EXPECT_EQ(name + ": lost (connection refused); opening it again every 2 s", ts.status_text());
  EXPECT_TRUE(ts.NothingShownLive());

  for (int tick = 0; tick < 80; ++tick) ts.Tick();  // 4.48 s
  EXPECT_EQ(3u, ts.opened_at().size());
  ExpectRetriedEveryTwoSeconds(lost_at, ts.opened_at(), 1);
  EXPECT_EQ(Events(), ts.heard.Take());
  EXPECT_TRUE(ts.station().link.lost());
}

// The host name is looked up off the tick. The longest tick is reported, not asserted.
TEST(TerminalServer, AHostThatDoesNotExistIsLostAndRetriedWithoutStallingTheTick) {
  const std::string name = "tcp:no-such-host.invalid:4001";
  TickedStation ts(true);
  ASSERT_TRUE(ts.Open(name));
  const int limit_ticks =
      static_cast<int>((TcpSerialDevice::kConnectTimeoutMs + 1000) / kTickMs);
  ASSERT_TRUE(ts.TickUntil([&] { return ts.station().link.lost(); }, limit_ticks));
  const Events lost = ts.heard.Take();
  ASSERT_EQ(2u, lost.size());
  const std::string prefix = "port lost " + name + ": ";
  ASSERT_EQ(0u, lost[1].rfind(prefix, 0)) << lost[1];
  EXPECT_NE(std::string::npos, lost[1].find("no-such-host.invalid", prefix.size()))
      << "the reason names the host: " << lost[1];

  const size_t opens = ts.opened_at().size();
  ASSERT_TRUE(ts.TickUntil([&] { return ts.opened_at().size() > opens; }, 60));
  ts.Tick();
  EXPECT_TRUE(ts.station().link.lost());
  EXPECT_TRUE(ts.heard.Take().empty());
  RecordProperty("longest_tick_ms", std::to_string(ts.longest_tick_ms()));
  std::printf("longest tick with a host that does not exist: %.3f ms\n", ts.longest_tick_ms());
}

// Points `link` at `target` in one step, as udev replaces a /dev/serial/by-id link.
bool PointLink(const std::string& link, const std::string& target) {
  const std::string fresh = link + ".new";
  ::unlink(fresh.c_str());
  return ::symlink(target.c_str(), fresh.c_str()) == 0 &&
         ::rename(fresh.c_str(), link.c_str()) == 0;
}

// The first device the tool heard a frame for, from its --log on standard error: "@",
// "A", "B" or "C"; empty when it heard none.
std::string FirstHeard(const std::string& log) {
  const size_t at = log.find(" heard ");
  if (at == std::string::npos) return std::string();
  const size_t device = log.find_first_not_of(' ', at + 7);
  return device == std::string::npos ? std::string() : log.substr(device, 1);
}

TEST(UsbAdapter, PulledAndPluggedInBehindItsLinkPollingResumesWhereTheRotationWas) {
  TempDir dir;
  ASSERT_EQ(0, ::mkdir((dir.path() + "by-id").c_str(), 0755));
  const std::string link = dir.path() + "by-id/usb-RS485_T1-if00-port0";

  ToolProcess first;
  std::string pty;
  ASSERT_TRUE(first.Start({}, false));
  ASSERT_TRUE(first.ReadLine(&pty, 5000));
  ASSERT_TRUE(PointLink(link, pty));
  TickedStation ts(true);
  Station& station = ts.station();
  ASSERT_TRUE(ts.Open(link));
  ASSERT_TRUE(ts.TickUntil([&] { return ts.AllInContact(); }, 60));
  ts.heard.Take();

  // Pulled: the device hangs up under the station.
  first.Kill();
  ASSERT_TRUE(ts.TickUntil([&] { return station.link.lost(); }, 10));
  EXPECT_TRUE(ts.NothingShownLive()) << "at once, not after three misses";
  const Events lost = ts.heard.Take();
  ASSERT_FALSE(lost.empty());
  EXPECT_EQ(0u, lost.front().rfind("port lost " + link + ": ", 0)) << lost.front();
  const int rotation = station.current_device;

  // Plugged in again: a new device behind the same link. Nothing else is done.
  ToolProcess second;
  ASSERT_TRUE(second.Start({"--log"}, true));
  ASSERT_TRUE(second.ReadLine(&pty, 5000));
  ASSERT_TRUE(PointLink(link, pty));
  ASSERT_TRUE(ts.TickUntil([&] { return ts.AllInContact(); }, 100));
  const Events back = ts.heard.Take();
  ASSERT_FALSE(back.empty());
  EXPECT_EQ("port restored " + link, back.front());
  second.Stop();
  EXPECT_EQ(std::string(1, "@ABC"[(rotation + 1) % 4]), FirstHeard(second.ReadStderr(2000)))
      << "the rotation carries on from where it was";
}

}  // namespace
}  // namespace onefortwo
