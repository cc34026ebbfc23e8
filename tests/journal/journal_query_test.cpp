// Reading the journal: events by device, kind, time and text, newest first in pages; the
// trends decimated for the screen from the right table; times as the tool takes them;
// the tool's CSV.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "journal/csv.h"
#include "journal/time_text.h"
#include "journal/tool/journal_tool.h"
#include "journal/trend_query.h"
#include "journal_support.h"
#include "support/temp_dir.h"

namespace onefortwo {
namespace {

EventEntry Event(int64_t t_ms, const char* device, const char* kind, const char* text,
                 const char* user = "") {
  return EventEntry{t_ms, device, kind, text, user};
}

class JournalQueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(writer.Open(path, JournalDb::Mode::writer, kThreeAm, &why)) << why;
  }
  void Write(const std::vector<EventEntry>& events, const std::vector<ReadingEntry>& readings = {}) {
    std::string why;
    ASSERT_TRUE(writer.Write(events, readings, &why)) << why;
  }
  void OpenReader() {
    std::string why;
    ASSERT_TRUE(reader.Open(path, JournalDb::Mode::reader, 0, &why)) << why;
  }
  // The texts the query selects, in its order.
  std::vector<std::string> Texts(const EventQuery& query) {
    std::vector<std::string> texts;
    std::string why;
    EXPECT_TRUE(ForEachEvent(reader, query, [&](const EventRow& row) {
      texts.push_back(row.entry.text);
      return true;
    }, &why)) << why;
    return texts;
  }

  TempDir dir;
  const std::string path = dir.path() + "journal.sqlite";
  JournalDb writer;
  JournalDb reader;
};

