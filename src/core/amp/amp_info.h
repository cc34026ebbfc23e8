#pragma once

#include <cstdint>
#include <string>

#include "platform/station_windows.h"
#include "round/round.h"

namespace onefortwo {

// Operating state of an amplifier.
enum amp_enum : int32_t {
  amp_no_contact = 0,  // does not answer
  amp_ac_off = 1,      // power off (no reply produces it; the panel has a text for it)
  amp_fault = 2,
  amp_alarm = 3,
  amp_ftd = 4,  // time delay; also when a reply sets none of the state bits
  amp_standby = 5,
  amp_auto_hv = 6,
  amp_hv_on = 7,
};

// Summary fault of an amplifier; its text is fault_string[fault].
enum fault_enum : int32_t {
  fault_none = 0,
  fault_latched_helix = 1,
  fault_momentary_helix = 2,
  fault_over_temp = 3,
  fault_over_volt = 4,
  fault_fan_locked = 5,
  fault_low_line = 6,
  fault_under_volt = 7,
  fault_high_reflected = 8,
  fault_external_interlock = 9,
  fault_low_output = 10,
  fault_high_output = 11,
};
constexpr int kFaultCount = 12;
extern const char* const fault_string[kFaultCount];

constexpr int kReadingSize = 10;

// The station's picture of one amplifier. Readings are display text, NUL-terminated.
struct amp_struct {
  amp_enum status;
  fault_enum fault_status;
  char power_out[kReadingSize];    // forward power in the unit of power_format
  char power_back[kReadingSize];   // reverse power in the unit of power_format
  char attenuation[kReadingSize];  // dB, as received
  char voltage[kReadingSize];      // helix voltage in kV, as received
  char temp[kReadingSize];         // tube temperature in degrees C, as received
  char current[kReadingSize];      // helix current in mA, as received
  char redisplay;                  // 1 after InitAmpInfo; only compared, never tested
  char remote;                     // 1 in remote mode
  char constant;                   // 1 while constant-power mode is on
  char rf_inhibit;                 // 1 while RF is inhibited
};
static_assert(sizeof(amp_struct) == 72, "amp_struct is compared byte for byte: no padding");

// The numbers of one amplifier status reply as they came off the line, before any
// conversion to the panels' unit. NaN where a field holds no number.
struct AmpReadings {
  double attenuation_db;
  double helix_current_ma;
  double helix_voltage_kv;
  double temperature_c;
  double forward_dbm;
  double reverse_dbm;
};

constexpr int kAmpCount = 3;
constexpr int base_address = 64;  // controller 64 "@", amplifiers 65..67 "A".."C"

// Smallest accepted status reply: ACK, address, "?", 28 status characters, ETX, check.
constexpr int kAmpStatusFrameLength = 33;

// The three amplifier records and what their parsing decides about fault dialogs.
class AmpModel {
 public:
  explicit AmpModel(StationWindows& windows);

  // Puts amplifier `amp` (0..2) into the no-contact state with zeroed readings.
  void InitAmpInfo(int amp);

  // Decodes the status reply of amplifier `amp` from the frame `response_buf` of
  // `receive_count` bytes (ACK, address, text, ETX, check byte) into amp_info[amp], with
  // the powers in `power_format`, and opens, re-arms or updates its fault dialog. A frame
  // whose text is not a status reply ("?" first, 29 characters at least) changes nothing.
  // Returns whether the frame was a status reply and was taken in.
  bool ParseAmpResponse(int amp, const char* response_buf, int receive_count,
                        power_enum power_format);

  amp_struct amp_info[kAmpCount] = {};
  amp_enum old_status[kAmpCount] = {amp_ftd, amp_ftd, amp_ftd};
  fault_enum old_fault_status[kAmpCount] = {fault_none, fault_none, fault_none};
  int audio_enabled[kAmpCount] = {0, 0, 0};  // 1: the fault alarm sounds
  // The forward power of the last status reply as received (4 characters, dBm), kept so
  // that the power can be given in whatever unit is chosen now; empty after InitAmpInfo
  // and before the first reply.
  char forward_dbm[kAmpCount][kReadingSize] = {};
  // The numbers of the last status reply of each amplifier, as received.
  AmpReadings readings[kAmpCount] = {};

  // Amplifier `amp`'s forward power as text in `power_format`: the last received reading
  // converted exactly as the reply parsing converts it, so it equals power_out whenever
  // power_out was formatted in that unit, and stays right after a change of unit. With no
  // reading since InitAmpInfo it is power_out's placeholder; "" for an unknown `amp`.
  std::string ForwardPowerText(int amp, power_enum power_format) const;

 private:
  StationWindows& windows_;
};

// The reading `text` (dBm) as shown in `power_format`; `watts_format` is "%d" for forward
// and "%4d" for reverse power. The result replaces `text` (kReadingSize bytes).
void ConvertPowerReading(char* text, power_enum power_format, const char* watts_format);

}  // namespace onefortwo
