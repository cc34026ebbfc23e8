#pragma once

// Journals made for the benchmarks: a day of polling at the rate the station polls, a
// year as the journal keeps it, a million events. Every value is made up but shaped like
// the real thing (a reply's numbers with one decimal, drifting slowly).

#include <sqlite3.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "journal/journal_db.h"

namespace onefortwo {

// 2026-12-10T03:00:00Z.
constexpr int64_t kBenchNow = 1796871600000;

inline double Tenths(double value) { return std::round(value * 10) / 10; }

// A reply of amplifier `amp` at `t_ms`: the numbers as the line carries them (4
// characters, one decimal).
inline ReadingEntry BenchReading(int amp, int64_t t_ms) {
  const double hours = static_cast<double>(t_ms % 86400000) / 3600000.0;
  const double wiggle = std::sin(static_cast<double>(t_ms) / 7000.0 + amp);
  ReadingEntry r;
  r.t_ms = t_ms;
  r.amp = amp;
  r.attenuation_db = 10.0 + amp;
  r.helix_current_ma = Tenths(3.0 + 0.2 * amp + 0.05 * hours / 24 + 0.1 * wiggle);
  r.helix_voltage_kv = Tenths(5.4 + 0.1 * wiggle);
  r.temperature_c = Tenths(37 + 3 * std::sin(hours / 24 * 6.283) + 0.3 * wiggle);
  r.forward_dbm = Tenths(60 + 0.2 * wiggle);
  r.reverse_dbm = Tenths(25 + 0.3 * wiggle);
  return r;
}

// Writes replies of the three amplifiers in turn, each `reply_interval_ms` apart per
// amplifier, over [since_ms, until_ms), a second to a transaction as the station does,
// rolled up a minute at a time. False on any failure.
inline bool WritePolling(JournalDb& db, int64_t since_ms, int64_t until_ms,
                         double reply_interval_ms) {
  std::string why;
  std::vector<ReadingEntry> batch;
  int64_t batch_end = since_ms + 1000;
  const double step = reply_interval_ms / 3;
  long n = 0;
  for (double t = static_cast<double>(since_ms); t < static_cast<double>(until_ms); t += step, ++n) {
    const int64_t ms = static_cast<int64_t>(t);
    if (ms >= batch_end) {
      if (!db.Write({}, batch, &why) || !db.RollUp(ms, &why)) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return false;
      }
      batch.clear();
      batch_end += 1000;
    }
    batch.push_back(BenchReading(static_cast<int>(n % 3), ms));
  }
  return db.Write({}, batch, &why) && db.RollUp(until_ms + kRollUpDelayMs + kMinuteMs, &why);
}

// A journal at `path` holding the last 24 hours before kBenchNow of polling at 9600 baud
// (a reply of each amplifier every 224 ms), rolled up; aborts when it cannot be written.
inline std::string Polled24HourJournal(const std::string& path) {
  JournalDb db;
  std::string why;
  if (!db.Open(path, JournalDb::Mode::writer, kBenchNow - 86400000, &why) ||
      !WritePolling(db, kBenchNow - 86400000, kBenchNow, 224))
    std::abort();
  return path;
}

// Minute rows of the three amplifiers for every minute of [since_ms, until_ms), as the
// roll-up makes them from `samples` replies a minute.
inline bool WriteMinutes(JournalDb& db, int64_t since_ms, int64_t until_ms, int samples) {
  std::string sql = "INSERT INTO readings_minute VALUES(?1, ?2, ?3";
  for (int i = 0; i < 18; ++i) sql += ", ?" + std::to_string(4 + i);
  sql += ")";
  if (sqlite3_exec(db.handle(), "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) return false;
  sqlite3_stmt* insert = nullptr;
  if (sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &insert, nullptr) != SQLITE_OK) return false;
  for (int64_t t = since_ms; t < until_ms; t += kMinuteMs) {
    for (int amp = 0; amp < 3; ++amp) {
      const ReadingEntry r = BenchReading(amp, t);
      const double values[] = {r.attenuation_db, r.helix_current_ma, r.helix_voltage_kv,
                               r.temperature_c,  r.forward_dbm,      r.reverse_dbm};
      sqlite3_bind_text(insert, 1, amp == 0 ? "A" : amp == 1 ? "B" : "C", 1, SQLITE_STATIC);
      sqlite3_bind_int64(insert, 2, t);
      sqlite3_bind_int(insert, 3, samples);
      for (int i = 0; i < 6; ++i) {
        // A minute's spread, and a mean that is no longer a tenth.
        sqlite3_bind_double(insert, 4 + i * 3, values[i] - 0.1);
        sqlite3_bind_double(insert, 5 + i * 3, values[i] + 0.0137);
        sqlite3_bind_double(insert, 6 + i * 3, values[i] + 0.1);
      }
      if (sqlite3_step(insert) != SQLITE_DONE) return false;
      sqlite3_reset(insert);
    }
  }
  sqlite3_finalize(insert);
  return sqlite3_exec(db.handle(), "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
}

// `count` events over the `span_ms` before kBenchNow, of the kinds and lengths a station
// writes.
inline bool WriteEvents(JournalDb& db, int64_t count, int64_t span_ms) {
  static const char* const kTexts[][3] = {
      {"A", "state changed", "High Voltage -> Faulted"},
      {"A", "fault raised", "Fault: Over Temperature"},
      {"controller", "switch changed", "Waveguide switch 1 A -> B, by the controller itself"},
      {"A", "alarm acknowledged", "Alarm acknowledged"},
      {"A", "command", "Sent \"B\" after \"Amplifier A Fault: Fault Reset\""},
      {"B", "contact lost", "Contact lost: no reply to three queries in a row"},
      {"B", "contact restored", "Contact restored"},
      {"line", "port lost", "Port COM2 (9600 8N1) lost: the device hung up"},
  };
  std::string why;
  std::vector<EventEntry> batch;
  for (int64_t i = 0; i < count; ++i) {
    const auto& text = kTexts[i % 8];
    batch.push_back(EventEntry{kBenchNow - span_ms + span_ms * i / count, text[0], text[1], text[2],
                               i % 8 == 3 || i % 8 == 4 ? "operator" : ""});
    if (batch.size() == 10000) {
      if (!db.Write(batch, {}, &why)) return false;
      batch.clear();
    }
  }
  return db.Write(batch, {}, &why);
}

inline int64_t FileBytes(const std::string& path) {
  struct stat info;
  int64_t bytes = 0;
  for (const char* suffix : {"", "-wal"})
    if (::stat((path + suffix).c_str(), &info) == 0) bytes += info.st_size;
  return bytes;
}

}  // namespace onefortwo