TEST_F(JournalQueryTest, EventsAreFilteredByDeviceKindTimeAndText) {
  Write({Event(kThreeAm, "A", "fault raised", "Fault: Over Temperature"),
         Event(kThreeAm + 1000, "controller", "switch changed", "Waveguide switch 1 A -> B, by the controller itself"),
         Event(kThreeAm + 2000, "A", "alarm acknowledged", "Alarm acknowledged", "night_op"),
         Event(kThreeAm + 3000, "A", "command", "Sent \"B\" after \"Amplifier A Fault: Fault Reset\"", "night_op"),
         Event(kThreeAm + 4000, "B", "command", "Sent \"@\" after \"50% off_peak\"", "day_op")});
  OpenReader();
  struct Case {
    const char* name;
    EventFilter filter;
    std::vector<std::string> texts;  // newest first
  };
  auto filter = [](const char* device, const char* kind, const char* search, int64_t since = INT64_MIN,
                   int64_t until = INT64_MAX) {
    EventFilter f;
    f.device = device;
    f.kind = kind;
    f.search = search;
    f.since_ms = since;
    f.until_ms = until;
    return f;
  };
  const Case cases[] = {
      {"all", filter("", "", ""),
       {"Sent \"@\" after \"50% off_peak\"", "Sent \"B\" after \"Amplifier A Fault: Fault Reset\"",
        "Alarm acknowledged", "Waveguide switch 1 A -> B, by the controller itself", "Fault: Over Temperature"}},
      {"device", filter("A", "", ""),
       {"Sent \"B\" after \"Amplifier A Fault: Fault Reset\"", "Alarm acknowledged", "Fault: Over Temperature"}},
      {"kind", filter("", "command", ""),
       {"Sent \"@\" after \"50% off_peak\"", "Sent \"B\" after \"Amplifier A Fault: Fault Reset\""}},
      {"device and kind", filter("B", "command", ""), {"Sent \"@\" after \"50% off_peak\""}},
      {"text in any case", filter("", "", "over TEMP"), {"Fault: Over Temperature"}},
      {"the user", filter("", "", "night_op"),
       {"Sent \"B\" after \"Amplifier A Fault: Fault Reset\"", "Alarm acknowledged"}},
      {"% and _ are plain characters", filter("", "", "0% off_"), {"Sent \"@\" after \"50% off_peak\""}},
      {"nothing matches", filter("", "", "x_y"), {}},
      {"since inclusive, until exclusive", filter("", "", "", kThreeAm + 1000, kThreeAm + 3000),
       {"Alarm acknowledged", "Waveguide switch 1 A -> B, by the controller itself"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EventQuery query;
    query.filter = c.filter;
    EXPECT_EQ(c.texts, Texts(query));
  }
}

TEST_F(JournalQueryTest, PagesContinueBeforeAndAfterAnEventAlsoWithinOneMillisecond) {
  std::vector<EventEntry> events;
  for (int i = 0; i < 7; ++i)
    events.push_back(Event(kThreeAm + (i / 3) * 1000, "A", "state changed", std::to_string(i).c_str()));
  Write(events);
  OpenReader();
  EventQuery page;
  page.limit = 3;
  EXPECT_EQ(std::vector<std::string>({"6", "5", "4"}), Texts(page));
  page.before = 5;  // the event "4" has id 5
  EXPECT_EQ(std::vector<std::string>({"3", "2", "1"}), Texts(page));
  page.before = 2;
  EXPECT_EQ(std::vector<std::string>({"0"}), Texts(page));
  // Newer than the event "4": what came since the window last looked.
  EventQuery newer;
  newer.after = 5;
  EXPECT_EQ(std::vector<std::string>({"6", "5"}), Texts(newer));
}

TEST_F(JournalQueryTest, EventsCsvQuotesWhatNeedsIt) {
  Write({Event(kThreeAm + 5, "A", "command", "Sent \"D27.3\" after \"Adjust HPA-A Output Power: 27.3, then Ok\"", "op"),
         Event(kThreeAm + 61000, "line", "port lost", "Port COM2 (9600 8N1) lost: line\nbreak")});
  OpenReader();
  EventQuery query;
  query.oldest_first = true;
  std::ostringstream out;
  std::string why;
  ASSERT_TRUE(WriteEventsCsv(reader, query, out, &why)) << why;
  EXPECT_EQ("time,device,kind,text,user\n"
            "2026-12-10T03:00:00.005Z,A,command,\"Sent \"\"D27.3\"\" after \"\"Adjust HPA-A Output Power: 27.3, then Ok\"\"\",op\n"
            "2026-12-10T03:01:01.000Z,line,port lost,\"Port COM2 (9600 8N1) lost: line\nbreak\",\n",
            out.str());
}

// Readings of A: one a second for the last two hours, value = seconds into the minute,
// with one spike of 99; and minute rows before that, reading 5 (as rolled up long ago).
class TrendTest : public JournalQueryTest {
 protected:
  void SetUp() override {
    JournalQueryTest::SetUp();
    std::vector<ReadingEntry> readings;
    for (int64_t t = start; t < now; t += 1000) {
      ReadingEntry r;
      r.t_ms = t;
      r.amp = 0;
      r.helix_current_ma = static_cast<double>((t / 1000) % 60);
      if (t == spike) r.helix_current_ma = 99;
      readings.push_back(r);
    }
    Write({}, readings);
    sqlite3_exec(writer.handle(),
                 ("WITH RECURSIVE m(t) AS (SELECT " + std::to_string(start - 6 * 3600000) +
                  " UNION ALL SELECT t + 60000 FROM m WHERE t + 60000 < " + std::to_string(start) +
                  ") INSERT INTO readings_minute(amp, t_ms, samples, helix_current_ma_min,"
                  " helix_current_ma_mean, helix_current_ma_max) SELECT 'A', t, 60, 4, 5, 6 FROM m")
                     .c_str(),
                 nullptr, nullptr, nullptr);
    OpenReader();
  }
  std::vector<TrendBucket> Trend(int64_t since, int64_t until, int buckets) {
    TrendQuery query;
    query.amp = 0;
    query.reading = Reading::helix_current;
    query.since_ms = since;
    query.until_ms = until;
    query.buckets = buckets;
    std::vector<TrendBucket> trend;
    std::string why;
    EXPECT_TRUE(QueryTrend(reader, query, &trend, &why)) << why;
    return trend;
  }

  const int64_t start = kThreeAm;
  const int64_t now = kThreeAm + 2 * 3600000;
  const int64_t spike = kThreeAm + 5400000 + 17000;
};

TEST_F(TrendTest, AtMostOneBucketAPixelKeepingEveryExtreme) {
  // The last hour on 100 pixels: 36 s buckets from the full-rate rows.
  const std::vector<TrendBucket> trend = Trend(now - 3600000, now, 100);
  ASSERT_EQ(100u, trend.size());
  EXPECT_EQ(now - 3600000 + 18000, trend[0].t_ms);
  EXPECT_EQ(36, trend[0].samples);
  EXPECT_EQ(0, trend[0].min);
  EXPECT_EQ(35, trend[0].max);
  EXPECT_DOUBLE_EQ(17.5, trend[0].mean);
  double highest = 0;
  for (const TrendBucket& b : trend) highest = std::max(highest, b.max);
  EXPECT_EQ(99, highest) << "one sample's spike survives the decimation";
  const std::vector<TrendPoint> points = MinMaxPoints(trend);
  EXPECT_EQ(200u, points.size());
  EXPECT_EQ(0, points[0].value);
  EXPECT_EQ(35, points[1].value);
}

TEST_F(TrendTest, CoarseBucketsComeFromTheMinuteRowsFineOnesFromEveryReply) {
  // A day on 360 pixels (4 minute buckets): minute rows wherever they are, and the two
  // hours not rolled up yet from the replies.
  const std::vector<TrendBucket> day = Trend(now - 86400000, now, 360);
  ASSERT_FALSE(day.empty());
  EXPECT_EQ(5, day.front().mean) << "from the minute rows";
  EXPECT_EQ(now - 6 * 3600000 - 2 * 3600000 + 120000, day.front().t_ms);
  EXPECT_EQ(99, std::max_element(day.begin(), day.end(), [](const TrendBucket& a, const TrendBucket& b) {
                  return a.max < b.max;
                })->max);
  EXPECT_EQ(59, day.back().max) << "the latest minutes from the replies";
  EXPECT_EQ(90u + 30u, day.size()) << "6 h of minute rows and 2 h of replies, 4 min a bucket";

  // Three hours on 1000 pixels (10.8 s buckets): replies where they are kept, minute
  // rows before.
  const std::vector<TrendBucket> fine = Trend(now - 3 * 3600000, now, 1000);
  EXPECT_EQ(5, fine.front().mean);
  EXPECT_EQ(60, fine.front().samples) << "one minute row in a bucket";
  int from_replies = 0;
  for (const TrendBucket& b : fine) from_replies += b.t_ms >= start ? 1 : 0;
  EXPECT_EQ(667, from_replies);

  // Eight hours on 1000 pixels would be 28.8 s buckets: over four hours, a minute at the
  // least, from the minute rows (and the replies of the minutes not rolled up).
  const std::vector<TrendBucket> long_span = Trend(now - 8 * 3600000, now, 1000);
  EXPECT_EQ(480u, long_span.size());
  EXPECT_EQ(60, long_span.front().samples);
  EXPECT_EQ(60, long_span.back().samples) << "a minute of replies, one a second";
}

TEST(TimeText, IsoTimesInUtcToTheMillisecond) {
  struct Case {
    const char* text;
    int64_t ms;
  };
  const Case good[] = {
      {"2026-12-10T03:00:00Z", kThreeAm},
      {"2026-12-10T03:00:00", kThreeAm},
      {"2026-12-10 03:00", kThreeAm},
      {"2026-12-10", kThreeAm - 3 * 3600000},
      {"2026-12-10T03:00:00.25Z", kThreeAm + 250},
      {"2026-12-10T04:00:00+01:00", kThreeAm},
      {"2026-12-09T22:00:00-0500", kThreeAm},
      {"2028-02-29T00:00:00Z", 1835395200000},
      {"1970-01-01T00:00:00Z", 0},
  };
  for (const Case& c : good) {
    int64_t ms = -1;
    std::string why;
    EXPECT_TRUE(ParseUtcTime(c.text, &ms, &why)) << c.text << ": " << why;
    EXPECT_EQ(c.ms, ms) << c.text;
  }
  for (const char* bad : {"", "yesterday", "2026-13-01", "2027-02-29", "2026-12-10T24:00",
                          "2026-12-10T03:00:00Zulu", "2026-12-10T3:00", "2026-12-10T03:00:00."}) {
    int64_t ms;
    std::string why;
    EXPECT_FALSE(ParseUtcTime(bad, &ms, &why)) << bad;
    EXPECT_NE(std::string::npos, why.find("ISO 8601")) << why;
  }
  EXPECT_EQ("2026-12-10T03:00:00.250Z", FormatUtcMs(kThreeAm + 250));
  EXPECT_EQ("1969-12-31T23:59:59.999Z", FormatUtcMs(-1));
}

class JournalToolTest : public JournalQueryTest {
 protected:
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return RunJournalTool(args, out, err);
  }
  std::ostringstream out, err;
};

TEST_F(JournalToolTest, PrintsEventsAndReadingsAsCsvForTheRangeAndDevice) {
  // Whole numbers stand as they are written ("10", "100"), never as "1e+01".
  ReadingEntry r{kThreeAm + 224, 1, 10, 0.35, 5.41, 100, 60.2, std::nan("")};
  ReadingEntry other = r;
  other.amp = 0;
  Write({Event(kThreeAm - 1, "A", "fault raised", "Fault: Over Temperature"),
         Event(kThreeAm, "B", "command", "Sent \"@\" after \"Turn High Voltage ON?\"", "op"),
         Event(kThreeAm + 1, "A", "fault cleared", "Fault cleared: Over Temperature")},
        {r, other});
  EXPECT_EQ(0, Run({"--db", path, "events", "--since", "2026-12-10T03:00:00Z", "--until",
                    "2026-12-10T03:00:00.001Z"}));
  EXPECT_EQ("time,device,kind,text,user\n"
            "2026-12-10T03:00:00.000Z,B,command,\"Sent \"\"@\"\" after \"\"Turn High Voltage ON?\"\"\",op\n",
            out.str());
  EXPECT_EQ(0, Run({"events", "--db", path, "--device", "a"}));
  EXPECT_EQ("time,device,kind,text,user\n"
            "2026-12-10T02:59:59.999Z,A,fault raised,Fault: Over Temperature,\n"
            "2026-12-10T03:00:00.001Z,A,fault cleared,Fault cleared: Over Temperature,\n",
            out.str());
  EXPECT_EQ(0, Run({"--db", path, "readings", "--device", "B"}));
  EXPECT_EQ("time,amp,attenuation_db,helix_current_ma,helix_voltage_kv,temperature_c,forward_dbm,reverse_dbm\n"
            "2026-12-10T03:00:00.224Z,B,10,0.35,5.41,100,60.2,\n",
            out.str());
}

TEST_F(JournalToolTest, ABadCommandLineOrJournalSaysWhyWithItsExitStatus) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* says;
  };
  const Case cases[] = {
      {{}, 2, "say events, readings or minutes"},
      {{"events", "--since", "last tuesday"}, 2, "--since: \"last tuesday\" is not a time"},
      {{"events", "--since", "2026-12-10", "--until", "2026-12-09"}, 2, "--since must come before --until"},
      {{"readings", "--device", "controller"}, 2, "readings are of amplifiers A, B and C"},
      {{"events", "--device", "D"}, 2, "no device D"},
      {{"events", "--until"}, 2, "--until needs a value"},
      {{"events", "--verbose"}, 2, "unknown option --verbose"},
      {{"events", "readings"}, 2, "not also readings"},
      {{"--db", "/nonexistent/journal.sqlite", "events"}, 1, "no journal at /nonexistent/journal.sqlite"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    if (std::find(args.begin(), args.end(), "--db") == args.end()) {
      args.insert(args.begin(), path);
      args.insert(args.begin(), "--db");
    }
    EXPECT_EQ(c.status, Run(args)) << c.says;
    EXPECT_NE(std::string::npos, err.str().find(c.says)) << err.str();
    EXPECT_EQ("", out.str());
  }
}

// The program itself, in a folder with a journal: journal.sqlite there by default.
TEST_F(JournalToolTest, TheProgramReadsJournalSqliteInTheCurrentFolder) {
  Write({Event(kThreeAm, "station", "station started", "Station started, version 2.0", "op")});
  const std::string command = "cd '" + dir.path() + "' && " ONEFORTWO_JOURNAL_TOOL " events";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(nullptr, pipe);
  std::string text;
  char buffer[256];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
  EXPECT_EQ(0, ::pclose(pipe));
  EXPECT_EQ("time,device,kind,text,user\n"
            "2026-12-10T03:00:00.000Z,station,station started,\"Station started, version 2.0\",op\n",
            text);
}

}  // namespace
}  // namespace onefortwo
