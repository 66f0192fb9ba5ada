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
