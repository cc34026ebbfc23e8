#include <gtest/gtest.h>

#include <random>

#include "support/amp_reply.h"
#include "support/station_fixture.h"

namespace onefortwo {
namespace {

const Bytes kQueryA = CommandFrame(65, "?13AIPQTV");
const Bytes kQueryB = CommandFrame(66, "?13AIPQTV");
const Bytes kQueryC = CommandFrame(67, "?13AIPQTV");
const Bytes kQueryController = CommandFrame(64, "1");

class PollTest : public StationTest {
 protected:
  // Ticks until the first query has gone out (the fourth tick, at 224 ms).
  void Start() {
    for (int tick = 0; tick < 4; ++tick) Tick();
    ASSERT_EQ(1u, line->frames.size());
  }
  // The address of the last frame written.
  int LastAddress() const { return line->frames.empty() ? -1 : line->frames.back()[1]; }
  // Feeds the reply of a device that answers the last query at once.
  void Answer(const AmpReply& reply = AmpReply()) {
    const int address = LastAddress();
    if (address == 64) {
      line->Feed(AckFrame(64, std::string("1\x13\0\0\x04", 5)));
    } else {
      line->Feed(AckFrame(static_cast<uint8_t>(address), reply.Text()));
    }
  }
  Station& s = station;
};

TEST_F(PollTest, FirstQueryGoesToAmplifierAOnceTheTimeOutHasRun) {
  for (int tick = 0; tick < 3; ++tick) Tick();
  EXPECT_TRUE(line->frames.empty());
  Tick();
  ASSERT_EQ(1u, line->frames.size());
  EXPECT_EQ("02 41 3F 31 33 41 49 50 51 54 56 03 76", Hex(line->frames[0]));
  EXPECT_EQ(0, s.error_count[0] + s.error_count[1] + s.error_count[2] + s.error_count[3]);
  EXPECT_EQ(65, s.link.response_pending);
}

TEST_F(PollTest, AnsweredRotationQueriesEveryDeviceInTurn) {
  Start();
  for (int step = 0; step < 4; ++step) {
    Answer();
    Tick();
  }
  ASSERT_EQ(5u, line->frames.size());
  EXPECT_EQ(kQueryA, line->frames[0]);
  EXPECT_EQ(kQueryB, line->frames[1]);
  EXPECT_EQ(kQueryC, line->frames[2]);
  EXPECT_EQ("02 40 31 03 70", Hex(line->frames[3]));
  EXPECT_EQ(kQueryA, line->frames[4]);
  for (int amp = 0; amp < 3; ++amp) {
    EXPECT_EQ(amp_hv_on, s.amps.amp_info[amp].status) << amp;
    EXPECT_STREQ("1000", s.amps.amp_info[amp].power_out);
  }
  EXPECT_EQ(0, s.controller.controller_manual);
}

TEST_F(PollTest, SilentAmplifierIsLostOnItsThirdMissAndBackOnItsFirstReply) {
  Start();
  Answer();  // A answers once
  Tick();
  ASSERT_EQ(amp_hv_on, s.amps.amp_info[0].status);
  // From now on every device answers except amplifier A.
  int misses = 0;
  while (misses < 5) {
    if (LastAddress() == 65) {
      for (int tick = 0; tick < 3; ++tick) {
        Tick();
        EXPECT_EQ(65, LastAddress()) << "waits for the time-out";
      }
      Tick();  // 224 ms since the query: a miss
      ++misses;
      EXPECT_EQ(std::min(misses, 2), s.error_count[1]);
      EXPECT_EQ(misses >= 3 ? amp_no_contact : amp_hv_on, s.amps.amp_info[0].status) << misses;
    } else {
      Answer();
      Tick();
    }
  }
  windows.Take();
  while (LastAddress() != 65) {
    Answer();
    Tick();
  }
  Answer();
  Tick();
  EXPECT_EQ(0, s.error_count[1]);
  EXPECT_EQ(amp_hv_on, s.amps.amp_info[0].status);
}

TEST_F(PollTest, NobodyAnsweringHoldsEveryCountAtTwo) {
  Start();
  for (int step = 0; step < 4; ++step) {
    Answer();
    Tick();
  }
  ASSERT_EQ(amp_hv_on, s.amps.amp_info[0].status);
  ASSERT_EQ(0, s.controller.controller_manual);
  for (int tick = 0; tick < 200; ++tick) Tick();  // nobody answers any more
  EXPECT_EQ(2, s.error_count[0]);
  EXPECT_EQ(2, s.error_count[1]);
  EXPECT_EQ(2, s.error_count[2]);
  EXPECT_EQ(2, s.error_count[3]);
  for (int amp = 0; amp < 3; ++amp) EXPECT_EQ(amp_no_contact, s.amps.amp_info[amp].status);
  // The controller has no no-contact state: it keeps its last values.
  EXPECT_EQ(65, s.controller.waveguide1);
  EXPECT_EQ(0, s.controller.controller_manual);
}

TEST_F(PollTest, TwoRepliesWaitingAreBothParsedOnOneTick) {
  Start();
  AmpReply standby;
  standby.state1 = 0x08;
  line->Feed(AckFrame(65, standby.Text()));
  line->Feed(AckFrame(67, AmpReply().Text()));
  Tick();
  EXPECT_EQ(amp_standby, s.amps.amp_info[0].status);
  EXPECT_EQ(amp_hv_on, s.amps.amp_info[2].status);
  EXPECT_EQ(2u, line->frames.size());
}

TEST_F(PollTest, AtMostOneHundredFramesATick) {
  Start();
  for (int i = 0; i < 150; ++i) line->Feed(AckFrame(66, AmpReply().Text()));
  Tick();
  EXPECT_EQ(50u * AckFrame(66, AmpReply().Text()).size(), line->incoming.size());
  Tick();
  EXPECT_TRUE(line->incoming.empty());
}

TEST_F(PollTest, LateReplyResetsTheCountAndTheNestedStepCountsOneMiss) {
  Start();
  Tick(250);  // A silent: miss 1
  EXPECT_EQ(1, s.error_count[1]);
  // B's reply comes in only on a tick at which 200 ms have passed since its query.
  line->Feed(AckFrame(66, AmpReply().Text()));
  s.error_count[2] = 1;
  Tick(250);
  EXPECT_EQ(1, s.error_count[2]);
  EXPECT_EQ(amp_hv_on, s.amps.amp_info[1].status);
}

TEST_F(PollTest, FramesFromUnknownAddressesAreDropped) {
  Start();
  s.error_count[1] = 1;
  for (uint8_t address : {63, 68, 0x00, 0xC1}) {
    line->Feed(AckFrame(address, AmpReply().Text()));
  }
  Tick();
  EXPECT_EQ(1, s.error_count[1]);
  EXPECT_EQ(amp_no_contact, s.amps.amp_info[0].status);
  EXPECT_TRUE(line->incoming.empty());
}

TEST_F(PollTest, OperatorCommandTakesOverThePendingReply) {
  Start();  // query to A outstanding
  Tick(100);
  s.SendToAmp(2, "@");  // the operator switches C's high voltage on
  EXPECT_EQ(CommandFrame(67, "@"), line->frames.back());
  Tick(150);  // 250 ms after A's query but 150 ms after the command: still waiting
  EXPECT_EQ(2u, line->frames.size());
  Tick(60);  // 210 ms after the command: the miss goes to C, not A
  EXPECT_EQ(1, s.error_count[3]);
  EXPECT_EQ(0, s.error_count[1]);
  EXPECT_EQ(kQueryB, line->frames.back());  // the rotation goes on where it was
}

TEST_F(PollTest, CommandReplyIsRoutedByItsAddressAndTheRotationGoesOn) {
  Start();
  s.SendToAmp(1, "@");
  line->Feed(AckFrame(66, "@"));  // the command's echo: not a status reply
  Tick();
  EXPECT_EQ(kQueryB, line->frames.back());
  EXPECT_EQ(amp_no_contact, s.amps.amp_info[1].status);
}

TEST_F(PollTest, WithoutCounterEachWaitingTickSleepsFiftyMs) {
  FakeOpener opener2;
  auto line2 = opener2.Add("COM2");
  FakeClock slow;
  slow.has_counter = false;
  FakeWindows windows2;
  Station plain(opener2, slow, windows2);
  ASSERT_EQ(1, plain.link.InitSerial());
  for (int tick = 0; tick < 4; ++tick) plain.Poll(0);
  EXPECT_TRUE(line2->frames.empty());
  plain.Poll(0);  // fifth ask: 250 ms counted
  EXPECT_EQ(1u, line2->frames.size());
  EXPECT_EQ(5, slow.sleeps);
  ASSERT_EQ(1u, windows2.log.size());
  EXPECT_EQ("message Warning: High Performance Timer not found.  Performance may be impacted.",
            windows2.log[0]);
}

// Whatever the line sends, polling goes on and nothing is read or written out of place
// (the sanitizer build checks the latter).
TEST_F(PollTest, KeepsPollingThroughAnyLineNoise) {
  Start();
  std::mt19937 random(12345);
  const Bytes good = AckFrame(65, AmpReply().Text());
  for (int tick = 0; tick < 3000; ++tick) {
    switch (random() % 6) {
      case 0: {  // junk of any length, control bytes included
        Bytes junk(random() % 300);
        for (uint8_t& b : junk) b = static_cast<uint8_t>(random() % 8 == 0 ? random() % 4 + 2 : random());
        line->Feed(junk);
        break;
      }
      case 1: {  // a good frame split at a random place
        const size_t cut = random() % good.size();
        line->Feed(Bytes(good.begin(), good.begin() + static_cast<long>(cut)));
        break;
      }
      case 2:
        line->Feed(good);
        break;
      case 3: {  // a frame with a corrupted byte
        Bytes bad = AckFrame(static_cast<uint8_t>(64 + random() % 4), AmpReply().Text());
        bad[random() % bad.size()] ^= static_cast<uint8_t>(1 + random() % 255);
        line->Feed(bad);
        break;
      }
      case 4:
        line->Feed(Bytes(2600, 0x20));
        break;
      default:
        break;
    }
    Tick(static_cast<double>(random() % 300));
    ASSERT_LE(s.link.receive_count, kResponseLimit);
    for (int device = 0; device < 4; ++device) ASSERT_LE(s.error_count[device], 2);
  }
  EXPECT_GT(line->frames.size(), 1000u);
  for (const Bytes& frame : line->frames) {
    ASSERT_TRUE(frame == kQueryA || frame == kQueryB || frame == kQueryC ||
                frame == kQueryController);
  }
}

}  // namespace
}  // namespace onefortwo
