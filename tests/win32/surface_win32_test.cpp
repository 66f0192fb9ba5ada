#include <gtest/gtest.h>

#include <vector>

#include "display/animation.h"
#include "display/drawing_win32.h"
#include "resources/resource_ids.h"
#include "surface/pixel_copy.h"
#include "surface/surface_win32.h"
#include "toolkit/program_win32.h"
#include "win32/surface_pixels.h"
#include "win32/win32_test_util.h"

using namespace dovra;
using namespace dovra::test;

namespace {

void Fill(Vormix_C1& s, COLORREF c) {
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) Put(s, x, y, c);
}

// A picture of w x h whose left half is red and right half blue.
Picture TwoColourPicture(int w, int h) {
  BITMAPINFOHEADER hd{sizeof hd, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP b = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&hd), DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* p = static_cast<uint8_t*>(bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* q = p + y * DibStride(w) + x * 3;
      const bool left = x < w / 2;
      q[0] = left ? 0 : 255; q[1] = 0; q[2] = left ? 255 : 0;
    }
  return Picture(b);
}

}  // namespace

TEST(Surface, HeaderAndSizes) {
  Vormix_C1 s;
  const int32_t sizes[] = {4, 8, 12, 12};
  for (int w = 1; w <= 4; ++w) {
    ASSERT_FALSE(s.Create(w, 1));
    EXPECT_EQ(s.RGBSize(), sizes[w - 1]) << w;
  }
  ASSERT_FALSE(s.Create(640, 480));
  EXPECT_EQ(s.RGBSize(), 921600);
  EXPECT_EQ(s.Width(), 640);
  EXPECT_EQ(s.Height(), 480);
  EXPECT_NE(s.hdc(), nullptr);
  DIBSECTION ds{};
  ASSERT_EQ(GetObjectA(GetCurrentObject(s.hdc(), OBJ_BITMAP), sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmBitsPixel, 24);
  EXPECT_GT(ds.dsBmih.biHeight, 0);  // bottom-up
  for (int x : {0, 320, 639}) EXPECT_EQ(At(s, x, 479), 0u);  // cleared to black
}

TEST(Surface, UncreatedSurfaceIsHarmless) {
  Vormix_C1 s;
  s.Cls();
  EXPECT_EQ(s.Width(), 0);
  EXPECT_EQ(s.RGBSize(), 0);
  EXPECT_EQ(s.hdc(), nullptr);
  s.PaintTo(nullptr, 0, 0, SRCCOPY);
  s.PaintToTrans(nullptr, 0, 0);
  Picture pic = TwoColourPicture(50, 20);
  auto err = s.Clone(pic.Handle(), false);
  ASSERT_TRUE(err);
  EXPECT_EQ(err->Number, -1);
  EXPECT_EQ(err->Description, "DIB has to be created first");
}

TEST(Surface, FailedCreateReports825AndKeepsGoing) {
  Vormix_C1 s;
  auto err = s.Create(0, 0);
  ASSERT_TRUE(err);
  EXPECT_EQ(err->Number, 825);
  EXPECT_EQ(err->Description, "DIB failed to create\r\nPlease restart your system and try again");
  // A handle that is no bitmap reads as 0 x 0: the same failure through Clone.
  HBRUSH brush = CreateSolidBrush(0);
  err = s.Clone(reinterpret_cast<HBITMAP>(brush), true);
  DeleteObject(brush);
  ASSERT_TRUE(err);
  EXPECT_EQ(err->Number, 825);
  EXPECT_TRUE(s.Create(100000, 100000));  // 30 GB does not fit
  EXPECT_FALSE(s.Create(3, 3));           // and the instance still works afterwards
  EXPECT_EQ(s.RGBSize(), 36);
}

TEST(Surface, HandlesNeverAccumulate) {
  {  // the system makes some objects of its own on first use of a memory DC
    Vormix_C1 warm;
    warm.Create(8, 8);
  }
  const DWORD before = GdiObjects();
  ASSERT_GT(before, 0u);
  {
    Vormix_C1 s;
    for (int i = 0; i < 1000; ++i) ASSERT_FALSE(s.Create(64 + i % 7, 48));
    EXPECT_LE(GdiObjects(), before + 2);
    for (int i = 0; i < 100; ++i) s.Create(0, 0);  // failures leave nothing behind either
    EXPECT_LE(GdiObjects(), before + 2);
    Vormix_C1 moved(std::move(s));
    Vormix_C1 assigned;
    assigned.Create(10, 10);
    assigned = std::move(moved);
    EXPECT_EQ(assigned.Width(), 0);  // the last Create failed
    ASSERT_FALSE(assigned.Create(5, 5));
    EXPECT_EQ(s.hdc(), nullptr);
    EXPECT_EQ(moved.hdc(), nullptr);
  }
  EXPECT_EQ(GdiObjects(), before);
}

TEST(Surface, CloneStretchesOrFits) {
  Picture pic = TwoColourPicture(50, 20);
  Vormix_C1 s;
  ASSERT_FALSE(s.Create(100, 100));
  ASSERT_FALSE(s.Clone(pic.Handle(), false));
  EXPECT_EQ(s.Width(), 100);
  EXPECT_EQ(At(s, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(At(s, 48, 99), RGB(255, 0, 0));
  EXPECT_EQ(At(s, 51, 0), RGB(0, 0, 255));
  EXPECT_EQ(At(s, 99, 99), RGB(0, 0, 255));
  ASSERT_FALSE(s.Clone(pic.Handle()));  // FitSize defaults to true
  EXPECT_EQ(s.Width(), 50);
  EXPECT_EQ(s.Height(), 20);
  EXPECT_EQ(At(s, 24, 19), RGB(255, 0, 0));
  EXPECT_EQ(At(s, 25, 0), RGB(0, 0, 255));
}

TEST(Surface, PaintToAndCloneHdcCopyPlainly) {
  Vormix_C1 a, b;
  ASSERT_FALSE(a.Create(4, 3));
  ASSERT_FALSE(b.Create(10, 10));
  Fill(a, RGB(1, 2, 3));
  a.PaintTo(b.hdc(), 8, 8, SRCCOPY);  // clipped at the edge
  EXPECT_EQ(At(b, 9, 9), RGB(1, 2, 3));
  EXPECT_EQ(At(b, 7, 9), 0u);
  Vormix_C1 c;
  ASSERT_FALSE(c.Create(2, 2));
  c.CloneHDC(b.hdc(), SRCCOPY, 8, 8);
  EXPECT_EQ(At(c, 1, 1), RGB(1, 2, 3));
  b.Cls();
  EXPECT_EQ(At(b, 9, 9), 0u);
}

TEST(Surface, TransparentPaintScalesAndSkipsMagenta) {
  Vormix_C1 sprite, dest;
  ASSERT_FALSE(sprite.Create(34, 36));
  ASSERT_FALSE(dest.Create(60, 60));
  Fill(sprite, RGB(10, 200, 30));
  for (int y = 0; y < 36; ++y)
    for (int x = 0; x < 34; ++x)
      if (x < 8) Put(sprite, x, y, RGB(255, 0, 255));
  Fill(dest, RGB(7, 7, 7));
  sprite.PaintToTrans(dest.hdc(), 5, 6, 50);
  EXPECT_EQ(At(dest, 5 + 16, 6 + 17), RGB(10, 200, 30));   // last pixel of 17 x 18
  EXPECT_EQ(At(dest, 5 + 17, 6 + 10), RGB(7, 7, 7));
  EXPECT_EQ(At(dest, 5 + 10, 6 + 18), RGB(7, 7, 7));
  EXPECT_EQ(At(dest, 5, 6), RGB(7, 7, 7));                 // magenta left the destination alone
  EXPECT_EQ(ScaledSize(50, 34), 17);
  EXPECT_EQ(ScaledSize(50, 36), 18);
  EXPECT_EQ(ScaledSize(50, 23), 12);  // 11.5 -> 12
  EXPECT_EQ(ScaledSize(50, 21), 10);  // 10.5 -> 10
}

// The direct pixel path and TransparentBlt give the same frame. A clip region on
// the destination turns the direct path off, so the same paint goes through GDI.
TEST(Surface, DirectTransparentPathMatchesTransparentBlt) {
  Vormix_C1 sprite;
  ASSERT_FALSE(sprite.Create(22, 23));
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 22; ++x) {
      const int dx = x - 11, dy = y - 11;
      Put(sprite, x, y, dx * dx + dy * dy > 100 ? RGB(255, 0, 255) : RGB(x * 10, y * 10, 128));
    }
  Vormix_C1 direct, viaGdi;
  ASSERT_FALSE(direct.Create(101, 77));
  ASSERT_FALSE(viaGdi.Create(101, 77));
  HRGN all = CreateRectRgn(0, 0, 101, 77);
  SelectClipRgn(viaGdi.hdc(), all);
  DeleteObject(all);
  const int spots[][2] = {{0, 0}, {-5, -7}, {90, 60}, {40, 30}, {-21, 10}, {100, 76}, {45, 33}};
  for (auto& at : spots) {
    sprite.PaintToTrans(direct.hdc(), at[0], at[1], 100);
    sprite.PaintToTrans(viaGdi.hdc(), at[0], at[1], 100);
  }
  GdiFlush();
  int differing = 0, painted = 0;
  for (int y = 0; y < 77; ++y)
    for (int x = 0; x < 101; ++x) {
      differing += At(direct, x, y) != At(viaGdi, x, y);
      painted += At(direct, x, y) != 0;
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(painted, 500);
}

TEST(Surface, TextIsClippedToItsRectangleAndColoursSwitch) {
  Vormix_C1 s;
  ASSERT_FALSE(s.Create(200, 120));
  s.ChangeColors(RGB(255, 255, 255), RGB(0, 0, 255), true);
  EXPECT_EQ(GetBkMode(s.hdc()), TRANSPARENT);
  s.ChangeColors(RGB(255, 255, 255), RGB(255, 0, 0), false);
  EXPECT_EQ(GetBkMode(s.hdc()), OPAQUE);
  EXPECT_EQ(GetBkColor(s.hdc()), RGB(255, 0, 0));
  EXPECT_EQ(GetTextColor(s.hdc()), RGB(255, 255, 255));

  s.PrintTxt("WWW", 10, 20);
  const RECT& r = s.LastTextRect();
  EXPECT_EQ(r.left, 10); EXPECT_EQ(r.top, 20); EXPECT_EQ(r.right, 58); EXPECT_EQ(r.bottom, 70);
  s.Cls();
  s.PrintTxt("WWWWWWWWWWWWWWWWWWWW\r\nsecond line\r\nthird\r\nfourth\r\nfifth", 10, 20);  // far wider and taller
  int inside = 0, outside = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 200; ++x) {
      if (At(s, x, y) == 0) continue;
      const bool in = x >= 10 && y >= 20 && y < 70;  // the rectangle runs past the right edge
      ++(in ? inside : outside);
    }
  EXPECT_GT(inside, 100);
  EXPECT_EQ(outside, 0);
}

TEST(Drawing, BackgroundCentredStarsAndBallsOnTheBackBuffer) {
  Vormix_C1 back, picture, ball;
  ASSERT_FALSE(back.Create(100, 80));
  ASSERT_FALSE(picture.Create(41, 21));
  Fill(picture, RGB(0, 0, 90));
  PaintBackground(picture, back);
  // round(50 - 20.5) = 30 (half to even: 29.5 -> 30), round(40 - 10.5) = 30 (29.5 -> 30)
  EXPECT_EQ(At(back, 30, 30), RGB(0, 0, 90));
  EXPECT_EQ(At(back, 29, 30), 0u);
  EXPECT_EQ(At(back, 70, 50), RGB(0, 0, 90));
  EXPECT_EQ(At(back, 71, 50), 0u);

  StarField stars{};
  stars[1].X = 0; stars[1].Y = 0; stars[1].Z = 15000;
  for (int i = 2; i <= kStarCount; ++i) stars[i].Z = 1000, stars[i].X = 5000;  // off the area
  back.Cls();
  DrawStars(stars, back.hdc(), 100, 80);
  EXPECT_EQ(At(back, 50, 40), RGB(20, 20, 20));

  ASSERT_FALSE(ball.Create(22, 23));
  Fill(ball, RGB(200, 200, 200));
  VertexList list;
  AddVertex(list, 0, 0, 0);
  list[1].ScreenX = 50; list[1].ScreenY = 40; list[1].Depth = 10000;
  BallPainter painter;
  DrawBalls(list, back.hdc(), ball, painter);
  // Corner at round(50 - 11) = 39, round(40 - 11.5) = 28 (28.5 to even).
  EXPECT_EQ(At(back, 39, 28), RGB(200, 200, 200));
  EXPECT_EQ(At(back, 38, 29), 0u);
  EXPECT_EQ(At(back, 39, 27), 0u);
  EXPECT_EQ(At(back, 60, 50), RGB(200, 200, 200));
  EXPECT_EQ(At(back, 61, 50), 0u);
  EXPECT_EQ(list[1].Drawn, -1);
}

// Whole frames at 96 dpi from the program's own pictures, over every
// background: composed by the operations of the surface (cleared, the
// background copied, stars set one by one, balls painted), and as the saver
// composes them (the background given back only where the last frame drew,
// pixels written straight): their bytes are fixed, and the same both ways. A
// change that moves one pixel of a frame at this scale shows here.
TEST(Drawing, FramesAtNinetySixDpiAreByteForByteAsEver) {
  const int ids[3] = {IDB_EARTH, IDB_GAS_GIANT, IDB_RINGED_PLANET};
  for (bool asTheSaver : {false, true}) {
    SCOPED_TRACE(asTheSaver ? "as the saver composes" : "by the surface's operations");
    uint64_t hash = 1469598103934665603ull;
    for (int id : ids) {
      Vormix_C1 back, picture, ball;
      ASSERT_FALSE(back.Create(1920, 1080));
      ASSERT_FALSE(ball.Clone(LoadPictureResource(IDB_BALL).Handle(), true));
      ASSERT_FALSE(picture.Clone(LoadPictureResource(id).Handle(), true));
      StarField stars{};
      Rnd rnd;
      rnd.Seed(4321);
      StartStars(stars, rnd);
      VertexList list;
      LoadShape(list, 7);
      View view{30, 20, 2500, kStartDistance};
      BallPainter painter;
      FrameMarks marks;
      marks.Reset(1920, 1080);
      for (int frame = 0; frame < 3; ++frame) {
        if (asTheSaver) {
          StartFrame(back, picture, marks);
          DrawStars(stars, back, 1920, 1080, SceneScale(), &marks);
        } else {
          PaintBackground(picture, back);
          DrawStars(stars, back.hdc(), 1920, 1080);
        }
        AnimateShape(list, 7);
        ProjectVertices(list, 1920, 1080, view);
        if (asTheSaver) {
          DrawBalls(list, back.hdc(), ball, painter, SceneScale(), 1920, 1080, &marks);
          marks.Take([](const FrameBox&) {});
        } else {
          DrawBalls(list, back.hdc(), ball, painter);
        }
        GdiFlush();
        const uint8_t* p = back.Bits();
        for (int32_t i = 0; i < back.RGBSize(); ++i) hash = (hash ^ p[i]) * 1099511628211ull;
        if (!asTheSaver) back.Cls();
        view.Azimuth += 40;
      }
    }
    EXPECT_EQ(hash, 0xf1678d5350c0a4daull) << std::hex << hash;
  }
}
