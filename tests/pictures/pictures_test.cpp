// The committed pictures: sizes, depths and the properties the program relies on.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

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

uint32_t U32(const std::vector<uint8_t>& v, size_t at) {
  return v[at] | (v[at + 1] << 8) | (v[at + 2] << 16) | (uint32_t(v[at + 3]) << 24);
}
uint16_t U16(const std::vector<uint8_t>& v, size_t at) { return static_cast<uint16_t>(v[at] | (v[at + 1] << 8)); }

// A 24-bit BMP file with pixel access from the top-left.
struct Bmp {
  std::vector<uint8_t> bytes;
  int w = 0, h = 0, bits = 0;
  explicit Bmp(const std::string& name) : bytes(Read(name)) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return;
    w = static_cast<int>(U32(bytes, 18));
    h = static_cast<int>(U32(bytes, 22));
    bits = U16(bytes, 28);
  }
  uint32_t At(int x, int y) const {  // 0xRRGGBB
    const size_t stride = (w * 3 + 3) & ~3;
    const size_t off = U32(bytes, 10) + (h - 1 - y) * stride + x * 3;
    return (bytes[off + 2] << 16) | (bytes[off + 1] << 8) | bytes[off];
  }
};

}  // namespace

TEST(Pictures, SizesAndDepths) {
  struct { const char* file; int w, h; } expect[] = {
      {"ball.bmp", 22, 23}, {"earth.bmp", 500, 400}, {"gas_giant.bmp", 640, 480},
      {"ringed_planet.bmp", 640, 480}, {"preview.bmp", 152, 112}, {"mark_empty.bmp", 12, 12},
      {"mark_selected.bmp", 12, 12}, {"face_normal.bmp", 64, 25}, {"face_highlight.bmp", 64, 25},
      {"face_highlight_select.bmp", 64, 25}, {"face_selected.bmp", 64, 25},
      {"face_pressed.bmp", 64, 25}, {"face_disable.bmp", 64, 25},
  };
  for (const auto& e : expect) {
    Bmp b(e.file);
    EXPECT_EQ(b.w, e.w) << e.file;
    EXPECT_EQ(b.h, e.h) << e.file;
    EXPECT_EQ(b.bits, 24) << e.file;
    EXPECT_EQ(b.bytes.size(), 54u + ((e.w * 3 + 3) & ~3) * e.h) << e.file;
  }
}

TEST(Pictures, BallIsGreyInsideAndExactlyMagentaOutside) {
  Bmp b("ball.bmp");
  ASSERT_EQ(b.w, 22);
  int grey = 0, darkest = 255, lightest = 0;
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 22; ++x) {
      const uint32_t c = b.At(x, y);
      const double dx = x + 0.5 - 11, dy = y + 0.5 - 11.5;
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
  EXPECT_GT(grey, 300);
  EXPECT_GE(darkest, 50);
  EXPECT_LE(darkest, 70);
  EXPECT_GE(lightest, 235);
  // Lit from the upper left: that quarter is brighter than the lower right.
  EXPECT_GT(b.At(7, 7) & 255, b.At(15, 16) & 255);
  for (int x : {0, 21}) EXPECT_EQ(b.At(x, 0), 0xFF00FFu);
}

TEST(Pictures, ButtonFacesHaveTheirOutlinesAndRings) {
  EXPECT_EQ(Read("face_highlight.bmp"), Read("face_highlight_select.bmp"));
  Bmp normal("face_normal.bmp"), high("face_highlight.bmp"), sel("face_selected.bmp");
  Bmp pressed("face_pressed.bmp"), disabled("face_disable.bmp");
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
  Bmp empty("mark_empty.bmp"), full("mark_selected.bmp");
  EXPECT_EQ(empty.At(6, 6), 0xFFFFFFu);
  const uint32_t mid = full.At(6, 6);
  EXPECT_GT(mid & 255, (mid >> 16) + 80);  // filled with blue
  EXPECT_EQ(empty.At(0, 5), full.At(0, 5));  // the same box

  const auto ico = Read("dovra.ico");
  ASSERT_GE(ico.size(), 22u);
  EXPECT_EQ(U16(ico, 2), 1);   // icon
  EXPECT_EQ(ico[6], 32);
  EXPECT_EQ(ico[7], 32);
  const auto cur = Read("hand.cur");
  ASSERT_GE(cur.size(), 22u);
  EXPECT_EQ(U16(cur, 2), 2);   // cursor
  EXPECT_EQ(cur[6], 32);
  EXPECT_EQ(cur[8], 2);        // two colours
  EXPECT_EQ(U16(cur, 10), 12);  // hot spot
  EXPECT_EQ(U16(cur, 12), 10);
}

TEST(Pictures, PlanetsAreLitFromTheLeftOnBlackSky) {
  for (const char* f : {"earth.bmp", "gas_giant.bmp", "ringed_planet.bmp"}) {
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
