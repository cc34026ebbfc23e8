#include "paint/diagram_layout.h"

#include <gtest/gtest.h>

#include "paint/path_colors.h"

namespace onefortwo {
namespace {

TEST(DiagramLayoutTest, WorkedSizes) {
  const struct {
    const char* name;
    int width, height;
    int scale;
    float scale_factor;
    int x0, y0, sx1, sx2, sy1, sy3, hx, hya, hyb, hyc;
  } cases[] = {
      // Exactly 26:19: the width branch.
      {"520x380", 520, 380, 64, 2.0f, -80, -16, 120, 392, 112, 272, 264, 48, 208, 336},
      // Wider than 26:19: the height limits; the whole sheet fits in 500 pixels.
      {"800x500", 800, 500, 84, 2.625f, -105, -21, 157, 514, 147, 357, 346, 63, 273, 441},
      // Exactly 26:19 at the sheet's own size.
      {"260x190", 260, 190, 32, 1.0f, -40, -8, 60, 196, 56, 136, 132, 24, 104, 168},
      // Taller than 26:19: the width limits.
      {"520x1000", 520, 1000, 64, 2.0f, -80, -16, 120, 392, 112, 272, 264, 48, 208, 336},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int scale = -1;
    const DiagramLayout l = ComputeLayout(c.width, c.height, &scale);
    EXPECT_EQ(c.scale, scale);
    EXPECT_EQ(c.scale_factor, l.scale_factor);
    EXPECT_EQ(c.x0, l.x0);
    EXPECT_EQ(c.y0, l.y0);
    EXPECT_EQ(c.sx1, l.sx1);
    EXPECT_EQ(c.sx1, l.sx3);
    EXPECT_EQ(c.sx2, l.sx2);
    EXPECT_EQ(c.sx2, l.sx4);
    EXPECT_EQ(c.sy1, l.sy1);
    EXPECT_EQ(c.sy1, l.sy2);
    EXPECT_EQ(c.sy3, l.sy3);
    EXPECT_EQ(c.sy3, l.sy4);
    EXPECT_EQ(c.hx, l.hxa);
    EXPECT_EQ(c.hx, l.hxb);
    EXPECT_EQ(c.hx, l.hxc);
    EXPECT_EQ(c.hya, l.hya);
    EXPECT_EQ(c.hyb, l.hyb);
    EXPECT_EQ(c.hyc, l.hyc);
  }
}

TEST(DiagramLayoutTest, TheShorterSideLimits) {
  // Off the 26:19 ratio the two branches give different scales; the smaller one wins.
  const struct {
    const char* name;
    int width, height, scale;
  } cases[] = {
      {"exactly 26:19", 1300, 950, 160},
      {"wider: the height limits", 1309, 950, 160},  // by width it would be 161
      {"taller: the width limits", 1300, 959, 160},  // by height it would be 161
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int scale = 0;
    ComputeLayout(c.width, c.height, &scale);
    EXPECT_EQ(c.scale, scale);
  }
}

TEST(DiagramLayoutTest, TooSmallToDrawIn) {
  const struct {
    const char* name;
    int width, height;
  } cases[] = {
      {"height 0", 300, 0},  // counts as 1: the height limits, scale 0
      {"both 0", 0, 0},
      {"7x5", 7, 5},
      {"negative", -20, -5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int scale = -1;
    const DiagramLayout l = ComputeLayout(c.width, c.height, &scale);
    EXPECT_EQ(0, scale);
    EXPECT_EQ(0.0f, l.scale_factor);
    EXPECT_EQ(0, l.sx1);
    EXPECT_EQ(0, l.sy4);
    EXPECT_EQ(0, l.hyc);
  }
}

TEST(PathColorsTest, EachRowOfTheTable) {
  const PaintObjects o;
  const PenPair green = {&o.green_hi_pen, &o.green_shade_pen};
  const PenPair yellow = {&o.yellow_hi_pen, &o.yellow_shade_pen};
  const PenPair gray = {&o.bgray_pen, &o.gray_pen};
  const struct {
    int waveguide1, waveguide2;
    PenPair a, b, c, cross;
  } rows[] = {
      {'A', 'A', green, yellow, gray, gray},
      {'A', 'B', green, gray, yellow, gray},
      {'B', 'A', gray, yellow, green, green},
      {'B', 'B', gray, green, yellow, green},
      // Positions other than A and B take the last row.
      {'A', 'C', gray, green, yellow, green},
      {0, 'A', gray, green, yellow, green},
      {'a', 'a', gray, green, yellow, green},
      {-1, 1000, gray, green, yellow, green},
  };
  const auto same = [](const PenPair& x, const PenPair& y) {
    return *x.hi == *y.hi && *x.shade == *y.shade;
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.waveguide1 << " " << row.waveguide2);
    const PathColors p = ChoosePathColors(row.waveguide1, row.waveguide2, o);
    EXPECT_TRUE(same(row.a, p.p1));
    EXPECT_TRUE(same(row.b, p.p2));
    EXPECT_TRUE(same(row.c, p.p3));
    EXPECT_TRUE(same(row.cross, p.p4));
  }
}

}  // namespace
}  // namespace onefortwo
