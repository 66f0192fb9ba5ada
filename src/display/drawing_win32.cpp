#include "display/drawing_win32.h"

#include <optional>

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
  GdiFlush();
  const DibView dst = BackBuffer.View();
  if (scale.IsOne()) {
    // SetPixel on a 24-bit DIB section sets exactly this pixel, clipped; three
    // hundred calls into GDI cost more than the rest of the stars' frame.
    DrawStars(stars, W, H, [&](int32_t x, int32_t y, uint32_t colour) {
      FillSquare(dst, x, y, 1, colour);
      if (marks) marks->Mark(x, y, 1, 1);
    });
    return;
  }
  const int32_t side = scale.StarSide();
  ProjectStars(stars, W, H);
  for (int i = 1; i <= kStarCount; ++i) {
    Vertex& star = stars[static_cast<size_t>(i)];
    const int32_t x = RoundInt32(scale.Spread(star.ScreenX, W)) - side / 2;
    const int32_t y = RoundInt32(scale.Spread(star.ScreenY, H)) - side / 2;
    FillSquare(dst, x, y, side, GreyColour(StarBrightness(star.Z)));
    if (marks) marks->Mark(x, y, side, side);
    MoveStar(star);
  }
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
  if (scale.IsOne()) {
    DrawBalls(list, hdc, BallSprite, painter, marks);
    return;
  }
  const BallPaint paint(hdc, BallSprite, marks);
  const int32_t w = BallSprite.Width(), h = BallSprite.Height();
  for (int32_t i : painter.Order(list)) {
    const Vertex& v = list[i];
    paint(RoundInt32(scale.Spread(v.ScreenX, W) - w / 2.0), RoundInt32(scale.Spread(v.ScreenY, H) - h / 2.0));
  }
}

namespace {
POINT BackgroundOrigin(const Vormix_C1& BackPicture, const Vormix_C1& BackBuffer) {
  return POINT{RoundInt32(BackBuffer.Width() / 2.0 - BackPicture.Width() / 2.0),
               RoundInt32(BackBuffer.Height() / 2.0 - BackPicture.Height() / 2.0)};
}
}  // namespace

void PaintBackground(Vormix_C1& BackPicture, Vormix_C1& BackBuffer) {
  const POINT at = BackgroundOrigin(BackPicture, BackBuffer);
  BackPicture.PaintTo(BackBuffer.hdc(), at.x, at.y, SRCCOPY);
}

void StartFrame(Vormix_C1& BackBuffer, Vormix_C1& BackPicture, FrameMarks& marks) {
  if (marks.All()) {
    BackBuffer.Cls();
    PaintBackground(BackPicture, BackBuffer);
    marks.StartFrame([](const FrameBox&) {});
    return;
  }
  // A frame is mostly its background: clearing and copying it whole costs more
  // than all else a frame draws, and gives the same bytes where nothing was drawn.
  GdiFlush();
  const POINT at = BackgroundOrigin(BackPicture, BackBuffer);
  const DibView back = BackBuffer.View(), picture = BackPicture.View();
  marks.StartFrame([&](const FrameBox& b) { RestoreBackground(back, picture, at.x, at.y, b); });
}

}  // namespace dovra
