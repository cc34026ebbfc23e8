#include "round/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace onefortwo {

double ParseLeadingNumber(const char* text, bool* found) {
  if (found != nullptr) *found = false;
  if (text == nullptr) return 0.0;
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  // from_chars takes a minus sign of its own: a second sign would pass as a number.
  if (*p == '+' || *p == '-') return 0.0;
  double value = 0.0;
  const char* end = p + std::strlen(p);
  const auto result = std::from_chars(p, end, value);
  if (result.ec == std::errc::invalid_argument) return 0.0;
  if (found != nullptr) *found = true;
  if (result.ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone: a negative exponent underflowed, any other
    // overflowed.
    bool tiny = false;
    for (const char* q = p; q < result.ptr; ++q) {
      if (*q == 'e' || *q == 'E') tiny = q + 1 < result.ptr && q[1] == '-';
    }
    value = tiny ? 0.0 : HUGE_VAL;
  }
  return negative ? -value : value;
}

int FormatFixed(char* out, size_t size, double value, int width, int precision) {
  if (size == 0) return -1;
  out[0] = '\0';
  char digits[400];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision);
  if (result.ec != std::errc()) return -1;
  const size_t length = static_cast<size_t>(result.ptr - digits);
  const size_t padding = width > 0 && length < static_cast<size_t>(width)
                             ? static_cast<size_t>(width) - length
                             : 0;
  if (padding + length + 1 > size) return -1;
  std::memset(out, ' ', padding);
  std::memcpy(out + padding, digits, length);
  out[padding + length] = '\0';
  return static_cast<int>(padding + length);
}

}  // namespace onefortwo
