#include "journal/journal_query.h"

#include <vector>

#include "journal/csv.h"
#include "journal/sqlite_statement.h"
#include "journal/time_text.h"

namespace onefortwo {
namespace {

// The text with LIKE's wildcards and its escape character escaped.
std::string LikePattern(const std::string& text) {
  std::string pattern = "%";
  for (char c : text) {
    if (c == '%' || c == '_' || c == '\\') pattern += '\\';
    pattern += c;
  }
  return pattern + "%";
}

constexpr const char* kReadingHeader[] = {"attenuation_db", "helix_current_ma",
                                          "helix_voltage_kv", "temperature_c",
                                          "forward_dbm", "reverse_dbm"};

bool WriteReadingRows(const JournalDb& db, const char* table, int amp, int64_t since_ms,
                      int64_t until_ms, std::ostream& out, std::string* why) {
  const bool minutes = std::string(table) == "readings_minute";
  std::vector<std::string> header = {"time", "amp"};
  if (minutes) header.push_back("samples");
  for (const char* reading : kReadingHeader) {
    if (minutes) {
      for (const char* part : {"_min", "_mean", "_max"}) header.push_back(reading + std::string(part));
    } else {
      header.push_back(reading);
    }
  }
  std::string sql = std::string("SELECT * FROM ") + table +
                    " WHERE t_ms >= ? AND t_ms < ?" + (amp >= 0 ? " AND amp = ?" : "") +
                    " ORDER BY t_ms, amp";
  Statement select(db.handle(), sql.c_str());
  if (!select.ok()) {
    *why = SqliteError(db.handle());
    return false;
  }
  select.Bind(1, since_ms);
  select.Bind(2, until_ms);
  if (amp >= 0) select.Bind(3, std::string(AmpLetter(amp)));
  WriteCsvLine(out, header);
  const int columns = sqlite3_column_count(select.get());
  std::vector<std::string> fields(header.size());
  int step;
  while ((step = select.Step()) == SQLITE_ROW) {
    fields[0] = FormatUtcMs(select.Int(1));
    fields[1] = select.Text(0);
    for (int c = 2; c < columns; ++c) {
      fields[c] = minutes && c == 2 ? std::to_string(select.Int(c)) : CsvNumber(select.Number(c));
    }
    WriteCsvLine(out, fields);
  }
  if (step != SQLITE_DONE) {
    *why = SqliteError(db.handle());
    return false;
  }
  return true;
}

}  // namespace

bool ForEachEvent(const JournalDb& db, const EventQuery& query,
                  const std::function<bool(const EventRow&)>& row, std::string* why) {
  std::string sql = "SELECT id, t_ms, device, kind, text, user FROM events WHERE t_ms >= ?1 AND t_ms < ?2";
  const EventFilter& f = query.filter;
  if (!f.device.empty()) sql += " AND device = ?3";
  if (!f.kind.empty()) sql += " AND kind = ?4";
  if (!f.search.empty()) sql += " AND (text LIKE ?5 ESCAPE '\\' OR user LIKE ?5 ESCAPE '\\')";
  if (query.before != 0)
    sql += " AND (t_ms, id) < (SELECT t_ms, id FROM events WHERE id = ?6)";
  if (query.after != 0)
    sql += " AND (t_ms, id) > (SELECT t_ms, id FROM events WHERE id = ?7)";
  sql += query.oldest_first ? " ORDER BY t_ms, id" : " ORDER BY t_ms DESC, id DESC";
  if (query.limit > 0) sql += " LIMIT " + std::to_string(query.limit);

  Statement select(db.handle(), sql.c_str());
  if (!select.ok()) {
    *why = SqliteError(db.handle());
    return false;
  }
  select.Bind(1, f.since_ms);
  select.Bind(2, f.until_ms);
  if (!f.device.empty()) select.Bind(3, f.device);
  if (!f.kind.empty()) select.Bind(4, f.kind);
  if (!f.search.empty()) select.Bind(5, LikePattern(f.search));
  if (query.before != 0) select.Bind(6, query.before);
  if (query.after != 0) select.Bind(7, query.after);
  int step;
  EventRow event;
  while ((step = select.Step()) == SQLITE_ROW) {
    event.id = select.Int(0);
    event.entry.t_ms = select.Int(1);
    event.entry.device = select.Text(2);
    event.entry.kind = select.Text(3);
    event.entry.text = select.Text(4);
    event.entry.user = select.Text(5);
    if (!row(event)) return true;
  }
  if (step != SQLITE_DONE) {
    *why = SqliteError(db.handle());
    return false;
  }
  return true;
}

bool WriteEventsCsv(const JournalDb& db, const EventQuery& query, std::ostream& out,
                    std::string* why) {
  WriteCsvLine(out, {"time", "device", "kind", "text", "user"});
  return ForEachEvent(
      db, query,
      [&](const EventRow& row) {
        const EventEntry& e = row.entry;
        WriteCsvLine(out, {FormatUtcMs(e.t_ms), e.device, e.kind, e.text, e.user});
        return true;
      },
      why);
}

bool WriteReadingsCsv(const JournalDb& db, int amp, int64_t since_ms, int64_t until_ms,
                      std::ostream& out, std::string* why) {
  return WriteReadingRows(db, "readings", amp, since_ms, until_ms, out, why);
}

bool WriteMinutesCsv(const JournalDb& db, int amp, int64_t since_ms, int64_t until_ms,
                     std::ostream& out, std::string* why) {
  return WriteReadingRows(db, "readings_minute", amp, since_ms, until_ms, out, why);
}

}  // namespace onefortwo
