#include "journal/trend_query.h"

#include <algorithm>

#include "journal/sqlite_statement.h"

namespace onefortwo {

const char* ReadingColumn(Reading reading) {
  switch (reading) {
    case Reading::forward_power: return "forward_dbm";
    case Reading::reverse_power: return "reverse_dbm";
    case Reading::helix_current: return "helix_current_ma";
    case Reading::helix_voltage: return "helix_voltage_kv";
    case Reading::temperature: return "temperature_c";
    case Reading::attenuation: return "attenuation_db";
  }
  return "";
}

const char* ReadingName(Reading reading) {
  switch (reading) {
    case Reading::forward_power: return "Forward power";
    case Reading::reverse_power: return "Reverse power";
    case Reading::helix_current: return "Helix current";
    case Reading::helix_voltage: return "Helix voltage";
    case Reading::temperature: return "Temperature";
    case Reading::attenuation: return "Attenuation";
  }
  return "";
}

const char* ReadingUnit(Reading reading) {
  switch (reading) {
    case Reading::forward_power:
    case Reading::reverse_power: return "dBm";
    case Reading::helix_current: return "mA";
    case Reading::helix_voltage: return "kV";
    case Reading::temperature: return "\xC2\xB0""C";
    case Reading::attenuation: return "dB";
  }
  return "";
}

int64_t SpanMs(TrendSpan span) {
  switch (span) {
    case TrendSpan::hour: return 3600LL * 1000;
    case TrendSpan::day: return 86400LL * 1000;
    case TrendSpan::week: return 7 * 86400LL * 1000;
    case TrendSpan::month: return 30 * 86400LL * 1000;
  }
  return 0;
}

namespace {

// The first value of one column of one row for amplifier ?1, or `fallback`.
int64_t One(const JournalDb& db, const char* sql, const std::string& amp, int64_t fallback) {
  Statement select(db.handle(), sql);
  if (!select.ok()) return fallback;
  select.Bind(1, amp);
  if (select.Step() != SQLITE_ROW || select.IsNull(0)) return fallback;
  return select.Int(0);
}

// Adds the buckets of `sql` (bucket index, min, mean, max, samples) for [from, to) to
// `trend`, merging one that continues the last bucket there.
bool AddBuckets(const JournalDb& db, const std::string& sql, const std::string& amp,
                int64_t since, int64_t width, int64_t from, int64_t to,
                std::vector<TrendBucket>* trend, std::string* why) {
  if (from >= to) return true;
  Statement select(db.handle(), sql.c_str());
  if (!select.ok()) {
    *why = SqliteError(db.handle());
    return false;
  }
  select.Bind(1, amp);
  select.Bind(2, from);
  select.Bind(3, to);
  select.Bind(4, since);
  select.Bind(5, width);
  int step;
  while ((step = select.Step()) == SQLITE_ROW) {
    if (select.IsNull(1)) continue;  // samples without this number
    TrendBucket bucket{since + select.Int(0) * width + width / 2, select.Number(1),
                       select.Number(2), select.Number(3), select.Int(4)};
    if (!trend->empty() && trend->back().t_ms == bucket.t_ms) {
      TrendBucket& last = trend->back();
      const int64_t samples = last.samples + bucket.samples;
      last.mean = (last.mean * last.samples + bucket.mean * bucket.samples) / samples;
      last.min = std::min(last.min, bucket.min);
      last.max = std::max(last.max, bucket.max);
      last.samples = samples;
    } else {
      trend->push_back(bucket);
    }
  }
  if (step != SQLITE_DONE) {
    *why = SqliteError(db.handle());
    return false;
  }
  return true;
}

}  // namespace

bool QueryTrend(const JournalDb& db, const TrendQuery& query, std::vector<TrendBucket>* trend,
                std::string* why) {
  trend->clear();
  const int64_t since = query.since_ms;
  const int64_t until = query.until_ms;
  if (until <= since || query.buckets <= 0) return true;
  int64_t width = std::max<int64_t>(1, (until - since + query.buckets - 1) / query.buckets);
  // Over long spans every reply would be read for little more than the minute rows show.
  if (until - since > kFullRateSpanMs) width = std::max(width, kMinuteMs);
  const std::string amp = AmpLetter(query.amp);
  const std::string c = ReadingColumn(query.reading);

  // Where the minute rows hand over to the full-rate rows.
  int64_t split;
  if (width >= kMinuteMs) {
    split = One(db, "SELECT MAX(t_ms) FROM readings_minute WHERE amp = ?1", amp, since - kMinuteMs) +
            kMinuteMs;
  } else {
    split = One(db, "SELECT MIN(t_ms) FROM readings WHERE amp = ?1", amp, until);
  }
  split = std::clamp(split, since, until);

  const std::string minute_sql =
      "SELECT (t_ms - ?4) / ?5 AS b, MIN(" + c + "_min), SUM(" + c + "_mean * samples) / SUM(samples), MAX(" +
      c + "_max), SUM(samples) FROM readings_minute WHERE amp = ?1 AND t_ms >= ?2 AND t_ms < ?3 AND " + c +
      "_mean IS NOT NULL GROUP BY b ORDER BY b";
  const std::string full_sql = "SELECT (t_ms - ?4) / ?5 AS b, MIN(" + c + "), AVG(" + c + "), MAX(" + c +
                               "), COUNT(" + c + ") FROM readings WHERE amp = ?1 AND t_ms >= ?2 AND t_ms < ?3"
                               " GROUP BY b ORDER BY b";
  return AddBuckets(db, minute_sql, amp, since, width, since, split, trend, why) &&
         AddBuckets(db, full_sql, amp, since, width, split, until, trend, why);
}

std::vector<TrendPoint> MinMaxPoints(const std::vector<TrendBucket>& trend) {
  std::vector<TrendPoint> points;
  points.reserve(trend.size() * 2);
  for (const TrendBucket& bucket : trend) {
    points.push_back({bucket.t_ms, bucket.min});
    if (bucket.max != bucket.min) points.push_back({bucket.t_ms, bucket.max});
  }
  return points;
}

}  // namespace onefortwo
