#include <gtest/gtest.h>

#include "controller/controller.h"
#include "support/fake_serial_device.h"
#include "support/fake_windows.h"

namespace onefortwo {
namespace {

class ControllerTest : public ::testing::Test {
 protected:
  // Parses the status reply "1" S1 S2 S3 S4 from the controller.
  void Parse(uint8_t s1, uint8_t s4) {
    const std::string text = {'1', static_cast<char>(s1), 'x', 'x', static_cast<char>(s4)};
    ParseFrame(AckFrame(0x40, text));
  }
  void ParseFrame(const Bytes& frame) {
    std::string buffer(frame.begin(), frame.end());
    buffer.resize(3000, '\x7F');  // earlier traffic behind the frame
    state.ParseControllerResponse(buffer.data(), static_cast<int>(frame.size()));
  }
  FakeWindows windows;
  ControllerState state{windows};
};

TEST_F(ControllerTest, StartsInManualLocalWithBothSwitchesInA) {
  EXPECT_EQ(65, state.waveguide1);
  EXPECT_EQ(65, state.waveguide2);
  EXPECT_EQ(1, state.controller_local);
  EXPECT_EQ(1, state.controller_manual);
}

TEST_F(ControllerTest, DecodesTheStatusBits) {
  const struct {
    uint8_t s1, s4;
    int manual, wg1, local, wg2;
  } cases[] = {
      {0x13, 0x04, 0, 65, 1, 65}, {0x00, 0x00, 1, 66, 0, 66}, {0x01, 0x00, 0, 66, 0, 66},
      {0x02, 0xFB, 1, 65, 0, 66}, {0xEC, 0x04, 1, 66, 0, 65}, {0xFF, 0xFF, 0, 65, 1, 65},
  };
  for (const auto& c : cases) {
    Parse(c.s1, c.s4);
    EXPECT_EQ(c.manual, state.controller_manual) << int(c.s1);
    EXPECT_EQ(c.wg1, state.waveguide1) << int(c.s1);
    EXPECT_EQ(c.local, state.controller_local) << int(c.s1);
    EXPECT_EQ(c.wg2, state.waveguide2) << int(c.s4);
  }
}

TEST_F(ControllerTest, RepaintsWhatChanged) {
  // After start: remote and both switches to B; manual stays.
  Parse(0x00, 0x00);
  EXPECT_EQ(std::vector<std::string>({"invalidate 2,12,92,27 erase", "invalidate all keep",
                                      "invalidate all keep", "update"}),
            windows.Take());
  // The same reply again changes nothing and paints nothing.
  Parse(0x00, 0x00);
  EXPECT_TRUE(windows.Take().empty());
  // Only switch 2 moves.
  Parse(0x00, 0x04);
  EXPECT_EQ(std::vector<std::string>({"invalidate all keep", "update"}), windows.Take());
  // Only the redundancy mode.
  Parse(0x01, 0x04);
  EXPECT_EQ(std::vector<std::string>({"invalidate 2,0,92,15 erase", "update"}), windows.Take());
}

TEST_F(ControllerTest, IgnoresFramesThatAreNotStatusReplies) {
  const Bytes cases[] = {
      AckFrame(0x40, std::string("6\x13\0\0\x04", 5)),  // echo other than "1"
      AckFrame(0x40, "61"),                            // the mode command's reply
      AckFrame(0x40, std::string("1\0\0", 3)),        // fewer than four status bytes
      AckFrame(0x40, ""),
  };
  for (const Bytes& frame : cases) {
    ParseFrame(frame);
    EXPECT_EQ(65, state.waveguide1);
    EXPECT_EQ(1, state.controller_local);
    EXPECT_EQ(1, state.controller_manual);
    EXPECT_TRUE(windows.Take().empty());
  }
}

}  // namespace
}  // namespace onefortwo
