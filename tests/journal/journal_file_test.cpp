// The journal file: its schema and mode, a file that cannot be used (the station goes on
// and says why, then tries again), a damaged file set aside, a second station, a full
// disk, and what is kept for how long.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <functional>

#include "journal/journal_recorder.h"
#include "journal_support.h"
#include "support/temp_dir.h"

namespace onefortwo {
namespace {

using Lines = std::vector<std::string>;

// One value of a SQL query on the file at `path`, as text ("" for none).
std::string Sql(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  std::string value;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0) != nullptr)
      value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return value;
}

class JournalFileTest : public ::testing::Test {
 protected:
  JournalOptions Options() {
    JournalOptions options;
    options.path = path;
    options.user = "tester";
    return options;
  }
  TempDir dir;
  const std::string path = dir.path() + "journal.sqlite";
  FakeWallClock wall;
  RecordingStatus status;
};

TEST_F(JournalFileTest, ANewJournalIsInWalModeWithTheCurrentSchema) {
  {
    JournalRecorder recorder(Options(), wall, &status);
    recorder.StationStarted("2.0");
    recorder.Flush();
    EXPECT_EQ("Journal: journal.sqlite", status.Last());
    // Readers read while the station writes.
    EXPECT_EQ(Lines({"station | station started | Station started, version 2.0 | tester"}),
              JournalLines(path));
  }
  EXPECT_EQ("wal", Sql(path, "PRAGMA journal_mode"));
  EXPECT_EQ(std::to_string(JournalDb::kSchemaVersion), Sql(path, "PRAGMA user_version"));
  // Opened again, the journal goes on where it was.
  JournalRecorder again(Options(), wall, &status);
  again.StationEnded();
  again.Flush();
  EXPECT_EQ(2u, JournalLines(path).size());
}

TEST_F(JournalFileTest, AnOlderFileIsMigratedAndKeepsWhatItHeld) {
  // A database without the journal's tables (schema version 0), holding a table of its own.
  ASSERT_EQ("", Sql(path, "CREATE TABLE notes(text)")) << "created by the open";
  Sql(path, "INSERT INTO notes VALUES('kept')");
  JournalRecorder recorder(Options(), wall, &status);
  recorder.StationStarted("2.0");
  recorder.Flush();
  EXPECT_EQ("Journal: journal.sqlite", status.Last());
  EXPECT_EQ("1", Sql(path, "SELECT COUNT(*) FROM events"));
  EXPECT_EQ("kept", Sql(path, "SELECT text FROM notes"));
}

// Each way the file may be unusable: the station's events wait, the status says why and
// when it tries again, and once the cause is gone the journal opens and writes them all.
struct Unusable {
  const char* name;
  std::function<void(const std::string& path, JournalDb* other)> make;
  std::function<void(const std::string& path, JournalDb* other)> mend;
  std::string status;  // the status text while off; PID stands for this process's id
};

class UnusableJournal : public JournalFileTest, public ::testing::WithParamInterface<Unusable> {};

TEST_P(UnusableJournal, TheStationIsToldWhyAndItIsTriedAgainUntilItOpens) {
  JournalDb other;
  GetParam().make(path, &other);
  JournalRecorder recorder(Options(), wall, &status);
  recorder.StationStarted("2.0");
  recorder.Flush();
  std::string expected = GetParam().status;
  const size_t pid = expected.find("PID");
  if (pid != std::string::npos) expected.replace(pid, 3, std::to_string(::getpid()));
  EXPECT_EQ("!" + expected, status.Last());
  EXPECT_TRUE(recorder.off());

  // The countdown runs; before it ends the file is not tried again.
  GetParam().mend(path, &other);
  wall.Advance(4000);
  recorder.ContactRestored(1);
  recorder.Flush();
  EXPECT_TRUE(recorder.off());
  EXPECT_NE(std::string::npos, status.Last().find("trying again in 6 s")) << status.Last();

  wall.Advance(6000);
  recorder.Flush();
  EXPECT_EQ("Journal: journal.sqlite", status.Last());
  EXPECT_EQ(Lines({"station | station started | Station started, version 2.0 | tester",
                   "A | contact restored | Contact restored"}),
            JournalLines(path));
}

