#include <gtest/gtest.h>

#include "support/fake_clock.h"
#include "support/fake_windows.h"
#include "wserial/reply_clock.h"

namespace onefortwo {
namespace {

class ReplyClockTest : public ::testing::Test {
 protected:
  FakeClock clock;
  FakeWindows windows;
  ReplyClock reply{clock, windows};
};

TEST_F(ReplyClockTest, WithCounterAtLeastTheIntervalCounts) {
  reply.CheckSystemTimerInit();
  ASSERT_EQ(FakeClock::kFrequency, reply.system_timer_freq);
  clock.counter = 123456789;
  EXPECT_EQ(0, reply.PastTime(0));
  EXPECT_EQ(0, reply.PastTime(200));
  clock.AdvanceMs(199.9);
  EXPECT_EQ(0, reply.PastTime(200));
  clock.AdvanceMs(0.1);
  EXPECT_EQ(1, reply.PastTime(200));
  clock.AdvanceMs(5000);
  EXPECT_EQ(1, reply.PastTime(200));
  EXPECT_EQ(0, clock.sleeps);
  EXPECT_TRUE(windows.log.empty());
}

TEST_F(ReplyClockTest, CounterWrapOfTheLow32BitsIsHarmless) {
  reply.CheckSystemTimerInit();
  clock.counter = 0x1FFFFFF00ll;  // low 32 bits just below the wrap
  reply.PastTime(0);
  clock.AdvanceMs(150);
  EXPECT_EQ(0, reply.PastTime(200));
  clock.AdvanceMs(50);
  EXPECT_EQ(1, reply.PastTime(200));
}

TEST_F(ReplyClockTest, WithoutCounterEachAskSleepsAndCountsFiftyMs) {
  clock.has_counter = false;
  reply.CheckSystemTimerInit();
  EXPECT_EQ(0u, reply.system_timer_freq);
  EXPECT_EQ(0, reply.PastTime(0));
  for (int ask = 1; ask <= 4; ++ask) EXPECT_EQ(0, reply.PastTime(200)) << ask;
  EXPECT_EQ(1, reply.PastTime(200));
  EXPECT_EQ(5, clock.sleeps);
  EXPECT_EQ(250, clock.slept_ms);
  EXPECT_EQ(0, reply.PastTime(0));
  EXPECT_EQ(0, reply.PastTime(200));
}

TEST_F(ReplyClockTest, MissingCounterWarnsOncePerRun) {
  clock.has_counter = false;
  reply.CheckSystemTimerInit();
  reply.CheckSystemTimerInit();
  reply.CheckSystemTimerInit();
  ASSERT_EQ(1u, windows.log.size());
  EXPECT_EQ("message Warning: High Performance Timer not found.  Performance may be impacted.",
            windows.log[0]);
}

TEST_F(ReplyClockTest, FrequencyIsFoundOnceOnly) {
  reply.CheckSystemTimerInit();
  clock.has_counter = false;
  reply.CheckSystemTimerInit();
  EXPECT_EQ(FakeClock::kFrequency, reply.system_timer_freq);
  EXPECT_TRUE(windows.log.empty());
}

}  // namespace
}  // namespace onefortwo
