#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <random>
#include <utility>

#include "platform/serial_device.h"
#include "sim/command_frame_receiver.h"
#include "sim/line_timing.h"
#include "sim/reply_faults.h"
#include "sim/sim_amplifier.h"
#include "sim/sim_controller.h"
#include "sim/sim_options.h"

namespace onefortwo {

// Something that happened on the simulated line, for the frame log.
struct LineEvent {
  enum Kind {
    command,        // a frame for one of the devices, heard and taken
    unanswered,     // a frame for a silent device
    other_address,  // a frame with a good check byte for an address no device has
    bad_check,      // a frame whose check byte is wrong: no device takes it
    reply,          // a reply frame put on the line (as spoilt by `fault`)
    noise,          // noise bytes put on the line
  };
  Kind kind = command;
  double at_ms = 0.0;
  int device = -1;  // 0 controller, 1..3 amplifiers A..C; -1 for none
  SimBytes bytes;   // the frame or the noise, as on the line
  ReplyFault fault = ReplyFault::none;
};
using LineObserver = std::function<void(const LineEvent&)>;

// The simulated installation on its line: the redundancy controller at address 64 and
// amplifiers A, B, C at 65, 66, 67. Command frames come in byte by byte with the time
// each byte has arrived; every device hears them, takes the frames addressed to it with a
// correct check byte and answers with a reply frame (ACK or NAK, address, text, ETX,
// check byte). A reply starts SimOptions::turnaround_ms after the command's check byte
// and occupies the line for LineTiming::byte_ms per byte; replies never overlap, noise
// may. Frames with a wrong check byte or another address get no answer.
//
// Time is in ms on any steady scale, and only moves forward: AdvanceTo and TakeReady run
// the installation up to the time given. No threads; the caller drives it.
class SimInstallation {
 public:
  // Bytes waiting in either direction are limited to this many, like a driver's buffer;
  // what would go beyond is lost.
  static constexpr size_t kMaxQueuedBytes = 4096;

  explicit SimInstallation(const SimOptions& options = SimOptions());

  // The line's rate and format, as the station configured its port. False, and nothing
  // changes, for settings no UART takes.
  bool ConfigureLine(const LineSettings& settings) { return timing_.Configure(settings); }
  const LineTiming& timing() const { return timing_; }
  const SimOptions& options() const { return options_; }

  // A byte from the station whose last bit arrives at `at_ms`. Bytes must come in the
  // order of the line; a time earlier than the previous byte's counts as that time.
  void Receive(uint8_t byte, double at_ms);
  // Runs the installation up to `now_ms`: the devices take in the bytes that have
  // arrived by then and answer them, amplifiers warm up and follow their set points, and
  // in automatic mode the controller switches round faulted amplifiers.
  void AdvanceTo(double now_ms);
  // Runs up to `now_ms` and copies into `out` (at most `max`) the bytes whose time on the
  // line has come, in order. Returns their count.
  size_t TakeReady(double now_ms, uint8_t* out, size_t max);
  // When the next byte for the station becomes readable; infinity when none waits.
  double NextByteAt() const;
  double now_ms() const { return now_ms_; }

  // The devices, for their state and for faults and front-panel changes.
  SimController& controller() { return controller_; }
  const SimController& controller() const { return controller_; }
  // Amplifier `amp`, 0..2 (A..C); others are limited to that range.
  SimAmplifier& amplifier(int amp);
  const SimAmplifier& amplifier(int amp) const;
  ReplyFaults& reply_faults() { return reply_faults_; }

  // Puts `count` random bytes (at most kMaxQueuedBytes) on the line to the station,
  // starting now, over whatever a device is sending at the time.
  void AddNoise(int count);

  // Told of every frame heard and sent; none by default.
  void set_observer(LineObserver observer) { observer_ = std::move(observer); }

  // Whether a port is open on the installation now (it takes one at a time).
  bool attached() const { return attached_; }
  void set_attached(bool attached) { attached_ = attached; }

 private:
  struct TimedByte {
    double at_ms;
    uint8_t byte;
  };

  void Step(double to_ms);
  void ApplyRedundancy();
  void HandleFrame(const HeardFrame& frame);
  void Send(SimBytes bytes, double ready_ms);
  // Puts a byte for the station in the queue, which stays in time order.
  void Enqueue(const TimedByte& byte);
  void Notify(LineEvent::Kind kind, int device, const SimBytes& bytes, ReplyFault fault);

  SimOptions options_;
  LineTiming timing_;
  SimController controller_;
  SimAmplifier amplifiers_[3];
  ReplyFaults reply_faults_;
  CommandFrameReceiver receiver_;
  std::deque<TimedByte> inbound_;
  std::deque<TimedByte> outbound_;
  double now_ms_ = 0.0;
  bool started_ = false;       // now_ms_ is taken from the first time the installation sees
  double line_free_ms_ = 0.0;  // when the devices' last reply has left the line
  std::mt19937 noise_;
  LineObserver observer_;
  bool attached_ = false;
};

}  // namespace onefortwo
