#include <gtest/gtest.h>

#include "display/stopwatch.h"

using namespace dovra;

TEST(Stopwatch, MeasuresAcrossTheCounterWrap) {
  uint32_t now = 4294967000u;
  Vormix_C2 w([&] { return now; });
  w.StartWatch();
  EXPECT_EQ(w.GetTime(), 0);
  now = 200;
  EXPECT_EQ(w.GetTime(), 496);
  now = 4294967000u + 20000u;  // also wraps
  EXPECT_EQ(w.GetTime(), 20000);
}

TEST(Stopwatch, StartsFromZeroAndCanBeSet) {
  uint32_t now = 1234;
  Vormix_C2 w([&] { return now; });
  EXPECT_EQ(w.StartTime, 0);
  EXPECT_EQ(w.GetTime(), 1234);  // before the first start: the raw counter
  w.SetStartTime(1000);
  EXPECT_EQ(w.GetTime(), 234);
  w.StartWatch();
  now += 7;
  EXPECT_EQ(w.GetTime(), 7);
}

// Held while nothing is shown, across a wrap of the counter too: the time
// stands where it was and goes on from there.
TEST(Stopwatch, HeldTimeStandsStill) {
  uint32_t now = 4294960000u;
  Vormix_C2 w([&] { return now; });
  w.StartWatch();
  now += 5000;
  w.Hold();
  now += 3600000;
  w.Hold();  // said twice: still the time of the first
  w.Resume();
  now += 17;
  EXPECT_EQ(w.GetTime(), 5017);
}
