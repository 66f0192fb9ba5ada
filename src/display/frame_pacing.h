// At most 60 frames a second: the figures' per-frame steps were made for that
// rate (a figure grows to 5375 in exactly 1,200 frames, its 20 seconds).
#pragma once
#include <cstdint>

namespace dovra {

class FramePacer {
 public:
  explicit FramePacer(int64_t periodUs = 1000000 / 60) : period_(periodUs) {}
  // Called when a frame is done, with the current time; gives how long to wait
  // before the next frame starts. A frame that ran late starts the next one at
  // once, and a machine that falls a whole frame behind drops the lost frames
  // instead of hurrying to catch up.
  int64_t WaitAfterFrame(int64_t nowUs);
  int64_t Period() const { return period_; }
  // A new schedule from the next frame on, at this period: after a pause or a
  // change of rate the next frame waits one whole period, with no catching up.
  void Restart(int64_t periodUs) {
    period_ = periodUs;
    next_ = -1;
  }

 private:
  int64_t period_;
  int64_t next_ = -1;
};

}  // namespace dovra
