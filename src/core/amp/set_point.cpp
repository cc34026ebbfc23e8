#include "amp/set_point.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "round/number_text.h"

namespace onefortwo {
namespace {

// The commands are built in 80 characters, as the amplifier's command buffer expects.
constexpr size_t kCommandSize = 80;

std::string PowerText(char watts_letter, char dbw_letter, power_enum power_format, double pwr) {
  if (!std::isfinite(pwr)) return std::string();
  char text[kCommandSize];
  if (power_format == power_watts) {
    const double watts = Round(pwr, 0);
    if (!(watts >= INT_MIN && watts <= INT_MAX)) return std::string();
    std::snprintf(text, sizeof text, "%c%04d", watts_letter, static_cast<int>(watts));
    return text;
  }
  const double dbw = power_format == power_dbm ? Round(pwr - kDbmToDbw, 1) : Round(pwr, 1);
  text[0] = dbw_letter;
  if (FormatFixed(text + 1, sizeof text - 1, dbw, 4, 1) < 0) return std::string();
  return text;
}

}  // namespace

std::string SetPowerText(power_enum power_format, double pwr) {
  return PowerText('E', 'D', power_format, pwr);
}

std::string SetAttenuationText(double db) {
  if (!std::isfinite(db)) return std::string();
  char text[kCommandSize] = {'K'};
  if (FormatFixed(text + 1, sizeof text - 1, Round(db, 1), 4, 1) < 0) return std::string();
  return text;
}

std::string SetConstantText(power_enum power_format, int on, double pwr, const char* power_out) {
  if (on == 0) return "H";
  if (!(pwr >= 0.0)) pwr = ParseLeadingNumber(power_out);
  return PowerText('G', 'F', power_format, pwr);
}

}  // namespace onefortwo
