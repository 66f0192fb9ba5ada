#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "display/frame_compose.h"
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

namespace {
// A 24-bit picture of random colours, some of them magenta.
struct Pixels {
  Pixels(int32_t w, int32_t h, std::mt19937& rng) : bytes(static_cast<size_t>(DibStride(w)) * h) {
    for (size_t i = 0; i + 2 < bytes.size(); i += 3) {
      const bool magenta = rng() % 4 == 0;
      bytes[i] = magenta ? 0xFF : static_cast<uint8_t>(rng());
      bytes[i + 1] = magenta ? 0x00 : static_cast<uint8_t>(rng());
      bytes[i + 2] = magenta ? 0xFF : static_cast<uint8_t>(rng());
    }
    view = DibView{bytes.data(), w, h, DibStride(w)};
  }
  std::vector<uint8_t> bytes;
  DibView view;
};
}  // namespace

// Frames composed and shown only where they changed, against the same frames
// drawn whole, byte for byte: random frames from 1 x 1 to 3840 x 2160, stars
// and balls across every border, pictures larger and smaller than the frame,
// exposures and new scales at random frames. Both the back buffer and the
// 32-bit surface it is shown from must hold the whole frame.
TEST(FramePresent, EveryFrameComposedInPartsIsTheWholeFrame) {
  std::mt19937 rng(1234567);
  const auto uniform = [&rng](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
  struct Size { int32_t w, h, frames; } sizes[] = {
      {1, 1, 800}, {2, 3, 800}, {17, 9, 1500}, {64, 40, 800}, {333, 201, 120}, {1366, 768, 8}, {3840, 2160, 2}};
  for (const Size& size : sizes) {
    const int32_t W = size.w, H = size.h, stride = DibStride(W);
    std::vector<uint8_t> back(static_cast<size_t>(stride) * H, 0xCD), whole(back.size());
    std::vector<uint8_t> shown(static_cast<size_t>(W) * 4 * H, 0xCD);
    const DibView backView{back.data(), W, H, stride}, wholeView{whole.data(), W, H, stride};
    const Dib32View shownView{shown.data(), W, H, W * 4};
    FrameMarks marks;
    SceneScale scale;
    std::unique_ptr<Pixels> picture, ball;
    std::unique_ptr<TransparentSprite> sprite;
    StarField stars{};
    VertexList list;
    BallPainter painter;
    // A position whose place on the frame, once spread by the scale, is p.
    const auto unspread = [&](double p, int32_t extent) {
      return static_cast<float>(extent / 2.0 + (p - extent / 2.0) / scale.Factor());
    };
    for (int32_t frame = 0; frame < size.frames; ++frame) {
      SCOPED_TRACE(testing::Message() << W << "x" << H << " frame " << frame);
      if (frame == 0 || uniform(0, 20) == 0) {  // a new scale: new pictures, the frame made anew
        scale = SceneScale::FromDpi(96 * uniform(2, 4) / 2);
        picture = std::make_unique<Pixels>(uniform(1, 2 * W + 5), uniform(1, 2 * H + 5), rng);
        ball = std::make_unique<Pixels>(uniform(1, 46), uniform(1, 46), rng);
        sprite = std::make_unique<TransparentSprite>(ball->view);
        marks.Reset(W, H);
      }
      if (uniform(0, 15) == 0) marks.MarkAll();  // an exposure
      // Some stars and balls go somewhere new, most near a border; the rest fly on or stay.
      // One star in ten is near the frame, so that the background shows even on the smallest.
      const auto near = [&](int32_t extent, int32_t reach) {
        return uniform(0, 1) ? uniform(-reach, reach) + (uniform(0, 1) ? extent : 0) : uniform(-reach, extent + reach);
      };
      for (int i = 0; i < (frame == 0 ? kStarCount : 40); ++i) {
        Vertex& s = stars[static_cast<size_t>(frame == 0 ? i + 1 : uniform(1, kStarCount))];
        const bool onFrame = uniform(0, 9) == 0;
        s.Z = static_cast<float>(uniform(-2500, 15000));
        s.Y = (unspread(onFrame ? near(W, 3) : -5000, W) - W / 2.0f) * (s.Z + 5000) / 2500;
        s.X = (H / 2.0f - unspread(onFrame ? near(H, 3) : -5000, H)) * (s.Z + 5000) / 2500;
      }
      while (list.Last() < uniform(0, 60)) AddVertex(list, 0, 0, 0);
      for (int32_t i = 1; i <= list.Last(); ++i) {
        if (uniform(0, 2) == 0) continue;
        list[i].ScreenX = unspread(near(W, 50), W);
        list[i].ScreenY = unspread(near(H, 50), H);
        list[i].Depth = static_cast<float>(uniform(7500, 12500));
      }
      if (uniform(0, 9) == 0) list.Clear();
      StarField wholeStars = stars;
      VertexList wholeList = list;

      StartFrame(backView, picture->view, marks);
      DrawStars(stars, backView, W, H, scale, &marks);
      DrawBalls(list, backView, *sprite, painter, scale, W, H, &marks);
      marks.Take([&](const FrameBox& b) {
        for (int32_t y = b.y; y < b.y + b.h; ++y) Convert24To32(backView, shownView, y, b.x, b.x + b.w);
      });

      // The whole frame: black with the picture centred all over, then the same stars and balls.
      const DibView& pic = picture->view;
      RestoreBackground(wholeView, pic, static_cast<int32_t>(std::nearbyint(W / 2.0 - pic.width / 2.0)),
                        static_cast<int32_t>(std::nearbyint(H / 2.0 - pic.height / 2.0)), FrameBox{0, 0, W, H});
      DrawStars(wholeStars, wholeView, W, H, scale, nullptr);
      DrawBalls(wholeList, wholeView, *sprite, painter, scale, W, H, nullptr);

      int32_t wrong = 0, firstX = -1, firstY = -1;
      for (int32_t y = 0; y < H; ++y)
        for (int32_t x = 0; x < W; ++x) {
          const uint8_t *w = wholeView.Row(y) + x * 3, *b = backView.Row(y) + x * 3, *s = shownView.Row(y) + x * 4;
          if (std::memcmp(w, b, 3) == 0 && std::memcmp(w, s, 3) == 0 && s[3] == 0) continue;
          if (wrong++ == 0) firstX = x, firstY = y;
        }
      ASSERT_EQ(wrong, 0) << "pixels differ from the whole frame, the first at " << firstX << "," << firstY
                          << " (scale " << scale.Factor() << ", picture " << pic.width << "x" << pic.height << ")";
    }
  }
}
