#pragma once

#include <string>

namespace onefortwo {

// Number texts as the simulated devices write and read them. Neither depends on the
// process's locale: the station may run under any language setting.

// `value` as a 4-character reading, one decimal, zero-padded: 57.25 -> "57.3",
// 5 -> "05.0". Values are limited to 0.0 .. 99.9 (what 4 characters hold); NaN reads 0.0.
std::string Reading4(double value);

// The number in `text` from `from` on: optional blanks (the "%4.1f" padding), an optional
// minus sign, digits, and with `decimals` an optional fraction. The number must end the
// text. False for anything else, an empty number and infinities included.
bool ParseCommandNumber(const std::string& text, size_t from, bool decimals, double* value);

// Power conversions. Watts at or below 0 have no dBm: they come back as -infinity.
double WattsToDbm(double watts);
double DbmToWatts(double dbm);

}  // namespace onefortwo
