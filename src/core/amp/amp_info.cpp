#include "amp/amp_info.h"

#include "round/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace onefortwo {

const char* const fault_string[kFaultCount] = {
    "No Faults",          "Latched Helix Arc",     "Momentary Helix Arc", "Over Temperature",
    "Over Voltage",       "Fan Locked",            "Low Line",            "Under Voltage",
    "High Reflected Power", "External Interlock", "Low Output Power",    "High Output Power",
};

AmpModel::AmpModel(StationWindows& windows) : windows_(windows) {}

void AmpModel::InitAmpInfo(int amp) {
  if (amp < 0 || amp >= kAmpCount) return;
  amp_struct& info = amp_info[amp];
  info.redisplay = 1;
  info.remote = 0;
  info.constant = 0;
  info.rf_inhibit = 0;
  info.status = amp_no_contact;
  info.fault_status = fault_none;
  std::strcpy(info.power_out, "00.0");
  std::strcpy(info.power_back, "00.0");
  std::strcpy(info.attenuation, "00.0");
  std::strcpy(info.voltage, "0.0");
  std::strcpy(info.temp, "000");
  std::strcpy(info.current, "00.0");
  forward_dbm[amp][0] = '\0';
}

std::string AmpModel::ForwardPowerText(int amp, power_enum power_format) const {
  if (amp < 0 || amp >= kAmpCount) return std::string();
  // No reply since InitAmpInfo: the placeholder. A reply whose forward field came empty
  // has left the record out of no contact, and its empty reading converts like any other.
  if (forward_dbm[amp][0] == '\0' && amp_info[amp].status == amp_no_contact) {
    return amp_info[amp].power_out;
  }
  char text[kReadingSize];
  std::memcpy(text, forward_dbm[amp], kReadingSize);
  ConvertPowerReading(text, power_format, "%d");
  return text;
}

namespace {

// Copies the 4 characters at `from` into `to` and ends the text after them.
void CopyReading(char* to, const char* from) {
  std::memcpy(to, from, 4);
  to[4] = '\0';
}

// The 4-character reading at `from` as a number; NaN when it holds none.
double ReadingNumber(const char* from) {
  char text[5];
  std::memcpy(text, from, 4);
  text[4] = '\0';
  bool found = false;
  const double value = ParseLeadingNumber(text, &found);
  return found ? value : std::nan("");
}

// Shown instead of a number too large for the reading's place (only a corrupted reply
// carries one: a real amplifier reports at most 99.9 dBm).
constexpr const char* kOverRange = "****";

}  // namespace

void ConvertPowerReading(char* text, power_enum power_format, const char* watts_format) {
  float pwr = static_cast<float>(ParseLeadingNumber(text));
  if (!(pwr >= 30.0f)) pwr = 0;  // below 1 W (and NaN) counts as no power
  switch (power_format) {
    case power_watts: {
      const double watts = Round(std::pow(10.0, (pwr - 30) * 0.1), 0);
      if (!(watts < 1e9)) {
        std::snprintf(text, kReadingSize, "%s", kOverRange);
      } else {
        std::snprintf(text, kReadingSize, watts_format, static_cast<int>(watts));
      }
      break;
    }
    case power_dbw: {
      const double dbw = Round(pwr - 30, 1);
      if (!std::isfinite(dbw) || FormatFixed(text, kReadingSize, dbw, 4, 1) < 0) {
        std::snprintf(text, kReadingSize, "%s", kOverRange);
      }
      break;
    }
    case power_dbm:
    default:
      if (pwr < 30.0f) std::strcpy(text, "0");
      break;
  }
}

bool AmpModel::ParseAmpResponse(int amp, const char* response_buf, int receive_count,
                                power_enum power_format) {
  if (amp < 0 || amp >= kAmpCount) return false;
  // A reply too short for the status layout would leave earlier traffic in the fields.
  if (receive_count < kAmpStatusFrameLength || response_buf[2] != '?') return false;
  amp_struct& info = amp_info[amp];
  const auto byte = [response_buf](int index) {
    return static_cast<unsigned char>(response_buf[index]);
  };

  info.status = amp_ftd;
  if (byte(3) & 0x10) info.status = amp_hv_on;
  if (byte(3) & 0x08) info.status = amp_standby;
  if (byte(4) & 0x01) info.status = amp_auto_hv;
  if (byte(4) & 0x04) info.status = amp_alarm;
  if (byte(4) & 0x20) info.status = amp_fault;

  info.remote = (byte(3) & 0x04) ? 1 : 0;
  info.rf_inhibit = (byte(3) & 0x01) ? 1 : 0;
  info.constant = (byte(3) & 0x02) ? 1 : 0;

  static const struct {
    int index;
    unsigned char bit;
    fault_enum fault;
  } kFaultBits[] = {
      {5, 0x01, fault_low_line},         {5, 0x02, fault_fan_locked},
      {5, 0x04, fault_over_volt},        {5, 0x08, fault_over_temp},
      {5, 0x10, fault_momentary_helix},  {5, 0x20, fault_latched_helix},
      {6, 0x02, fault_high_output},      {6, 0x04, fault_low_output},
      {6, 0x08, fault_external_interlock}, {6, 0x10, fault_high_reflected},
      {6, 0x20, fault_under_volt},
  };
  info.fault_status = fault_none;
  for (const auto& test : kFaultBits) {
    if (byte(test.index) & test.bit) {
      info.fault_status = test.fault;
      break;
    }
  }

  AmpReadings& numbers = readings[amp];
  numbers.attenuation_db = ReadingNumber(response_buf + 7);
  numbers.helix_current_ma = ReadingNumber(response_buf + 11);
  numbers.forward_dbm = ReadingNumber(response_buf + 15);
  numbers.reverse_dbm = ReadingNumber(response_buf + 19);
  numbers.temperature_c = ReadingNumber(response_buf + 23);
  numbers.helix_voltage_kv = ReadingNumber(response_buf + 27);

  CopyReading(info.attenuation, response_buf + 7);
  CopyReading(info.current, response_buf + 11);
  CopyReading(info.power_out, response_buf + 15);
  std::memcpy(forward_dbm[amp], info.power_out, kReadingSize);
  ConvertPowerReading(info.power_out, power_format, "%d");
  CopyReading(info.power_back, response_buf + 19);
  ConvertPowerReading(info.power_back, power_format, "%4d");
  CopyReading(info.temp, response_buf + 23);
  CopyReading(info.voltage, response_buf + 27);

  if (info.status == amp_fault && old_status[amp] != amp_fault && !windows_.IsFaultDialogOpen(amp)) {
    audio_enabled[amp] = 1;
    windows_.OpenFaultDialog(amp);
  }
  if (windows_.IsFaultDialogOpen(amp) && info.fault_status != old_fault_status[amp]) {
    audio_enabled[amp] = info.status == amp_fault ? 1 : 0;
    windows_.UpdateFaultDialog(amp, fault_string[info.fault_status]);
  }
  old_status[amp] = info.status;
  old_fault_status[amp] = info.fault_status;
  return true;
}

}  // namespace onefortwo
