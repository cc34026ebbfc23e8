// The whole poll cycle on a fake line and a fake clock: the station's main timer ticks
// while the line delivers whatever the input says, and after every tick the station's
// picture and what it put on the line must be sound.
//
// The input is a run of records, one per tick:
//   advance  1 byte: 0..249 ms pass before the tick; 250..254 a jump of 100..500 s (past a
//            wrap of the reply clock's 32-bit counter); 255 unplugs the adapter (the
//            device fails for good) or plugs it back, and no time passes
//   count    1 byte: this many bytes arrive on the line before the tick ...
//   bytes    ... and these are they (fewer when the input ends first)
// The station starts on the open port "COM2" with every amplifier in no contact.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "amp_invariants.h"
#include "fuzz_check.h"
#include "shell/main_timer.h"
#include "shell/station.h"
#include "support/fake_clock.h"
#include "support/fake_serial_device.h"
#include "support/fake_sound.h"
#include "support/fake_windows.h"

namespace onefortwo {
namespace {

constexpr const char* kPort = "COM2";
constexpr double kMsPerCount = 1000.0 / FakeClock::kFrequency;

// Opens the fake line and keeps the clock's time of every open asked for.
class TimedOpener : public SerialPortOpener {
 public:
  explicit TimedOpener(FakeClock& clock) : clock_(clock) { line = fakes_.Add(kPort); }
  std::unique_ptr<SerialDevice> Open(const std::string& port_name, OpenError* error) override {
    opens_ms.push_back(static_cast<double>(clock_.counter) * kMsPerCount);
    return fakes_.Open(port_name, error);
  }
  std::shared_ptr<FakeLine> line;
  std::vector<double> opens_ms;

 private:
  FakeClock& clock_;
  FakeOpener fakes_;
};

// Follows contact as the events tell it: each device is restored only when it was lost
// and lost only when it was restored, and the port's events alternate the same way.
class ContactEvents : public StationEvents {
 public:
  void ContactRestored(int device) override {
    FUZZ_CHECK(device >= 0 && device < kDeviceCount, "restored device %d", device);
    FUZZ_CHECK(!contact[device], "device %d restored twice", device);
    contact[device] = true;
  }
  void ContactLost(int device, const std::string&) override {
    FUZZ_CHECK(device >= 0 && device < kDeviceCount, "lost device %d", device);
    FUZZ_CHECK(contact[device], "device %d lost while not in contact", device);
    contact[device] = false;
  }
  void PortLost(const PortEvent& port) override {
    FUZZ_CHECK(port_open, "port lost while closed");
    FUZZ_CHECK(!port.reason.empty(), "port lost without a reason");
    port_open = false;
  }
  void PortRestored(const PortEvent&) override {
    FUZZ_CHECK(!port_open, "port restored while open");
    port_open = true;
  }
  void FaultRaised(int amp, fault_enum fault) override {
    FUZZ_CHECK(amp >= 0 && amp < kAmpCount && fault != fault_none, "fault raised %d %d", amp,
               static_cast<int>(fault));
  }
  void CommandSent(const CommandEvent& command) override {
    FUZZ_CHECK(false, "command %s sent to device %d: the poll cycle commands nothing",
               command.text.c_str(), command.device);
  }

