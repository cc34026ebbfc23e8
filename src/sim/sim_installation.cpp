#include "sim/sim_installation.h"

#include <algorithm>
#include <limits>

#include "amp/amp_info.h"
#include "wserial/serial_link.h"

namespace onefortwo {

SimInstallation::SimInstallation(const SimOptions& options)
    : options_(options),
      amplifiers_{SimAmplifier(options), SimAmplifier(options), SimAmplifier(options)},
      noise_(options.noise_seed) {}

SimAmplifier& SimInstallation::amplifier(int amp) {
  return amplifiers_[std::clamp(amp, 0, 2)];
}

const SimAmplifier& SimInstallation::amplifier(int amp) const {
  return amplifiers_[std::clamp(amp, 0, 2)];
}

void SimInstallation::Receive(uint8_t byte, double at_ms) {
  if (inbound_.size() >= kMaxQueuedBytes) return;
  if (!inbound_.empty()) at_ms = std::max(at_ms, inbound_.back().at_ms);
  inbound_.push_back({at_ms, byte});
}

void SimInstallation::Step(double to_ms) {
  if (!started_) {
    started_ = true;
    now_ms_ = to_ms;
    line_free_ms_ = to_ms;
  }
  if (to_ms > now_ms_) {
    for (SimAmplifier& amp : amplifiers_) amp.Advance(to_ms - now_ms_);
    now_ms_ = to_ms;
  }
  ApplyRedundancy();
}

void SimInstallation::ApplyRedundancy() {
  const bool faulted[3] = {amplifiers_[0].faulted(), amplifiers_[1].faulted(),
                           amplifiers_[2].faulted()};
  controller_.ApplyAutomaticRedundancy(faulted);
}

void SimInstallation::AdvanceTo(double now_ms) {
  while (!inbound_.empty() && inbound_.front().at_ms <= now_ms) {
    const TimedByte next = inbound_.front();
    inbound_.pop_front();
    Step(next.at_ms);
    if (receiver_.Feed(next.byte)) HandleFrame(receiver_.frame());
  }
  Step(now_ms);
}

size_t SimInstallation::TakeReady(double now_ms, uint8_t* out, size_t max) {
  AdvanceTo(now_ms);
  size_t taken = 0;
  while (taken < max && !outbound_.empty() && outbound_.front().at_ms <= now_ms) {
    out[taken++] = outbound_.front().byte;
    outbound_.pop_front();
  }
  return taken;
}

double SimInstallation::NextByteAt() const {
  return outbound_.empty() ? std::numeric_limits<double>::infinity() : outbound_.front().at_ms;
}

void SimInstallation::HandleFrame(const HeardFrame& frame) {
  if (!frame.check_ok) {
    Notify(LineEvent::bad_check, -1, frame.bytes, ReplyFault::none);
    return;
  }
  const int device = frame.address - base_address;
  if (frame.address < 0 || device < 0 || device > 3) {
    Notify(LineEvent::other_address, -1, frame.bytes, ReplyFault::none);
    return;
  }
  const ReplyFault fault = reply_faults_.Take(device);
  if (fault == ReplyFault::silent) {
    Notify(LineEvent::unanswered, device, frame.bytes, fault);
    return;
  }
  Notify(LineEvent::command, device, frame.bytes, ReplyFault::none);

  DeviceAnswer answer;
  if (fault == ReplyFault::nak) {
    answer.ack = false;
    answer.text = frame.text;
  } else if (device == 0) {
    answer = controller_.Answer(frame.text);
  } else {
    answer = amplifiers_[device - 1].Answer(frame.text);
  }
  ApplyRedundancy();  // a command may have changed the mode or a fault

  // ACK or NAK, address, text, ETX, check byte: the command frame's layout.
  SimBytes reply;
  reply.reserve(answer.text.size() + 4);
  reply.push_back(answer.ack ? ACK : NAK);
  reply.push_back(static_cast<uint8_t>(frame.address));
  reply.insert(reply.end(), answer.text.begin(), answer.text.end());
  reply.push_back(ETX);
  const char* raw = reinterpret_cast<const char*>(reply.data());
  reply.push_back(static_cast<uint8_t>(XorChecksum(raw, static_cast<int>(reply.size()))));
  if (fault == ReplyFault::bad_check) reply.back() ^= 0xFF;
  if (fault == ReplyFault::cut_short) reply.resize(reply.size() / 2);

  Send(reply, now_ms_ + options_.turnaround_ms);
  Notify(LineEvent::reply, device, reply, fault);
}

void SimInstallation::Send(SimBytes bytes, double ready_ms) {
  if (outbound_.size() + bytes.size() > kMaxQueuedBytes) return;
  const double byte_ms = timing_.byte_ms();
  const double start = std::max(ready_ms, line_free_ms_);
  for (size_t i = 0; i < bytes.size(); ++i) {
    Enqueue({start + byte_ms * static_cast<double>(i + 1), bytes[i]});
  }
  line_free_ms_ = start + byte_ms * static_cast<double>(bytes.size());
}

void SimInstallation::Enqueue(const TimedByte& byte) {
  // Replies follow each other, so a byte mostly goes at the end; noise may lie before it.
  if (outbound_.empty() || outbound_.back().at_ms <= byte.at_ms) {
    outbound_.push_back(byte);
    return;
  }
  const auto later =
      std::upper_bound(outbound_.begin(), outbound_.end(), byte,
                       [](const TimedByte& a, const TimedByte& b) { return a.at_ms < b.at_ms; });
  outbound_.insert(later, byte);
}

void SimInstallation::AddNoise(int count) {
  count = std::clamp(count, 0, static_cast<int>(kMaxQueuedBytes));
  if (count == 0) return;
  std::uniform_int_distribution<int> any_byte(0, 255);
  SimBytes noise(static_cast<size_t>(count));
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>(any_byte(noise_));
  const double byte_ms = timing_.byte_ms();
  for (size_t i = 0; i < noise.size() && outbound_.size() < kMaxQueuedBytes; ++i) {
    // Noise lands between the bytes already on their way, which it may spoil.
    Enqueue({now_ms_ + byte_ms * static_cast<double>(i + 1), noise[i]});
  }
  Notify(LineEvent::noise, -1, noise, ReplyFault::none);
}

void SimInstallation::Notify(LineEvent::Kind kind, int device, const SimBytes& bytes,
                             ReplyFault fault) {
  if (!observer_) return;
  LineEvent event;
  event.kind = kind;
  event.at_ms = now_ms_;
  event.device = device;
  event.bytes = bytes;
  event.fault = fault;
  observer_(event);
}

}  // namespace onefortwo
