#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "journal/journal_db.h"
#include "journal/journal_query.h"

namespace onefortwo {

// The journal's events as a table, newest first: time (UTC), device, kind, text, user.
// Holds a page at a time (kPage rows), fetching older pages as the view scrolls, and takes
// in the events written since with Refresh. The journal is read through a connection of
// its own, opened on first use and again after a failure.
class EventTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kPage = 500;
  enum Column { time_column, device_column, kind_column, text_column, user_column, kColumns };

  explicit EventTableModel(std::string path, QObject* parent = nullptr);

  // Shows the events of `filter` from the newest on.
  void SetFilter(const EventFilter& filter);
  const EventFilter& filter() const { return filter_; }
  const std::string& path() const { return path_; }
  // Adds the events written since the newest shown. False when the journal cannot be read.
  bool Refresh();
  // Why the journal could not be read; empty when it could.
  const std::string& problem() const { return problem_; }
  const EventRow& event(int row) const { return rows_[static_cast<size_t>(row)]; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 signals:
  void problemChanged();

 private:
  bool Open();
  // Events of the filter older than `before` (0: from the newest), at most a page.
  bool Fetch(int64_t before, std::vector<EventRow>* rows);
  void SetProblem(const std::string& problem);

  std::string path_;
  JournalDb db_;
  EventFilter filter_;
  std::vector<EventRow> rows_;
  bool exhausted_ = true;
  std::string problem_;
};

}  // namespace onefortwo
