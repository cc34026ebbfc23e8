#include <gtest/gtest.h>

#include "support/station_fixture.h"

namespace onefortwo {
namespace {

class ReceiverTest : public StationTest {
 protected:
  // Feeds `chunks` one per TrapResponse call; returns the verdicts.
  std::vector<int> FeedInChunks(const std::vector<Bytes>& chunks) {
    std::vector<int> verdicts;
    for (const Bytes& chunk : chunks) {
      line->Feed(chunk);
      verdicts.push_back(station.link.TrapResponse());
    }
    return verdicts;
  }
  SerialLink& link = station.link;
};

const Bytes kReply = {0x06, 0x40, 0x31, 0x03, 0x74};

TEST_F(ReceiverTest, ReplyInOnePieceOrSplitAnyWay) {
  // Every way of cutting five bytes into consecutive chunks: 2^4 cut patterns.
  for (int cuts = 0; cuts < 16; ++cuts) {
    link.ResetReceiver();
    std::vector<Bytes> chunks(1);
    for (size_t i = 0; i < kReply.size(); ++i) {
      chunks.back().push_back(kReply[i]);
      if (i + 1 < kReply.size() && (cuts & (1 << i))) chunks.emplace_back();
    }
    const std::vector<int> verdicts = FeedInChunks(chunks);
    for (size_t i = 0; i + 1 < verdicts.size(); ++i) EXPECT_EQ(0, verdicts[i]) << cuts;
    EXPECT_EQ(1, verdicts.back()) << cuts;
    EXPECT_EQ(5, link.receive_count);
    EXPECT_EQ(0x40, link.response_buf[1]);
  }
}

TEST_F(ReceiverTest, RefusedFramesStayRefusedUntilReset) {
  const struct {
    const char* name;
    Bytes frame;
  } cases[] = {
      {"wrong check byte", {0x06, 0x40, 0x31, 0x03, 0x75}},
      {"NAK reply", {0x15, 0x40, 0x31, 0x03, 0x67}},
      {"opened by STX", {0x02, 0x40, 0x31, 0x03, 0x70}},
  };
  for (const auto& c : cases) {
    link.ResetReceiver();
    line->Feed(c.frame);
    EXPECT_EQ(0, link.TrapResponse()) << c.name;
    EXPECT_EQ(2, link.response_done) << c.name;
    line->Feed(kReply);
    for (int call = 0; call < 3; ++call) EXPECT_EQ(0, link.TrapResponse()) << c.name;
    line->incoming.clear();
  }
}

TEST_F(ReceiverTest, NoiseBeforeTheStartIsDropped) {
  line->Feed({0x55, 0x03, 0x7F, 0x03, 0x00});
  line->Feed(kReply);
  EXPECT_EQ(1, link.TrapResponse());
  EXPECT_EQ(5, link.receive_count);
}

TEST_F(ReceiverTest, SecondAckInsideAFrameRestartsIt) {
  line->Feed({0x06, 0x41, 0x3F, 0x10});
  line->Feed(kReply);
  EXPECT_EQ(1, link.TrapResponse());
  EXPECT_EQ(5, link.receive_count);
  EXPECT_EQ(0x40, link.response_buf[1]);
}

TEST_F(ReceiverTest, CheckByteEqualToAStartByteIsTheCheckByte) {
  for (uint8_t start : {0x02, 0x06, 0x15}) {
    link.ResetReceiver();
    // 06 ^ 40 ^ t ^ 03 == start  =>  t = start ^ 0x45
    const Bytes frame = {0x06, 0x40, static_cast<uint8_t>(start ^ 0x45), 0x03, start};
    line->Feed(frame);
    EXPECT_EQ(1, link.TrapResponse()) << int(start);
    EXPECT_EQ(5, link.receive_count);
  }
}

TEST_F(ReceiverTest, TwoRepliesWaitingAreTakenOneAtATime) {
  line->Feed(kReply);
  line->Feed(AckFrame(0x41, "?x"));
  EXPECT_EQ(1, link.TrapResponse());
  EXPECT_EQ(0x40, link.response_buf[1]);
  EXPECT_EQ(6u, line->incoming.size());  // the second frame stays in the port
  link.ResetReceiver();
  EXPECT_EQ(1, link.TrapResponse());
  EXPECT_EQ(0x41, link.response_buf[1]);
}

TEST_F(ReceiverTest, FinishedStateDiscardsOneByteACallAndKeepsItsVerdict) {
  line->Feed(kReply);
  line->Feed({0xAA, 0xBB});
  EXPECT_EQ(1, link.TrapResponse());
  EXPECT_EQ(1, link.TrapResponse());
  EXPECT_EQ(1u, line->incoming.size());
  EXPECT_EQ(1, link.TrapResponse());
  EXPECT_TRUE(line->incoming.empty());
}

TEST_F(ReceiverTest, OverflowWithoutEndGivesNothingUntilReset) {
  Bytes flood(2500, 0x41);
  flood[0] = 0x06;
  line->Feed(flood);
  EXPECT_EQ(0, link.TrapResponse());
  EXPECT_EQ(0, link.receive_count);
  line->Feed(kReply);
  EXPECT_EQ(0, link.TrapResponse());
  EXPECT_EQ(0, link.TrapResponse());
  link.ResetReceiver();
  line->incoming.clear();
  line->Feed(kReply);
  EXPECT_EQ(1, link.TrapResponse());
}

TEST_F(ReceiverTest, HuntingNoiseOverflowsWithoutWritingPastTheBuffer) {
  line->Feed(Bytes(10000, 0x55));
  for (int call = 0; call < 5; ++call) EXPECT_EQ(0, link.TrapResponse());
  EXPECT_LE(link.receive_count, kResponseLimit);
}

TEST_F(ReceiverTest, FailedReadsAreNoBytesAndChangeNothing) {
  line->Feed({0x06, 0x40});
  EXPECT_EQ(0, link.TrapResponse());
  line->fail_reads = true;
  EXPECT_EQ(0, link.TrapResponse());
  EXPECT_EQ(2, link.receive_count);
  line->fail_reads = false;
  line->Feed({0x31, 0x03, 0x74});
  EXPECT_EQ(1, link.TrapResponse());
}

// Half a reply from before the port was opened anew is no part of the next one: the byte
// after its ETX would otherwise be taken as its check byte.
TEST_F(ReceiverTest, APortOpenedAnewStartsANewFrame) {
  line->Feed({0x06, 0x40, 0x31, 0x03});
  EXPECT_EQ(0, link.TrapResponse());
  ASSERT_EQ(1, link.InitSerial());
  line->Feed(kReply);
  EXPECT_EQ(1, link.TrapResponse());
}

TEST_F(ReceiverTest, ClosedPortReadsNothing) {
  link.ClosePort();
  EXPECT_EQ(0, link.TrapResponse());
}

TEST_F(ReceiverTest, ResetKeepsTheBufferAndThePendingDevice) {
  line->Feed(kReply);
  link.SendCommand(0x42, "?", 0);
  EXPECT_EQ(1, link.TrapResponse());
  link.ResetReceiver();
  EXPECT_EQ(0, link.receive_count);
  EXPECT_EQ(0, link.got_start);
  EXPECT_EQ(0, link.response_done);
  EXPECT_EQ(0x40, link.response_buf[1]);
  EXPECT_EQ(0x42, link.response_pending);
}

TEST_F(ReceiverTest, TinyFramesAreJudgedWithoutReadingOutsideThem) {
  // ACK then ETX at once: the check byte follows; 06^03 = 05.
  line->Feed({0x06, 0x03, 0x05});
  EXPECT_EQ(1, link.TrapResponse());
  EXPECT_EQ(3, link.receive_count);
}

}  // namespace
}  // namespace onefortwo
