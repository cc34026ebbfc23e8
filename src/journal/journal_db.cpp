#include "journal/journal_db.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "journal/sqlite_statement.h"
#include "journal/time_text.h"

#include <sys/stat.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace onefortwo {
namespace {

// The readings, in the order of their columns.
constexpr const char* kReadingColumns[] = {"attenuation_db", "helix_current_ma",
                                           "helix_voltage_kv", "temperature_c",
                                           "forward_dbm", "reverse_dbm"};

std::string MinuteColumns(bool with_types) {
  std::string columns;
  for (const char* reading : kReadingColumns) {
    for (const char* part : {"_min", "_mean", "_max"}) {
      columns += std::string(", ") + reading + part + (with_types ? " REAL" : "");
    }
  }
  return columns;
}

// Schema migrations: step i brings user_version i to i + 1.
std::string SchemaV1() {
  return "CREATE TABLE events("
         " id INTEGER PRIMARY KEY,"
         " t_ms INTEGER NOT NULL,"
         " device TEXT NOT NULL,"
         " kind TEXT NOT NULL,"
         " text TEXT NOT NULL,"
         " user TEXT NOT NULL DEFAULT '');"
         "CREATE INDEX events_by_time ON events(t_ms);"
         "CREATE TABLE readings("
         " amp TEXT NOT NULL, t_ms INTEGER NOT NULL,"
         " attenuation_db REAL, helix_current_ma REAL, helix_voltage_kv REAL,"
         " temperature_c REAL, forward_dbm REAL, reverse_dbm REAL,"
         " PRIMARY KEY(amp, t_ms)) WITHOUT ROWID;"
         "CREATE TABLE readings_minute("
         " amp TEXT NOT NULL, t_ms INTEGER NOT NULL, samples INTEGER NOT NULL" +
         MinuteColumns(true) + ", PRIMARY KEY(amp, t_ms)) WITHOUT ROWID;";
}

bool IsCorruption(int code) {
  const int primary = code & 0xff;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

bool Exists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

// "<path>.corrupt-20261210T030000Z", with "-2", "-3", ... when that name is taken.
std::string SetAsideName(const std::string& path, int64_t now_ms) {
  std::string stamp = FormatUtcMs(now_ms).substr(0, 19) + "Z";
  std::string compact;
  for (char c : stamp)
    if (c != '-' && c != ':') compact += c;
  const std::string base = path + ".corrupt-" + compact;
  std::string name = base;
  for (int n = 2; Exists(name) || Exists(name + "-wal"); ++n) name = base + "-" + std::to_string(n);
  return name;
}

}  // namespace

std::string SqliteError(sqlite3* db) {
  return db ? sqlite3_errmsg(db) : "out of memory";
}

JournalDb::~JournalDb() { Close(); }

void JournalDb::Close() {
  if (db_ != nullptr) sqlite3_close_v2(db_);
  db_ = nullptr;
  ReleaseLock();
}

bool JournalDb::Exec(const char* sql, std::string* why) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  if (why) *why = message ? message : SqliteError(db_);
  sqlite3_free(message);
  return false;
}

bool JournalDb::TakeLock(const std::string& path, std::string* why) {
#ifndef _WIN32
  const std::string lock_path = path + ".lock";
  lock_fd_ = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (lock_fd_ < 0) {
    *why = "cannot create " + lock_path + ": " + std::strerror(errno);
    return false;
  }
  if (::flock(lock_fd_, LOCK_EX | LOCK_NB) != 0) {
    char pid[32] = {};
    const ssize_t n = ::pread(lock_fd_, pid, sizeof pid - 1, 0);
    std::string holder = n > 0 ? std::string(pid, static_cast<size_t>(n)) : std::string();
    while (!holder.empty() && (holder.back() == '\n' || holder.back() == ' ')) holder.pop_back();
    *why = "in use by another station" + (holder.empty() ? "" : " (process " + holder + ")");
    ::close(lock_fd_);
    lock_fd_ = -1;
    return false;
  }
  const std::string pid = std::to_string(::getpid()) + "\n";
  if (::ftruncate(lock_fd_, 0) != 0 ||
      ::pwrite(lock_fd_, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size())) {
    // The lock holds all the same; only the message to a second station lacks the pid.
  }
  return true;
#else
  (void)path;
  (void)why;
  return true;  // Windows: SQLite's own file locking only.
#endif
}

void JournalDb::ReleaseLock() {
#ifndef _WIN32
  if (lock_fd_ >= 0) ::close(lock_fd_);
#endif
  lock_fd_ = -1;
}

