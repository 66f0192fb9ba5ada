#include <gtest/gtest.h>

#include <utility>
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

// Each frame gives back the background where the last one drew, and shows
// anew what it drew and what it gave back; a whole frame is made and shown
// whole. Marks are clipped to the frame, and one off the frame is nothing.
TEST(FramePresent, MarksTrackWhatChangesFromFrameToFrame) {
  using Boxes = std::vector<FrameBox>;
  struct Frame {
    const char* what;
    bool markAll;        // before the frame
    Boxes drawn;         // marked while drawing (unclipped)
    Boxes restored;      // expected from StartFrame
    Boxes shown;         // expected from Take
    FrameBox bounds;
  };
  const Frame frames[] = {
      {"the first frame is whole", false, {{90, 40, 20, 20}}, {}, {{0, 0, 100, 50}}, {0, 0, 100, 50}},
      {"what the whole frame drew comes back", false, {{-5, -5, 10, 10}, {200, 0, 5, 5}, {INT32_MIN, INT32_MIN, 3, 3}},
       {{90, 40, 10, 10}}, {{90, 40, 10, 10}, {0, 0, 5, 5}}, {0, 0, 100, 50}},
      {"and so on", false, {{30, 20, 1, 1}}, {{0, 0, 5, 5}}, {{0, 0, 5, 5}, {30, 20, 1, 1}}, {0, 0, 31, 21}},
      {"nothing drawn", false, {}, {{30, 20, 1, 1}}, {{30, 20, 1, 1}}, {30, 20, 1, 1}},
      {"nothing at all", false, {}, {}, {}, {}},
      {"after MarkAll, whole again", true, {{1, 1, 2, 2}}, {}, {{0, 0, 100, 50}}, {0, 0, 100, 50}},
      {"", false, {}, {{1, 1, 2, 2}}, {{1, 1, 2, 2}}, {1, 1, 2, 2}},
  };
  FrameMarks marks;
  marks.Reset(100, 50);
  for (const Frame& f : frames) {
    SCOPED_TRACE(f.what);
    if (f.markAll) marks.MarkAll();
    Boxes restored, shown;
    marks.StartFrame([&](const FrameBox& b) { restored.push_back(b); });
    for (const FrameBox& b : f.drawn) marks.Mark(b.x, b.y, b.w, b.h);
    const FrameBox bounds = marks.Take([&](const FrameBox& b) { shown.push_back(b); });
    EXPECT_TRUE(restored == f.restored);
    EXPECT_TRUE(shown == f.shown);
    EXPECT_TRUE(bounds == f.bounds);
    EXPECT_FALSE(marks.All());
  }
}

// The background given back: the picture's pixels where it lies (here 4 x 3
// at (2, 1), and also partly off the frame), black around it, nothing outside
// the box touched.
TEST(FramePresent, RestoresThePictureAndTheBlackAroundIt) {
  const int32_t W = 9, H = 6, pw = 4, ph = 3;
  std::vector<uint8_t> pic(static_cast<size_t>(DibStride(pw)) * ph);
  for (size_t i = 0; i < pic.size(); ++i) pic[i] = static_cast<uint8_t>(i + 1);
  const DibView picture{pic.data(), pw, ph, DibStride(pw)};
  for (const auto& [atX, atY] : {std::pair{2, 1}, std::pair{-2, 4}, std::pair{7, -1}}) {
    for (const FrameBox& box : {FrameBox{0, 0, W, H}, FrameBox{3, 1, 2, 4}, FrameBox{-3, -3, 5, 5}}) {
      SCOPED_TRACE(testing::Message() << "picture at " << atX << "," << atY << ", box " << box.x << "," << box.y);
      std::vector<uint8_t> buf(static_cast<size_t>(DibStride(W)) * H, 0xEE);
      const DibView dst{buf.data(), W, H, DibStride(W)};
      RestoreBackground(dst, picture, atX, atY, box);
      for (int32_t y = 0; y < H; ++y)
        for (int32_t x = 0; x < W; ++x) {
          const bool inBox = x >= box.x && x < box.x + box.w && y >= box.y && y < box.y + box.h;
          const bool onPic = x >= atX && x < atX + pw && y >= atY && y < atY + ph;
          for (int c = 0; c < 3; ++c) {
            const uint8_t want = !inBox ? 0xEE : onPic ? picture.Row(y - atY)[(x - atX) * 3 + c] : 0;
            ASSERT_EQ(dst.Row(y)[x * 3 + c], want) << x << "," << y;
          }
        }
    }
  }
}
