#include "journal/csv.h"

#include <charconv>
#include <cmath>

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
  // The shortest text that reads back as the same number, with a decimal point whatever
  // the locale: 10 as "10", 57.3 as "57.3".
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

}  // namespace onefortwo
