// Vormix_C2: milliseconds elapsed since the last start, over the system's
// 32-bit millisecond counter (which wraps after about 49.7 days).
#pragma once
#include <cstdint>
#include <functional>

namespace dovra {

class Vormix_C2 {
 public:
  using Counter = std::function<uint32_t()>;
  explicit Vormix_C2(Counter counter) : counter_(std::move(counter)) {}

  void StartWatch() { StartTime = static_cast<int32_t>(counter_()); }
  // Two's-complement difference: right across a wrap of the counter as long as
  // less than 2^31 ms have passed.
  int32_t GetTime() const {
    return static_cast<int32_t>(counter_() - static_cast<uint32_t>(StartTime));
  }
  void SetStartTime(int32_t lTime) { StartTime = lTime; }
  // Stops the time while nothing is shown, and lets it go on from where it
  // stood: a figure carries on as it was, its time neither lost nor leapt.
  void Hold() {
    if (!holding_) held_ = GetTime();
    holding_ = true;
  }
  void Resume() {
    if (holding_) StartTime = static_cast<int32_t>(counter_() - static_cast<uint32_t>(held_));
    holding_ = false;
  }

  int32_t StartTime = 0;

 private:
  Counter counter_;
  int32_t held_ = 0;
  bool holding_ = false;
};

}  // namespace dovra
