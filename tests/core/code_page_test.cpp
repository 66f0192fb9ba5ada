#include <gtest/gtest.h>

#include "toolkit/code_page.h"

using namespace dovra;

// Flags a code page rejects make every conversion fail (on the UTF-8 code page
// every chosen music file would be refused), so each kind of page is pinned.
TEST(CodePage, ExactConversionAsksOnlyWhatThePageAccepts) {
  struct Case {
    uint32_t cp;
    uint32_t flags;
    bool reportsReplaced, compareRoundTrip;
  } cases[] = {
      {932, kNoBestFitChars, true, false},   {1252, kNoBestFitChars, true, false},
      {936, kNoBestFitChars, true, false},   {50223, kNoBestFitChars, true, false},
      {65001, kErrInvalidChars, false, false}, {54936, kErrInvalidChars, false, false},
      {65000, 0, false, false},              {42, 0, false, true},
      {50220, 0, false, true},               {50229, 0, false, true},
      {57002, 0, false, true},               {57011, 0, false, true},
      {57012, kNoBestFitChars, true, false},
  };
  for (const Case& c : cases) {
    const ExactConversion e = ExactConversionFor(c.cp);
    EXPECT_EQ(e.flags, c.flags) << c.cp;
    EXPECT_EQ(e.reportsReplaced, c.reportsReplaced) << c.cp;
    EXPECT_EQ(e.compareRoundTrip, c.compareRoundTrip) << c.cp;
  }
}
