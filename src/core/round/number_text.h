#pragma once

#include <cstddef>

namespace onefortwo {

// Numbers to and from the texts of the line and the panels. Both ignore the process's
// locale: the amplifiers speak "57.3" whatever language the desktop is set to.

// The value of the leading number of `text` (blanks and one sign may come first), 0 when
// it starts with no number, as the C library's strtod reads it: "--500" and "+-500" are
// no number. Infinities and NaN are taken as written. `found`, when given, tells whether
// there was a number.
double ParseLeadingNumber(const char* text, bool* found = nullptr);

// `value` printed like "%<width>.<precision>f" into `out` (`size` bytes with the NUL).
// Returns the length, or -1 (and `out` empty) when it does not fit.
int FormatFixed(char* out, size_t size, double value, int width, int precision);

}  // namespace onefortwo
