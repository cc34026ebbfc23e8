#include "journal/tool/journal_tool.h"

#include <limits>

#include "journal/journal_db.h"
#include "journal/journal_query.h"
#include "journal/time_text.h"

namespace onefortwo {
namespace {

constexpr const char* kUsage =
    "usage: onefortwo-journal [--db FILE] events|readings|minutes [--since TIME] [--until TIME]\n"
    "                         [--device D] [--kind KIND] [--search TEXT]\n"
    "  events    the station's events, oldest first: time,device,kind,text,user\n"
    "  readings  every amplifier reply of the last 48 hours, in dBm, mA, kV, degrees C, dB\n"
    "  minutes   one row a minute per amplifier (samples, min, mean, max), 400 days\n"
    "  TIME      ISO 8601, UTC unless an offset is given: 2026-12-10T03:00:00Z, 2026-12-10\n"
    "  D         station, line, controller, A, B or C\n"
    "  FILE      journal.sqlite in the current folder by default\n";

int Usage(std::ostream& err, const std::string& problem) {
  err << "onefortwo-journal: " << problem << "\n" << kUsage;
  return 2;
}

}  // namespace

int RunJournalTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string db_path = "journal.sqlite";
  std::string what;
  EventQuery query;
  query.oldest_first = true;
  int64_t since = std::numeric_limits<int64_t>::min();
  int64_t until = std::numeric_limits<int64_t>::max();
  std::string device;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      out << kUsage;
      return 0;
    }
    const bool takes_value = arg == "--db" || arg == "--since" || arg == "--until" ||
                             arg == "--device" || arg == "--kind" || arg == "--search";
    if (takes_value) {
      if (i + 1 >= args.size()) return Usage(err, arg + " needs a value");
      const std::string& value = args[++i];
      std::string why;
      if (arg == "--db") {
        db_path = value;
      } else if (arg == "--since" || arg == "--until") {
        int64_t t;
        if (!ParseUtcTime(value, &t, &why)) return Usage(err, arg + ": " + why);
        (arg == "--since" ? since : until) = t;
      } else if (arg == "--device") {
        device = value;
      } else if (arg == "--kind") {
        query.filter.kind = value;
      } else {
        query.filter.search = value;
      }
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage(err, "unknown option " + arg);
    } else if (what.empty()) {
      what = arg;
    } else {
      return Usage(err, "one of events, readings, minutes, not also " + arg);
    }
  }
  if (what != "events" && what != "readings" && what != "minutes")
    return Usage(err, what.empty() ? "say events, readings or minutes" : "unknown " + what);
  if (since >= until) return Usage(err, "--since must come before --until");
  int amp = -1;
  if (what != "events" && !device.empty()) {
    amp = AmpFromLetter(device);
    if (amp < 0) return Usage(err, "readings are of amplifiers A, B and C, not " + device);
  }
  if (what == "events" && !device.empty()) {
    static const char* const kDevices[] = {"station", "line", "controller", "A", "B", "C"};
    bool known = false;
    for (const char* d : kDevices) known = known || device == d;
    if (!known && AmpFromLetter(device) >= 0) {
      device = std::string(1, static_cast<char>(device[0] & ~0x20));
      known = true;
    }
    if (!known) return Usage(err, "no device " + device);
  }

  JournalDb db;
  std::string why;
  if (!db.Open(db_path, JournalDb::Mode::reader, 0, &why)) {
    err << "onefortwo-journal: " << why << "\n";
    return 1;
  }
  bool good;
  if (what == "events") {
    query.filter.since_ms = since;
    query.filter.until_ms = until;
    query.filter.device = device;
    good = WriteEventsCsv(db, query, out, &why);
  } else if (what == "readings") {
    good = WriteReadingsCsv(db, amp, since, until, out, &why);
  } else {
    good = WriteMinutesCsv(db, amp, since, until, out, &why);
  }
  out.flush();
  if (!good) {
    err << "onefortwo-journal: " << db_path << ": " << why << "\n";
    return 1;
  }
  return 0;
}

}  // namespace onefortwo
