#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "journal/journal_db.h"
#include "journal/journal_query.h"
#include "journal/wall_clock.h"
#include "platform/status_display.h"

namespace onefortwo {

// 2026-12-10T03:00:00Z.
constexpr int64_t kThreeAm = 1796871600000;

// A wall clock that says what the test sets; read from the writer thread too.
class FakeWallClock : public WallClock {
 public:
  explicit FakeWallClock(int64_t now_ms = kThreeAm) : now_(now_ms) {}
  int64_t NowUtcMs() override { return now_.load(); }
  void Set(int64_t now_ms) { now_.store(now_ms); }
  void Advance(int64_t ms) { now_.fetch_add(ms); }

 private:
  std::atomic<int64_t> now_;
};

// Keeps the journal field's texts as shown, with "!" before those in trouble.
class RecordingStatus : public StatusDisplay {
 public:
  void ShowStatus(StatusField field, const std::string& text, bool trouble) override {
    if (field != StatusField::journal) return;
    std::lock_guard<std::mutex> lock(mutex_);
    shown_.push_back((trouble ? "!" : "") + text);
  }
  std::string Last() {
    std::lock_guard<std::mutex> lock(mutex_);
    return shown_.empty() ? std::string() : shown_.back();
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> shown_;
};

// The events of the journal at `path`, oldest first, from after event `*after` (0: all)
// on, each as "device | kind | text" with " | user" when there is one; `*after` moves to
// the last one read.
inline std::vector<std::string> JournalLines(const std::string& path, int64_t* after = nullptr) {
  JournalDb db;
  std::string why;
  std::vector<std::string> lines;
  if (!db.Open(path, JournalDb::Mode::reader, 0, &why)) return {"cannot read: " + why};
  EventQuery query;
  query.oldest_first = true;
  query.after = after ? *after : 0;
  ForEachEvent(
      db, query,
      [&](const EventRow& row) {
        const EventEntry& e = row.entry;
        lines.push_back(e.device + " | " + e.kind + " | " + e.text +
                        (e.user.empty() ? "" : " | " + e.user));
        if (after) *after = row.id;
        return true;
      },
      &why);
  return lines;
}

}  // namespace onefortwo
