#include "journal_windows/trends_window.h"

#include <QGroupBox>
#include <QLegendMarker>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

namespace onefortwo {
namespace {

const TrendSpan kSpans[] = {TrendSpan::hour, TrendSpan::day, TrendSpan::week, TrendSpan::month};
const QColor kAmpColors[] = {QColor(0x1f, 0x5f, 0xbf), QColor(0xd9, 0x6c, 0x00), QColor(0x2a, 0x9d, 0x3c)};

QString Title(Reading reading) {
  return QString::fromUtf8(ReadingName(reading)) + " (" + QString::fromUtf8(ReadingUnit(reading)) + ")";
}

}  // namespace

TrendsWindow::TrendsWindow(const std::string& path, WallClock& clock, QWidget* parent)
    : QWidget(parent, Qt::Window), path_(path), clock_(clock) {
  setWindowTitle("Trends");
  resize(1100, 720);

  QGroupBox* amps = new QGroupBox("Amplifiers");
  QVBoxLayout* amp_column = new QVBoxLayout(amps);
  for (int amp = 0; amp < 3; ++amp) {
    QCheckBox* box = new QCheckBox(QString("Amplifier ") + QChar('A' + amp));
    box->setChecked(true);
    box->setStyleSheet(QString("QCheckBox { color: %1; }").arg(kAmpColors[amp].name()));
    amp_column->addWidget(box);
    amp_boxes_[static_cast<size_t>(amp)] = box;
    connect(box, &QCheckBox::toggled, this, [this] { Reload(); });
  }
  QGroupBox* readings = new QGroupBox("Readings");
  QVBoxLayout* reading_column = new QVBoxLayout(readings);
  for (Reading reading : kReadings) {
    QCheckBox* box = new QCheckBox(Title(reading));
    box->setChecked(reading == Reading::helix_current || reading == Reading::forward_power);
    reading_column->addWidget(box);
    reading_boxes_[static_cast<size_t>(reading)] = box;
    connect(box, &QCheckBox::toggled, this, [this] {
      BuildCharts();
      Reload();
    });
  }
  QGroupBox* range = new QGroupBox("Time");
  QVBoxLayout* range_column = new QVBoxLayout(range);
  range_ = new QComboBox;
  range_->addItems({"Last hour", "Last day", "Last week", "Last month", "From - to"});
  range_->setCurrentIndex(1);
  from_ = new QDateTimeEdit;
  to_ = new QDateTimeEdit;
  const QDateTime now = QDateTime::fromMSecsSinceEpoch(clock_.NowUtcMs(), Qt::UTC);
  from_->setDateTime(now.addDays(-7));
  to_->setDateTime(now);
  for (QDateTimeEdit* edit : {from_, to_}) {
    edit->setTimeSpec(Qt::UTC);
    edit->setDisplayFormat("yyyy-MM-dd HH:mm");
    edit->setCalendarPopup(true);
    edit->setEnabled(false);
  }
  QPushButton* whole = new QPushButton("Whole range");
  whole->setToolTip("Undo the zoom and pan");
  range_column->addWidget(range_);
  range_column->addWidget(new QLabel("From (UTC)"));
  range_column->addWidget(from_);
  range_column->addWidget(new QLabel("To (UTC)"));
  range_column->addWidget(to_);
  range_column->addWidget(whole);
  QLabel* help = new QLabel(
      "Drag to zoom to a span, wheel to zoom, right-drag or arrow keys to pan, "
      "double-click for the whole range.");
  help->setWordWrap(true);

  QVBoxLayout* controls = new QVBoxLayout;
  controls->addWidget(amps);
  controls->addWidget(readings);
  controls->addWidget(range);
  controls->addWidget(help);
  controls->addStretch(1);
  QWidget* control_panel = new QWidget;
  control_panel->setLayout(controls);
  control_panel->setFixedWidth(220);

  chart_column_ = new QVBoxLayout;
  chart_column_->setSpacing(0);
  state_ = new QLabel;
  QVBoxLayout* right = new QVBoxLayout;
  right->addLayout(chart_column_, 1);
  right->addWidget(state_);
  QHBoxLayout* layout = new QHBoxLayout(this);
  layout->addWidget(control_panel);
  layout->addLayout(right, 1);

  connect(range_, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
    from_->setEnabled(index == kChosenRange);
    to_->setEnabled(index == kChosenRange);
    ShowRange();
  });
  for (QDateTimeEdit* edit : {from_, to_})
    connect(edit, &QDateTimeEdit::dateTimeChanged, this, [this] {
      if (range_->currentIndex() == kChosenRange) ShowRange();
    });
  connect(whole, &QPushButton::clicked, this, &TrendsWindow::ShowRange);

