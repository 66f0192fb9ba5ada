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
// Each ball as PaintToTrans at full size paints it; where the DC allows, straight
// into its pixels, the DC and the sprite's pixels looked at once for the whole
// figure rather than once a ball.
struct BallPaint {
  BallPaint(HDC hdc, Vormix_C1& sprite, FrameMarks* marks)
      : hdc(hdc), sprite(sprite), marks(marks), direct(Vormix_C1::DirectTarget(hdc)) {
    GdiFlush();
    if (direct) runs.emplace(sprite.View());
  }
  void operator()(int32_t x, int32_t y) const {
    if (runs) runs->CopyTo(*direct, x, y);
    else sprite.PaintToTrans(hdc, x, y, 100);
    if (marks) marks->Mark(x, y, sprite.Width(), sprite.Height());
  }
  HDC hdc;
  Vormix_C1& sprite;
  FrameMarks* marks;
  std::optional<DibView> direct;
  std::optional<TransparentSprite> runs;
};
}  // namespace

void DrawBalls(VertexList& list, HDC hdc, Vormix_C1& BallSprite, BallPainter& painter, FrameMarks* marks) {
  painter.DrawBalls(list, BallSprite.Width(), BallSprite.Height(), BallPaint(hdc, BallSprite, marks));
}

void DrawBalls(VertexList& list, HDC hdc, Vormix_C1& BallSprite, BallPainter& painter, const SceneScale& scale,
               int32_t W, int32_t H, FrameMarks* marks) {
  PlaceBalls(list, painter, BallSprite.Width(), BallSprite.Height(), scale, W, H, BallPaint(hdc, BallSprite, marks));
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
