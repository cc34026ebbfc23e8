#pragma once

namespace onefortwo {

// The one unit in which every power of every amplifier is shown and entered.
enum power_enum { power_watts = 0, power_dbm = 1, power_dbw = 2 };

// "Watts", "dBm", "dBW": the unit names the panels show, indexed by power_enum.
extern const char* const power_unit_name[3];
// "(Watts)", "(dBm)", "(dBW)": the number-entry dialog's unit labels.
extern const char* const power_entry_label[3];

// The difference between dBm and dBW.
constexpr double kDbmToDbw = 30.0;

// `number` rounded to `precision` decimals, halves away from zero (2.5 -> 3, -2.5 -> -3).
// Infinities and NaN come back as they went in.
double Round(double number, int precision);

}  // namespace onefortwo
