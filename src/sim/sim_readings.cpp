#include "sim/sim_readings.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "round/round.h"

namespace onefortwo {

std::string Reading4(double value) {
  double shown = Round(value, 1);
  if (!(shown >= 0.0)) shown = 0.0;  // negatives and NaN
  if (shown > 99.9) shown = 99.9;
  char digits[16];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, shown, std::chars_format::fixed, 1);
  std::string text(digits, result.ptr);
  if (text.size() < 4) text.insert(0, 4 - text.size(), '0');
  return text;
}

bool ParseCommandNumber(const std::string& text, size_t from, bool decimals, double* value) {
  size_t at = from;
  while (at < text.size() && text[at] == ' ') ++at;
  if (at >= text.size()) return false;
  const char* begin = text.data() + at;
  const char* end = text.data() + text.size();
  // Only digits, one minus sign at the front and, with decimals, one point.
  bool point = false;
  for (const char* p = begin; p < end; ++p) {
    if (*p >= '0' && *p <= '9') continue;
    if (*p == '-' && p == begin) continue;
    if (*p == '.' && decimals && !point) {
      point = true;
      continue;
    }
    return false;
  }
  double parsed = 0.0;
  const auto result = std::from_chars(begin, end, parsed, std::chars_format::fixed);
  if (result.ec != std::errc() || result.ptr != end || !std::isfinite(parsed)) return false;
  *value = parsed;
  return true;
}

double WattsToDbm(double watts) {
  if (!(watts > 0.0)) return -std::numeric_limits<double>::infinity();
  return 10.0 * std::log10(watts) + 30.0;
}

double DbmToWatts(double dbm) {
  return std::pow(10.0, (dbm - 30.0) / 10.0);
}

}  // namespace onefortwo
