#pragma once

#include <string>

#include "amp/amp_info.h"
#include "sim/device_answer.h"
#include "sim/sim_options.h"

namespace onefortwo {

// One simulated travelling-wave-tube amplifier: its operating state, set points and
// readings, and the faults and alarm put on it from outside.
//
// It starts warm and in standby, RF enabled, in remote, with an output set point of 500 W
// and 10.0 dB attenuation. "@" starts the high-voltage warm-up: it reports time delay for
// SimOptions::warmup_ms, then high voltage on. Forward power follows its set point (the
// constant-power level while constant power is on) with SimOptions::power_time_constant_ms
// while high voltage is on, RF is enabled and there is no fault; reverse power is 20 dB
// below it; helix current and voltage follow the load, and the tube temperature follows
// them slowly. A fault trips the high voltage back to standby. In local mode only the
// status query is answered; every other command is refused with NAK.
class SimAmplifier {
 public:
  enum class HighVoltage { standby, time_delay, on };

  static constexpr double kRatedWatts = 2000.0;  // 63.0 dBm
  static constexpr double kMaxAttenuation = 30.0;
  static constexpr double kReturnLossDb = 20.0;
  static constexpr double kAmbientC = 25.0;

  explicit SimAmplifier(const SimOptions& options = SimOptions());

  // Obeys one command text (the status query "?13AIPQTV" included) and returns the answer.
  DeviceAnswer Answer(const std::string& text);
  // The reply text to the status query: "?", two state bytes, two fault bytes, then
  // attenuation, helix current, forward dBm, reverse dBm, temperature and helix voltage,
  // 4 characters each.
  std::string StatusText() const;
  // Lets `ms` of time pass.
  void Advance(double ms);

  // --- Faults and front-panel changes, from tests and the operator of onefortwo-sim ----
  // Sets the fault bit of `fault` (fault_none does nothing). A fault reset ("B") clears
  // it unless `sticky`: a sticky fault stays until ClearFaults, like a cause that is
  // still there.
  void InjectFault(fault_enum fault, bool sticky);
  void ClearFaults();
  void SetAlarm(bool on) { alarm_ = on; }
  void SetRemote(bool on) { remote_ = on; }
  void SetAutoHv(bool on) { auto_hv_ = on; }
  void SetRfInhibit(bool on) { rf_inhibit_ = on; }
  // Sets the high-voltage state at once, without the warm-up. Refused (false) for a
  // faulted amplifier unless the state is standby.
  bool SetHighVoltage(HighVoltage state);

  bool faulted() const { return (fault_byte(0) | fault_byte(1)) != 0; }
  HighVoltage high_voltage() const { return high_voltage_; }
  bool remote() const { return remote_; }
  bool rf_inhibit() const { return rf_inhibit_; }
  bool constant() const { return constant_; }
  bool alarm() const { return alarm_; }
  double forward_watts() const { return forward_watts_; }
  double output_set_dbm() const { return output_set_dbm_; }
  double constant_level_dbm() const { return constant_level_dbm_; }
  double attenuation() const { return attenuation_; }
  double attenuation_set() const { return attenuation_set_; }
  double temperature() const { return temperature_; }
  // Where `fault` sits: its bit, with the fault byte (0 or 1) in `*byte`; 0 for
  // fault_none and values outside the list.
  static int FaultBit(fault_enum fault, int* byte);
  // The fault bytes without their 0x40 (bits as the station's parser reads them).
  int fault_byte(int index) const { return fault_bits_[index] | sticky_bits_[index]; }

 private:
  // Power the tube is driven to now, in watts (0 without high voltage or RF, or faulted).
  double TargetWatts() const;
  void Integrate(double ms);
  void TripHighVoltage();
  // A set-point command: letter, number form; false for a malformed number.
  bool SetPoint(char letter, const std::string& text);

  SimOptions options_;
  HighVoltage high_voltage_ = HighVoltage::standby;
  double delay_left_ms_ = 0.0;
  bool rf_inhibit_ = false;
  bool constant_ = false;
  bool remote_ = true;
  bool alarm_ = false;
  bool auto_hv_ = false;
  // Fault bits of fault bytes 1 and 2: those a fault reset clears, and the sticky ones.
  int fault_bits_[2] = {0, 0};
  int sticky_bits_[2] = {0, 0};

  double output_set_dbm_;      // 500 W
  double constant_level_dbm_;  // 500 W
  double attenuation_set_ = 10.0;
  double attenuation_ = 10.0;
  double forward_watts_ = 0.0;
  double temperature_ = kAmbientC;
};

}  // namespace onefortwo
