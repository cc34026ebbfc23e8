#include <gtest/gtest.h>

#include <stdlib.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <cmath>

#include "round/number_text.h"
#include "support/temp_dir.h"

namespace onefortwo {
namespace {

TEST(ParseLeadingNumber, TakesTheLeadingNumberOrZero) {
  const struct {
    const char* text;
    double value;
    bool found;
  } cases[] = {
      {"57.3", 57.3, true}, {" 5.0", 5.0, true},  {"-3.2", -3.2, true}, {"+12", 12.0, true},
      {"12ab", 12.0, true}, {"abc", 0.0, false},  {"", 0.0, false},     {"-", 0.0, false},
      {".5", 0.5, true},    {"1e3", 1000.0, true}, {"1e-999", 0.0, true},
      // One sign at most, as strtod reads: two signs are no number.
      {"--500", 0.0, false}, {"+-500", 0.0, false}, {"-+5", 0.0, false}, {"++5", 0.0, false},
      {" - 5", 0.0, false},
  };
  for (const auto& c : cases) {
    bool found = !c.found;
    EXPECT_DOUBLE_EQ(c.value, ParseLeadingNumber(c.text, &found)) << c.text;
    EXPECT_EQ(c.found, found) << c.text;
  }
  EXPECT_EQ(HUGE_VAL, ParseLeadingNumber("1e999"));
  EXPECT_EQ(-HUGE_VAL, ParseLeadingNumber("-1e999"));
  EXPECT_TRUE(std::isnan(ParseLeadingNumber("nan")));
  EXPECT_DOUBLE_EQ(0.0, ParseLeadingNumber(nullptr));
}

TEST(FormatFixed, PrintsLikePrintfFourPointOne) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {5.0, " 5.0"}, {27.3, "27.3"}, {-3.3, "-3.3"}, {-30.0, "-30.0"}, {1000.0, "1000.0"},
      {0.0, " 0.0"},
  };
  char out[16];
  for (const auto& c : cases) {
    ASSERT_GT(FormatFixed(out, sizeof out, c.value, 4, 1), 0);
    EXPECT_STREQ(c.text, out);
  }
}

TEST(FormatFixed, RefusesWhatDoesNotFit) {
  char out[10] = "x";
  EXPECT_EQ(-1, FormatFixed(out, sizeof out, 1e12, 4, 1));
  EXPECT_STREQ("", out);
  EXPECT_EQ(9, FormatFixed(out, sizeof out, 1234567.0, 4, 1));
  EXPECT_STREQ("1234567.0", out);
}

// A locale whose decimal point is a comma: an installed one, or one built for the test
// with localedef into a folder of its own. Null where neither can be had.
const char* CommaLocale(const TempDir& folder) {
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8"}) {
    if (const char* chosen = std::setlocale(LC_NUMERIC, name)) return chosen;
  }
  const std::string build =
      "localedef -i de_DE -f UTF-8 '" + folder.path() + "de_DE.UTF-8' >/dev/null 2>&1";
  if (std::system(build.c_str()) != 0) return nullptr;
  ::setenv("LOCPATH", folder.path().c_str(), 1);
  return std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
}

// A desktop in a language with a decimal comma must not change what goes on the line.
TEST(NumberText, IgnoresTheProcessLocale) {
  TempDir folder;
  if (CommaLocale(folder) == nullptr) GTEST_SKIP() << "no locale with a decimal comma can be had";
  char printed[16];
  std::snprintf(printed, sizeof printed, "%4.1f", 27.3);
  char out[16];
  FormatFixed(out, sizeof out, 27.3, 4, 1);
  const double parsed = ParseLeadingNumber("57.3");
  std::setlocale(LC_NUMERIC, "C");
  ASSERT_STREQ("27,3", printed) << "the locale in force does use a comma";
  EXPECT_STREQ("27.3", out);
  EXPECT_DOUBLE_EQ(57.3, parsed);
}

}  // namespace
}  // namespace onefortwo
