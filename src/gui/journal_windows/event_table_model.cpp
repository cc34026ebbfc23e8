#include "journal_windows/event_table_model.h"

#include "journal/time_text.h"

namespace onefortwo {

EventTableModel::EventTableModel(std::string path, QObject* parent)
    : QAbstractTableModel(parent), path_(std::move(path)) {}

bool EventTableModel::Open() {
  if (db_.is_open()) return true;
  std::string why;
  if (!db_.Open(path_, JournalDb::Mode::reader, 0, &why)) {
    SetProblem(why);
    return false;
  }
  SetProblem(std::string());
  return true;
}

void EventTableModel::SetProblem(const std::string& problem) {
  if (problem == problem_) return;
  problem_ = problem;
  emit problemChanged();
}

bool EventTableModel::Fetch(int64_t before, std::vector<EventRow>* rows) {
  if (!Open()) return false;
  EventQuery query;
  query.filter = filter_;
  query.before = before;
  query.limit = kPage;
  std::string why;
  if (!ForEachEvent(db_, query, [&](const EventRow& row) {
        rows->push_back(row);
        return true;
      }, &why)) {
    db_.Close();
    SetProblem(why);
    return false;
  }
  return true;
}

void EventTableModel::SetFilter(const EventFilter& filter) {
  beginResetModel();
  filter_ = filter;
  rows_.clear();
  exhausted_ = !Fetch(0, &rows_) || rows_.size() < static_cast<size_t>(kPage);
  endResetModel();
}

bool EventTableModel::Refresh() {
  if (rows_.empty()) {
    const bool was_open = db_.is_open();
    std::vector<EventRow> rows;
    if (!Fetch(0, &rows)) return false;
    if (!rows.empty() || !was_open) {
      beginResetModel();
      rows_ = std::move(rows);
      exhausted_ = rows_.size() < static_cast<size_t>(kPage);
      endResetModel();
    }
    return true;
  }
  EventQuery query;
  query.filter = filter_;
  query.after = rows_.front().id;
  std::vector<EventRow> newer;
  std::string why;
  if (!Open() || !ForEachEvent(db_, query, [&](const EventRow& row) {
        newer.push_back(row);
        return true;
      }, &why)) {
    if (!why.empty()) SetProblem(why);
    db_.Close();
    return false;
  }
  if (newer.empty()) return true;
  beginInsertRows(QModelIndex(), 0, static_cast<int>(newer.size()) - 1);
  rows_.insert(rows_.begin(), newer.begin(), newer.end());
  endInsertRows();
  return true;
}

int EventTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int EventTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant EventTableModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return QVariant();
  const EventEntry& e = rows_[static_cast<size_t>(index.row())].entry;
  switch (index.column()) {
    case time_column: {
      // "2026-12-10 03:00:00.123": the stored UTC time, without the T and Z.
      std::string t = FormatUtcMs(e.t_ms);
      t[10] = ' ';
      t.pop_back();
      return QString::fromStdString(t);
    }
    case device_column: return QString::fromStdString(e.device);
    case kind_column: return QString::fromStdString(e.kind);
    case text_column: return QString::fromStdString(e.text);
    case user_column: return QString::fromStdString(e.user);
    default: return QVariant();
  }
}

QVariant EventTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return QVariant();
  static const char* const kHeaders[] = {"Time (UTC)", "Device", "Kind", "Event", "User"};
  return section >= 0 && section < kColumns ? QString(kHeaders[section]) : QVariant();
}

bool EventTableModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && !exhausted_;
}

void EventTableModel::fetchMore(const QModelIndex& parent) {
  if (parent.isValid() || exhausted_ || rows_.empty()) return;
  std::vector<EventRow> older;
  if (!Fetch(rows_.back().id, &older)) return;
  exhausted_ = older.size() < static_cast<size_t>(kPage);
  if (older.empty()) return;
  const int first = static_cast<int>(rows_.size());
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(older.size()) - 1);
  rows_.insert(rows_.end(), older.begin(), older.end());
  endInsertRows();
}

}  // namespace onefortwo
