// The lock-free hand-over from the tick thread to the agent's thread: whole snapshots
// only, notifications in order, none lost but the ones a full queue drops and counts.

#include "handover.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace onefortwo {
namespace {

// Every word the same: a reader that sees two different words has seen a torn value.
struct Stamped {
  uint64_t words[64];
};

Stamped Stamp(uint64_t n) {
  Stamped value;
  for (uint64_t& word : value.words) word = n;
  return value;
}

TEST(TripleBufferTest, TheReaderSeesTheNewestWholeValueOrTheLastOne) {
  TripleBuffer<Stamped> buffer(Stamp(0));
  EXPECT_EQ(0u, buffer.Read().words[0]);
  buffer.Publish(Stamp(1));
  buffer.Publish(Stamp(2));
  EXPECT_EQ(2u, buffer.Read().words[63]) << "the newest, not the first unread";
  EXPECT_EQ(2u, buffer.Read().words[0]) << "nothing new: the same value again";
  buffer.Publish(Stamp(3));
  EXPECT_EQ(3u, buffer.Read().words[0]);
}

TEST(TripleBufferTest, AReaderOnAnotherThreadNeverSeesAHalfWrittenValue) {
  TripleBuffer<Stamped> buffer(Stamp(0));
  constexpr uint64_t kPublished = 200000;
  std::atomic<bool> done{false};
  uint64_t torn = 0, backwards = 0, seen_last = 0;
  std::thread reader([&] {
    uint64_t before = 0;
    while (!done.load()) {
      const Stamped& value = buffer.Read();
      for (uint64_t word : value.words) torn += word != value.words[0] ? 1 : 0;
      backwards += value.words[0] < before ? 1 : 0;
      before = value.words[0];
    }
    seen_last = buffer.Read().words[0];
  });
  for (uint64_t n = 1; n <= kPublished; ++n) buffer.Publish(Stamp(n));
  done = true;
  reader.join();
  EXPECT_EQ(0u, torn);
  EXPECT_EQ(0u, backwards) << "values come in the order they were published";
  EXPECT_EQ(kPublished, seen_last);
}

TEST(SpscQueueTest, ValuesComeOutInOrderAndAFullQueueDropsAndCounts) {
  SpscQueue<int, 4> queue;
  for (int n = 1; n <= 6; ++n) queue.Push(n);
  EXPECT_EQ(2u, queue.dropped());
  int value = 0;
  for (int n = 1; n <= 4; ++n) {
    ASSERT_TRUE(queue.Pop(&value));
    EXPECT_EQ(n, value);
  }
  EXPECT_FALSE(queue.Pop(&value));
  EXPECT_TRUE(queue.Push(7)) << "room again once read";
  ASSERT_TRUE(queue.Pop(&value));
  EXPECT_EQ(7, value);
}

TEST(SpscQueueTest, AcrossThreadsEveryValueArrivesOnceInOrder) {
  SpscQueue<uint64_t, 64> queue;
  constexpr uint64_t kValues = 20000;
  uint64_t expected = 1, wrong = 0;
  std::thread reader([&] {
    uint64_t value = 0;
    while (expected <= kValues) {
      if (queue.Pop(&value)) {
        wrong += value != expected ? 1 : 0;
        expected = value + 1;
      }
    }
  });
  for (uint64_t n = 1; n <= kValues; ++n) {
    while (!queue.Push(n)) std::this_thread::yield();  // full: the test waits, the station would drop
  }
  reader.join();
  EXPECT_EQ(0u, wrong);
}

}  // namespace
}  // namespace onefortwo