  bool contact[kDeviceCount] = {};
  bool port_open = true;
};

// The status query the rotation sends to `device` (0 controller, 1..3 amplifiers).
Bytes QueryFrame(int device) {
  return CommandFrame(static_cast<uint8_t>(base_address + device),
                      device == 0 ? kControllerQuery : kAmpQuery);
}

void CheckStation(const Station& station, const ContactEvents& told, size_t frames_before,
                  const FakeLine& line) {
  const SerialLink& link = station.link;
  FUZZ_CHECK(link.receive_count >= 0 && link.receive_count < kResponseLimit, "receive_count %d",
             link.receive_count);
  FUZZ_CHECK(link.response_done >= 0 && link.response_done <= 2, "response_done %d",
             link.response_done);
  FUZZ_CHECK(link.got_start == 0 || link.got_start == 1, "got_start %d", link.got_start);
  FUZZ_CHECK(station.current_device >= 0 && station.current_device <= 3, "current_device %d",
             station.current_device);
  for (int device = 0; device < kDeviceCount; ++device) {
    FUZZ_CHECK(station.error_count[device] >= 0 && station.error_count[device] <= 2,
               "error_count[%d] %d", device, station.error_count[device]);
    FUZZ_CHECK(station.contact[device] == told.contact[device],
               "device %d: contact %d but the events told %d", device, station.contact[device],
               told.contact[device]);
  }

  static const char* const kNames[kAmpCount] = {"amp_info A", "amp_info B", "amp_info C"};
  for (int amp = 0; amp < kAmpCount; ++amp) {
    CheckAmpRecord(station.amps.amp_info[amp], kNames[amp]);
    CheckAmpRecord(station.amp_prev[amp], "amp_prev");
    FUZZ_CHECK(Terminated(station.amps.forward_dbm[amp], kReadingSize), "forward_dbm %d", amp);
    // Shown as live exactly while in contact.
    FUZZ_CHECK(station.contact[amp + 1] == (station.amps.amp_info[amp].status != amp_no_contact),
               "amplifier %d: contact %d, status %d", amp, station.contact[amp + 1],
               static_cast<int>(station.amps.amp_info[amp].status));
  }
  CheckControllerRecord(station.controller);
  FUZZ_CHECK(station.controller.controller_contact == (station.contact[0] ? 1 : 0),
             "controller_contact %d, contact %d", station.controller.controller_contact,
             station.contact[0]);

  if (!link.PortOpen()) {
    for (int device = 0; device < kDeviceCount; ++device) {
      FUZZ_CHECK(!station.contact[device], "device %d in contact on a closed port", device);
    }
  }

  // At most one frame a tick, and only the status query of the device now in turn.
  FUZZ_CHECK(line.frames.size() <= frames_before + 1, "%zu frames on one tick",
             line.frames.size() - frames_before);
  if (line.frames.size() > frames_before) {
    const Bytes& frame = line.frames.back();
    FUZZ_CHECK(frame == QueryFrame(station.current_device), "wrote %s, not the query of device %d",
               Hex(frame).c_str(), station.current_device);
  }
}

void RunPollCycle(const uint8_t* data, size_t size) {
  FakeClock clock;
  TimedOpener opener(clock);
  FakeWindows windows;
  FakeSound sound;
  Station station(opener, clock, windows);
  ContactEvents told;
  station.events.Add(&told);
  FUZZ_CHECK(station.link.InitSerial() == 1, "the fake port does not open");
  for (int amp = 0; amp < kAmpCount; ++amp) station.amps.InitAmpInfo(amp);
  MainTimer timer(station, windows, sound);
  FakeLine& line = *opener.line;

  double closed_since_ms = -1;  // when the port was last seen to close; -1 while open
  size_t at = 0;
  while (at < size) {
    const uint8_t advance = data[at++];
    if (advance == 255) {
      line.failure = line.failure.empty() ? "the device was unplugged" : "";
    } else if (advance >= 250) {
      clock.AdvanceMs((advance - 249) * 100000.0);
    } else {
      clock.AdvanceMs(advance);
    }
    if (at < size) {
      size_t count = data[at++];
      if (count > size - at) count = size - at;
      line.Feed(Bytes(data + at, data + at + count));
      at += count;
    }

    const size_t frames_before = line.frames.size();
    const size_t opens_before = opener.opens_ms.size();
    timer.Tick();
    windows.log.clear();
    const double now_ms = static_cast<double>(clock.counter) * kMsPerCount;

    CheckStation(station, told, frames_before, line);
    FUZZ_CHECK(told.port_open == station.link.PortOpen(), "port open %d, events told %d",
               station.link.PortOpen(), told.port_open);

    // A lost port is tried again every 2 s, never more often; and once the device works
    // again it is open within those 2 s.
    FUZZ_CHECK(opener.opens_ms.size() <= opens_before + 1, "opened twice on one tick");
    const size_t opens = opener.opens_ms.size();
    if (opens > opens_before && opens >= 2) {
      FUZZ_CHECK(opener.opens_ms[opens - 1] - opener.opens_ms[opens - 2] >= kReopenIntervalMs,
                 "opened again after %.3f ms",
                 opener.opens_ms[opens - 1] - opener.opens_ms[opens - 2]);
    }
    if (station.link.PortOpen()) {
      closed_since_ms = -1;
    } else {
      if (closed_since_ms < 0) closed_since_ms = now_ms;
      const double last_try_ms = std::max(closed_since_ms, opener.opens_ms.back());
      FUZZ_CHECK(!line.failure.empty() || now_ms - last_try_ms < kReopenIntervalMs,
                 "the device works, but the port has stayed closed for %.3f ms",
                 now_ms - last_try_ms);
    }
  }
  station.events.Remove(&told);
}

}  // namespace
}  // namespace onefortwo

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  onefortwo::RunPollCycle(data, size);
  return 0;
}
