#include "display/drawing_win32.h"

#include "surface/pixel_copy.h"
#include "toolkit/numeric.h"

namespace dovra {

void DrawStars(StarField& stars, HDC hdc, int32_t W, int32_t H, FrameDamage* damage) {
  DrawStars(stars, W, H, [hdc, damage](int32_t x, int32_t y, uint32_t colour) {
    SetPixel(hdc, x, y, colour);
    if (damage) damage->Mark(x, y, 1, 1);
  });
}

void DrawStars(StarField& stars, Vormix_C1& BackBuffer, int32_t W, int32_t H, const SceneScale& scale,
               FrameDamage* damage) {
  if (scale.IsOne()) {
    DrawStars(stars, BackBuffer.hdc(), W, H, damage);
    return;
  }
  GdiFlush();
  const DibView dst{BackBuffer.Bits(), BackBuffer.Width(), BackBuffer.Height(), DibStride(BackBuffer.Width())};
  const int32_t side = scale.StarSide();
  ProjectStars(stars, W, H);
  for (int i = 1; i <= kStarCount; ++i) {
    Vertex& star = stars[static_cast<size_t>(i)];
    const int32_t x = RoundInt32(scale.Spread(star.ScreenX, W)) - side / 2;
    const int32_t y = RoundInt32(scale.Spread(star.ScreenY, H)) - side / 2;
    FillSquare(dst, x, y, side, GreyColour(StarBrightness(star.Z)));
    if (damage) damage->Mark(x, y, side, side);
    MoveStar(star);
  }
}

void DrawBalls(VertexList& list, HDC hdc, Vormix_C1& BallSprite, BallPainter& painter, FrameDamage* damage) {
  const int32_t w = BallSprite.Width(), h = BallSprite.Height();
  painter.DrawBalls(list, w, h, [&](int32_t x, int32_t y) {
    BallSprite.PaintToTrans(hdc, x, y, 100);
    if (damage) damage->Mark(x, y, w, h);
  });
}

void DrawBalls(VertexList& list, HDC hdc, Vormix_C1& BallSprite, BallPainter& painter, const SceneScale& scale,
               int32_t W, int32_t H, FrameDamage* damage) {
  if (scale.IsOne()) {
    DrawBalls(list, hdc, BallSprite, painter, damage);
    return;
  }
  const int32_t w = BallSprite.Width(), h = BallSprite.Height();
  for (int32_t i : painter.Order(list)) {
    const Vertex& v = list[i];
    const int32_t x = RoundInt32(scale.Spread(v.ScreenX, W) - w / 2.0), y = RoundInt32(scale.Spread(v.ScreenY, H) - h / 2.0);
    BallSprite.PaintToTrans(hdc, x, y, 100);
    if (damage) damage->Mark(x, y, w, h);
  }
}

void PaintBackground(Vormix_C1& BackPicture, Vormix_C1& BackBuffer) {
  const int32_t x = RoundInt32(BackBuffer.Width() / 2.0 - BackPicture.Width() / 2.0);
  const int32_t y = RoundInt32(BackBuffer.Height() / 2.0 - BackPicture.Height() / 2.0);
  BackPicture.PaintTo(BackBuffer.hdc(), x, y, SRCCOPY);
}

}  // namespace dovra
