#include <gtest/gtest.h>

#include <string>

#include "support/station_fixture.h"

namespace onefortwo {
namespace {

using FramingTest = StationTest;

TEST(XorChecksum, OverTheGivenBytes) {
  const char frame[] = {0x02, 0x40, 0x31, 0x03};
  EXPECT_EQ(0x70, XorChecksum(frame, 4));
  EXPECT_EQ(0x00, XorChecksum(frame, 0));
  EXPECT_EQ(0x00, XorChecksum(frame, -5));
  // 3000 or more counts as 2999: the byte at 2999 takes no part.
  std::string big(3001, '\0');
  big[2999] = 0x55;
  big[2998] = 0x11;
  EXPECT_EQ(0x11, XorChecksum(big.data(), 3000));
  EXPECT_EQ(0x11, XorChecksum(big.data(), 100000));
}

TEST_F(FramingTest, SendsTheWorkedFramesByteForByte) {
  const struct {
    int device;
    const char* text;
    int length;
    const char* hex;
  } cases[] = {
      {0x40, "1", 0, "02 40 31 03 70"},
      {0x41, "?13AIPQTV", 0, "02 41 3F 31 33 41 49 50 51 54 56 03 76"},
      {0x40, "", 0, "02 40 03 41"},
      {0x40 + 256, "1", 0, "02 40 31 03 70"},  // only the low byte of the address
      {0x41, "1\0002", 3, "02 41 31 00 32 03 43"},  // NUL bytes included when a length is given
  };
  for (const auto& c : cases) {
    line->ClearWritten();
    EXPECT_TRUE(station.link.SendCommand(c.device, c.text, c.length));
    ASSERT_EQ(1u, line->frames.size()) << c.hex;
    EXPECT_EQ(c.hex, Hex(line->frames[0]));
    EXPECT_EQ(c.device, station.link.response_pending);
  }
  EXPECT_EQ(5, line->flushes);
}

TEST_F(FramingTest, CheckBytesThatLookLikeControlBytesGoOutUnchanged) {
  // "G" to 0x43: 02^43^47^03 = 0x07; find texts whose check byte is 02, 03, 06, 15.
  for (int want : {0x02, 0x03, 0x06, 0x15}) {
    // 02 ^ 41 ^ c ^ 03 == want  =>  c = want ^ 0x40
    const char text[2] = {static_cast<char>(want ^ 0x40), '\0'};
    line->ClearWritten();
    station.link.SendCommand(0x41, text, 1);
    ASSERT_EQ(5u, line->written.size());
    EXPECT_EQ(want, line->written[4]);
  }
}

TEST_F(FramingTest, SendingRestartsTheReplyClock) {
  clock.AdvanceMs(500);
  EXPECT_EQ(1, station.link.PastTime(200));
  station.link.SendCommand(0x40, "1", 0);
  EXPECT_EQ(0, station.link.PastTime(200));
  clock.AdvanceMs(200);
  EXPECT_EQ(1, station.link.PastTime(200));
}

TEST_F(FramingTest, TextTooLongForTheFrameBufferIsNotSent) {
  const std::string longest(252, 'x');
  EXPECT_TRUE(station.link.SendCommand(0x41, longest.c_str(), 0));
  EXPECT_EQ(256u, line->written.size());
  line->ClearWritten();
  const std::string too_long(253, 'x');
  EXPECT_FALSE(station.link.SendCommand(0x42, too_long.c_str(), 0));
  EXPECT_FALSE(station.link.SendCommand(0x42, too_long.c_str(), 253));
  EXPECT_FALSE(station.link.SendCommand(0x42, "x", -1));
  EXPECT_TRUE(line->written.empty());
  EXPECT_EQ(0x42, station.link.response_pending);
}

TEST_F(FramingTest, ClosedPortStillTakesOverThePendingReply) {
  station.link.ClosePort();
  EXPECT_FALSE(station.link.SendCommand(0x43, "A", 0));
  EXPECT_EQ(0x43, station.link.response_pending);
  EXPECT_TRUE(line->written.empty());
}

TEST_F(FramingTest, SendingLeavesTheReceiverAlone) {
  line->Feed({0x06, 0x40, 0x31});
  EXPECT_EQ(0, station.link.TrapResponse());
  station.link.SendCommand(0x40, "1", 0);
  EXPECT_EQ(3, station.link.receive_count);
  EXPECT_EQ(1, station.link.got_start);
}

}  // namespace
}  // namespace onefortwo
