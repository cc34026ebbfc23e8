#pragma once

#include <cstdint>

#include "amp/amp_info.h"

namespace onefortwo {

// Room for the texts the module shows, NUL included. Longer texts are cut to fit.
constexpr int kSnapshotVersionSize = 33;  // onefortwoStationVersion, at most 32
constexpr int kSnapshotPortSize = 64;     // onefortwoPortName, at most 63 (as port names)
constexpr int kSnapshotPowerTextSize = 25;

// One amplifier's row of onefortwoAmpTable.
struct AmpRow {
  bool contact;
  amp_enum state;
  fault_enum fault;  // of the last status reply; kept while out of contact
  // The readings of the last status reply, present while in contact. A reading whose
  // field held no number is absent on its own.
  bool has_readings;
  bool has_forward, has_reverse, has_attenuation, has_current, has_voltage, has_temperature;
  int32_t forward_tenths_dbm;
  int32_t reverse_tenths_dbm;
  int32_t attenuation_tenths_db;
  int32_t current_tenths_ma;
  int32_t voltage_tenths_kv;
  int32_t temperature_tenths_c;
  char forward_text[kSnapshotPowerTextSize];  // "500 Watts", as the panel shows it
  char reverse_text[kSnapshotPowerTextSize];
  bool remote;
  bool constant;
  bool rf_inhibit;
};

// What ONEFORTWO-MIB shows at one moment: the station, the three amplifiers and the
// controller. Plain data (copied whole from the tick thread to the agent's thread); every
// text is NUL-terminated.
struct MibSnapshot {
  // The station.
  bool started;                   // StationStarted was told
  int64_t started_ns;             // std::chrono::steady_clock at the start, in ns
  char version[kSnapshotVersionSize];
  char port[kSnapshotPortSize];   // empty before the first port event
  bool simulated;
  bool port_open;

  AmpRow amps[kAmpCount];

  // The controller. `controller_known` from its first status reply on; the positions
  // and modes then keep its last reply, also while out of contact.
  bool controller_contact;
  bool controller_known;
  int waveguide1;  // 65 'A' or 66 'B'
  int waveguide2;
  bool controller_manual;
  bool controller_local;
};

// The snapshot of a station that has not started: nothing in contact, every amplifier
// in the no-contact state without a fault, the controller unknown.
MibSnapshot EmptySnapshot();

// Copies `text` into `to` (`size` bytes), cut to fit and NUL-terminated.
void CopyText(char* to, int size, const char* text);

}  // namespace onefortwo
