#include "paint/paint_main_window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "paint/diagram_primitives.h"
#include "support/fake_windows.h"
#include "support/recording_canvas.h"

namespace onefortwo {
namespace {

using Log = std::vector<std::string>;

class PaintMainWindowTest : public ::testing::Test {
 protected:
  PaintMainWindowTest() {
    for (int amp = 0; amp < kAmpCount; ++amp) amps.InitAmpInfo(amp);
  }

  // Paints a client area of `width` x `height`, all of it to be repainted.
  Log Paint(int width, int height) {
    const Rect client{0, 0, width, height};
    PaintMainWindow(canvas, client, client, amps.amp_info, controller, layout);
    return canvas.Take();
  }

  FakeWindows windows;
  AmpModel amps{windows};
  ControllerState controller{windows};
  DiagramLayout layout;
  RecordingCanvas canvas;
};

// The whole picture at 520 x 380 (scale 64, 2 pixels per layout unit), written out call by
// call with the positions worked out by hand: discs at x 120 and 392, y 112 and 272;
// amplifiers at x 264, y 48, 208 and 336.
TEST_F(PaintMainWindowTest, PaintsTheWholeDiagramInItsOrder) {
  amps.amp_info[0].status = amp_hv_on;
  std::strcpy(amps.amp_info[0].power_out, "1000");
  amps.amp_info[1].status = amp_standby;
  controller.waveguide1 = 'A';
  controller.waveguide2 = 'B';

  RecordingCanvas want;
  const PaintObjects o;
  DiagramPrimitives draw(want, o, 2.0f, amps.amp_info, controller);
  const Pen& gh = o.green_hi_pen;
  const Pen* gs = &o.green_shade_pen;
  const Pen& yh = o.yellow_hi_pen;
  const Pen* ys = &o.yellow_shade_pen;
  const Pen& ih = o.bgray_pen;  // idle
  const Pen* is = &o.gray_pen;
  // Switch 1 in A, switch 2 in B: path A green, path C yellow, path B and crossovers idle.
  draw.WaveGuidePipe(56, 112, 88, 112, gh, gs);    // input 1 stub
  draw.WaveGuidePipe(424, 112, 456, 112, gh, gs);  // output 1 stub
  draw.WaveGuidePipe(56, 272, 88, 272, yh, ys);    // input 2 stub
  draw.WaveGuidePipe(424, 272, 456, 272, yh, ys);  // output 2 stub
  draw.WaveGuidePipe(152, 112, 185, 112, ih, is);  // disc 1 to its load
  draw.WaveGuidePipe(327, 112, 360, 112, ih, is);  // second load to disc 2
  draw.WaveGuidePipe(120, 144, 120, 176, ih, is);  // left crossover
  draw.WaveGuidePipe(120, 176, 184, 176, ih, is);
  draw.WaveGuidePipe(184, 176, 184, 272, ih, is);
  draw.WaveGuidePipe(152, 272, 185, 272, ih, is);
  draw.WaveGuideCorner(120, 176, 2, ih, is);
  draw.WaveGuideCorner(184, 176, 1, ih, is);
  draw.WaveGuideCorner(184, 272, 3, ih, is);
  draw.WaveGuidePipe(392, 144, 392, 176, ih, is);  // right crossover
  draw.WaveGuidePipe(392, 176, 328, 176, ih, is);
  draw.WaveGuidePipe(328, 176, 328, 272, ih, is);
  draw.WaveGuidePipe(327, 272, 360, 272, ih, is);
  draw.WaveGuideCorner(392, 176, 3, ih, is);
  draw.WaveGuideCorner(328, 176, 0, ih, is);
  draw.WaveGuideCorner(328, 272, 2, ih, is);
  draw.WaveGuidePipe(120, 80, 120, 48, gh, gs);  // path A
  draw.WaveGuidePipe(120, 48, 392, 48, gh, gs);
  draw.WaveGuidePipe(392, 48, 392, 80, gh, gs);
  draw.WaveGuideCorner(120, 48, 0, gh, gs);
  draw.WaveGuideCorner(392, 48, 1, gh, gs);
  draw.WaveGuidePipe(120, 240, 120, 208, ih, is);  // path B
  draw.WaveGuidePipe(120, 208, 392, 208, ih, is);
  draw.WaveGuidePipe(392, 208, 392, 240, ih, is);
  draw.WaveGuideCorner(120, 208, 0, ih, is);
  draw.WaveGuideCorner(392, 208, 1, ih, is);
  draw.WaveGuidePipe(120, 304, 120, 336, yh, ys);  // path C
  draw.WaveGuidePipe(120, 336, 392, 336, yh, ys);
  draw.WaveGuidePipe(392, 336, 392, 304, yh, ys);
  draw.WaveGuideCorner(120, 336, 2, yh, ys);
  draw.WaveGuideCorner(392, 336, 3, yh, ys);
  draw.WaveGuidePipe(32, 96, 56, 112, gh, gs);  // input chevrons
  draw.WaveGuidePipe(53, 114, 32, 128, gh, gs);
  draw.WaveGuidePipe(32, 256, 56, 272, yh, ys);
  draw.WaveGuidePipe(53, 274, 32, 288, yh, ys);
  draw.DrawOutput(392, 112, 64, gh);
  draw.DrawOutput(392, 272, 64, yh);
  // Port labels: half the text height is 7.
  want.SetBkMode(BkMode::transparent);
  want.SetTextColor(0x000000);
  want.TextOutA(25, 106, "1", 1);
  want.TextOutA(25, 266, "2", 1);
  want.TextOutA(473, 106, "1", 1);
  want.TextOutA(473, 266, "2", 1);
  want.SetTextColor(0xFFFFFF);
  want.TextOutA(24, 105, "1", 1);
  want.TextOutA(24, 265, "2", 1);
  want.TextOutA(472, 105, "1", 1);
  want.TextOutA(472, 265, "2", 1);
  draw.DrawAmp(0, 264, 48, 64);
  draw.DrawAmp(1, 264, 208, 64);
  draw.DrawAmp(2, 264, 336, 64);
  draw.DrawSwitch(1, 120, 112, 64);
  draw.DrawSwitch(2, 392, 112, 64);
  draw.DrawSwitch(3, 120, 272, 64);
  draw.DrawSwitch(4, 392, 272, 64);
  draw.DrawLoad(192, 112, 1, 64);
  draw.DrawLoad(320, 112, 0, 64);
  want.SetBkMode(BkMode::transparent);
  want.SetTextColor(0x000000);
  want.TextOutA(3, 1, "Manual", 6);
  want.SetTextColor(0xFFFFFF);
  want.TextOutA(2, 0, "Manual", 6);
  want.SetTextColor(0x000000);
  want.TextOutA(3, 13, "Local", 5);
  want.SetTextColor(0xFFFFFF);
  want.TextOutA(2, 12, "Local", 5);

  const Log expected = want.Take();
  const Log painted = Paint(520, 380);
  ASSERT_EQ(expected.size(), painted.size());
  for (size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(expected[i], painted[i]) << i;

  // The layout of this paint stays for hit-testing; the pen and brush the canvas held
  // before the paint are selected again.
  EXPECT_EQ(2.0f, layout.scale_factor);
  EXPECT_EQ(392, layout.sx4);
  EXPECT_EQ(336, layout.hyc);
  EXPECT_EQ((Pen{0, 1}), canvas.pen);
  EXPECT_EQ((Brush{0xFFFFFF}), canvas.brush);
}

TEST_F(PaintMainWindowTest, ModeText) {
  const struct {
    int manual, local;
    const char* first;
    const char* second;
  } cases[] = {
      {1, 1, "Manual", "Local"},    {0, 0, "Automatic", "Remote"}, {1, 0, "Manual", "Remote"},
      {0, 1, "Automatic", "Local"}, {7, -1, "Manual", "Local"},  // any non-zero flag
  };
  for (const auto& c : cases) {
    controller.controller_manual = c.manual;
    controller.controller_local = c.local;
    const Log log = Paint(520, 380);
    ASSERT_GE(log.size(), 4u);
    const std::string first(c.first), second(c.second);
    EXPECT_EQ(Log({"text 3,1 \"" + first + "\" 0x00000000 transparent",
                   "text 2,0 \"" + first + "\" 0x00FFFFFF transparent",
                   "text 3,13 \"" + second + "\" 0x00000000 transparent",
                   "text 2,12 \"" + second + "\" 0x00FFFFFF transparent"}),
              Log(log.end() - 4, log.end()));
  }
}

TEST_F(PaintMainWindowTest, NothingToRepaintDrawsNothingAndKeepsTheLayout) {
  Paint(520, 380);
  const Rect client{0, 0, 800, 500};
  for (const Rect& update : {Rect{0, 0, 0, 0}, Rect{10, 10, 10, 50}, Rect{10, 10, 50, 5}}) {
    PaintMainWindow(canvas, client, update, amps.amp_info, controller, layout);
    EXPECT_TRUE(canvas.Take().empty());
    EXPECT_EQ(2.0f, layout.scale_factor);
    EXPECT_EQ(120, layout.sx1);
  }
  // A part of the window to repaint paints the whole diagram for the whole client area.
  PaintMainWindow(canvas, client, Rect{2, 0, 92, 15}, amps.amp_info, controller, layout);
  EXPECT_FALSE(canvas.Take().empty());
  EXPECT_EQ(2.625f, layout.scale_factor);
}

// The recorded calls before the first arc: the waveguide runs.
Log Runs(const Log& log) {
  Log runs;
  for (const std::string& line : log) {
    if (line.rfind("arc", 0) == 0) break;
    runs.push_back(line);
  }
  return runs;
}

TEST_F(PaintMainWindowTest, SwitchPositionsOtherThanAOrB) {
  controller.waveguide1 = 'B';
  controller.waveguide2 = 'B';
  const Log both_b = Paint(520, 380);
  for (const auto& positions : {std::pair<int, int>{'C', 'C'}, {0, 0}, {-1, 67}, {'b', 'a'}}) {
    SCOPED_TRACE(::testing::Message() << positions.first << " " << positions.second);
    controller.waveguide1 = positions.first;
    controller.waveguide2 = positions.second;
    const Log log = Paint(520, 380);
    // The runs take the colours of the last row of the table, as for B and B ...
    EXPECT_EQ(Runs(both_b), Runs(log));
    // ... and every disc is drawn crossed: its second channel arc is the thin black one
    // (straight through, it is a second wide gray one).
    int discs = 0;
    for (size_t i = 0; i + 1 < log.size(); ++i) {
      if (log[i].rfind("ellipse", 0) == 0 &&
          log[i].find("dgray_pen basic_brush") != std::string::npos) {
        ++discs;
        ASSERT_LT(i + 2, log.size());
        EXPECT_NE(std::string::npos, log[i + 2].find("black_pen")) << log[i + 2];
      }
    }
    EXPECT_EQ(4, discs);
  }
}

TEST_F(PaintMainWindowTest, TooSmallToDrawInPaintsWithoutError) {
  const struct {
    const char* name;
    int width, height;
  } cases[] = {{"0 x 0", 0, 0}, {"height 0", 300, 0}, {"scale 0", 7, 5}, {"1 x 1", 1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    layout.sx1 = 999;  // left from an earlier paint
    PaintMainWindow(canvas, Rect{0, 0, c.width, c.height}, Rect{0, 0, 1, 1}, amps.amp_info,
                    controller, layout);
    const Log log = canvas.Take();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(0.0f, layout.scale_factor);
    EXPECT_EQ(0, layout.sx1);
    // The mode text does not follow the scale and is still there.
    EXPECT_EQ("text 2,12 \"Local\" 0x00FFFFFF transparent", log.back());
  }
}

TEST_F(PaintMainWindowTest, AmplifierStatusOutsideTheEnumeration) {
  amps.amp_info[0].status = static_cast<amp_enum>(8);
  amps.amp_info[1].status = static_cast<amp_enum>(-3);
  amps.amp_info[2].status = static_cast<amp_enum>(0x7FFFFFFF);
  const Log log = Paint(520, 380);
  int unknown = 0;
  for (const std::string& line : log) {
    if (line.rfind("polygon", 0) == 0) {
      EXPECT_NE(std::string::npos, line.find("gray_brush")) << line;
    }
    if (line.find("\"?\"") != std::string::npos) ++unknown;
  }
  EXPECT_EQ(3, unknown);
}

}  // namespace
}  // namespace onefortwo
