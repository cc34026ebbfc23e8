#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineSeries>
#include <QTimer>
#include <QValueAxis>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "journal/journal_db.h"
#include "journal/trend_query.h"
#include "journal/wall_clock.h"
#include "journal_windows/trend_chart_view.h"

class QVBoxLayout;

namespace onefortwo {

// The "Trends" window: one chart per chosen reading (each with its unit on its axis), a
// line per chosen amplifier, over the last hour, day, week, month or a chosen range. The
// journal library decimates each line to one bucket per pixel of the chart's width, at the
// first plot and again after every zoom or pan: the line joins the buckets' means, and a
// paler line through their minima and maxima shows the spread and every spike. The latest span follows the
// clock (read again every kLiveMs) until the operator zooms or pans.
class TrendsWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kLiveMs = 5000;
  // The range box's entries after the spans of kSpans: the two dates.
  static constexpr int kChosenRange = 4;

  TrendsWindow(const std::string& path, WallClock& clock, QWidget* parent = nullptr);

  QCheckBox* amp_box(int amp) const { return amp_boxes_[static_cast<size_t>(amp)]; }
  QCheckBox* reading_box(Reading reading) const {
    return reading_boxes_[static_cast<size_t>(reading)];
  }
  QComboBox* range_box() const { return range_; }
  QDateTimeEdit* from_edit() const { return from_; }
  QDateTimeEdit* to_edit() const { return to_; }
  QLabel* state_label() const { return state_; }
  QTimer& live_timer() { return live_; }

  // The charts shown, in the order of kReadings.
  struct Chart {
    Reading reading;
    QChart* chart;
    QDateTimeAxis* time_axis;
    QValueAxis* value_axis;
    std::array<QLineSeries*, 3> series;    // A, B, C: each bucket's mean; hidden when not chosen
    std::array<QLineSeries*, 3> envelope;  // the same, each bucket's minimum and maximum, paler
    TrendChartView* view;
  };
  const std::vector<Chart>& charts() const { return charts_; }
  int64_t visible_since() const { return visible_since_; }
  int64_t visible_until() const { return visible_until_; }

 public slots:
  // The whole range chosen, from the controls; the zoom is undone.
  void ShowRange();
  // Shows [since_ms, until_ms) on every chart, read again at the charts' width.
  void ZoomTo(int64_t since_ms, int64_t until_ms);

 protected:
  // A new width is a new number of buckets: read again once the resizing settles.
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildCharts();
  void Reload();
  void FollowAxis(QChart* chart, const QDateTime& min, const QDateTime& max);

  std::string path_;
  WallClock& clock_;
  JournalDb db_;
  std::array<QCheckBox*, 3> amp_boxes_ = {};
  std::array<QCheckBox*, 6> reading_boxes_ = {};
  QComboBox* range_;
  QDateTimeEdit* from_;
  QDateTimeEdit* to_;
  QVBoxLayout* chart_column_;
  QLabel* state_;
  std::vector<Chart> charts_;
  int64_t range_since_ = 0;  // the range chosen
  int64_t range_until_ = 0;
  int64_t visible_since_ = 0;  // what the charts show of it (zoomed or panned)
  int64_t visible_until_ = 0;
  bool updating_axes_ = false;
  QTimer live_;
  QTimer reload_delay_;
};

}  // namespace onefortwo
