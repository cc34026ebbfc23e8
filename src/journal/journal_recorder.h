#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "events/station_events.h"
#include "journal/journal_db.h"
#include "journal/journal_entry.h"
#include "journal/wall_clock.h"
#include "platform/status_display.h"

namespace onefortwo {

struct JournalOptions {
  std::string path;           // the journal file, "<working directory>/journal.sqlite"
  std::string user;           // the desktop user's login name, recorded with commands
  int64_t retry_ms = 10000;   // a journal that is off is tried again this long after
  int64_t batch_ms = 1000;    // the writer commits at most this often
  int64_t prune_every_ms = 600000;  // retention runs at the open and this often after
  // While the journal is off, at most this many rows wait for it. Past that an event takes
  // the place of the newest reading waiting, and a reading (or an event with no reading
  // left to replace) is dropped; the drops are counted and journalled.
  size_t max_pending = 500000;
  int max_page_count = 0;     // for tests: > 0 makes the file "full" at that many pages
};

// The station's journal: listens to the station's events, stamps each with the wall
// clock (UTC ms) and hands it to a writer thread of its own, which commits what has come
// once a second (one transaction), rolls the readings up a minute at a time and prunes
// what is past keeping. The listener calls only take a lock and append to a queue: the
// 56 ms tick never waits on the disk.
//
// A journal that cannot be opened or written (a directory in its place, the disk full,
// the file locked by another station) leaves the station running: the status display
// says "Journal off: <why>; trying again in N s", rows wait (bounded) and the open is
// tried again every retry_ms. A damaged file is set aside and a new one started, which the
// journal records. While it is on, the status reads "Journal: journal.sqlite".
class JournalRecorder : public StationEvents {
 public:
  // `clock` and `display` (may be null) outlive the recorder. The writer starts at once
  // and opens the file on its first turn.
  JournalRecorder(const JournalOptions& options, WallClock& clock, StatusDisplay* display);
  // Writes what waits (a last attempt when the journal is off) and ends the writer.
  ~JournalRecorder() override;

  // Runs one turn of the writer now (open if due, write, roll up, prune if due) and
  // returns once it is done: for the exit and for tests.
  void Flush();

  // The status text last shown, and whether the journal is off.
  std::string status_text() const;
  bool off() const;
  const std::string& path() const { return options_.path; }
  // Rows dropped while the journal was off and its queue full.
  uint64_t dropped() const;

  void StationStarted(const std::string& version) override;
  void StationEnded() override;
  void PortOpened(const PortEvent& port) override;
  void PortRefused(const PortEvent& port) override;
  void PortClosed(const PortEvent& port) override;
  void PortLost(const PortEvent& port) override;
  void PortRestored(const PortEvent& port) override;
  void AmpReply(int amp, const amp_struct& shown, const AmpReadings& readings) override;
  void ContactLost(int device, const std::string& reason) override;
  void ContactRestored(int device) override;
  void AmpStateChanged(int amp, amp_enum from, amp_enum to) override;
  void FaultRaised(int amp, fault_enum fault) override;
  void FaultCleared(int amp, fault_enum fault) override;
  void ControllerChanged(const ControllerChange& change) override;
  void CommandSent(const CommandEvent& command) override;
  void AlarmAcknowledged(int amp) override;
  void FaultResetPressed(int amp) override;

 private:
  void Add(EventEntry entry, bool by_operator);
  void Run();
  // One turn of the writer, on its thread.
  void Turn();
  void TryOpen(int64_t now);
  void GoOff(const std::string& why, int64_t now);
  void ShowStatus();

  const JournalOptions options_;
  WallClock& clock_;
  StatusDisplay* display_;
  std::string file_name_;  // the path's last part, for the status text

  // Shared with the writer.
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable turned_;
  std::vector<EventEntry> events_;
  std::vector<ReadingEntry> readings_;
  uint64_t dropped_ = 0;
  uint64_t flush_asked_ = 0;
  uint64_t flush_done_ = 0;
  bool stop_ = false;
  std::string status_text_;
  bool off_ = false;

  // The writer's own.
  JournalDb db_;
  std::string off_why_;
  int64_t retry_at_ms_ = 0;
  int64_t prune_at_ms_ = 0;
  uint64_t dropped_told_ = 0;

  std::thread writer_;
};

}  // namespace onefortwo
