#include <gtest/gtest.h>

#include <vector>

#include "surface/frame_present.h"

using namespace dovra;

// Every pixel of the span lands in the 32-bit surface with its three bytes and
// a zero fourth byte; nothing outside the span, the padding or the row is
// touched. Widths leave every amount of row padding, and spans cross the
// four-pixel steps at every phase.
TEST(FramePresent, ConvertsExactlyTheSpan) {
  struct Case { int32_t w, h, y, x0, x1; } cases[] = {
      {1, 1, 0, 0, 1},      {2, 3, 1, 0, 2},    {3, 2, 0, 1, 3},     {5, 4, 3, 0, 5},
      {13, 3, 2, 3, 12},    {17, 2, 0, -4, 40}, {33, 5, 4, 1, 30},   {9, 2, 1, 6, 6},
      {8, 2, 5, 0, 8} /* a row past the end */,
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " row " << c.y << " " << c.x0 << ".." << c.x1);
    const int32_t stride24 = DibStride(c.w);
    std::vector<uint8_t> src(static_cast<size_t>(stride24) * c.h + 16, 0xEE);
    for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<uint8_t>(i * 7 + 3);
    std::vector<uint8_t> dst(static_cast<size_t>(c.w) * 4 * c.h + 16, 0xAB);
    const DibView s{src.data(), c.w, c.h, stride24};
    const Dib32View d{dst.data(), c.w, c.h, c.w * 4};
    Convert24To32(s, d, c.y, c.x0, c.x1);
    for (int32_t y = 0; y < c.h; ++y)
      for (int32_t x = 0; x < c.w; ++x) {
        const uint8_t* p = d.Row(y) + x * 4;
        const uint8_t* q = s.Row(y) + x * 3;
        if (y == c.y && x >= c.x0 && x < c.x1) {
          EXPECT_TRUE(p[0] == q[0] && p[1] == q[1] && p[2] == q[2] && p[3] == 0) << x << "," << y;
        } else {
          EXPECT_TRUE(p[0] == 0xAB && p[1] == 0xAB && p[2] == 0xAB && p[3] == 0xAB) << x << "," << y;
        }
      }
    for (size_t i = static_cast<size_t>(c.w) * 4 * c.h; i < dst.size(); ++i) EXPECT_EQ(dst[i], 0xAB);
  }
}

// What is shown anew is what was drawn in this frame and in the one before:
// a mark stays for exactly two frames, also one made in a whole frame; the
// first frame, and any frame after MarkAll, is the whole frame; marks off the
// frame change nothing.
TEST(FramePresent, DamageCoversThisFrameAndTheLast) {
  FrameDamage d;
  d.Reset(100, 50);
  auto take = [&] {
    std::vector<std::vector<int32_t>> spans;
    d.Take([&](int32_t y0, int32_t y1, int32_t x0, int32_t x1) { spans.push_back({y0, y1, x0, x1}); });
    return spans;
  };
  using Spans = std::vector<std::vector<int32_t>>;
  d.Mark(99, 49, 1, 1);     // drawn in the whole first frame: shown anew in the second
  EXPECT_EQ(take(), (Spans{{0, 50, 0, 100}}));
  EXPECT_EQ(take(), (Spans{{48, 50, 96, 100}}));
  EXPECT_EQ(take(), Spans{});
  d.Mark(20, 3, 2, 2);       // one tile: x 16..32, y 0..8
  d.Mark(-5, 46, 10, 10);    // the corner tile, clipped: x 0..16, y 40..48; row 48..50 too
  d.Mark(95, -30, 10, 10);   // wholly above: nothing
  d.Mark(INT32_MIN, INT32_MIN, 3, 3);
  const Spans first{{0, 8, 16, 32}, {40, 48, 0, 16}, {48, 50, 0, 16}};
  EXPECT_EQ(take(), first);
  d.Mark(30, 4, 20, 1);      // x 16..64 in the first band, joined into one run
  EXPECT_EQ(take(), (Spans{{0, 8, 16, 64}, {40, 48, 0, 16}, {48, 50, 0, 16}}));
  EXPECT_EQ(take(), (Spans{{0, 8, 16, 64}}));
  EXPECT_EQ(take(), Spans{});
  d.Mark(0, 0, 1, 1);
  d.MarkAll();
  EXPECT_EQ(take(), (Spans{{0, 50, 0, 100}}));
}
