#include "paint/push_button.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/recording_canvas.h"

namespace onefortwo {
namespace {

using Log = std::vector<std::string>;

class PushButtonTest : public ::testing::Test {
 protected:
  PushButtonTest() {
    // Colours no diagram pen has, so that every line shows which system colour drew it.
    system.btn_face = Rgb(200, 200, 201);
    system.btn_highlight = Rgb(250, 250, 251);
    system.btn_shadow = Rgb(130, 130, 131);
    system.dark_shadow = Rgb(60, 60, 61);
    system.btn_text = Rgb(10, 10, 11);
    canvas.Name(Pen{system.btn_highlight, 1}, "hilite_pen");
    canvas.Name(Pen{system.btn_shadow, 1}, "shadow_pen");
    canvas.Name(Pen{system.dark_shadow, 1}, "dark_pen");
    canvas.Name(Brush{system.btn_face}, "face");
    // A state the button must hand back as it found it.
    canvas.SelectObject(Pen{Rgb(1, 2, 3), 2});
    canvas.SetTextColor(Rgb(4, 5, 6));
    canvas.SetBkColor(Rgb(7, 8, 9));
    canvas.SetBkMode(BkMode::opaque);
  }

  void ExpectCanvasRestored() {
    EXPECT_EQ((Pen{Rgb(1, 2, 3), 2}), canvas.pen);
    EXPECT_EQ(Rgb(4, 5, 6), canvas.text_color);
    EXPECT_EQ(Rgb(7, 8, 9), canvas.bk_color);
    EXPECT_EQ(BkMode::opaque, canvas.bk_mode);
  }

  SystemColors system;
  RecordingCanvas canvas;
};

TEST_F(PushButtonTest, RaisedInTheSystemColours) {
  Rect r{0, 0, 80, 24};
  DrawPushButton(canvas, &r, "OK", 1, 0, 0, 0, system);
  EXPECT_EQ((Rect{0, 0, 79, 23}), r);
  // Caption 14 x 14: x = (79 - 14) / 2, y = (23 - 14) / 2.
  EXPECT_EQ(Log({
                "fill 0,0,79,23 face",
                "line 0,23 0,0 hilite_pen",
                "line 0,0 79,0 hilite_pen",
                "line 79,0 79,23 dark_pen",
                "line 79,23 -1,23 dark_pen",
                "line 1,22 78,22 shadow_pen",
                "line 78,22 78,0 shadow_pen",
                "text 33,5 \"OK\" 0x00FBFAFA transparent",
                "text 32,4 \"OK\" 0x000B0A0A transparent",
            }),
            canvas.Take());
  ExpectCanvasRestored();
}

TEST_F(PushButtonTest, PressedInGivenColours) {
  Rect r{0, 0, 80, 24};
  DrawPushButton(canvas, &r, "OK", 0, Rgb(255, 0, 0), Rgb(103, 223, 103), Rgb(103, 171, 103),
                 system);
  EXPECT_EQ((Rect{0, 0, 79, 23}), r);
  EXPECT_EQ(Log({
                "fill 0,0,79,23 green_brush",
                "line 0,23 0,0 dark_pen",
                "line 0,0 79,0 dark_pen",
                "line 79,0 79,23 dark_pen",
                "line 79,23 0,23 dark_pen",
                "line 0,23 1,21 dark_pen",
                "line 1,21 1,1 shadow_pen",
                "line 1,1 78,1 shadow_pen",
                "text 34,6 \"OK\" 0x0067AB67 transparent",
                "text 32,4 \"OK\" 0x000000FF transparent",
            }),
            canvas.Take());
  ExpectCanvasRestored();
}

TEST_F(PushButtonTest, CaptionWiderThanTheButtonStartsLeftOfIt) {
  // 14 characters are 98 pixels: x = (39 - 98) / 2 = -29 (truncated toward zero).
  Rect r{0, 0, 40, 10};
  DrawPushButton(canvas, &r, "Constant Power", 1, 0, 0, 0, system);
  const Log log = canvas.Take();
  EXPECT_EQ("text -29,-2 \"Constant Power\" 0x000B0A0A transparent", log.back());
}

}  // namespace
}  // namespace onefortwo
