#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace onefortwo {

// The latest value of a T, handed from one writer thread to one reader thread without a
// lock and without either side ever waiting: three buffers, the writer fills one, the
// reader reads another, the third is the newest whole value between them. The reader
// always sees a value the writer published whole, never one half written. T is copied
// whole on Publish, so keep it plain data.
template <typename T>
class TripleBuffer {
  static_assert(std::is_trivially_copyable<T>::value, "published by plain copy");

 public:
  explicit TripleBuffer(const T& initial) { buffers_.fill(initial); }

  // Writer thread only: makes `value` the newest.
  void Publish(const T& value) {
    buffers_[back_] = value;
    back_ = middle_.exchange(back_ | kFresh, std::memory_order_acq_rel) & kIndex;
  }

  // Reader thread only: the newest value published, or the one read last when nothing
  // new came. Stays valid until the next Read.
  const T& Read() {
    if (middle_.load(std::memory_order_relaxed) & kFresh)
      front_ = middle_.exchange(front_, std::memory_order_acq_rel) & kIndex;
    return buffers_[front_];
  }

 private:
  static constexpr uint8_t kIndex = 3;
  static constexpr uint8_t kFresh = 4;  // the middle buffer holds a value not yet read

  std::array<T, 3> buffers_;
  uint8_t back_ = 0;                    // the writer's
  std::atomic<uint8_t> middle_{1};
  uint8_t front_ = 2;                   // the reader's
};

// A queue of at most N values from one writer thread to one reader thread, without a
// lock: Push never waits and drops the value when the queue is full.
template <typename T, size_t N>
class SpscQueue {
  static_assert(std::is_trivially_copyable<T>::value, "queued by plain copy");

 public:
  // Writer thread only. False (and the value counted as dropped) when N values wait.
  bool Push(const T& value) {
    const size_t tail = tail_.load(std::memory_order_relaxed);
    if (tail - head_.load(std::memory_order_acquire) >= N) {
      dropped_.fetch_add(1, std::memory_order_relaxed);
      return false;
    }
    slots_[tail % N] = value;
    tail_.store(tail + 1, std::memory_order_release);
    return true;
  }

  // Reader thread only: the oldest value into `value`; false when none waits.
  bool Pop(T* value) {
    const size_t head = head_.load(std::memory_order_relaxed);
    if (head == tail_.load(std::memory_order_acquire)) return false;
    *value = slots_[head % N];
    head_.store(head + 1, std::memory_order_release);
    return true;
  }

  // Values Push could not queue since the start; any thread.
  uint64_t dropped() const { return dropped_.load(std::memory_order_relaxed); }

 private:
  std::array<T, N> slots_{};
  std::atomic<size_t> head_{0};
  std::atomic<size_t> tail_{0};
  std::atomic<uint64_t> dropped_{0};
};

}  // namespace onefortwo
