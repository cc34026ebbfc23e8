#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/status_display.h"

namespace onefortwo {

// Keeps every text given for the agent's status field, from any thread.
class RecordingStatus : public StatusDisplay {
 public:
  void ShowStatus(StatusField field, const std::string& text, bool trouble) override {
    if (field != StatusField::agent) return;
    std::lock_guard<std::mutex> lock(mutex_);
    texts_.push_back(text);
    trouble_ = trouble;
  }

  std::vector<std::string> texts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
  }
  std::string last() {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_.empty() ? std::string() : texts_.back();
  }
  bool trouble() {
    std::lock_guard<std::mutex> lock(mutex_);
    return trouble_;
  }

  // Waits until the last text begins with `prefix`, calling `meanwhile` (a station tick)
  // every 56 ms or so; whether it came within `timeout_ms`.
  bool WaitFor(const std::string& prefix, int timeout_ms,
               const std::function<void()>& meanwhile = {}) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (last().rfind(prefix, 0) != 0) {
      if (std::chrono::steady_clock::now() >= until) return false;
      if (meanwhile) meanwhile();
      std::this_thread::sleep_for(std::chrono::milliseconds(56));
    }
    return true;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> texts_;
  bool trouble_ = false;
};

}  // namespace onefortwo
