// A station killed while its journal writes: the file opens afterwards intact, and what
// is lost is the batch not yet committed.

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "journal/journal_recorder.h"
#include "journal_support.h"
#include "support/temp_dir.h"

namespace onefortwo {
namespace {

std::string Sql(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  std::string value = "(cannot open)";
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    value = "(no answer)";
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0) != nullptr)
      value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return value;
}

// The child: a station's journal taking an event and three replies every millisecond,
// far more than a station makes, until it is killed.
[[noreturn]] void WriteUntilKilled(const std::string& path) {
  SystemWallClock clock;
  JournalOptions options;
  options.path = path;
  options.user = "tester";
  JournalRecorder recorder(options, clock, nullptr);
  const amp_struct shown = {};
  for (long i = 0;; ++i) {
    recorder.ContactLost(1 + i % 3, "event " + std::to_string(i));
    for (int amp = 0; amp < 3; ++amp)
      recorder.AmpReply(amp, shown, AmpReadings{10, 0.35, 5.4, 37, 60, static_cast<double>(i % 30)});
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

TEST(JournalKilled, OpensIntactAfterSigkillLosingOnlyTheUncommittedBatch) {
  TempDir dir;
  const std::string path = dir.path() + "journal.sqlite";
  SystemWallClock clock;
  // Killed at different moments of the writer's second.
  for (int run_ms : {1300, 2150, 2700, 3420}) {
    SCOPED_TRACE("killed after " + std::to_string(run_ms) + " ms");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) WriteUntilKilled(path);
    std::this_thread::sleep_for(std::chrono::milliseconds(run_ms));
    const int64_t killed_at = clock.NowUtcMs();
    ASSERT_EQ(0, ::kill(child, SIGKILL));
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    ASSERT_TRUE(WIFSIGNALED(status));

    EXPECT_EQ("ok", Sql(path, "PRAGMA integrity_check"));
    const std::string newest = Sql(path, "SELECT MAX(t_ms) FROM events");
    ASSERT_NE(std::string::npos, newest.find_first_of("0123456789")) << newest;
    const int64_t lost_ms = killed_at - std::stoll(newest);
    // One batch a second, plus its commit and the scheduling of a loaded machine.
    EXPECT_LT(lost_ms, 2000);
    std::cout << "killed after " << run_ms << " ms: the last " << lost_ms << " ms were lost\n";
    // Every committed event has its replies: a batch went in whole or not at all.
    EXPECT_EQ(Sql(path, "SELECT COUNT(*) * 3 FROM events"), Sql(path, "SELECT COUNT(*) FROM readings"));
  }
  // The lock went with the process: the next station opens the same journal.
  JournalDb next;
  std::string why, set_aside;
  EXPECT_TRUE(next.Open(path, JournalDb::Mode::writer, clock.NowUtcMs(), &why, &set_aside)) << why;
  EXPECT_EQ("", set_aside);
}

}  // namespace
}  // namespace onefortwo