bool JournalDb::Open(const std::string& path, Mode mode, int64_t now_ms, std::string* why,
                     std::string* set_aside) {
  Close();
  if (mode == Mode::writer) return OpenWriter(path, now_ms, why, set_aside);

  if (!Exists(path)) {
    *why = "no journal at " + path;
    return false;
  }
  // Read-write without create, so that a reader can recover a WAL left by a killed
  // station; a reader changes no row. Read-only where the file may not be written.
  int opened = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                               nullptr);
  if (opened != SQLITE_OK) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    opened = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                             nullptr);
  }
  if (opened != SQLITE_OK) {
    *why = path + ": " + SqliteError(db_);
    Close();
    return false;
  }
  sqlite3_busy_timeout(db_, 2000);
  const int version = SchemaVersion();
  if (version < 0) {
    *why = path + ": " + SqliteError(db_);
    Close();
    return false;
  }
  if (version != kSchemaVersion) {
    *why = path + (version == 0 ? ": not a journal (no schema)"
                                : ": journal schema " + std::to_string(version) +
                                      ", this program reads " + std::to_string(kSchemaVersion));
    Close();
    return false;
  }
  return true;
}

bool JournalDb::OpenWriter(const std::string& path, int64_t now_ms, std::string* why,
                           std::string* set_aside) {
  if (!TakeLock(path, why)) return false;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int opened = sqlite3_open_v2(path.c_str(), &db_,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE |
                                           SQLITE_OPEN_NOMUTEX,
                                       nullptr);
    if (opened != SQLITE_OK) {
      *why = SqliteError(db_);
      Close();
      return false;
    }
    sqlite3_busy_timeout(db_, 2000);
    sqlite3_extended_result_codes(db_, 1);
    std::string check_why;
    // WAL: readers go on while the station writes; FULL: each commit (once a second) is
    // on the disk before the next, so a power cut loses at most the last batch.
    bool good = Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;", &check_why);
    int code = sqlite3_extended_errcode(db_);
    if (good) {
      Statement check(db_, "PRAGMA quick_check");
      const bool answered = check.ok() && check.Step() == SQLITE_ROW;
      good = answered && check.Text(0) == "ok";
      if (!good) {
        code = answered ? SQLITE_CORRUPT : sqlite3_extended_errcode(db_);
        check_why = answered ? "failed its check (" + check.Text(0) + ")" : SqliteError(db_);
      }
    }
    if (good) break;
    if (!IsCorruption(code) || attempt > 0) {
      *why = check_why;
      Close();
      return false;
    }
    // Damaged: set aside under a new name, and start a new journal in its place.
    sqlite3_close_v2(db_);
    db_ = nullptr;
    const std::string aside = SetAsideName(path, now_ms);
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
      *why = "damaged, and cannot be set aside: " + std::string(std::strerror(errno));
      ReleaseLock();
      return false;
    }
    std::rename((path + "-wal").c_str(), (aside + "-wal").c_str());
    std::remove((path + "-shm").c_str());
    if (set_aside) *set_aside = aside;
  }
  if (!Migrate(why)) {
    Close();
    return false;
  }
  // Rolled up to the end of the newest minute row; or, in a journal without one, from
  // the oldest reading on.
  Statement last(db_, "SELECT MAX(t_ms) FROM readings_minute");
  if (last.ok() && last.Step() == SQLITE_ROW && !last.IsNull(0)) {
    rolled_until_ms_ = last.Int(0) + kMinuteMs;
  } else {
    Statement first(db_, "SELECT MIN(t_ms) FROM readings");
    rolled_until_ms_ = first.ok() && first.Step() == SQLITE_ROW && !first.IsNull(0)
                           ? first.Int(0) / kMinuteMs * kMinuteMs
                           : now_ms / kMinuteMs * kMinuteMs;
  }
  return true;
}

int JournalDb::SchemaVersion() const {
  Statement version(db_, "PRAGMA user_version");
  if (!version.ok() || version.Step() != SQLITE_ROW) return -1;
  return static_cast<int>(version.Int(0));
}

bool JournalDb::Migrate(std::string* why) {
  const int version = SchemaVersion();
  if (version < 0) {
    *why = SqliteError(db_);
    return false;
  }
  if (version > kSchemaVersion) {
    *why = "made by a newer station (journal schema " + std::to_string(version) + ")";
    return false;
  }
  const std::string steps[] = {SchemaV1()};
  for (int v = version; v < kSchemaVersion; ++v) {
    const std::string sql = "BEGIN IMMEDIATE;" + steps[v] + "PRAGMA user_version=" +
                            std::to_string(v + 1) + ";COMMIT;";
    if (!Exec(sql.c_str(), why)) {
      Exec("ROLLBACK", nullptr);
      return false;
    }
  }
  return true;
}

bool JournalDb::LimitPages(int pages) {
  return Exec(("PRAGMA max_page_count=" + std::to_string(pages)).c_str(), nullptr);
}

