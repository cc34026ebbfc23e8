#include "journal/csv.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace onefortwo {

void WriteCsvLine(std::ostream& out, const std::vector<std::string>& fields) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out << ',';
    const std::string& field = fields[i];
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
      out << field;
      continue;
    }
    out << '"';
    for (char c : field) {
      if (c == '"') out << '"';
      out << c;
    }
    out << '"';
  }
  out << '\n';
}

std::string CsvNumber(double value) {
  if (std::isnan(value)) return std::string();
  char text[32];
  for (int digits = 1; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  return text;
}

}  // namespace onefortwo
