#pragma once

#include <cstdint>
#include <string>

namespace onefortwo {

// ISO 8601 in UTC with milliseconds: "2026-12-10T03:00:00.123Z" for `utc_ms` since 1970.
std::string FormatUtcMs(int64_t utc_ms);

// Reads a time as the journal's tool takes it, into UTC ms since 1970:
//   2026-12-10                    midnight UTC of that day
//   2026-12-10T03:00              (a space may stand for the T)
//   2026-12-10T03:00:00
//   2026-12-10T03:00:00.5         fractions of a second, to the millisecond
// each followed by "Z" (UTC), by an offset "+01:00" / "-0500" (the local time of that
// offset), or by nothing (UTC too). False, with `why` in words, for anything else,
// including a field out of range ("2026-13-01", "25:00").
bool ParseUtcTime(const std::string& text, int64_t* utc_ms, std::string* why);

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day);

}  // namespace onefortwo
