#pragma once

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QWidget>
#include <string>

#include "journal/wall_clock.h"
#include "journal_windows/event_table_model.h"

namespace onefortwo {

// The "Journal" window: the station's events, newest first and live (the journal is read
// again every second), filtered by device, kind, time range and text, and the events
// shown exported to CSV. It only reads the journal file; the station writes it.
class JournalWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kRefreshMs = 1000;

  // `path`: the journal file; `clock` outlives the window (the ranges "Last hour", ...
  // end at its present time).
  JournalWindow(const std::string& path, WallClock& clock, QWidget* parent = nullptr);

  EventTableModel& model() { return model_; }
  QTableView* table() const { return table_; }
  QComboBox* device_box() const { return device_; }
  QComboBox* kind_box() const { return kind_; }
  QComboBox* range_box() const { return range_; }
  QLineEdit* search_box() const { return search_; }
  QDateTimeEdit* from_edit() const { return from_; }
  QDateTimeEdit* to_edit() const { return to_; }
  QTimer& refresh_timer() { return refresh_; }

  // Writes the events the filter selects, newest first as shown, to `file` as CSV.
  // False, with `*why`, when the file or the journal cannot be used.
  bool ExportCsv(const QString& file, std::string* why);

 public slots:
  // Reads the filter from the controls and shows its events from the newest on.
  void ApplyFilter();

 private:
  void Export();
  void ShowState();

  WallClock& clock_;
  EventTableModel model_;
  QComboBox* device_;
  QComboBox* kind_;
  QComboBox* range_;
  QDateTimeEdit* from_;
  QDateTimeEdit* to_;
  QLineEdit* search_;
  QPushButton* export_;
  QTableView* table_;
  QLabel* state_;
  QTimer refresh_;
  QTimer search_delay_;
};

}  // namespace onefortwo