INSTANTIATE_TEST_SUITE_P(
    Causes, UnusableJournal,
    ::testing::Values(
        Unusable{"ADirectoryInItsPlace",
                 [](const std::string& path, JournalDb*) { ::mkdir(path.c_str(), 0755); },
                 [](const std::string& path, JournalDb*) { ::rmdir(path.c_str()); },
                 "Journal off: cannot open journal.sqlite: unable to open database file; "
                 "trying again in 10 s"},
        Unusable{"AnotherStationOnTheSameFile",
                 [](const std::string& path, JournalDb* other) {
                   std::string why;
                   ASSERT_TRUE(other->Open(path, JournalDb::Mode::writer, kThreeAm, &why)) << why;
                 },
                 [](const std::string&, JournalDb* other) { other->Close(); },
                 "Journal off: journal.sqlite is in use by another station (process PID); "
                 "trying again in 10 s"},
        Unusable{"MadeByANewerStation",
                 [](const std::string& path, JournalDb*) { Sql(path, "PRAGMA user_version=7"); },
                 [](const std::string& path, JournalDb*) { ::unlink(path.c_str()); },
                 "Journal off: cannot open journal.sqlite: made by a newer station (journal "
                 "schema 7); trying again in 10 s"}),
    [](const ::testing::TestParamInfo<Unusable>& info) { return info.param.name; });

// A damaged file is renamed aside, byte for byte as it was, and a new journal starts; the
// new one says so. The same second twice gives two names: nothing is overwritten.
TEST_F(JournalFileTest, ADamagedFileIsSetAsideAndANewJournalStarted) {
  struct Damage {
    const char* name;
    std::function<void()> make;
  };
  const Damage damages[] = {
      {"not a database", [&] { dir.Write("journal.sqlite", std::string(8192, 'x')); }},
      {"pages overwritten",
       [&] {
         {
           JournalRecorder recorder(Options(), wall, nullptr);
           for (int i = 0; i < 2000; ++i) recorder.ContactLost(1, "a reason long enough to fill pages");
         }
         std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
         file.seekp(4096 * 3);
         file << std::string(4096 * 4, '\x5a');
       }},
  };
  const char* const aside[] = {"journal.sqlite.corrupt-20261210T030000Z",
                               "journal.sqlite.corrupt-20261210T030000Z-2"};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(damages[i].name);
    damages[i].make();
    const std::string damaged = dir.Read("journal.sqlite");
    JournalRecorder recorder(Options(), wall, &status);
    recorder.Flush();
    EXPECT_EQ("Journal: journal.sqlite", status.Last());
    EXPECT_EQ(damaged, dir.Read(aside[i]));
    EXPECT_EQ(Lines({std::string("station | journal | The journal file was damaged; it was set aside as ") +
                     aside[i] + " and this journal started anew"}),
              JournalLines(path));
    EXPECT_TRUE(dir.Exists(aside[0]));
  }
}

TEST_F(JournalFileTest, AFullDiskTurnsTheJournalOffAndKeepsTryingWithoutStoppingTheStation) {
  JournalOptions options = Options();
  options.max_page_count = 12;  // 48 KiB of 4 KiB pages
  JournalRecorder recorder(options, wall, &status);
  recorder.StationStarted("2.0");
  recorder.Flush();
  ASSERT_EQ("Journal: journal.sqlite", status.Last());
  for (int i = 0; i < 3000; ++i) recorder.ContactLost(1, "a reason long enough to fill pages");
  recorder.Flush();
  EXPECT_EQ("!Journal off: cannot write journal.sqlite: database or disk is full; trying again in 10 s",
            status.Last());
  // What was written before stands; the listener still takes events.
  EXPECT_EQ(Lines({"station | station started | Station started, version 2.0 | tester"}),
            JournalLines(path));
  recorder.ContactRestored(1);
  wall.Advance(10000);
  recorder.Flush();
  EXPECT_TRUE(recorder.off()) << "tried again, still full";
  EXPECT_EQ(0u, recorder.dropped());
}

