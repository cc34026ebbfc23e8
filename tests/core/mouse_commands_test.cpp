#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "support/operator_fixture.h"
#include "user/diagram_hit.h"

namespace onefortwo {
namespace {

// The layout the main window's paint computes for a client area of w x h pixels.
DiagramLayout LayoutFor(int w, int h) {
  if (h == 0) h = 1;
  const int scale = static_cast<double>(w) / h > 26.0 / 19.0
                        ? static_cast<int>(32 * h * (1.0 / 190))
                        : static_cast<int>(32 * w * (1.0 / 260));
  DiagramLayout l;
  const float sf = l.scale_factor = scale * 0.03125f;
  l.x0 = static_cast<int>(-40 * sf);
  l.y0 = static_cast<int>(-8 * sf);
  l.sx1 = l.sx3 = static_cast<int>(l.x0 + 100 * sf);
  l.sx2 = l.sx4 = static_cast<int>(l.x0 + 236 * sf);
  l.sy1 = l.sy2 = static_cast<int>(l.y0 + 64 * sf);
  l.sy3 = l.sy4 = static_cast<int>(l.y0 + 144 * sf);
  l.hxa = l.hxb = l.hxc = static_cast<int>(l.x0 + 172 * sf);
  l.hya = static_cast<int>(l.y0 + 32 * sf);
  l.hyb = static_cast<int>(l.y0 + 112 * sf);
  l.hyc = static_cast<int>(l.y0 + 176 * sf);
  return l;
}

TEST(DiagramHitTest, WorkedPointsOfA520By380Window) {
  const DiagramLayout layout = LayoutFor(520, 380);
  ASSERT_EQ(264, layout.hxa);
  ASSERT_EQ(48, layout.hya);
  EXPECT_EQ(32, HitRange(layout.scale_factor));
  const struct {
    int x, y;
    DiagramSpot spot;
  } cases[] = {
      {296, 79, DiagramSpot::amp_a},    {232, 17, DiagramSpot::amp_a},
      {297, 48, DiagramSpot::none},     {264, 80, DiagramSpot::none},
      {264, 16, DiagramSpot::none},     {264, 208, DiagramSpot::amp_b},
      {264, 336, DiagramSpot::amp_c},   {120, 112, DiagramSpot::disc1},
      {392, 112, DiagramSpot::disc2},   {88, 272, DiagramSpot::disc3},
      {424, 303, DiagramSpot::disc4},   {2, 1, DiagramSpot::mode_text},
      {94, 11, DiagramSpot::mode_text}, {95, 5, DiagramSpot::none},
      {1, 5, DiagramSpot::none},        {50, 0, DiagramSpot::none},
      {50, 12, DiagramSpot::none},      {50, 20, DiagramSpot::none},  // Local / Remote line
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.spot, DiagramHitTest(layout, c.x, c.y)) << c.x << "," << c.y;
  }
}

// Every spot centred on one point: the earlier test in the order wins, and moving it away
// hands the point to the next.
TEST(DiagramHitTest, OverlapsGoToTheEarlierSpot) {
  DiagramLayout layout;
  layout.scale_factor = 2.0f;
  int* const centres[][2] = {
      {&layout.hxa, &layout.hya}, {&layout.hxb, &layout.hyb}, {&layout.hxc, &layout.hyc},
      {&layout.sx1, &layout.sy1}, {&layout.sx2, &layout.sy2}, {&layout.sx3, &layout.sy3},
      {&layout.sx4, &layout.sy4},
  };
  for (auto& centre : centres) *centre[0] = 40, *centre[1] = 6;
  const DiagramSpot order[] = {DiagramSpot::amp_a, DiagramSpot::amp_b,    DiagramSpot::amp_c,
                               DiagramSpot::disc1, DiagramSpot::disc2,    DiagramSpot::disc3,
                               DiagramSpot::disc4, DiagramSpot::mode_text};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(order[i], DiagramHitTest(layout, 40, 6)) << i;
    if (i < 7) *centres[i][0] = 1000;
  }
}

TEST(DiagramHitTest, BelowOnePixelOfRangeOnlyTheModeTextAnswers) {
  for (const float sf : {0.0f, 0.03125f, 0.0624f, -2.0f}) {
    DiagramLayout layout;
    layout.scale_factor = sf;
    EXPECT_EQ(0, HitRange(sf)) << sf;
    EXPECT_EQ(DiagramSpot::none, DiagramHitTest(layout, 0, 0));
    EXPECT_EQ(DiagramSpot::mode_text, DiagramHitTest(layout, 2, 1));
  }
  EXPECT_EQ(1, HitRange(0.0625f));
  EXPECT_EQ(0, HitRange(std::nanf("")));
  EXPECT_EQ(1000000, HitRange(1e30f));
}

class MouseCommandTest : public OperatorTest {
 protected:
  MouseCommandTest() { station.layout = LayoutFor(520, 380); }
};

