#pragma once

#include <cstdint>
#include <string>

namespace onefortwo {

// One row of the events table: what happened, when (UTC ms), to which device ("station",
// "line", "controller", "A", "B", "C"), of which kind (kEventKinds), in words, and the
// desktop user's login name for what an operator did (empty otherwise).
struct EventEntry {
  int64_t t_ms = 0;
  std::string device;
  std::string kind;
  std::string text;
  std::string user;
};

// One amplifier status reply's numbers as received: attenuation in dB, helix current in
// mA, helix voltage in kV, temperature in degrees C, forward and reverse power in dBm. NaN
// (stored as NULL) where the reply held no number.
struct ReadingEntry {
  int64_t t_ms = 0;
  int amp = 0;  // 0..2, A..C
  double attenuation_db = 0;
  double helix_current_ma = 0;
  double helix_voltage_kv = 0;
  double temperature_c = 0;
  double forward_dbm = 0;
  double reverse_dbm = 0;
};

// The kinds of event, as stored in the kind column.
constexpr const char* kEventKinds[] = {
    "station started",  "station ended",   "port opened",      "port closed",
    "port refused",     "port lost",       "port restored",    "contact lost",
    "contact restored", "state changed",   "fault raised",     "fault cleared",
    "alarm acknowledged", "fault reset",   "command",          "mode changed",
    "control changed",  "switch changed",  "journal",
};

// "A", "B", "C" for amplifiers 0..2; "?" otherwise.
const char* AmpLetter(int amp);
// 0..2 for "A".."C" (either case); -1 otherwise.
int AmpFromLetter(const std::string& letter);

}  // namespace onefortwo
