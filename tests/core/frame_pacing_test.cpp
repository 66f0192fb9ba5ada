#include <gtest/gtest.h>

#include "display/frame_pacing.h"

using namespace dovra;

TEST(FramePacing, SixtyFramesASecondWithoutDriftOrCatchingUp) {
  FramePacer p(16667);
  EXPECT_EQ(p.WaitAfterFrame(1000), 16667);  // first frame done at t = 1000
  // A frame that took 4 ms waits for the rest of its slot; the schedule is
  // absolute, so short waits do not add up to drift.
  EXPECT_EQ(p.WaitAfterFrame(1000 + 16667 + 4000), 16667 - 4000);
  EXPECT_EQ(p.WaitAfterFrame(1000 + 2 * 16667 + 100), 16667 - 100);
  // A frame that overran its slot a little: go at once, keep the schedule.
  EXPECT_EQ(p.WaitAfterFrame(1000 + 4 * 16667 + 10), 0);
  EXPECT_EQ(p.WaitAfterFrame(1000 + 4 * 16667 + 20), 16667 - 20);
  // A stall of a second: no burst of frames afterwards, a fresh schedule instead.
  const int64_t late = 2000000;
  EXPECT_EQ(p.WaitAfterFrame(late), 0);
  EXPECT_EQ(p.WaitAfterFrame(late + 1000), 16667 - 1000);
  // Restarted (after a pause, at another rate): the next frame waits a whole
  // period of the new rate, however far behind the old schedule is.
  p.Restart(33333);
  EXPECT_EQ(p.WaitAfterFrame(late + 900000), 33333);
  EXPECT_EQ(p.WaitAfterFrame(late + 900000 + 33333 + 10), 33333 - 10);
}

TEST(FramePacing, ReachesSixtyFramesInASecondOfSteadyWork) {
  FramePacer p;
  int64_t now = 0;
  int frames = 0;
  while (now < 1000000) {
    now += 3000;  // each frame takes 3 ms
    ++frames;
    now += p.WaitAfterFrame(now);
  }
  EXPECT_GE(frames, 59);
  EXPECT_LE(frames, 61);
}
