#include "journal/journal_recorder.h"

#include "journal/event_text.h"

namespace onefortwo {

JournalRecorder::JournalRecorder(const JournalOptions& options, WallClock& clock,
                                 StatusDisplay* display)
    : options_(options), clock_(clock), display_(display) {
  const size_t slash = options_.path.find_last_of("/\\");
  file_name_ = slash == std::string::npos ? options_.path : options_.path.substr(slash + 1);
  writer_ = std::thread([this] { Run(); });
}

JournalRecorder::~JournalRecorder() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  writer_.join();
}

void JournalRecorder::Flush() {
  std::unique_lock<std::mutex> lock(mutex_);
  const uint64_t target = ++flush_asked_;
  wake_.notify_all();
  turned_.wait(lock, [&] { return flush_done_ >= target; });
}

std::string JournalRecorder::status_text() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return status_text_;
}

bool JournalRecorder::off() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return off_;
}

uint64_t JournalRecorder::dropped() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return dropped_;
}

void JournalRecorder::Add(EventEntry entry, bool by_operator) {
  entry.t_ms = clock_.NowUtcMs();
  if (by_operator) entry.user = options_.user;
  std::lock_guard<std::mutex> lock(mutex_);
  // Full (the journal has been off a long time): events are kept before readings.
  if (events_.size() + readings_.size() >= options_.max_pending) {
    ++dropped_;
    if (readings_.empty() || events_.size() >= options_.max_pending) return;
    readings_.pop_back();
  }
  events_.push_back(std::move(entry));
}

void JournalRecorder::AmpReply(int amp, const amp_struct&, const AmpReadings& r) {
  ReadingEntry entry;
  entry.t_ms = clock_.NowUtcMs();
  entry.amp = amp;
  entry.attenuation_db = r.attenuation_db;
  entry.helix_current_ma = r.helix_current_ma;
  entry.helix_voltage_kv = r.helix_voltage_kv;
  entry.temperature_c = r.temperature_c;
  entry.forward_dbm = r.forward_dbm;
  entry.reverse_dbm = r.reverse_dbm;
  std::lock_guard<std::mutex> lock(mutex_);
  if (events_.size() + readings_.size() >= options_.max_pending) {
    ++dropped_;
    return;
  }
  readings_.push_back(entry);
}

void JournalRecorder::StationStarted(const std::string& version) {
  Add(StationStartedEntry(version), true);
}
void JournalRecorder::StationEnded() { Add(StationEndedEntry(), true); }
void JournalRecorder::PortOpened(const PortEvent& port) { Add(PortEntry("port opened", port), false); }
void JournalRecorder::PortRefused(const PortEvent& port) { Add(PortEntry("port refused", port), false); }
void JournalRecorder::PortClosed(const PortEvent& port) { Add(PortEntry("port closed", port), false); }
void JournalRecorder::PortLost(const PortEvent& port) { Add(PortEntry("port lost", port), false); }
void JournalRecorder::PortRestored(const PortEvent& port) {
  Add(PortEntry("port restored", port), false);
}
void JournalRecorder::ContactLost(int device, const std::string& reason) {
  Add(ContactLostEntry(device, reason), false);
}
void JournalRecorder::ContactRestored(int device) { Add(ContactRestoredEntry(device), false); }
void JournalRecorder::AmpStateChanged(int amp, amp_enum from, amp_enum to) {
  Add(StateChangedEntry(amp, from, to), false);
}
void JournalRecorder::FaultRaised(int amp, fault_enum fault) { Add(FaultRaisedEntry(amp, fault), false); }
void JournalRecorder::FaultCleared(int amp, fault_enum fault) {
  Add(FaultClearedEntry(amp, fault), false);
}
void JournalRecorder::ControllerChanged(const ControllerChange& change) {
  for (EventEntry& entry : ControllerChangeEntries(change)) Add(std::move(entry), false);
}
void JournalRecorder::CommandSent(const CommandEvent& command) { Add(CommandEntry(command), true); }
void JournalRecorder::AlarmAcknowledged(int amp) { Add(AlarmAcknowledgedEntry(amp), true); }
void JournalRecorder::FaultResetPressed(int amp) { Add(FaultResetEntry(amp), true); }

