#include "journal_windows/journal_window.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QVBoxLayout>
#include <fstream>

#include "journal/journal_entry.h"
#include "journal/trend_query.h"

namespace onefortwo {
namespace {

// The range box's entries: all, the last hour, day, week, month, or the two dates.
constexpr int kAllTime = 0;
constexpr int kChosenRange = 5;
const TrendSpan kSpans[] = {TrendSpan::hour, TrendSpan::day, TrendSpan::week, TrendSpan::month};

}  // namespace

JournalWindow::JournalWindow(const std::string& path, WallClock& clock, QWidget* parent)
    : QWidget(parent, Qt::Window), clock_(clock), model_(path) {
  setWindowTitle("Journal");
  resize(980, 560);

  device_ = new QComboBox;
  device_->addItem("All devices", QString());
  for (const char* device : {"station", "line", "controller", "A", "B", "C"})
    device_->addItem(device, QString(device));
  kind_ = new QComboBox;
  kind_->addItem("All kinds", QString());
  for (const char* kind : kEventKinds) kind_->addItem(kind, QString(kind));
  range_ = new QComboBox;
  range_->addItems({"All time", "Last hour", "Last day", "Last week", "Last month", "From - to"});
  from_ = new QDateTimeEdit;
  to_ = new QDateTimeEdit;
  for (QDateTimeEdit* edit : {from_, to_}) {
    edit->setTimeSpec(Qt::UTC);
    edit->setDisplayFormat("yyyy-MM-dd HH:mm");
    edit->setCalendarPopup(true);
    edit->setEnabled(false);
  }
  const QDateTime now = QDateTime::fromMSecsSinceEpoch(clock_.NowUtcMs(), Qt::UTC);
  from_->setDateTime(now.addDays(-1));
  to_->setDateTime(now.addSecs(3600));
  search_ = new QLineEdit;
  search_->setPlaceholderText("Search text or user");
  search_->setClearButtonEnabled(true);
  export_ = new QPushButton("Export CSV...");

  QHBoxLayout* filters = new QHBoxLayout;
  filters->addWidget(device_);
  filters->addWidget(kind_);
  filters->addWidget(range_);
  filters->addWidget(from_);
  filters->addWidget(new QLabel("to"));
  filters->addWidget(to_);
  filters->addWidget(search_, 1);
  filters->addWidget(export_);

  table_ = new QTableView;
  table_->setModel(&model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setAlternatingRowColors(true);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->horizontalHeader()->setStretchLastSection(false);
  table_->horizontalHeader()->setSectionResizeMode(EventTableModel::text_column, QHeaderView::Stretch);
  table_->setColumnWidth(EventTableModel::time_column, 170);
  table_->setColumnWidth(EventTableModel::device_column, 80);
  table_->setColumnWidth(EventTableModel::kind_column, 150);
  table_->setColumnWidth(EventTableModel::user_column, 90);
  state_ = new QLabel;

  QVBoxLayout* layout = new QVBoxLayout(this);
  layout->addLayout(filters);
  layout->addWidget(table_, 1);
  layout->addWidget(state_);

  // Typing searches once it pauses, not at every key.
  search_delay_.setSingleShot(true);
  search_delay_.setInterval(250);
  connect(&search_delay_, &QTimer::timeout, this, &JournalWindow::ApplyFilter);
  connect(search_, &QLineEdit::textChanged, this, [this] { search_delay_.start(); });
  for (QComboBox* box : {device_, kind_, range_})
    connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &JournalWindow::ApplyFilter);
  for (QDateTimeEdit* edit : {from_, to_})
    connect(edit, &QDateTimeEdit::dateTimeChanged, this, &JournalWindow::ApplyFilter);
  connect(export_, &QPushButton::clicked, this, &JournalWindow::Export);
  connect(&model_, &EventTableModel::problemChanged, this, &JournalWindow::ShowState);
  connect(&model_, &QAbstractItemModel::rowsInserted, this, &JournalWindow::ShowState);
  connect(&model_, &QAbstractItemModel::modelReset, this, &JournalWindow::ShowState);

  refresh_.setInterval(kRefreshMs);
  connect(&refresh_, &QTimer::timeout, this, [this] { model_.Refresh(); });
  refresh_.start();
  ApplyFilter();
}

void JournalWindow::ApplyFilter() {
  EventFilter filter;
  filter.device = device_->currentData().toString().toStdString();
  filter.kind = kind_->currentData().toString().toStdString();
  filter.search = search_->text().toStdString();
  const int range = range_->currentIndex();
  from_->setEnabled(range == kChosenRange);
  to_->setEnabled(range == kChosenRange);
  if (range == kChosenRange) {
    filter.since_ms = from_->dateTime().toMSecsSinceEpoch();
    filter.until_ms = to_->dateTime().toMSecsSinceEpoch();
  } else if (range != kAllTime) {
    filter.since_ms = clock_.NowUtcMs() - SpanMs(kSpans[range - 1]);
  }
  model_.SetFilter(filter);
}

void JournalWindow::ShowState() {
  if (!model_.problem().empty()) {
    state_->setText("Cannot read the journal: " + QString::fromStdString(model_.problem()));
    return;
  }
  const int rows = model_.rowCount();
  state_->setText(QString("%1 event%2 shown%3")
                      .arg(rows)
                      .arg(rows == 1 ? "" : "s")
                      .arg(model_.canFetchMore(QModelIndex()) ? ", older ones as you scroll" : ""));
}

bool JournalWindow::ExportCsv(const QString& file, std::string* why) {
  JournalDb db;
  if (!db.Open(model_.path(), JournalDb::Mode::reader, 0, why)) return false;
  std::ofstream out(file.toStdString(), std::ios::binary | std::ios::trunc);
  if (!out) {
    *why = "cannot write " + file.toStdString();
    return false;
  }
  EventQuery query;
  query.filter = model_.filter();
  if (!WriteEventsCsv(db, query, out, why)) return false;
  out.close();
  if (!out) {
    *why = "cannot write " + file.toStdString();
    return false;
  }
  return true;
}

void JournalWindow::Export() {
  const QString file = QFileDialog::getSaveFileName(this, "Export the events shown", "journal.csv",
                                                    "CSV files (*.csv)");
  if (file.isEmpty()) return;
  std::string why;
  if (!ExportCsv(file, &why))
    QMessageBox::warning(this, "Export", QString::fromStdString(why));
}

}  // namespace onefortwo