TEST_F(JournalFileTest, EventsWaitingBeyondTheLimitAreDroppedReadingsFirstAndCounted) {
  JournalOptions options = Options();
  options.max_pending = 3;
  ::mkdir(path.c_str(), 0755);
  JournalRecorder recorder(options, wall, &status);
  recorder.Flush();
  ASSERT_TRUE(recorder.off());
  amp_struct shown = {};
  const AmpReadings readings = {10, 0.3, 5.4, 37, 60, 25};
  recorder.AmpReply(0, shown, readings);
  recorder.AmpReply(0, shown, readings);
  recorder.ContactRestored(1);
  recorder.ContactRestored(2);  // pushes out a reading
  recorder.ContactRestored(3);  // and the other
  recorder.ContactLost(1, "x");  // no room: dropped
  EXPECT_EQ(3u, recorder.dropped());
  ::rmdir(path.c_str());
  wall.Advance(10000);
  recorder.Flush();
  EXPECT_EQ(Lines({"A | contact restored | Contact restored",
                   "B | contact restored | Contact restored",
                   "C | contact restored | Contact restored",
                   "station | journal | 3 rows were dropped while the journal was off"}),
            JournalLines(path));
}

// Retention with the station running on a fake clock: one reply of A every 20 s for
// 50 hours, then 400 days on.
TEST_F(JournalFileTest, FullRateFor48HoursMinuteRowsAndEventsFor400Days) {
  JournalOptions options = Options();
  options.prune_every_ms = 60000;
  JournalRecorder recorder(options, wall, &status);
  recorder.StationStarted("2.0");
  const amp_struct shown = {};
  // Within each minute the helix current reads 1, 2, 6 (at :00, :20, :40).
  const double current[] = {1, 2, 6};
  const int64_t end = kThreeAm + 50 * 3600000LL;
  for (int64_t t = kThreeAm; t < end; t += 20000) {
    wall.Set(t);
    AmpReadings r = {10, current[(t / 20000) % 3], 5.4, 37, 60, 25};
    if (t == kThreeAm + 3600000) r.helix_current_ma = std::nan("");  // no number in the reply
    recorder.AmpReply(0, shown, r);
    if (t % 600000 == 0) recorder.Flush();
  }
  wall.Set(end + 6000);
  recorder.Flush();
  EXPECT_FALSE(recorder.off());

  // Full rate for the last 48 hours only (pruned once a minute here).
  const int64_t oldest = std::stoll(Sql(path, "SELECT MIN(t_ms) FROM readings"));
  EXPECT_GE(oldest, end + 6000 - kFullRateKeepMs - 60000);
  EXPECT_LE(oldest, end + 6000 - kFullRateKeepMs + 20000);
  // A row a minute for all 50 hours, every complete minute.
  EXPECT_EQ("3000", Sql(path, "SELECT COUNT(*) FROM readings_minute WHERE amp = 'A'"));
  EXPECT_EQ("3|1.0|3.0|6.0", Sql(path, "SELECT samples || '|' || helix_current_ma_min || '|' || "
                                       "helix_current_ma_mean || '|' || helix_current_ma_max FROM "
                                       "readings_minute WHERE t_ms = " + std::to_string(kThreeAm + 120000)));
  // The minute of the missing number: the mean of the numbers there.
  EXPECT_EQ("3|2.0|4.0|6.0", Sql(path, "SELECT samples || '|' || helix_current_ma_min || '|' || "
                                       "helix_current_ma_mean || '|' || helix_current_ma_max FROM "
                                       "readings_minute WHERE t_ms = " + std::to_string(kThreeAm + 3600000)));

  // 400 days after the 25th hour: the first 25 hours of minute rows and the start are gone.
  wall.Set(kThreeAm + kMinuteKeepMs + 25 * 3600000LL);
  recorder.ContactRestored(1);
  recorder.Flush();
  EXPECT_EQ("1500", Sql(path, "SELECT COUNT(*) FROM readings_minute"));
  EXPECT_EQ(Lines({"A | contact restored | Contact restored"}), JournalLines(path));
  EXPECT_EQ("0", Sql(path, "SELECT COUNT(*) FROM readings"));
}

}  // namespace
}  // namespace onefortwo
