#include "display/frame_pacing.h"

#include "toolkit/portable_only.h"

namespace dovra {

int64_t FramePacer::WaitAfterFrame(int64_t nowUs) {
  next_ = next_ < 0 ? nowUs + period_ : next_ + period_;
  if (next_ > nowUs) return next_ - nowUs;
  if (nowUs - next_ >= period_) next_ = nowUs;  // fell behind: start a fresh schedule
  return 0;
}

}  // namespace dovra