void JournalRecorder::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait_for(lock, std::chrono::milliseconds(options_.batch_ms),
                   [&] { return stop_ || flush_asked_ > flush_done_; });
    const uint64_t asked = flush_asked_;
    const bool stopping = stop_;
    lock.unlock();
    if (stopping && !db_.is_open()) retry_at_ms_ = 0;  // a last attempt
    Turn();
    lock.lock();
    flush_done_ = asked;
    turned_.notify_all();
    if (stopping) return;
  }
}

void JournalRecorder::Turn() {
  const int64_t now = clock_.NowUtcMs();
  if (!db_.is_open() && now >= retry_at_ms_) TryOpen(now);
  if (!db_.is_open()) {
    ShowStatus();
    return;
  }
  std::vector<EventEntry> events;
  std::vector<ReadingEntry> readings;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    events.swap(events_);
    readings.swap(readings_);
    if (dropped_ > dropped_told_) {
      EventEntry told;
      told.t_ms = now;
      told.device = "station";
      told.kind = "journal";
      told.text = std::to_string(dropped_ - dropped_told_) +
                  " rows were dropped while the journal was off";
      events.push_back(told);
      dropped_told_ = dropped_;
    }
  }
  std::string why;
  if (!db_.Write(events, readings, &why)) {
    // Nothing of the batch is lost: it waits, before what came since, for the next open.
    {
      std::lock_guard<std::mutex> lock(mutex_);
      events.insert(events.end(), events_.begin(), events_.end());
      readings.insert(readings.end(), readings_.begin(), readings_.end());
      events_.swap(events);
      readings_.swap(readings);
    }
    GoOff("cannot write " + file_name_ + ": " + why, now);
    return;
  }
  if (!db_.RollUp(now, &why)) {
    GoOff("cannot write " + file_name_ + ": " + why, now);
    return;
  }
  if (now >= prune_at_ms_) {
    prune_at_ms_ = now + options_.prune_every_ms;
    if (!db_.Prune(now, &why)) GoOff("cannot write " + file_name_ + ": " + why, now);
  }
}

void JournalRecorder::TryOpen(int64_t now) {
  std::string why, set_aside;
  if (!db_.Open(options_.path, JournalDb::Mode::writer, now, &why, &set_aside)) {
    GoOff(why.rfind("in use", 0) == 0 ? file_name_ + " is " + why
                                      : "cannot open " + file_name_ + ": " + why,
          now);
    return;
  }
  if (options_.max_page_count > 0) db_.LimitPages(options_.max_page_count);
  prune_at_ms_ = now;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    off_ = false;
    status_text_ = "Journal: " + file_name_;
    if (!set_aside.empty()) {
      EventEntry told;
      told.t_ms = now;
      told.device = "station";
      told.kind = "journal";
      const size_t slash = set_aside.find_last_of("/\\");
      told.text = "The journal file was damaged; it was set aside as " +
                  (slash == std::string::npos ? set_aside : set_aside.substr(slash + 1)) +
                  " and this journal started anew";
      events_.insert(events_.begin(), told);
    }
  }
  if (display_) display_->ShowStatus(StatusField::journal, "Journal: " + file_name_, false);
}

void JournalRecorder::GoOff(const std::string& why, int64_t now) {
  db_.Close();
  off_why_ = why;
  retry_at_ms_ = now + options_.retry_ms;
  ShowStatus();
}

void JournalRecorder::ShowStatus() {
  const int64_t left_ms = retry_at_ms_ - clock_.NowUtcMs();
  const int64_t seconds = left_ms <= 0 ? 0 : (left_ms + 999) / 1000;
  const std::string text =
      "Journal off: " + off_why_ + "; trying again in " + std::to_string(seconds) + " s";
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (off_ && status_text_ == text) return;
    off_ = true;
    status_text_ = text;
  }
  if (display_) display_->ShowStatus(StatusField::journal, text, true);
}

}  // namespace onefortwo
