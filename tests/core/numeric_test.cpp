#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "toolkit/numeric.h"

using namespace dovra;

TEST(Numeric, HalvesRoundToEven) {
  EXPECT_EQ(*ToInt16(2.5), 2);
  EXPECT_EQ(*ToInt16(3.5), 4);
  EXPECT_EQ(*ToInt16(-2.5), -2);
  EXPECT_EQ(*ToInt16(-3.5), -4);
  EXPECT_EQ(*ToInt16(0.49999999999999994), 0);
  EXPECT_EQ(*ToInt32(11.5), 12);
  EXPECT_EQ(*ToInt32(-11.5), -12);
  EXPECT_EQ(*ToInt32(2147483647.4), 2147483647);
  EXPECT_EQ(RoundInt32(10.5), 10);
  EXPECT_EQ(RoundInt32(-0.5), 0);
}

TEST(Numeric, ValuesThatDoNotFitAreReported) {
  EXPECT_EQ(*ToInt16(32767.4), 32767);
  EXPECT_FALSE(ToInt16(32767.5).has_value());  // rounds to 32768
  EXPECT_EQ(*ToInt16(-32768.5), -32768);       // even neighbour still fits
  EXPECT_FALSE(ToInt16(-32768.6).has_value());
  EXPECT_FALSE(ToInt16(1e9).has_value());
  EXPECT_FALSE(ToInt16(std::nan("")).has_value());
  EXPECT_FALSE(ToInt16(std::numeric_limits<double>::infinity()).has_value());
  EXPECT_FALSE(ToInt32(2147483647.5).has_value());
  EXPECT_EQ(*ToInt32(-2147483648.0), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(RoundInt32(1e12), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(RoundInt32(std::nan("")), 0);
}
