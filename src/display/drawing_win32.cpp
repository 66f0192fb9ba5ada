#include "display/drawing_win32.h"

#include <optional>

#include "display/frame_compose.h"
#include "surface/pixel_copy.h"
#include "toolkit/numeric.h"

namespace dovra {

void DrawStars(StarField& stars, HDC hdc, int32_t W, int32_t H, FrameMarks* marks) {
  DrawStars(stars, W, H, [hdc, marks](int32_t x, int32_t y, uint32_t colour) {
    SetPixel(hdc, x, y, colour);
    if (marks) marks->Mark(x, y, 1, 1);
  });
}

void DrawStars(StarField& stars, Vormix_C1& BackBuffer, int32_t W, int32_t H, const SceneScale& scale,
               FrameMarks* marks) {
  // SetPixel on a 24-bit DIB section sets exactly the pixel written here;
  // three hundred calls into GDI cost more than the rest of the stars' frame.
  GdiFlush();
  DrawStars(stars, BackBuffer.View(), W, H, scale, marks);
}

namespace {
// Each ball as PaintToTrans at full size paints it, for a DC whose pixels
// cannot be reached directly.
struct BallPaint {
  void operator()(int32_t x, int32_t y) const {
    sprite.PaintToTrans(hdc, x, y, 100);
    if (marks) marks->Mark(x, y, sprite.Width(), sprite.Height());
  }
  HDC hdc;
  Vormix_C1& sprite;
  FrameMarks* marks;
};
}  // namespace

void DrawBalls(VertexList& list, HDC hdc, Vormix_C1& BallSprite, BallPainter& painter, FrameMarks* marks) {
  DrawBalls(list, hdc, BallSprite, painter, SceneScale(), 0, 0, marks);
}

void DrawBalls(VertexList& list, HDC hdc, Vormix_C1& BallSprite, BallPainter& painter, const SceneScale& scale,
               int32_t W, int32_t H, FrameMarks* marks) {
  // Where the DC allows, straight into its pixels by the same drawing the
  // frames are proven by, the DC and the sprite's pixels looked at once for
  // the whole figure rather than once a ball.
  GdiFlush();
  if (const std::optional<DibView> direct = Vormix_C1::DirectTarget(hdc)) {
    DrawBalls(list, *direct, TransparentSprite(BallSprite.View()), painter, scale, W, H, marks);
    return;
  }
  PlaceBalls(list, painter, BallSprite.Width(), BallSprite.Height(), scale, W, H, BallPaint{hdc, BallSprite, marks});
}

void PaintBackground(Vormix_C1& BackPicture, Vormix_C1& BackBuffer) {
  const PixelPoint at = BackgroundOrigin(BackBuffer.Width(), BackBuffer.Height(), BackPicture.Width(), BackPicture.Height());
  BackPicture.PaintTo(BackBuffer.hdc(), at.x, at.y, SRCCOPY);
}

void StartFrame(Vormix_C1& BackBuffer, Vormix_C1& BackPicture, FrameMarks& marks) {
  GdiFlush();
  StartFrame(BackBuffer.View(), BackPicture.View(), marks);
}

}  // namespace dovra
