#include "journal/time_text.h"

#include <cctype>
#include <cstdio>

namespace onefortwo {
namespace {

constexpr int64_t kDayMs = 86400000;

void CivilFromDays(int64_t z, int64_t* year, unsigned* month, unsigned* day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *day = doy - (153 * mp + 2) / 5 + 1;
  *month = mp < 10 ? mp + 3 : mp - 9;
  *year = static_cast<int64_t>(yoe) + era * 400 + (*month <= 2 ? 1 : 0);
}

bool LeapYear(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned DaysInMonth(int64_t year, unsigned month) {
  static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && LeapYear(year) ? 29 : kDays[month - 1];
}

// Reads exactly `digits` decimal digits at `*pos`.
bool Digits(const std::string& text, size_t* pos, int digits, int* value) {
  int v = 0;
  for (int i = 0; i < digits; ++i) {
    if (*pos >= text.size() || !std::isdigit(static_cast<unsigned char>(text[*pos]))) return false;
    v = v * 10 + (text[(*pos)++] - '0');
  }
  *value = v;
  return true;
}

bool Expect(const std::string& text, size_t* pos, char c) {
  if (*pos < text.size() && text[*pos] == c) {
    ++*pos;
    return true;
  }
  return false;
}

}  // namespace

int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(year - era * 400);
  const unsigned doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

std::string FormatUtcMs(int64_t utc_ms) {
  int64_t days = utc_ms / kDayMs;
  int64_t ms_of_day = utc_ms % kDayMs;
  if (ms_of_day < 0) {
    ms_of_day += kDayMs;
    --days;
  }
  int64_t year;
  unsigned month, day;
  CivilFromDays(days, &year, &month, &day);
  const int64_t s = ms_of_day / 1000;
  char text[40];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02d:%02d:%02d.%03dZ",
                static_cast<long long>(year), month, day, static_cast<int>(s / 3600),
                static_cast<int>(s / 60 % 60), static_cast<int>(s % 60),
                static_cast<int>(ms_of_day % 1000));
  return text;
}

bool ParseUtcTime(const std::string& text, int64_t* utc_ms, std::string* why) {
  const auto fail = [&](const char* what) {
    *why = "\"" + text + "\" is not a time (" + what +
           "; use ISO 8601 such as 2026-12-10T03:00:00Z)";
    return false;
  };
  size_t pos = 0;
  int year, month, day, hour = 0, minute = 0, second = 0, ms = 0;
  if (!Digits(text, &pos, 4, &year) || !Expect(text, &pos, '-') ||
      !Digits(text, &pos, 2, &month) || !Expect(text, &pos, '-') ||
      !Digits(text, &pos, 2, &day))
    return fail("the date must read YYYY-MM-DD");
  if (month < 1 || month > 12 || day < 1 || static_cast<unsigned>(day) > DaysInMonth(year, month))
    return fail("no such date");
  if (pos < text.size() && (text[pos] == 'T' || text[pos] == 't' || text[pos] == ' ')) {
    ++pos;
    if (!Digits(text, &pos, 2, &hour) || !Expect(text, &pos, ':') ||
        !Digits(text, &pos, 2, &minute))
      return fail("the time of day must read HH:MM or HH:MM:SS");
    if (Expect(text, &pos, ':')) {
      if (!Digits(text, &pos, 2, &second)) return fail("the seconds must be two digits");
      if (Expect(text, &pos, '.') || Expect(text, &pos, ',')) {
        int scale = 100, digits = 0;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
          ms += (text[pos++] - '0') * scale;
          scale /= 10;
          ++digits;
        }
        if (digits == 0) return fail("a fraction needs digits");
      }
    }
    if (hour > 23 || minute > 59 || second > 59) return fail("no such time of day");
  }
  int offset_minutes = 0;
  if (pos < text.size()) {
    const char sign = text[pos];
    if ((sign == 'Z' || sign == 'z') && pos + 1 == text.size()) {
      ++pos;
    } else if (sign == '+' || sign == '-') {
      ++pos;
      int oh, om = 0;
      if (!Digits(text, &pos, 2, &oh)) return fail("the offset must read +HH:MM");
      Expect(text, &pos, ':');
      if (pos < text.size() && !Digits(text, &pos, 2, &om)) return fail("the offset must read +HH:MM");
      if (oh > 23 || om > 59) return fail("no such offset");
      offset_minutes = (oh * 60 + om) * (sign == '-' ? -1 : 1);
    }
    if (pos != text.size()) return fail("unexpected text after the time");
  }
  *utc_ms = DaysFromCivil(year, month, day) * kDayMs +
            ((hour * 60 + minute - offset_minutes) * 60 + second) * int64_t{1000} + ms;
  return true;
}

}  // namespace onefortwo