TEST_F(MouseCommandTest, SwitchAndModeCommandsAfterConfirm) {
  const struct {
    int x, y;
    int waveguide1, waveguide2, manual;
    const char* prompt;
    const char* command;
  } cases[] = {
      {120, 112, 65, 65, 1, "Toggle Waveguide Switch 1?", "B1B"},
      {392, 112, 66, 65, 1, "Toggle Waveguide Switch 1?", "B1A"},
      {120, 112, 0, 65, 1, "Toggle Waveguide Switch 1?", "B1A"},
      {120, 272, 65, 65, 1, "Toggle Waveguide Switch 2?", "B2B"},
      {392, 272, 65, 66, 1, "Toggle Waveguide Switch 2?", "B2A"},
      {2, 1, 65, 65, 1, "Activate Automatic Mode?", "61"},
      {94, 11, 65, 65, 0, "Activate Manual Mode?", "60"},
  };
  for (const auto& c : cases) {
    for (const bool yes : {true, false}) {
      station.controller.waveguide1 = c.waveguide1;
      station.controller.waveguide2 = c.waveguide2;
      station.controller.controller_manual = c.manual;
      prompter.answers = {yes};
      commands.MainWindowMouseClick(c.x, c.y);
      EXPECT_EQ(std::vector<std::string>({std::string("Confirm: ") + c.prompt}), prompter.Take());
      const std::vector<Bytes> expected =
          yes ? std::vector<Bytes>{CommandFrame(64, c.command)} : std::vector<Bytes>{};
      EXPECT_EQ(expected, Sent()) << c.command << (yes ? " Yes" : " No");
    }
  }
  EXPECT_TRUE(panels.Take().empty());
}

// A switch is thrown from where it stands when the operator says Yes; the mode asked for
// is the mode commanded, whatever the controller reported meanwhile.
TEST_F(MouseCommandTest, StateChangesWhileTheQuestionIsOpen) {
  prompter.answers = {true, true};
  prompter.while_open = [this] {
    station.controller.waveguide1 = 66;
    station.controller.controller_manual = 0;
  };
  commands.MainWindowMouseClick(120, 112);
  station.controller.controller_manual = 1;
  commands.MainWindowMouseClick(10, 5);
  EXPECT_EQ(std::vector<std::string>(
                {"Confirm: Toggle Waveguide Switch 1?", "Confirm: Activate Automatic Mode?"}),
            prompter.Take());
  EXPECT_EQ(std::vector<Bytes>({CommandFrame(64, "B1A"), CommandFrame(64, "61")}), Sent());
}

TEST_F(MouseCommandTest, AmplifierClickRaisesItsPanelAndItsFaultDialog) {
  commands.MainWindowMouseClick(264, 208);
  EXPECT_EQ(std::vector<std::string>({"show 1"}), panels.Take());

  station.amps.amp_info[2].status = amp_fault;
  panels.while_fault_dialog = [this](int amp) { windows.fault_open[amp] = true; };
  commands.MainWindowMouseClick(264, 336);
  EXPECT_EQ(std::vector<std::string>({"show 2", "run fault 2"}), panels.Take());
  // Opened from the diagram it does not arm the alarm.
  EXPECT_EQ(0, station.amps.audio_enabled[2]);

  // With its fault dialog open, only the panel is raised.
  commands.MainWindowMouseClick(264, 336);
  EXPECT_EQ(std::vector<std::string>({"show 2"}), panels.Take());
  EXPECT_TRUE(prompter.Take().empty());
  EXPECT_TRUE(Sent().empty());
}

// Any click on any window, from none at all to a very large one, does at most one thing
// and never faults.
TEST_F(MouseCommandTest, ClicksAnywhereAtAnySize) {
  struct AlwaysNo : Prompter {
    bool AskYesNo(const char*, const char*) override {
      ++asked;
      return false;
    }
    void Tell(const char*, const char*) override { ++asked; }
    int asked = 0;
  } no;
  OperatorCommands clicks(station, no, windows, panels);
  const int sizes[][2] = {{0, 0},     {1, 1},     {7, 3},     {31, 200},    {100, 50},
                          {520, 380}, {521, 380}, {800, 500}, {1920, 1080}, {30000, 30000}};
  const int coordinates[] = {INT_MIN, -70000, -1,  0,   1,   2,   5,    11,    12,    33,
                             94,      95,     120, 264, 336, 392, 1000, 65535, 65536, INT_MAX};
  for (const auto& size : sizes) {
    station.layout = LayoutFor(size[0], size[1]);
    for (int x : coordinates) {
      for (int y : coordinates) {
        no.asked = 0;
        clicks.MainWindowMouseClick(x, y);
        EXPECT_LE(no.asked + panels.Take().size(), 1u) << x << "," << y;
      }
    }
    for (int x = 0; x <= size[0] && x < 2000; x += 7) {
      for (int y = 0; y <= size[1] && y < 2000; y += 7) clicks.MainWindowMouseClick(x, y);
    }
    panels.Take();
  }
  EXPECT_TRUE(Sent().empty());
}

}  // namespace
}  // namespace onefortwo
