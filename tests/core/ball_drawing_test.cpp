#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <tuple>

#include "display/ball_drawing.h"
#include "surface/pixel_copy.h"

using namespace dovra;

namespace {

VertexList WithDepths(std::initializer_list<float> depths) {
  VertexList l;
  for (float d : depths) {
    AddVertex(l, 0, 0, 0);
    l[l.Last()].Depth = d;
  }
  return l;
}

std::vector<int32_t> OrderOf(VertexList l) {
  BallPainter p;
  return p.Order(l);
}

}  // namespace

TEST(BallOrder, FarthestFirstAndHigherPositionFirstAmongEquals) {
  EXPECT_EQ(OrderOf(WithDepths({9000, 12000, 10000, 12000, 7500})),
            (std::vector<int32_t>{4, 2, 3, 1, 5}));
  EXPECT_EQ(OrderOf(WithDepths({10000, 10000, 10000, 10000})), (std::vector<int32_t>{4, 3, 2, 1}));
  EXPECT_EQ(OrderOf(WithDepths({8000})), (std::vector<int32_t>{1}));
  EXPECT_TRUE(OrderOf(VertexList()).empty());  // an empty list returns at once
}

TEST(BallOrder, DepthsTheSelectionCouldNotPickAreStillPaintedOnce) {
  VertexList l = WithDepths({10000, -5, 1e30f, std::nanf(""), 40000, 0});
  BallPainter p;
  const auto order = p.Order(l);
  ASSERT_EQ(order.size(), 6u);
  EXPECT_EQ(std::set<int32_t>(order.begin(), order.end()).size(), 6u);
  EXPECT_EQ(order.back(), 2);  // the negative depth is the nearest
  for (int32_t i = 1; i <= l.Last(); ++i) EXPECT_EQ(l[i].Drawn, -1);
}

TEST(BallOrder, DepthsCloserThanAFloatStepOfTheKeyCountAsEqual) {
  // 32000 - Depth is taken in 32-bit floats, as the selection compares keys: the
  // next float above 10000 gives the same key as 10000 itself, so the higher
  // position is painted first although its depth is a little smaller.
  const float next = std::nextafter(10000.0f, 20000.0f);
  ASSERT_GT(next, 10000.0f);
  EXPECT_EQ(OrderOf(WithDepths({next, 10000.0f})), (std::vector<int32_t>{2, 1}));
  EXPECT_EQ(OrderOf(WithDepths({10000.5f, 10000.0f})), (std::vector<int32_t>{1, 2}));
}

TEST(BallOrder, SpriteIsCentredWithHalvesToEven) {
  VertexList l = WithDepths({10000, 9000});
  l[1].ScreenX = 100; l[1].ScreenY = 200;   // 100 - 11 = 89; 200 - 11.5 = 188.5 -> 188
  l[2].ScreenX = 10.5f; l[2].ScreenY = 0;   // 10.5 - 11 = -0.5 -> 0; -11.5 -> -12
  BallPainter p;
  std::vector<std::pair<int32_t, int32_t>> at;
  p.DrawBalls(l, 22, 23, [&](int32_t x, int32_t y) { at.push_back({x, y}); });
  ASSERT_EQ(at.size(), 2u);
  EXPECT_EQ(at[0], std::make_pair(89, 188));
  EXPECT_EQ(at[1], std::make_pair(0, -12));
  EXPECT_EQ(SpriteCorner(189.5f, 23), 178);  // 178 is even
}

TEST(Stars, BrightnessRisesFrom20ToWhite) {
  EXPECT_EQ(StarBrightness(15000), 20);
  EXPECT_EQ(StarBrightness(14999), 20);
  EXPECT_EQ(StarBrightness(7500), 147);  // floor(127.5) + 20
  EXPECT_EQ(StarBrightness(1176), 255);
  EXPECT_EQ(StarBrightness(1200), 254);
  EXPECT_EQ(StarBrightness(0), 255);
  EXPECT_EQ(StarBrightness(-2500), 255);
  EXPECT_EQ(GreyColour(20), 0x141414u);
}

