#include "paint/diagram_primitives.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "support/fake_windows.h"
#include "support/recording_canvas.h"

namespace onefortwo {
namespace {

using Log = std::vector<std::string>;

// The primitives at scale 64 (2 pixels per layout unit) on a recorder.
class DiagramPrimitivesTest : public ::testing::Test {
 protected:
  DiagramPrimitivesTest() {
    for (int amp = 0; amp < kAmpCount; ++amp) amps.InitAmpInfo(amp);
  }

  FakeWindows windows;
  AmpModel amps{windows};
  ControllerState controller{windows};
  RecordingCanvas canvas;
  const PaintObjects o;
  DiagramPrimitives draw{canvas, o, 2.0f, amps.amp_info, controller};
};

TEST_F(DiagramPrimitivesTest, WaveGuidePipeDrawsFiveLinesAcrossTheRun) {
  const Log horizontal = {
      "line 10,18 50,18 black_pen",       "line 10,19 50,19 green_hi_pen",
      "line 10,20 50,20 green_shade_pen", "line 11,22 50,22 black_pen2",
      "line 12,24 50,24 outline_pen2",
  };
  const Log vertical = {
      "line 8,20 8,60 black_pen",         "line 9,20 9,60 green_hi_pen",
      "line 10,20 10,60 green_shade_pen", "line 12,21 12,61 black_pen2",
      "line 14,22 14,62 outline_pen2",
  };
  const struct {
    const char* name;
    int x1, y1, x2, y2;
    const Log& expected;
  } cases[] = {
      {"left to right", 10, 20, 50, 20, horizontal},
      {"right to left", 50, 20, 10, 20, horizontal},
      {"top to bottom", 10, 20, 10, 60, vertical},
      {"bottom to top", 10, 60, 10, 20, vertical},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    draw.WaveGuidePipe(c.x1, c.y1, c.x2, c.y2, o.green_hi_pen, &o.green_shade_pen);
    EXPECT_EQ(c.expected, canvas.Take());
  }
}

TEST_F(DiagramPrimitivesTest, WaveGuidePipeWithoutShadeUsesTheDefaultShade) {
  draw.WaveGuidePipe(10, 20, 50, 20, o.yellow_hi_pen, nullptr);
  const Log log = canvas.Take();
  ASSERT_EQ(5u, log.size());
  EXPECT_EQ("line 10,19 50,19 yellow_hi_pen", log[1]);
  EXPECT_EQ("line 10,20 50,20 bgray_pen", log[2]);
}

TEST_F(DiagramPrimitivesTest, WaveGuidePipeClassifiesSlantedRuns) {
  // The lower chevron stroke at scale 64: given right to left and downwards, it is taller
  // than wide once ordered, so it is drawn as a vertical run, shifted 2 pixels left.
  draw.WaveGuidePipe(53, 114, 32, 128, o.green_hi_pen, &o.green_shade_pen);
  EXPECT_EQ(Log({"line 51,114 30,128 black_pen", "line 52,114 31,128 green_hi_pen",
                 "line 53,114 32,128 green_shade_pen", "line 55,115 34,129 black_pen2",
                 "line 57,116 36,130 outline_pen2"}),
            canvas.Take());
  // The upper stroke, left to right and downwards: wider than tall, a horizontal run.
  draw.WaveGuidePipe(32, 96, 56, 112, o.green_hi_pen, &o.green_shade_pen);
  EXPECT_EQ(Log({"line 32,94 56,110 black_pen", "line 32,95 56,111 green_hi_pen",
                 "line 32,96 56,112 green_shade_pen", "line 33,98 56,114 black_pen2",
                 "line 34,100 56,116 outline_pen2"}),
            canvas.Take());
}

TEST_F(DiagramPrimitivesTest, WaveGuideCornerKinds) {
  const struct {
    const char* name;
    int option;
    Log expected;
  } cases[] = {
      {"0: right and down",
       0,
       {"line 105,98 98,98 black_pen", "line 98,98 98,105 black_pen", "line 105,99 99,99 bgray_pen",
        "line 99,99 99,105 bgray_pen", "line 105,100 100,100 gray_pen",
        "line 100,100 100,105 gray_pen", "line 105,102 102,102 black_pen2",
        "line 102,102 102,105 black_pen2", "line 105,104 104,104 outline_pen2",
        "line 104,104 104,105 outline_pen2"}},
      {"1: left and down",
       1,
       {"line 96,98 102,98 black_pen", "line 96,99 101,99 bgray_pen",
        "line 96,100 100,100 gray_pen", "line 96,102 98,102 black_pen2",
        "line 96,104 96,104 outline_pen2", "line 98,101 98,105 black_pen",
        "line 99,100 99,105 bgray_pen", "line 100,99 100,105 gray_pen",
        "line 102,100 102,105 black_pen2", "line 104,100 104,105 outline_pen2"}},
      {"2: up and right",
       2,
       {"line 98,96 98,103 black_pen", "line 99,96 99,102 bgray_pen",
        "line 100,96 100,101 gray_pen", "line 102,96 102,99 black_pen2",
        "line 104,96 104,97 outline_pen2", "line 104,98 100,98 black_pen",
        "line 104,99 99,99 bgray_pen", "line 104,100 98,100 gray_pen",
        "line 104,102 99,102 black_pen2", "line 104,104 99,104 outline_pen2"}},
      {"3: left and up",
       3,
       {"line 97,98 98,98 black_pen", "line 98,98 98,97 black_pen", "line 97,99 99,99 bgray_pen",
        "line 99,99 99,97 bgray_pen", "line 97,100 100,100 gray_pen",
        "line 100,100 100,97 gray_pen", "line 97,102 102,102 black_pen2",
        "line 102,102 102,97 black_pen2", "line 97,104 104,104 outline_pen2",
        "line 104,104 104,97 outline_pen2"}},
      {"-1: nothing", -1, {}},
      {"4: nothing", 4, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    draw.WaveGuideCorner(100, 100, c.option, o.bgray_pen, &o.gray_pen);
    EXPECT_EQ(c.expected, canvas.Take());
  }
}

TEST_F(DiagramPrimitivesTest, DrawOutputIsThreeLeftHalfCircles) {
  draw.DrawOutput(392, 112, 64, o.green_hi_pen);
  EXPECT_EQ(Log({"arc 459,99,491,131 from 475,99 to 475,131 outline_pen2",
                 "arc 457,97,489,129 from 473,97 to 473,129 black_pen2",
                 "arc 455,95,487,127 from 471,95 to 471,127 green_hi_pen"}),
            canvas.Take());
}

TEST_F(DiagramPrimitivesTest, DrawLoadAtScale64) {
  // s = 5; joined on the left, so the zigzag hangs from X = x - 4.
  draw.DrawLoad(192, 112, 1, 64);
  const Log log = canvas.Take();
  ASSERT_EQ(8u + 36u, log.size());  // 4 pairs of leads, 6 strokes drawn 6 times each
  EXPECT_EQ(Log({"line 189,94 189,99 black_pen", "line 189,129 189,124 black_pen",
                 "line 190,94 190,99 white_pen", "line 190,129 190,124 white_pen",
                 "line 191,94 191,99 black_pen", "line 191,129 191,124 black_pen",
                 "line 192,95 192,100 outline_pen", "line 192,130 192,125 outline_pen",
                 "line 188,99 183,102 black_pen", "line 189,99 184,102 white_pen"}),
            Log(log.begin(), log.begin() + 10));
  // The last stroke's last pass: outline_pen, a = 4, b = 2, from y + 2s + b + 1 down to
  // trunc(y + 2.5s + b + 1).
  EXPECT_EQ("line 183,125 188,127 outline_pen", log.back());
}

TEST_F(DiagramPrimitivesTest, DrawLoadJoinedOnTheRightIsTheMirrorImage) {
  draw.DrawLoad(200, 112, 1, 64);
  const Log left = canvas.Take();
  draw.DrawLoad(200, 112, 0, 64);
  const Log right = canvas.Take();
  ASSERT_EQ(left.size(), right.size());
  for (size_t i = 0; i < left.size(); ++i) {
    int x1, y1, x2, y2, mx1, my1, mx2, my2;
    char pen[40], mpen[40];
    ASSERT_EQ(5, std::sscanf(left[i].c_str(), "line %d,%d %d,%d %39s", &x1, &y1, &x2, &y2, pen));
    ASSERT_EQ(5,
              std::sscanf(right[i].c_str(), "line %d,%d %d,%d %39s", &mx1, &my1, &mx2, &my2, mpen));
    EXPECT_EQ(400 - x1, mx1) << i;
    EXPECT_EQ(400 - x2, mx2) << i;
    EXPECT_EQ(y1, my1) << i;
    EXPECT_EQ(y2, my2) << i;
    EXPECT_STREQ(pen, mpen) << i;
  }
}

TEST_F(DiagramPrimitivesTest, DrawLoadBelowScale12DrawsNothingVisible) {
  for (int scale : {0, 1, 11, -5}) {
    SCOPED_TRACE(scale);
    draw.DrawLoad(100, 100, scale % 2, scale);
    const Log log = canvas.Take();
    EXPECT_EQ(44u, log.size());
    for (const std::string& line : log) {
      int x1, y1, x2, y2;
      ASSERT_EQ(4, std::sscanf(line.c_str(), "line %d,%d %d,%d", &x1, &y1, &x2, &y2));
      EXPECT_TRUE(x1 == x2 && y1 == y2) << line;
    }
  }
}

TEST_F(DiagramPrimitivesTest, DrawAmpByState) {
  const struct {
    const char* name;
    int status;
    const char* brush;
    const char* hi;
    const char* shade;
    const char* label;
  } cases[] = {
      {"no contact", amp_no_contact, "gray_brush", "white_pen", "gray_pen", "?"},
      {"power off", amp_ac_off, "gray_brush", "white_pen", "gray_pen", "?"},
      {"fault", amp_fault, "red_brush", "red_hi_pen", "red_shade_pen", "Flt"},
      {"alarm", amp_alarm, "yellow_brush", "yellow_hi_pen", "yellow_shade_pen", "Alrm"},
      {"time delay", amp_ftd, "magenta_brush", "magenta_hi_pen", "magenta_shade_pen", "FTD"},
      {"standby", amp_standby, "blue_brush", "blue_hi_pen", "blue_shade_pen", "Stby"},
      {"auto HV", amp_auto_hv, "magenta_brush", "magenta_hi_pen", "magenta_shade_pen", "Auto"},
      {"HV on", amp_hv_on, "green_brush", "green_hi_pen", "green_shade_pen", "1000"},
      {"status 8", 8, "gray_brush", "white_pen", "gray_pen", "?"},
      {"status -1", -1, "gray_brush", "white_pen", "gray_pen", "?"},
      {"status 1000", 1000, "gray_brush", "white_pen", "gray_pen", "?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    amps.amp_info[1].status = static_cast<amp_enum>(c.status);
    std::strcpy(amps.amp_info[1].power_out, "1000");
    draw.DrawAmp(1, 264, 48, 64);
    const std::string hi(c.hi), shade(c.shade);
    // h = 32, apex row yc = 47: P0 (232, 15), P1 (296, 47), P2 (232, 79).
    const Log expected = {
        std::string("polygon 232,15 296,47 232,79 black_pen ") + c.brush,
        "line 233,78 233,16 " + shade,
        "line 233,16 295,47 " + shade,
        "line 295,47 294,47 " + shade,
        "line 294,47 233,78 " + shade,
        "line 233,78 233,77 " + shade,
        "line 233,77 291,48 " + shade,
        "line 234,75 234,17 " + hi,
        "line 234,17 292,46 " + hi,
        "line 296,51 235,82 outline_pen2",
        "line 296,49 235,80 black_pen2",
        // Three layout units right of the back edge, centred on the apex (height 14).
        std::string("text 238,40 \"") + c.label + "\" 0x00000000 transparent",
    };
    EXPECT_EQ(expected, canvas.Take());
  }
}

TEST_F(DiagramPrimitivesTest, DrawAmpShowsTheForwardPowerAsHeld) {
  amps.amp_info[0].status = amp_hv_on;
  // A reading that fills the whole field, without its terminating NUL.
  std::memcpy(amps.amp_info[0].power_out, "1234567890", kReadingSize);
  draw.DrawAmp(0, 264, 48, 64);
  EXPECT_EQ("text 238,40 \"1234567890\" 0x00000000 transparent", canvas.Take().back());
}

TEST_F(DiagramPrimitivesTest, DrawAmpIgnoresAnAmplifierNumberOutOfRange) {
  for (int amp : {-1, 3}) {
    draw.DrawAmp(amp, 264, 48, 64);
    EXPECT_TRUE(canvas.Take().empty()) << amp;
  }
}

TEST_F(DiagramPrimitivesTest, DrawSwitchAtScale64) {
  // r = 32, sb = 29, hub radius scale/8 = 8; disc centre (120, 112).
  const Log body = {
      "ellipse 91,83,155,147 outline_pen2 black_brush",
      "ellipse 88,80,152,144 black_pen2 fill_brush",
      "ellipse 91,83,148,140 bright_pen gray_brush",
      "ellipse 112,104,128,120 dgray_pen basic_brush",
  };
  const Log straight = {
      "arc 57,49,121,113 from 92,113 to 121,84 gray_pen2",
      "arc 119,111,183,175 from 148,111 to 119,140 gray_pen2",
      "arc 57,49,121,113 from 92,113 to 121,84 black_pen",
      "arc 119,111,183,175 from 148,111 to 119,140 black_pen",
      "arc 58,50,122,114 from 93,114 to 122,85 white_pen",
      "arc 120,112,184,176 from 149,112 to 120,141 white_pen",
  };
  const Log crossed = {
      "arc 119,49,183,113 from 119,84 to 148,113 gray_pen2",
      "arc 118,49,182,113 from 118,84 to 147,113 black_pen",
      "arc 117,50,181,114 from 117,85 to 146,114 white_pen",
      "arc 57,111,121,175 from 121,140 to 92,111 white_pen",
      "arc 58,110,122,174 from 122,139 to 93,110 gray_pen2",
      "arc 57,110,121,174 from 121,139 to 92,110 black_pen",
  };
  const struct {
    int which, waveguide1, waveguide2;
    bool forward;
  } cases[] = {
      {1, 'A', 'A', true},  {1, 'B', 'A', false}, {2, 'B', 'A', true}, {2, 'A', 'B', false},
      {3, 'B', 'A', true},  {3, 'A', 'B', false}, {4, 'A', 'B', true}, {4, 'B', 'A', false},
      {0, 'A', 'A', false}, {5, 'B', 'B', false}, {1, 0, 'A', false},  {2, 'C', 'B', false},
      {3, 'A', 'a', false}, {4, 'B', 67, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "disc " << c.which << " " << c.waveguide1 << " " << c.waveguide2);
    controller.waveguide1 = c.waveguide1;
    controller.waveguide2 = c.waveguide2;
    draw.DrawSwitch(c.which, 120, 112, 64);
    Log expected = body;
    const Log& channels = c.forward ? straight : crossed;
    expected.insert(expected.end(), channels.begin(), channels.end());
    EXPECT_EQ(expected, canvas.Take());
  }
}

}  // namespace
}  // namespace onefortwo
