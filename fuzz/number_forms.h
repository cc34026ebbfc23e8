#pragma once

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace onefortwo {

// Whether `text` is exactly what printf's `form` ("%04d", "%d", "%4d") prints for some int:
// blanks, a minus sign and digits only, and read back and printed again it is the same.
inline bool IsIntText(const std::string& text, const char* form) {
  if (text.empty() || text.find_first_not_of(" -0123456789") != std::string::npos) return false;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < INT_MIN || value > INT_MAX) return false;
  char again[32];
  std::snprintf(again, sizeof again, form, static_cast<int>(value));
  return text == again;
}

// Whether `text` is exactly what "%4.1f" prints for a finite number: blanks, a minus sign,
// digits and one point only, and read back and printed again it is the same.
inline bool IsOneDecimalText(const std::string& text, double* value = nullptr) {
  if (text.empty() || text.find_first_not_of(" -.0123456789") != std::string::npos) return false;
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(number)) return false;
  char again[400];
  std::snprintf(again, sizeof again, "%4.1f", number);
  if (value != nullptr) *value = number;
  return text == again;
}

}  // namespace onefortwo
