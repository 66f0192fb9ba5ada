#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "toolkit/value_services.h"

using namespace dovra;

TEST(ValueServices, NumberTextKeepsTheSignPosition) {
  EXPECT_EQ(NumberText(2), " 2");
  EXPECT_EQ(NumberText(0), " 0");
  EXPECT_EQ(NumberText(30), " 30");
  EXPECT_EQ(NumberText(-1), "-1");
  EXPECT_EQ(NumberText(-32768), "-32768");
  EXPECT_EQ(FormatTrack(0), "");
  EXPECT_EQ(FormatTrack(5), "5");
  EXPECT_EQ(FormatTrack(30), "30");
  EXPECT_EQ(FormatTrack(-7), "-7");
}

TEST(ValueServices, TextToNumberReadsTheLeadingNumber) {
  EXPECT_EQ(TextToNumber(" 2"), 2);
  EXPECT_EQ(TextToNumber("\t\n 17abc"), 17);
  EXPECT_EQ(TextToNumber("2.7"), 2.7);
  EXPECT_EQ(TextToNumber("-1.5"), -1.5);
  EXPECT_EQ(TextToNumber("+4"), 4);
  EXPECT_EQ(TextToNumber(".5"), 0.5);
  EXPECT_EQ(TextToNumber("5."), 5);
  EXPECT_EQ(TextToNumber("1e9"), 1e9);
  EXPECT_EQ(TextToNumber("2.5E-1x"), 0.25);
  EXPECT_EQ(TextToNumber("3e"), 3);     // an exponent without digits is not read
  EXPECT_EQ(TextToNumber("3e+"), 3);
  EXPECT_EQ(TextToNumber("1,5"), 1);    // stops at a character that cannot continue
  EXPECT_EQ(TextToNumber("12 3"), 12);
  EXPECT_EQ(TextToNumber("abc"), 0);
  EXPECT_EQ(TextToNumber(""), 0);
  EXPECT_EQ(TextToNumber("-"), 0);
  EXPECT_EQ(TextToNumber("."), 0);
  EXPECT_EQ(TextToNumber("- 5"), 0);
  EXPECT_TRUE(std::isinf(TextToNumber("1e999")));
  EXPECT_EQ(TextToNumber("1e-999"), 0);
  EXPECT_TRUE(std::isinf(TextToNumber(std::string(100000, '9'))));
}

TEST(ValueServices, IsNumericAcceptsWholeNumbersOnly) {
  for (const char* yes : {"7", " 7 ", "-3", "+2", "2.5", ".5", "1e3", "1.5E-2", "\t9\n"})
    EXPECT_TRUE(IsNumeric(yes)) << yes;
  for (const char* no : {"", " ", "abc", "7a", "1e", "--1", "1 2", "e5", ".", "1e999"})
    EXPECT_FALSE(IsNumeric(no)) << no;
}

TEST(ValueServices, RandomNumbersAreUniformInTheUnitInterval) {
  Rnd a, b, c;
  a.Seed(43200.25);
  b.Seed(43200.25);
  c.Seed(43201.25);
  int buckets[3] = {};
  bool differs = false;
  for (int i = 0; i < 30000; ++i) {
    const double x = a.Next();
    ASSERT_GE(x, 0.0);
    ASSERT_LT(x, 1.0);
    ASSERT_EQ(x, b.Next());  // same seed, same sequence
    differs = differs || x != c.Next();
    ++buckets[static_cast<int>(x * 3)];
  }
  EXPECT_TRUE(differs);
  for (int k : buckets) EXPECT_NEAR(k, 10000, 400);
}
