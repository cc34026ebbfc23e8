#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "journal/journal_db.h"

namespace onefortwo {

// The readings a trend can show, each with its column, name and unit.
enum class Reading { forward_power, reverse_power, helix_current, helix_voltage, temperature, attenuation };
constexpr Reading kReadings[] = {Reading::forward_power, Reading::reverse_power,
                                 Reading::helix_current, Reading::helix_voltage,
                                 Reading::temperature,   Reading::attenuation};
const char* ReadingColumn(Reading reading);  // "helix_current_ma"
const char* ReadingName(Reading reading);    // "Helix current"
const char* ReadingUnit(Reading reading);    // "mA"

// One bucket of a decimated trend: the readings of [t_ms - width/2, t_ms + width/2).
struct TrendBucket {
  int64_t t_ms;  // the bucket's middle
  double min;
  double mean;
  double max;
  int64_t samples;
};

// A trend of one reading of one amplifier over [since_ms, until_ms), cut into at most
// `buckets` buckets of equal width (one per pixel of the plot, say), and no narrower than a
// minute over spans longer than kFullRateSpanMs. Buckets of a minute or wider come from the
// minute rows, finer ones from the full-rate rows where those are kept (the last 48 hours)
// and from the minute rows before that; the latest minute not yet rolled up comes from the
// full-rate rows either way. Empty buckets are left out.
constexpr int64_t kFullRateSpanMs = 4 * 3600 * 1000LL;
struct TrendQuery {
  int amp = 0;  // 0..2
  Reading reading = Reading::helix_current;
  int64_t since_ms = 0;
  int64_t until_ms = 0;
  int buckets = 1000;
};
bool QueryTrend(const JournalDb& db, const TrendQuery& query, std::vector<TrendBucket>* trend,
                std::string* why);

// The points to draw for `trend`: each bucket's minimum and maximum at its middle, the
// one that came first in time unknown, so the smaller first; a bucket of one sample (or
// equal extremes) gives one point. Two points a bucket at most draw a line that looks, at
// one bucket a pixel, like every sample drawn.
struct TrendPoint {
  int64_t t_ms;
  double value;
};
std::vector<TrendPoint> MinMaxPoints(const std::vector<TrendBucket>& trend);

// The spans the trends window offers, ending now.
enum class TrendSpan { hour, day, week, month };
int64_t SpanMs(TrendSpan span);

}  // namespace onefortwo
