#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "journal/journal_entry.h"

struct sqlite3;

namespace onefortwo {

// How long the journal keeps what: every reply for 48 hours, one row a minute per
// amplifier (minimum, mean, maximum) and every event for 400 days.
constexpr int64_t kMinuteMs = 60000;
constexpr int64_t kFullRateKeepMs = 48LL * 3600 * 1000;
constexpr int64_t kMinuteKeepMs = 400LL * 86400 * 1000;
// A minute is rolled up once this long has passed after its end, so that replies still
// on their way to the disk (at most a batch, one second) are in it.
constexpr int64_t kRollUpDelayMs = 5000;

// The journal file "journal.sqlite": one SQLite database in WAL mode, its schema versioned
// by PRAGMA user_version and brought up to date on open.
//   events(id, t_ms, device, kind, text, user)
//   readings(amp, t_ms, attenuation_db, helix_current_ma, helix_voltage_kv, temperature_c,
//            forward_dbm, reverse_dbm)                     every good status reply
//   readings_minute(amp, t_ms, samples, <each reading>_min, _mean, _max)  per minute
// Times are UTC ms since 1970; amp is "A", "B" or "C"; a missing number is NULL.
//
// One connection, used by one thread at a time. The station's writer holds an exclusive
// lock on "<file>.lock" as long as it is open, so that a second station on the same file
// is told so instead of writing beside the first; readers (the windows, the tool) take no
// lock and read while the station writes.
class JournalDb {
 public:
  static constexpr int kSchemaVersion = 1;
  enum class Mode { writer, reader };

  JournalDb() = default;
  ~JournalDb();
  JournalDb(const JournalDb&) = delete;
  JournalDb& operator=(const JournalDb&) = delete;

  // Writer: takes the lock, opens or creates `path`, checks it (PRAGMA quick_check) and
  // migrates it. A file that is not a database or fails the check is renamed aside to
  // "<path>.corrupt-<UTC time>" (never overwritten; its -wal file goes with it), its name
  // given in `*set_aside`, and a new journal is started in its place. Reader: opens an
  // existing journal, never creates, migrates or locks. False, with `*why` in words, when
  // it cannot be used ("in use by another station (process 1234)", "unable to open
  // database file", ...). `now_ms` names a file set aside.
  bool Open(const std::string& path, Mode mode, int64_t now_ms, std::string* why,
            std::string* set_aside = nullptr);
  void Close();
  bool is_open() const { return db_ != nullptr; }
  sqlite3* handle() const { return db_; }

  // For tests: the database may grow to at most `pages` pages of its page size (SQLite's
  // max_page_count), after which writes fail as on a full disk.
  bool LimitPages(int pages);

  // Writes the rows in one transaction; all or nothing. False with `*why` on failure
  // (the disk full, the file damaged under the station).
  bool Write(const std::vector<EventEntry>& events, const std::vector<ReadingEntry>& readings,
             std::string* why);

  // Minute rows for every minute that ended kRollUpDelayMs before `now_ms` and has not been
  // rolled up yet, from the full-rate rows. Cheap when no new minute has ended.
  bool RollUp(int64_t now_ms, std::string* why);
  // Drops full-rate rows older than 48 hours (once rolled up), minute rows and events older
  // than 400 days.
  bool Prune(int64_t now_ms, std::string* why);

  // The schema version of the open file (PRAGMA user_version).
  int SchemaVersion() const;

 private:
  bool OpenWriter(const std::string& path, int64_t now_ms, std::string* why,
                  std::string* set_aside);
  bool Exec(const char* sql, std::string* why);
  bool Migrate(std::string* why);
  bool TakeLock(const std::string& path, std::string* why);
  void ReleaseLock();

  sqlite3* db_ = nullptr;
  int lock_fd_ = -1;
  int64_t rolled_until_ms_ = 0;  // minutes before this are rolled up (a minute boundary)
};

// The last SQLite error of `db` in words.
std::string SqliteError(sqlite3* db);

}  // namespace onefortwo
