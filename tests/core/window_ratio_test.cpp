#include "shell/window_ratio.h"

#include <gtest/gtest.h>

namespace onefortwo {
namespace {

// A window at (100, 50) whose frame (borders, caption, menu) adds 16 x 59 pixels.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 59;

Rect WindowAround(int client_width, int client_height) {
  return Rect{100, 50, 100 + client_width + kFrameWidth, 50 + client_height + kFrameHeight};
}

struct AspectCase {
  const char* name;
  SizeKind kind;
  int client_width, client_height;
  bool corrected;
  int new_client_width, new_client_height;  // when corrected
};

const AspectCase kCases[] = {
    // 500 x 260 / 190 = 684.2: the frame keeps its 16 pixels and the sum is truncated.
    {"ratio 2.0 loses width", SizeKind::restored, 1000, 500, true, 684, 500},
    {"ratio 1.46 loses width", SizeKind::restored, 730, 500, true, 684, 500},
    // 670 x 190 / 260 = 489.6
    {"ratio 1.34 loses height", SizeKind::restored, 670, 500, true, 670, 489},
    {"ratio 1.40 is accepted", SizeKind::restored, 700, 500, false, 0, 0},
    {"ratio 1.44 is accepted", SizeKind::restored, 720, 500, false, 0, 0},
    {"exactly 26:19 is accepted", SizeKind::restored, 520, 380, false, 0, 0},
    // The accepted band is what rounds to 1.4 at one decimal, halves away from zero.
    {"ratio 1.350 is accepted", SizeKind::restored, 1350, 1000, false, 0, 0},
    {"ratio 1.349 loses height", SizeKind::restored, 1349, 1000, true, 1349, 985},
    {"ratio 1.449 is accepted", SizeKind::restored, 1449, 1000, false, 0, 0},
    {"ratio 1.450 loses width", SizeKind::restored, 1450, 1000, true, 1368, 1000},
    {"maximised is left alone", SizeKind::maximised, 1000, 500, false, 0, 0},
    {"minimised is left alone", SizeKind::minimised, 1000, 500, false, 0, 0},
    {"minimised to nothing is left alone", SizeKind::minimised, 0, 0, false, 0, 0},
    {"client height 0 has no ratio", SizeKind::restored, 1000, 0, false, 0, 0},
    {"empty client has no ratio", SizeKind::restored, 0, 0, false, 0, 0},
    // A client with no width is as tall as can be: its height goes to 0.
    {"client width 0 loses all height", SizeKind::restored, 0, 500, true, 0, 0},
};

TEST(AspectRule, CorrectsTheClientToTheSheetRatioOrLeavesItAlone) {
  for (const AspectCase& c : kCases) {
    const std::optional<WindowSize> size = AspectCorrection(
        c.kind, c.client_width, c.client_height, WindowAround(c.client_width, c.client_height));
    ASSERT_EQ(c.corrected, size.has_value()) << c.name;
    if (!size) continue;
    EXPECT_EQ(c.new_client_width + kFrameWidth, size->width) << c.name;
    EXPECT_EQ(c.new_client_height + kFrameHeight, size->height) << c.name;
  }
}

TEST(AspectRule, SecondPassAcceptsWhatTheFirstMade) {
  for (const AspectCase& c : kCases) {
    if (!c.corrected || c.new_client_height == 0) continue;
    EXPECT_FALSE(AspectCorrection(SizeKind::restored, c.new_client_width, c.new_client_height,
                                  WindowAround(c.new_client_width, c.new_client_height)))
        << c.name;
  }
}

}  // namespace
}  // namespace onefortwo
