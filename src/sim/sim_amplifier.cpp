#include "sim/sim_amplifier.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "shell/station.h"
#include "sim/sim_readings.h"

namespace onefortwo {
namespace {

// Where each fault of the station's list sits in the amplifier's two fault bytes.
struct FaultBitEntry {
  fault_enum fault;
  int byte;  // 0: fault byte 1, 1: fault byte 2
  int bit;
};
constexpr FaultBitEntry kFaultBits[] = {
    {fault_low_line, 0, 0x01},           {fault_fan_locked, 0, 0x02},
    {fault_over_volt, 0, 0x04},          {fault_over_temp, 0, 0x08},
    {fault_momentary_helix, 0, 0x10},    {fault_latched_helix, 0, 0x20},
    {fault_high_output, 1, 0x02},        {fault_low_output, 1, 0x04},
    {fault_external_interlock, 1, 0x08}, {fault_high_reflected, 1, 0x10},
    {fault_under_volt, 1, 0x20},
};

// Helix current (mA) and voltage (kV) with high voltage on, idle and at rated output.
constexpr double kIdleCurrentMa = 4.0;
constexpr double kLoadCurrentMa = 8.0;
constexpr double kHelixKv = 10.5;
constexpr double kLoadSagKv = 0.2;
// The tube warms by this much (C) with high voltage on, and this much more at rated
// output, with this time constant (ms).
constexpr double kHvWarmC = 15.0;
constexpr double kLoadWarmC = 20.0;
constexpr double kThermalTimeConstantMs = 120000.0;
// The attenuator moves to its set point with this time constant (ms).
constexpr double kAttenuatorTimeConstantMs = 100.0;

// Fraction of the way to a target that a first-order lag covers in `ms`.
double LagStep(double ms, double time_constant_ms) {
  if (time_constant_ms <= 0.0) return 1.0;
  return 1.0 - std::exp(-ms / time_constant_ms);
}

}  // namespace

SimAmplifier::SimAmplifier(const SimOptions& options)
    : options_(options),
      output_set_dbm_(WattsToDbm(500.0)),
      constant_level_dbm_(WattsToDbm(500.0)) {}

double SimAmplifier::TargetWatts() const {
  if (high_voltage_ != HighVoltage::on || rf_inhibit_ || faulted()) return 0.0;
  const double dbm = constant_ ? constant_level_dbm_ : output_set_dbm_;
  return std::min(DbmToWatts(dbm), kRatedWatts);
}

void SimAmplifier::Integrate(double ms) {
  if (ms <= 0.0) return;
  forward_watts_ += (TargetWatts() - forward_watts_) * LagStep(ms, options_.power_time_constant_ms);
  attenuation_ += (attenuation_set_ - attenuation_) * LagStep(ms, kAttenuatorTimeConstantMs);
  const double load = forward_watts_ / kRatedWatts;
  const double hot =
      kAmbientC + (high_voltage_ == HighVoltage::on ? kHvWarmC : 0.0) + kLoadWarmC * load;
  temperature_ += (hot - temperature_) * LagStep(ms, kThermalTimeConstantMs);
}

void SimAmplifier::Advance(double ms) {
  if (!(ms > 0.0)) return;
  if (high_voltage_ == HighVoltage::time_delay) {
    const double step = std::min(ms, delay_left_ms_);
    Integrate(step);
    delay_left_ms_ -= step;
    ms -= step;
    if (delay_left_ms_ <= 0.0) high_voltage_ = HighVoltage::on;
  }
  Integrate(ms);
}

void SimAmplifier::TripHighVoltage() {
  high_voltage_ = HighVoltage::standby;
  delay_left_ms_ = 0.0;
}

int SimAmplifier::FaultBit(fault_enum fault, int* byte) {
  for (const FaultBitEntry& entry : kFaultBits) {
    if (entry.fault == fault) {
      *byte = entry.byte;
      return entry.bit;
    }
  }
  return 0;
}

void SimAmplifier::InjectFault(fault_enum fault, bool sticky) {
  int byte = 0;
  const int bit = FaultBit(fault, &byte);
  if (bit == 0) return;
  (sticky ? sticky_bits_ : fault_bits_)[byte] |= bit;
  TripHighVoltage();
}

void SimAmplifier::ClearFaults() {
  fault_bits_[0] = fault_bits_[1] = 0;
  sticky_bits_[0] = sticky_bits_[1] = 0;
}

bool SimAmplifier::SetHighVoltage(HighVoltage state) {
  if (state == HighVoltage::standby) {
    TripHighVoltage();
    return true;
  }
  if (faulted()) return false;
  high_voltage_ = state;
  delay_left_ms_ = state == HighVoltage::time_delay ? options_.warmup_ms : 0.0;
  return true;
}

std::string SimAmplifier::StatusText() const {
  int state1 = 0;
  if (rf_inhibit_) state1 |= 0x01;
  if (constant_) state1 |= 0x02;
  if (remote_) state1 |= 0x04;
  if (high_voltage_ == HighVoltage::standby) state1 |= 0x08;
  if (high_voltage_ == HighVoltage::on) state1 |= 0x10;
  int state2 = 0;
  if (auto_hv_) state2 |= 0x01;
  if (alarm_) state2 |= 0x04;
  if (faulted()) state2 |= 0x20;

  std::string text(1, '?');
  for (int bits : {state1, state2, fault_byte(0), fault_byte(1)})
    text += static_cast<char>(kStatusByteBase | bits);

  const bool hv_on = high_voltage_ == HighVoltage::on;
  const double load = forward_watts_ / kRatedWatts;
  const double forward_dbm = WattsToDbm(forward_watts_);
  text += Reading4(attenuation_);
  text += Reading4(hv_on ? kIdleCurrentMa + kLoadCurrentMa * load : 0.0);
  text += Reading4(forward_dbm);  // below 0 dBm (and no power at all) reads 00.0
  text += Reading4(forward_dbm - kReturnLossDb);
  text += Reading4(temperature_);
  text += Reading4(hv_on ? kHelixKv - kLoadSagKv * load : 0.0);
  return text;
}

bool SimAmplifier::SetPoint(char letter, const std::string& text) {
  // E and G carry whole watts ("%04d"); D, F and K one decimal ("%4.1f") in dBW or dB.
  const bool watts = letter == 'E' || letter == 'G';
  double value = 0.0;
  if (!ParseCommandNumber(text, 1, !watts, &value)) return false;
  if (letter == 'K') {
    attenuation_set_ = std::clamp(value, 0.0, kMaxAttenuation);
    return true;
  }
  // Out of range set points are limited to what the tube can give, as the front panel
  // does; 0 W (or less) means no drive at all.
  double dbm = watts ? WattsToDbm(value) : value + kDbmToDbw;
  dbm = std::min(dbm, WattsToDbm(kRatedWatts));
  if (letter == 'G' || letter == 'F') {
    constant_ = true;
    constant_level_dbm_ = dbm;
  } else {
    output_set_dbm_ = dbm;
  }
  return true;
}

DeviceAnswer SimAmplifier::Answer(const std::string& text) {
  DeviceAnswer answer;
  answer.text = text;  // commands are answered with their own echo
  if (text == kAmpQuery) {
    answer.text = StatusText();
    return answer;
  }
  if (!remote_) {
    answer.ack = false;  // local: the front panel has control
    return answer;
  }
  if (text == "@") {
    if (high_voltage_ == HighVoltage::standby && !faulted()) {
      SetHighVoltage(HighVoltage::time_delay);
    }
  } else if (text == "A") {
    TripHighVoltage();
  } else if (text == "I") {
    rf_inhibit_ = true;
  } else if (text == "J") {
    rf_inhibit_ = false;
  } else if (text == "H") {
    constant_ = false;
  } else if (text == "B") {
    fault_bits_[0] = fault_bits_[1] = 0;
  } else if (text.size() > 1 && std::string("EDKGF").find(text[0]) != std::string::npos) {
    answer.ack = SetPoint(text[0], text);
  } else {
    answer.ack = false;
  }
  return answer;
}

}  // namespace onefortwo
