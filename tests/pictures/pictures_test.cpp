// The committed pictures: sizes, depths and the properties the program relies on.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "toolkit/picture_codec.h"

namespace {

std::vector<uint8_t> Read(const std::string& name) {
  std::vector<uint8_t> v;
  FILE* f = std::fopen((std::string(DOVRA_RESOURCES) + "/" + name).c_str(), "rb");
  if (!f) return v;
  int c;
  while ((c = std::fgetc(f)) != EOF) v.push_back(static_cast<uint8_t>(c));
  std::fclose(f);
  return v;
}

uint16_t U16(const std::vector<uint8_t>& v, size_t at) { return static_cast<uint16_t>(v[at] | (v[at + 1] << 8)); }

// A committed picture, decoded as the program decodes it, with pixel access
// from the top-left.
struct Bmp {
  std::vector<uint8_t> bytes;
  dovra::RgbPicture pic;
  int w = 0, h = 0;
  explicit Bmp(const std::string& name) : bytes(Read(name)) {
    if (auto p = dovra::DecodePicture(bytes.data(), bytes.size())) {
      pic = *p;
      w = pic.width;
      h = pic.height;
    }
  }
  uint32_t At(int x, int y) const {  // 0xRRGGBB
    const uint8_t* p = pic.At(x, y);
    return (p[0] << 16) | (p[1] << 8) | p[2];
  }
};

}  // namespace

// Each picture at its size and at twice it: the program picks by the screen's scale.
TEST(Pictures, SizesAtOneAndTwoTimes) {
  struct { const char* name; int w, h; const char* big; } expect[] = {
      {"ball", 22, 23, "png"}, {"earth", 500, 400, "jpg"}, {"gas_giant", 640, 480, "jpg"},
      {"ringed_planet", 640, 480, "jpg"}, {"preview", 152, 112, "png"}, {"mark_empty", 12, 12, "png"},
      {"mark_selected", 12, 12, "png"}, {"face_normal", 64, 25, "png"}, {"face_highlight", 64, 25, "png"},
      {"face_highlight_select", 64, 25, "png"}, {"face_selected", 64, 25, "png"},
      {"face_pressed", 64, 25, "png"}, {"face_disable", 64, 25, "png"},
  };
  for (const auto& e : expect) {
    Bmp one(std::string(e.name) + ".png"), two(std::string(e.name) + "_2x." + e.big);
    EXPECT_EQ(one.w, e.w) << e.name;
    EXPECT_EQ(one.h, e.h) << e.name;
    EXPECT_EQ(two.w, 2 * e.w) << e.name;
    EXPECT_EQ(two.h, 2 * e.h) << e.name;
  }
}

TEST(Pictures, BallIsGreyInsideAndExactlyMagentaOutside) {
 for (int k : {1, 2}) {
  SCOPED_TRACE(k);
  Bmp b(k == 1 ? "ball.png" : "ball_2x.png");
  ASSERT_EQ(b.w, 22 * k);
  int grey = 0, darkest = 255, lightest = 0;
  for (int y = 0; y < b.h; ++y)
    for (int x = 0; x < b.w; ++x) {
      const uint32_t c = b.At(x, y);
      const double dx = (x + 0.5) / k - 11, dy = (y + 0.5) / k - 11.5;
      const bool inside = dx * dx + dy * dy < 10 * 10;
      const bool outside = dx * dx + dy * dy > 11.5 * 11.5;
      if (c == 0xFF00FF) {
        EXPECT_FALSE(inside) << x << "," << y;
        continue;
      }
      EXPECT_FALSE(outside) << x << "," << y;
      const int r = c >> 16, g = (c >> 8) & 255, bl = c & 255;
      ASSERT_TRUE(r == g && g == bl) << "not grey at " << x << "," << y;  // no fringe
      ++grey;
      darkest = std::min(darkest, r);
      lightest = std::max(lightest, r);
    }
  EXPECT_GT(grey, 300 * k * k);
  EXPECT_GE(darkest, 50);
  EXPECT_LE(darkest, 70);
  EXPECT_GE(lightest, 235);
  // Lit from the upper left: that quarter is brighter than the lower right.
  EXPECT_GT(b.At(7 * k, 7 * k) & 255, b.At(15 * k, 16 * k) & 255);
  for (int x : {0, b.w - 1}) EXPECT_EQ(b.At(x, 0), 0xFF00FFu);
 }
}

