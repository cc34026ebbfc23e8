#include "resources/dialog_template.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "shell/station.h"

namespace onefortwo {
namespace {

TEST(DialogUnits, BaseUnitsAndRectangles) {
  const struct {
    int alphabet_width, font_height;
    int base_x, base_y;
  } bases[] = {
      {286, 13, 6, 13},  // an 8 point dialog font at 96 dots per inch
      {312, 16, 6, 16}, {338, 16, 7, 16}, {0, 0, 1, 1}, {-5, -1, 1, 1},
  };
  for (const auto& b : bases) {
    const DialogBaseUnits base = DialogBaseUnitsFor(b.alphabet_width, b.font_height);
    EXPECT_EQ(b.base_x, base.x) << b.alphabet_width;
    EXPECT_EQ(b.base_y, base.y) << b.font_height;
  }
  // The panel, 275 x 92 units, and its forward power button at 70, 35, 21 x 11.
  EXPECT_EQ((Rect{0, 0, 413, 150}), MapDialogRect(0, 0, 275, 92, {6, 13}));
  EXPECT_EQ((Rect{105, 57, 137, 75}), MapDialogRect(70, 35, 21, 11, {6, 13}));
  EXPECT_EQ((Rect{-2, -2, 2, 2}), MapDialogRect(-1, -1, 2, 2, {6, 13}));
  const Rect huge = MapDialogRect(2000000000, 2000000000, 2000000000, 0, {100, 100});
  EXPECT_EQ(INT_MAX, huge.right);
}

// The ids the station writes to and draws must be the templates' own, once each, and every
// control must lie inside its dialog.
TEST(DialogTemplates, ControlsAreInsideAndIdsAreTheStations) {
  for (const DialogTemplate* t :
       {&kAmplifierDialog, &kFaultDialogTemplate, &kGetNumberDialog, &kSerialConfigurationDialog}) {
    std::set<int> ids;
    for (size_t i = 0; i < t->control_count; ++i) {
      const DialogControl& c = t->controls[i];
      EXPECT_TRUE(c.id == -1 || ids.insert(c.id).second) << t->name << " " << c.id;
      EXPECT_GE(c.x, 0);
      EXPECT_LE(c.x + c.width, t->width) << t->name << " " << c.text;
      EXPECT_LE(c.y + c.height, t->height) << t->name << " " << c.text;
    }
    if (t == &kAmplifierDialog) {
      for (int id = kPowerUnitButton; id <= kCurrentText; ++id) EXPECT_EQ(1u, ids.count(id)) << id;
      EXPECT_EQ(1u, ids.count(112));
    } else if (t == &kFaultDialogTemplate) {
      EXPECT_EQ((std::set<int>{1, 115, 116, 117}), ids);
    } else if (t == &kGetNumberDialog) {
      EXPECT_EQ((std::set<int>{1, 2, 112, 113, 114}), ids);
    } else {
      EXPECT_EQ((std::set<int>{1, 2, 101, 102, 103, 104, 105}), ids);
    }
  }
}

}  // namespace
}  // namespace onefortwo
