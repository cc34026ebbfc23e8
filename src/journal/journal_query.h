#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <ostream>
#include <string>

#include "journal/journal_db.h"
#include "journal/journal_entry.h"

namespace onefortwo {

struct EventRow {
  int64_t id = 0;
  EventEntry entry;
};

// Which events: a time range [since_ms, until_ms), one device and one kind (empty: all),
// and text that the event's text or user contains (any case of ASCII letters; empty: all).
struct EventFilter {
  int64_t since_ms = std::numeric_limits<int64_t>::min();
  int64_t until_ms = std::numeric_limits<int64_t>::max();
  std::string device;
  std::string kind;
  std::string search;
};

// A page of events in time order, newest first unless `oldest_first`; `before` and
// `after` (event ids, 0: none) continue a list: events older than event `before` (by time,
// then id), or newer than event `after`. At most `limit` rows (0: all).
struct EventQuery {
  EventFilter filter;
  bool oldest_first = false;
  int64_t before = 0;
  int64_t after = 0;
  int limit = 0;
};

// Calls `row` for each event the query selects, until it returns false. False, with
// `*why`, when the journal cannot be read.
bool ForEachEvent(const JournalDb& db, const EventQuery& query,
                  const std::function<bool(const EventRow&)>& row, std::string* why);

// The events of `query` as CSV with the header "time,device,kind,text,user"; times in
// ISO 8601 UTC with milliseconds.
bool WriteEventsCsv(const JournalDb& db, const EventQuery& query, std::ostream& out,
                    std::string* why);

// The full-rate readings of amplifier `amp` (0..2; -1 all) in [since_ms, until_ms), oldest
// first, as CSV with the header
// "time,amp,attenuation_db,helix_current_ma,helix_voltage_kv,temperature_c,forward_dbm,reverse_dbm".
bool WriteReadingsCsv(const JournalDb& db, int amp, int64_t since_ms, int64_t until_ms,
                      std::ostream& out, std::string* why);
// The same of the minute rows: "time,amp,samples," then min, mean and max of each reading.
bool WriteMinutesCsv(const JournalDb& db, int amp, int64_t since_ms, int64_t until_ms,
                     std::ostream& out, std::string* why);

}  // namespace onefortwo
