#include <gtest/gtest.h>

#include "toolkit/scene_scale.h"
#include "surface/resample.h"

using namespace dovra;

TEST(SceneScale, SizesStarsPicturesAndSpreadByDensity) {
  struct Case {
    int32_t dpi;
    double s;
    int32_t ball, planetW, star, picture;
  } cases[] = {
      {96, 1.0, 22, 640, 1, 1},  {120, 1.25, 28, 800, 1, 2}, {144, 1.5, 33, 960, 2, 2},
      {192, 2.0, 44, 1280, 2, 2}, {240, 2.5, 55, 1600, 2, 2}, {72, 0.75, 16, 480, 1, 1},
      {0, 1.0, 22, 640, 1, 1},   {-5, 1.0, 22, 640, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    const SceneScale s = SceneScale::FromDpi(c.dpi);
    EXPECT_EQ(s.Factor(), c.s);
    EXPECT_EQ(s.Size(22), c.ball);  // 27.5 -> 28 and 55 -> 55: halves to even
    EXPECT_EQ(s.Size(640), c.planetW);
    EXPECT_EQ(s.StarSide(), c.star);  // round(1.5) = 2, round(2.5) = 2
    EXPECT_EQ(s.PictureFactor(), c.picture);
    // The centre stays; everything else moves s times as far from it.
    EXPECT_EQ(s.Spread(960.0f, 1920), 960.0);
    EXPECT_EQ(s.Spread(1060.0f, 1920), 960.0 + 100 * c.s);
    EXPECT_EQ(s.Spread(-40.5f, 1920), 960.0 - 1000.5 * c.s);
  }
  EXPECT_EQ(SceneScale::FromDpi(9).Size(1), 1);  // a picture never vanishes
  // At 96 dpi a spread position is the projected one, to the last bit.
  const SceneScale one = SceneScale::FromDpi(96);
  EXPECT_TRUE(one.IsOne());
  for (float v : {0.1f, 959.7f, 1234.5678f, -3.3f}) EXPECT_EQ(one.Spread(v, 1920), static_cast<double>(v));
}

namespace {
RgbPicture Picture(int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b) {
  RgbPicture p;
  p.width = w;
  p.height = h;
  for (int32_t i = 0; i < w * h; ++i) p.rgb.insert(p.rgb.end(), {r, g, b});
  return p;
}
}  // namespace

// Pictures scaled once at start: area averages; a sprite keeps the rule that a
// pixel is magenta (left out) or wholly sprite, with no magenta blended in.
TEST(Resample, AreaAveragesAndSpritesKeepTheirMagentaRule) {
  RgbPicture checker = Picture(4, 2, 0, 0, 0);
  for (int32_t x = 0; x < 4; x += 2) checker.At(x, 0)[0] = checker.At(x, 1)[0] = 200;
  const RgbPicture half = ResampleArea(checker, 2, 1);
  EXPECT_EQ(half.At(0, 0)[0], 100);
  EXPECT_EQ(half.At(1, 0)[0], 100);
  const RgbPicture same = ResampleArea(checker, 4, 2);
  EXPECT_EQ(same.rgb, checker.rgb);  // same size: the same pixels
  const RgbPicture big = ResampleArea(Picture(3, 3, 10, 20, 30), 7, 5);
  for (size_t i = 0; i < big.rgb.size(); i += 3) EXPECT_EQ(big.rgb[i + 2], 30);

  // A 4 x 4 sprite: a grey 2 x 2 block in the top-left corner, magenta round it.
  RgbPicture sprite = Picture(4, 4, 255, 0, 255);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 2; ++x) sprite.At(x, y)[0] = sprite.At(x, y)[1] = sprite.At(x, y)[2] = 120;
  sprite.At(1, 1)[0] = sprite.At(1, 1)[1] = sprite.At(1, 1)[2] = 200;
  const RgbPicture small = ResampleSprite(sprite, 2, 2);
  EXPECT_EQ(small.At(0, 0)[0], 140);  // (3 x 120 + 200) / 4: only sprite pixels count
  EXPECT_EQ(small.At(0, 0)[1], 140);
  for (auto [x, y] : {std::pair{1, 0}, {0, 1}, {1, 1}}) {
    const uint8_t* p = small.At(x, y);
    EXPECT_TRUE(p[0] == 255 && p[1] == 0 && p[2] == 255);
  }
  // At 3 x 3 a pixel over half or more sprite is sprite, one over a quarter is magenta.
  const RgbPicture odd = ResampleSprite(sprite, 3, 3);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 3; ++x) {
      const uint8_t* p = odd.At(x, y);
      const bool magenta = p[0] == 255 && p[1] == 0 && p[2] == 255;
      EXPECT_TRUE(magenta || (p[0] == p[1] && p[1] == p[2])) << x << "," << y;  // never a blend
      EXPECT_EQ(magenta, x + y > 1) << x << "," << y;
    }
}
