#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace onefortwo {

// One CSV line (RFC 4180) ended by "\n": a field holding a comma, a quote, or a line end
// is quoted, with its quotes doubled; others stand as they are.
void WriteCsvLine(std::ostream& out, const std::vector<std::string>& fields);

// A number for a CSV field: shortest text that reads back as the same double ("57",
// "0.35"), empty for NaN (no number in the reply).
std::string CsvNumber(double value);

}  // namespace onefortwo
