#include <gtest/gtest.h>

#include <cstring>

#include "support/station_fixture.h"

namespace onefortwo {
namespace {

class AmpPopupTest : public StationTest {
 protected:
  amp_struct& info(int amp) { return station.amps.amp_info[amp]; }
};

// The shown record starts all zero, which reads as "No Contact": the first refresh after
// start fills every value control and leaves the state button as it is drawn.
TEST_F(AmpPopupTest, FirstRefreshFillsEveryControl) {
  station.UpdateAmpPopup(0);
  EXPECT_EQ(std::vector<std::string>({"text 0 106 00.0", "text 0 108 00.0",
                                      "text 0 107 00.0", "text 0 110 0.0", "text 0 109 000",
                                      "text 0 111 00.0", "invalidate 0,0,0,0 erase"}),
            windows.Take());
  station.UpdateAmpPopup(0);
  EXPECT_TRUE(windows.Take().empty());
}

TEST_F(AmpPopupTest, ShowsOnlyWhatChanged) {
  station.layout.scale_factor = 1.5f;
  station.layout.hxb = 300;
  station.layout.hyb = 200;
  station.UpdateAmpPopup(1);
  windows.Take();

  std::strcpy(info(1).power_back, "  50");
  station.UpdateAmpPopup(1);
  EXPECT_EQ(std::vector<std::string>({"text 1 108   50"}), windows.Take());

  info(1).rf_inhibit = 1;
  info(1).remote = 1;
  info(1).constant = 1;
  station.UpdateAmpPopup(1);
  EXPECT_EQ(std::vector<std::string>({"redraw 1 104", "redraw 1 102", "redraw 1 103"}),
            windows.Take());

  std::strcpy(info(1).power_out, "1000");
  station.UpdateAmpPopup(1);
  EXPECT_EQ(std::vector<std::string>({"text 1 106 1000", "invalidate 276,176,324,224 erase"}),
            windows.Take());

  info(1).status = amp_standby;
  station.UpdateAmpPopup(1);
  EXPECT_EQ(std::vector<std::string>({"redraw 1 105", "invalidate 276,176,324,224 erase"}),
            windows.Take());

  // A change of the fault summary alone shows nothing but is taken as shown.
  info(1).fault_status = fault_low_line;
  station.UpdateAmpPopup(1);
  EXPECT_TRUE(windows.Take().empty());
  EXPECT_EQ(fault_low_line, station.amp_prev[1].fault_status);
}

TEST_F(AmpPopupTest, DisplayRectangleOfEachAmplifier) {
  station.layout.scale_factor = 2.0f;
  station.layout.hxa = 100, station.layout.hya = 50;
  station.layout.hxc = 101, station.layout.hyc = 301;
  station.UpdateAmpDisplay(0);
  station.UpdateAmpDisplay(2);
  station.UpdateAmpDisplay(3);
  station.UpdateAmpDisplay(-1);
  EXPECT_EQ(std::vector<std::string>({"invalidate 68,18,132,82 erase",
                                      "invalidate 69,269,133,333 erase"}),
            windows.Take());
}

}  // namespace
}  // namespace onefortwo