TEST(Stars, StartValuesAndTheMoveBackToTheFarEnd) {
  Rnd rnd, again;
  rnd.Seed(1000);
  again.Seed(1000);
  StarField stars{};
  StartStars(stars, rnd);
  for (int i = 1; i <= kStarCount; ++i) {
    const double r1 = again.Next(), r2 = again.Next(), r3 = again.Next();
    ASSERT_EQ(stars[i].X, static_cast<float>(r1 * 2000 - 1000));
    ASSERT_EQ(stars[i].Y, static_cast<float>(r2 * 2000 - 1000));
    ASSERT_EQ(stars[i].Z, static_cast<float>(r3 * 15000));
  }
  EXPECT_EQ(stars[0].Z, 0);

  StarField s{};
  s[1].Z = -2450;  // reaches exactly -2500: stays one more frame
  s[2].Z = -2500;  // goes to -2550: back to 15000 in the same frame
  s[3].X = 400; s[3].Y = -300; s[3].Z = 0;
  std::vector<std::tuple<int32_t, int32_t, uint32_t>> px;
  DrawStars(s, 1000, 800, [&](int32_t x, int32_t y, uint32_t c) { px.emplace_back(x, y, c); });
  EXPECT_EQ(s[1].Z, -2500);
  EXPECT_EQ(s[2].Z, 15000);
  EXPECT_EQ(s[3].Z, -50);
  ASSERT_EQ(px.size(), 300u);
  // Drawn where it was before the move: 500 + 2500 * -300 / 5000, 400 - 2500 * 400 / 5000.
  EXPECT_EQ(px[2], std::make_tuple(350, 200, 0xFFFFFFu));
  EXPECT_EQ(std::get<2>(px[1]), 0xFFFFFFu);
  DrawStars(s, 1000, 800, [](int32_t, int32_t, uint32_t) {});
  EXPECT_EQ(s[1].Z, 15000);
}

TEST(PixelCopy, MagentaIsLeftOutAndTheCopyIsClipped) {
  // 3 x 2 source: magenta in the middle of the top row.
  std::vector<uint8_t> src(DibStride(3) * 2, 0x10);
  DibView sv{src.data(), 3, 2, DibStride(3)};
  uint8_t* top = sv.Row(0);
  top[3] = 0xFF; top[4] = 0x00; top[5] = 0xFF;
  top[6] = 0xFE; top[7] = 0x00; top[8] = 0xFF;  // almost magenta: copied
  std::vector<uint8_t> dst(DibStride(4) * 3, 0x77);
  DibView dv{dst.data(), 4, 3, DibStride(4)};
  CopyTransparent(sv, dv, 2, -1);  // only the bottom source row lands, on dst row 0, columns 2..3
  EXPECT_EQ(dv.Row(0)[6], 0x10);
  EXPECT_EQ(dv.Row(0)[9], 0x10);
  EXPECT_EQ(dv.Row(0)[3], 0x77);
  EXPECT_EQ(dv.Row(1)[6], 0x77);
  CopyTransparent(sv, dv, 0, 1);
  EXPECT_EQ(dv.Row(1)[0], 0x10);
  EXPECT_EQ(dv.Row(1)[3], 0x77);  // magenta left the destination alone
  EXPECT_EQ(dv.Row(1)[6], 0xFE);
  EXPECT_EQ(dv.Row(2)[3], 0x10);
  const std::vector<uint8_t> before = dst;
  CopyTransparent(sv, dv, 4, 0);   // wholly outside
  CopyTransparent(sv, dv, -3, 0);
  CopyTransparent(sv, dv, 0, 3);
  // Corners at the ends of the 32-bit range are clipped, never overflowed.
  for (int32_t x : {INT32_MIN, INT32_MIN + 1, -2000000000, INT32_MAX - 1, INT32_MAX})
    for (int32_t y : {INT32_MIN, INT32_MIN + 1, 0, INT32_MAX}) CopyTransparent(sv, dv, x, y);
  for (int32_t y : {INT32_MIN, INT32_MAX}) CopyTransparent(sv, dv, 0, y);
  EXPECT_EQ(dst, before);
}

// A sprite copied run by run is copied as CopyTransparent copies it, at every
// place: inside, across each edge, outside, at the ends of the 32-bit range.
TEST(PixelCopy, RunsCopyWhatTheTransparentCopyCopies) {
  const int32_t sw = 7, sh = 5;
  std::vector<uint8_t> src(DibStride(sw) * sh);
  const DibView sv{src.data(), sw, sh, DibStride(sw)};
  uint32_t seed = 7;
  for (int32_t y = 0; y < sh; ++y)
    for (int32_t x = 0; x < sw; ++x) {
      seed = seed * 1103515245u + 12345u;
      uint8_t* p = sv.Row(y) + x * 3;
      const bool magenta = (seed >> 16) % 3 == 0 || x == 0 || (y == 2 && x == sw - 1);
      p[0] = magenta ? 0xFF : static_cast<uint8_t>(seed >> 8);
      p[1] = magenta ? 0x00 : static_cast<uint8_t>(seed >> 16);
      p[2] = magenta ? 0xFF : static_cast<uint8_t>(seed >> 24);
    }
  const TransparentSprite sprite(sv);
  for (int32_t atX : {0, 2, -3, 8, 10, -7, INT32_MIN, INT32_MAX - 2})
    for (int32_t atY : {0, 1, -2, 4, 6, -5, INT32_MIN, INT32_MAX}) {
      std::vector<uint8_t> a(DibStride(11) * 7, 0x5A), b = a;
      const DibView av{a.data(), 11, 7, DibStride(11)}, bv{b.data(), 11, 7, DibStride(11)};
      CopyTransparent(sv, av, atX, atY);
      sprite.CopyTo(bv, atX, atY);
      EXPECT_EQ(a, b) << atX << "," << atY;
    }
}