  // A zoom or pan moves many axes a little at a time: read the journal once it settles.
  reload_delay_.setSingleShot(true);
  reload_delay_.setInterval(150);
  connect(&reload_delay_, &QTimer::timeout, this, [this] { Reload(); });
  // The latest span follows the clock while nobody has zoomed or panned.
  live_.setInterval(kLiveMs);
  connect(&live_, &QTimer::timeout, this, [this] {
    const bool whole_range = visible_since_ == range_since_ && visible_until_ == range_until_;
    if (range_->currentIndex() != kChosenRange && whole_range) ShowRange();
  });
  live_.start();

  BuildCharts();
  ShowRange();
}

void TrendsWindow::BuildCharts() {
  for (Chart& chart : charts_) {
    chart_column_->removeWidget(chart.view);
    delete chart.view;  // and its chart
  }
  charts_.clear();
  for (Reading reading : kReadings) {
    if (!reading_box(reading)->isChecked()) continue;
    Chart c;
    c.reading = reading;
    c.chart = new QChart;
    c.chart->legend()->setAlignment(Qt::AlignRight);
    c.chart->setMargins(QMargins(4, 4, 4, 4));
    c.time_axis = new QDateTimeAxis;
    c.time_axis->setTitleText("Time (" + QDateTime::currentDateTime().timeZoneAbbreviation() + ")");
    c.value_axis = new QValueAxis;
    c.value_axis->setTitleText(Title(reading));
    c.chart->addAxis(c.time_axis, Qt::AlignBottom);
    c.chart->addAxis(c.value_axis, Qt::AlignLeft);
    for (int amp = 0; amp < 3; ++amp) {
      QColor pale = kAmpColors[amp];
      pale.setAlpha(70);
      QLineSeries* envelope = new QLineSeries;
      envelope->setPen(QPen(pale, 1));
      QLineSeries* series = new QLineSeries;
      series->setName(QChar('A' + amp));
      series->setPen(QPen(kAmpColors[amp], 1.5));
      for (QLineSeries* line : {envelope, series}) {
        c.chart->addSeries(line);
        line->attachAxis(c.time_axis);
        line->attachAxis(c.value_axis);
      }
      for (QLegendMarker* marker : c.chart->legend()->markers(envelope)) marker->setVisible(false);
      c.series[static_cast<size_t>(amp)] = series;
      c.envelope[static_cast<size_t>(amp)] = envelope;
    }
    c.view = new TrendChartView(c.chart);
    QChart* chart = c.chart;
    connect(c.time_axis, &QDateTimeAxis::rangeChanged, this,
            [this, chart](const QDateTime& min, const QDateTime& max) { FollowAxis(chart, min, max); });
    connect(c.view, &TrendChartView::resetRequested, this, &TrendsWindow::ShowRange);
    chart_column_->addWidget(c.view, 1);
    charts_.push_back(c);
  }
}

void TrendsWindow::ShowRange() {
  if (range_->currentIndex() == kChosenRange) {
    range_since_ = from_->dateTime().toMSecsSinceEpoch();
    range_until_ = to_->dateTime().toMSecsSinceEpoch();
  } else {
    range_until_ = clock_.NowUtcMs();
    range_since_ = range_until_ - SpanMs(kSpans[range_->currentIndex()]);
    // The greyed dates show the span chosen, and are where a chosen range starts from.
    const QSignalBlocker block_from(from_);
    const QSignalBlocker block_to(to_);
    from_->setDateTime(QDateTime::fromMSecsSinceEpoch(range_since_, Qt::UTC));
    to_->setDateTime(QDateTime::fromMSecsSinceEpoch(range_until_, Qt::UTC));
  }
  ZoomTo(range_since_, range_until_);
}

