// journal_demo FILE: writes a made-up journal ending now, to try the Journal and Trends
// windows without a week of polling: a week of minute rows and the last two hours at full
// rate for A, B and C (B's helix current creeping up, as a tiring tube's does), and a
// night's events as the station records them (A trips at 03:00, the controller switches
// the spare in, the morning shift acknowledges and resets). Not part of the station.

#include <cstdio>
#include <cmath>
#include <string>
#include <vector>

#include "journal/event_text.h"
#include "journal/journal_db.h"
#include "journal/wall_clock.h"
#include "journal_fixture.h"

namespace onefortwo {
namespace {

constexpr int64_t kHour = 3600000;

ReadingEntry DemoReading(int amp, int64_t t_ms, int64_t now) {
  ReadingEntry r = BenchReading(amp, t_ms);
  const double days_ago = static_cast<double>(now - t_ms) / (24.0 * kHour);
  if (amp == 1) r.helix_current_ma = Tenths(3.2 + 0.12 * (7 - days_ago) + 0.1 * std::sin(t_ms / 7000.0));
  return r;
}

EventEntry At(int64_t t_ms, EventEntry e, const char* user = "") {
  e.t_ms = t_ms;
  e.user = user;
  return e;
}

int Run(const std::string& path) {
  SystemWallClock clock;
  const int64_t now = clock.NowUtcMs();
  JournalDb db;
  std::string why;
  if (!db.Open(path, JournalDb::Mode::writer, now - 7 * 24 * kHour, &why)) {
    std::fprintf(stderr, "journal_demo: %s\n", why.c_str());
    return 1;
  }
  // Minute rows for the week before the last two hours.
  std::vector<ReadingEntry> none;
  sqlite3_exec(db.handle(), "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  std::string sql = "INSERT OR REPLACE INTO readings_minute VALUES(?1, ?2, 268";
  for (int i = 0; i < 18; ++i) sql += ", ?" + std::to_string(3 + i);
  sqlite3_prepare_v2(db.handle(), (sql + ")").c_str(), -1, &insert, nullptr);
  const int64_t full_from = (now - 2 * kHour) / kMinuteMs * kMinuteMs;
  for (int64_t t = full_from - 7 * 24 * kHour; t < full_from; t += kMinuteMs) {
    for (int amp = 0; amp < 3; ++amp) {
      const ReadingEntry r = DemoReading(amp, t, now);
      const double v[] = {r.attenuation_db, r.helix_current_ma, r.helix_voltage_kv,
                          r.temperature_c,  r.forward_dbm,      r.reverse_dbm};
      const char* letter = amp == 0 ? "A" : amp == 1 ? "B" : "C";
      sqlite3_bind_text(insert, 1, letter, 1, SQLITE_STATIC);
      sqlite3_bind_int64(insert, 2, t);
      for (int i = 0; i < 6; ++i) {
        sqlite3_bind_double(insert, 3 + 3 * i, v[i] - 0.1);
        sqlite3_bind_double(insert, 4 + 3 * i, v[i]);
        sqlite3_bind_double(insert, 5 + 3 * i, v[i] + 0.1);
      }
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
  }
  sqlite3_finalize(insert);
  sqlite3_exec(db.handle(), "COMMIT", nullptr, nullptr, nullptr);
  // The last two hours, every reply.
  std::vector<ReadingEntry> batch;
  for (int64_t t = full_from; t < now; t += 75) {
    batch.push_back(DemoReading(static_cast<int>(t / 75 % 3), t, now));
    if (batch.size() == 20000) {
      db.Write({}, batch, &why);
      batch.clear();
    }
  }
  db.Write({}, batch, &why);

  // Last night, from 03:00 UTC.
  const int64_t night = (now - 6 * kHour) / (24 * kHour) * (24 * kHour) + 3 * kHour;
  PortEvent port;
  port.port = "COM1";
  ControllerChange over = {{'A', 'A', 0, 0}, {'B', 'A', 0, 0}, false, false};
  ControllerChange back = {{'B', 'A', 0, 0}, {'A', 'A', 0, 0}, true, false};
  CommandEvent reset = {1, "B", "Amplifier A Fault: Fault Reset", true};
  CommandEvent hv = {1, "@", "Turn High Voltage ON?", true};
  CommandEvent toggle = {0, "B1A", "Toggle Waveguide Switch 1?", true};
  const std::vector<EventEntry> events = {
      At(night - 20 * kHour, StationStartedEntry("2.0"), "jdoe"),
      At(night - 20 * kHour + 40, PortEntry("port opened", port)),
      At(night + 12, StateChangedEntry(0, amp_hv_on, amp_fault)),
      At(night + 12, FaultRaisedEntry(0, fault_over_temp)),
      At(night + 236, ControllerChangeEntries(over)[0]),
      At(night + 4100 * 1000, PortEntry("port lost", [&] { PortEvent p = port; p.reason = "the device hung up"; return p; }())),
      At(night + 4100 * 1000, StateChangedEntry(1, amp_hv_on, amp_no_contact)),
      At(night + 4100 * 1000, ContactLostEntry(2, "the port was lost")),
      At(night + 4102 * 1000, PortEntry("port restored", port)),
      At(night + 4102 * 1000 + 230, ContactRestoredEntry(2)),
      At(night + 4102 * 1000 + 230, StateChangedEntry(1, amp_no_contact, amp_hv_on)),
      At(night + 16800 * 1000, AlarmAcknowledgedEntry(0), "msmith"),
      At(night + 16812 * 1000, FaultResetEntry(0), "msmith"),
      At(night + 16812 * 1000, CommandEntry(reset), "msmith"),
      At(night + 16812 * 1000 + 224, StateChangedEntry(0, amp_fault, amp_standby)),
      At(night + 16812 * 1000 + 224, FaultClearedEntry(0, fault_over_temp)),
      At(night + 16900 * 1000, CommandEntry(hv), "msmith"),
      At(night + 16900 * 1000 + 224, StateChangedEntry(0, amp_standby, amp_ftd)),
      At(night + 17080 * 1000, StateChangedEntry(0, amp_ftd, amp_hv_on)),
      At(night + 17200 * 1000, CommandEntry(toggle), "msmith"),
      At(night + 17200 * 1000 + 230, ControllerChangeEntries(back)[0]),
  };
  if (!db.Write(events, none, &why)) {
    std::fprintf(stderr, "journal_demo: %s\n", why.c_str());
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace onefortwo

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: journal_demo FILE\n");
    return 2;
  }
  return onefortwo::Run(argv[1]);
}
