// Frames composed and shown only where they changed are the frames the
// surface's own operations draw whole (cleared, the background copied, the
// balls painted transparently): checked pixel for pixel over a run of frames
// in which the figure turns, the stars fly and the next figure comes, with an
// exposure in the middle, at the usual density and at twice it.
#include <gtest/gtest.h>

#include "display/animation.h"
#include "display/drawing_win32.h"
#include "display/frame_compose.h"
#include "resources/resource_ids.h"
#include "surface/present_surface_win32.h"
#include "toolkit/program_win32.h"

using namespace dovra;

TEST(Present, EveryShownFrameIsTheComposedFrame) {
  for (int dpi : {96, 192}) {
    SCOPED_TRACE(dpi);
    const SceneScale scale = SceneScale::FromDpi(dpi);
    const int W = 640 * dpi / 96 + 3, H = 400 * dpi / 96 + 1;  // rows with padding
    Vormix_C1 back, whole, picture, ball;
    ASSERT_FALSE(back.Create(W, H));
    ASSERT_FALSE(whole.Create(W, H));
    ASSERT_FALSE(ball.Clone(LoadScaledPictureResource(IDB_BALL, scale, true).Handle(), true));
    ASSERT_FALSE(picture.Clone(LoadScaledPictureResource(IDB_EARTH, scale).Handle(), true));
    PresentSurface present, screen;  // the second stands in for the window
    ASSERT_TRUE(present.Create(W, H));
    ASSERT_TRUE(screen.Create(W, H));
    FrameMarks marks;
    marks.Reset(W, H);
    StarField stars{};
    Rnd rnd;
    rnd.Seed(99);
    StartStars(stars, rnd);
    VertexList list;
    uint8_t shape = 3;
    LoadShape(list, shape);
    View view{10, 20, 2500, kStartDistance};
    BallPainter painter;
    int mismatched = 0;
    for (int frame = 0; frame < 40; ++frame) {
      StarField wholeStars = stars;
      StartFrame(back, picture, marks);
      DrawStars(stars, back, W, H, scale, &marks);
      AnimateShape(list, shape);
      ProjectVertices(list, W, H, view);
      DrawBalls(list, back.hdc(), ball, painter, scale, W, H, &marks);
      present.Present(back, marks, screen.hdc(), 0, 0);
      if (frame == 25) marks.MarkAll();  // as after an exposure

      whole.Cls();
      PaintBackground(picture, whole);
      if (scale.IsOne()) DrawStars(wholeStars, whole.hdc(), W, H);  // SetPixel
      else DrawStars(wholeStars, whole, W, H, scale);
      PlaceBalls(list, painter, ball.Width(), ball.Height(), scale, W, H,
                 [&](int32_t x, int32_t y) { ball.PaintToTrans(whole.hdc(), x, y, 100); });
      GdiFlush();
      const Dib32View shown = screen.View();
      for (int y = 0; y < H; ++y) {
        const uint8_t* s = whole.Bits() + static_cast<size_t>(H - 1 - y) * DibStride(W);
        const uint8_t* d = shown.Row(y);
        for (int x = 0; x < W; ++x)
          mismatched += s[3 * x] != d[4 * x] || s[3 * x + 1] != d[4 * x + 1] || s[3 * x + 2] != d[4 * x + 2];
      }
      view.Azimuth += 7;
      if (frame % 10 == 9) LoadShape(list, shape = static_cast<uint8_t>((shape + 1) % 11));
    }
    EXPECT_EQ(mismatched, 0);
  }
}