TEST(Pictures, ButtonFacesHaveTheirOutlinesAndRings) {
  EXPECT_EQ(Read("face_highlight.png"), Read("face_highlight_select.png"));
  Bmp normal("face_normal.png"), high("face_highlight.png"), sel("face_selected.png");
  Bmp pressed("face_pressed.png"), disabled("face_disable.png");
  for (const Bmp* b : {&normal, &high, &sel}) {
    EXPECT_EQ(b->At(32, 1), 0x003C74u);   // top outline
    EXPECT_EQ(b->At(32, 23), 0x003C74u);  // bottom outline
    EXPECT_EQ(b->At(1, 12), 0x003C74u);   // left
    EXPECT_EQ(b->At(62, 12), 0x003C74u);  // right
    EXPECT_EQ(b->At(32, 0), 0xE2DECBu);   // light grey outside
    EXPECT_NE(b->At(1, 1), 0x003C74u);    // rounded corner
  }
  EXPECT_EQ(normal.At(32, 2), 0xF3F3EEu);
  EXPECT_EQ(normal.At(32, 21), 0xE2DFD6u);
  EXPECT_EQ(normal.At(32, 22), 0xD6D0C5u);
  EXPECT_EQ(high.At(32, 2), 0xFFF0CFu);
  EXPECT_EQ(high.At(32, 3), 0xFDD889u);
  EXPECT_EQ(high.At(32, 21), 0xF8B330u);
  EXPECT_EQ(high.At(32, 22), 0xE59700u);
  EXPECT_EQ(high.At(2, 4), 0xFEDF9Au);
  EXPECT_EQ(high.At(61, 20), 0xF9B435u);
  EXPECT_EQ(normal.At(2, 4), 0xFDFDFCu);
  EXPECT_EQ(normal.At(3, 20), 0xECEBE6u);
  EXPECT_EQ(normal.At(61, 20), 0xE0DDD4u);
  EXPECT_EQ(sel.At(32, 2), 0xCEE7FFu);
  EXPECT_EQ(sel.At(32, 22), 0x6982EEu);
  EXPECT_EQ(sel.At(2, 4), 0xB7D0F4u);
  EXPECT_EQ(sel.At(60, 20), 0x8BADE4u);
  EXPECT_EQ(pressed.At(32, 2), 0x003C74u);  // one pixel further in
  EXPECT_EQ(pressed.At(2, 12), 0x003C74u);
  EXPECT_EQ(pressed.At(32, 1), 0xECE9D8u);
  EXPECT_EQ(pressed.At(32, 3), 0xD1CCC1u);
  EXPECT_EQ(disabled.At(32, 1), 0xC9C7BAu);
  EXPECT_EQ(disabled.At(32, 0), 0xECE9D8u);
  EXPECT_EQ(disabled.At(32, 5), 0xF5F4EAu);
}

TEST(Pictures, MarksIconAndCursor) {
  Bmp empty("mark_empty.png"), full("mark_selected.png");
  EXPECT_EQ(empty.At(6, 6), 0xFFFFFFu);
  const uint32_t mid = full.At(6, 6);
  EXPECT_GT(mid & 255, (mid >> 16) + 80);  // filled with blue
  EXPECT_EQ(empty.At(0, 5), full.At(0, 5));  // the same box

  const auto ico = Read("dovra.ico");
  ASSERT_GE(ico.size(), 22u);
  EXPECT_EQ(U16(ico, 2), 1);   // icon
  ASSERT_EQ(U16(ico, 4), 5);   // 16, 24, 32, 48 and 64 pixels
  EXPECT_EQ(ico[6 + 2 * 16], 32);
  EXPECT_EQ(ico[6 + 4 * 16], 64);
  const auto cur = Read("hand.cur");
  ASSERT_GE(cur.size(), 22u);
  EXPECT_EQ(U16(cur, 2), 2);   // cursor
  ASSERT_EQ(U16(cur, 4), 2);   // 32 and 64 pixels
  EXPECT_EQ(cur[6], 32);
  EXPECT_EQ(cur[8], 2);        // two colours
  EXPECT_EQ(U16(cur, 10), 12);  // hot spot
  EXPECT_EQ(U16(cur, 12), 10);
  EXPECT_EQ(cur[22], 64);
  EXPECT_EQ(U16(cur, 26), 24);  // the same spot at twice the size
  EXPECT_EQ(U16(cur, 28), 20);
}

TEST(Pictures, PlanetsAreLitFromTheLeftOnBlackSky) {
  for (const char* f : {"earth.png", "gas_giant.png", "ringed_planet.png", "earth_2x.jpg", "gas_giant_2x.jpg",
                        "ringed_planet_2x.jpg"}) {
    Bmp b(f);
    ASSERT_GT(b.w, 0) << f;
    // Corners are sky: dark.
    for (auto [x, y] : {std::pair{0, 0}, {b.w - 1, b.h - 1}}) {
      const uint32_t c = b.At(x, y);
      EXPECT_LT((c >> 16) + ((c >> 8) & 255) + (c & 255), 3 * 160) << f;
    }
    // Much of the picture is planet, brighter on the left half than the right.
    double left = 0, right = 0;
    for (int y = 0; y < b.h; ++y)
      for (int x = 0; x < b.w; ++x) {
        const uint32_t c = b.At(x, y);
        (x < b.w / 2 ? left : right) += (c >> 16) + ((c >> 8) & 255) + (c & 255);
      }
    EXPECT_GT(left, right * 1.2) << f;
    EXPECT_GT(left / (b.w * b.h / 2.0), 60) << f;
  }
}