void TrendsWindow::ZoomTo(int64_t since_ms, int64_t until_ms) {
  visible_since_ = since_ms;
  visible_until_ = std::max(until_ms, since_ms + 1000);
  reload_delay_.stop();
  Reload();
}

void TrendsWindow::FollowAxis(QChart* chart, const QDateTime& min, const QDateTime& max) {
  if (updating_axes_) return;
  visible_since_ = static_cast<int64_t>(min.toMSecsSinceEpoch());
  visible_until_ = std::max<int64_t>(max.toMSecsSinceEpoch(), visible_since_ + 1000);
  // Every chart shows the same span.
  updating_axes_ = true;
  for (Chart& c : charts_)
    if (c.chart != chart) c.time_axis->setRange(min, max);
  updating_axes_ = false;
  reload_delay_.start();
}

void TrendsWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  reload_delay_.start();
}

void TrendsWindow::Reload() {
  std::string why;
  if (!db_.is_open() && !db_.Open(path_, JournalDb::Mode::reader, 0, &why)) {
    state_->setText("Cannot read the journal: " + QString::fromStdString(why));
  }
  const int64_t span = visible_until_ - visible_since_;
  const char* format = span <= 2 * 86400000LL ? (span <= 600000 ? "HH:mm:ss" : "HH:mm")
                                              : "MM-dd HH:mm";
  size_t points_drawn = 0;
  int64_t bucket_ms = 0;
  updating_axes_ = true;
  for (Chart& c : charts_) {
    const QRectF plot = c.chart->plotArea();
    const int buckets = plot.width() > 50 ? static_cast<int>(plot.width()) : 1000;
    bucket_ms = std::max<int64_t>(1, (span + buckets - 1) / buckets);
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (int amp = 0; amp < 3; ++amp) {
      QLineSeries* series = c.series[static_cast<size_t>(amp)];
      QLineSeries* envelope = c.envelope[static_cast<size_t>(amp)];
      const bool chosen = amp_box(amp)->isChecked();
      series->setVisible(chosen);
      envelope->setVisible(chosen);
      for (QLegendMarker* marker : c.chart->legend()->markers(envelope)) marker->setVisible(false);
      QList<QPointF> points;
      QList<QPointF> means;
      if (chosen && db_.is_open()) {
        TrendQuery query;
        query.amp = amp;
        query.reading = c.reading;
        query.since_ms = visible_since_;
        query.until_ms = visible_until_;
        query.buckets = buckets;
        std::vector<TrendBucket> trend;
        if (!QueryTrend(db_, query, &trend, &why)) {
          state_->setText("Cannot read the journal: " + QString::fromStdString(why));
          db_.Close();
        }
        means.reserve(static_cast<int>(trend.size()));
        for (const TrendBucket& b : trend) means.append(QPointF(static_cast<double>(b.t_ms), b.mean));
        const std::vector<TrendPoint> drawn = MinMaxPoints(trend);
        points.reserve(static_cast<int>(drawn.size()));
        for (const TrendPoint& p : drawn) {
          points.append(QPointF(static_cast<double>(p.t_ms), p.value));
          low = std::min(low, p.value);
          high = std::max(high, p.value);
        }
      }
      points_drawn += static_cast<size_t>(points.size() + means.size());
      envelope->replace(points);
      series->replace(means);
    }
    c.time_axis->setFormat(format);
    c.time_axis->setRange(QDateTime::fromMSecsSinceEpoch(visible_since_),
                          QDateTime::fromMSecsSinceEpoch(visible_until_));
    if (low > high) {
      low = 0;
      high = 1;
    }
    const double pad = std::max((high - low) * 0.08, 0.05);
    c.value_axis->setRange(low - pad, high + pad);
  }
  updating_axes_ = false;
  if (db_.is_open()) {
    const double bucket_s = static_cast<double>(bucket_ms) / 1000.0;
    state_->setText(QString("%1 points drawn; one bucket (mean, minimum, maximum) per %2")
                        .arg(points_drawn)
                        .arg(bucket_s >= 60 ? QString::number(bucket_s / 60, 'f', 1) + " min"
                                            : QString::number(bucket_s, 'f', 1) + " s"));
  }
}

}  // namespace onefortwo