bool JournalDb::Write(const std::vector<EventEntry>& events,
                      const std::vector<ReadingEntry>& readings, std::string* why) {
  if (!db_) {
    *why = "the journal is not open";
    return false;
  }
  if (events.empty() && readings.empty()) return true;
  if (!Exec("BEGIN IMMEDIATE", why)) return false;
  bool good = true;
  {
    Statement event(db_, "INSERT INTO events(t_ms, device, kind, text, user) VALUES(?,?,?,?,?)");
    good = event.ok();
    if (!good) *why = SqliteError(db_);
    for (size_t i = 0; good && i < events.size(); ++i) {
      const EventEntry& e = events[i];
      event.Bind(1, e.t_ms);
      event.Bind(2, e.device);
      event.Bind(3, e.kind);
      event.Bind(4, e.text);
      event.Bind(5, e.user);
      good = event.Step() == SQLITE_DONE;
      if (!good) *why = SqliteError(db_);
      event.Reset();
    }
    // Two replies of one amplifier within one millisecond cannot come off the line; if
    // the clock says so anyway, the later one stands.
    Statement reading(db_,
                      "INSERT OR REPLACE INTO readings(amp, t_ms, attenuation_db,"
                      " helix_current_ma, helix_voltage_kv, temperature_c, forward_dbm,"
                      " reverse_dbm) VALUES(?,?,?,?,?,?,?,?)");
    if (good && !reading.ok()) {
      good = false;
      *why = SqliteError(db_);
    }
    for (size_t i = 0; good && i < readings.size(); ++i) {
      const ReadingEntry& r = readings[i];
      reading.Bind(1, std::string(AmpLetter(r.amp)));
      reading.Bind(2, r.t_ms);
      reading.BindNumber(3, r.attenuation_db);
      reading.BindNumber(4, r.helix_current_ma);
      reading.BindNumber(5, r.helix_voltage_kv);
      reading.BindNumber(6, r.temperature_c);
      reading.BindNumber(7, r.forward_dbm);
      reading.BindNumber(8, r.reverse_dbm);
      good = reading.Step() == SQLITE_DONE;
      if (!good) *why = SqliteError(db_);
      reading.Reset();
    }
  }
  if (good && Exec("COMMIT", why)) return true;
  Exec("ROLLBACK", nullptr);
  return false;
}

bool JournalDb::RollUp(int64_t now_ms, std::string* why) {
  const int64_t until = (now_ms - kRollUpDelayMs) / kMinuteMs * kMinuteMs;
  if (until <= rolled_until_ms_) return true;
  std::string aggregates;
  for (const char* reading : kReadingColumns) {
    aggregates += std::string(", MIN(") + reading + "), AVG(" + reading + "), MAX(" + reading + ")";
  }
  const std::string sql = "INSERT OR REPLACE INTO readings_minute(amp, t_ms, samples" +
                          MinuteColumns(false) + ") SELECT amp, t_ms / 60000 * 60000, COUNT(*)" +
                          aggregates +
                          " FROM readings WHERE amp = ? AND t_ms >= ? AND t_ms < ?"
                          " GROUP BY t_ms / 60000";
  if (!Exec("BEGIN IMMEDIATE", why)) return false;
  Statement roll(db_, sql.c_str());
  bool good = roll.ok();
  if (!good) *why = SqliteError(db_);
  for (int amp = 0; good && amp < 3; ++amp) {
    roll.Bind(1, std::string(AmpLetter(amp)));
    roll.Bind(2, rolled_until_ms_);
    roll.Bind(3, until);
    good = roll.Step() == SQLITE_DONE;
    if (!good) *why = SqliteError(db_);
    roll.Reset();
  }
  if (good && Exec("COMMIT", why)) {
    rolled_until_ms_ = until;
    return true;
  }
  Exec("ROLLBACK", nullptr);
  return false;
}

bool JournalDb::Prune(int64_t now_ms, std::string* why) {
  const int64_t full_rate_from = std::min(now_ms - kFullRateKeepMs, rolled_until_ms_);
  const int64_t kept_from = now_ms - kMinuteKeepMs;
  if (!Exec("BEGIN IMMEDIATE", why)) return false;
  bool good = true;
  const char* const deletes[] = {"DELETE FROM readings WHERE amp = ? AND t_ms < ?",
                                 "DELETE FROM readings_minute WHERE amp = ? AND t_ms < ?"};
  for (int table = 0; good && table < 2; ++table) {
    Statement drop(db_, deletes[table]);
    good = drop.ok();
    if (!good) *why = SqliteError(db_);
    for (int amp = 0; good && amp < 3; ++amp) {
      drop.Bind(1, std::string(AmpLetter(amp)));
      drop.Bind(2, table == 0 ? full_rate_from : kept_from);
      good = drop.Step() == SQLITE_DONE;
      if (!good) *why = SqliteError(db_);
      drop.Reset();
    }
  }
  if (good) {
    Statement drop(db_, "DELETE FROM events WHERE t_ms < ?");
    good = drop.ok();
    if (!good) *why = SqliteError(db_);
    if (good) {
      drop.Bind(1, kept_from);
      good = drop.Step() == SQLITE_DONE;
      if (!good) *why = SqliteError(db_);
    }
  }
  if (good && Exec("COMMIT", why)) return true;
  Exec("ROLLBACK", nullptr);
  return false;
}

}  // namespace onefortwo
