#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace onefortwo {

// onefortwo-journal [--db FILE] events|readings|minutes [--since TIME] [--until TIME]
//                   [--device D] [--kind K] [--search TEXT]
// Prints the journal as CSV with a header line on `out`: the events (oldest first), the
// full-rate readings, or the minute rows. TIME is ISO 8601 (see ParseUtcTime); --since is
// inclusive, --until exclusive. D is a device (events: station, line, controller, A, B, C;
// readings and minutes: A, B, C). The database is journal.sqlite in the current folder
// unless --db names one. `args` leaves out the program name. Returns the exit status: 0
// done, 2 a bad command line (usage on `err`), 1 a journal that cannot be read.
int RunJournalTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace onefortwo
