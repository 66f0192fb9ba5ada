#include "display/drawing_win32.h"

#include "toolkit/numeric.h"

namespace dovra {

void DrawStars(StarField& stars, HDC hdc, int32_t W, int32_t H) {
  DrawStars(stars, W, H, [hdc](int32_t x, int32_t y, uint32_t colour) {
    SetPixel(hdc, x, y, colour);
  });
}

void DrawBalls(VertexList& list, HDC hdc, Vormix_C1& BallSprite, BallPainter& painter) {
  painter.DrawBalls(list, BallSprite.Width(), BallSprite.Height(),
                    [&](int32_t x, int32_t y) { BallSprite.PaintToTrans(hdc, x, y, 100); });
}

void PaintBackground(Vormix_C1& BackPicture, Vormix_C1& BackBuffer) {
  const int32_t x = RoundInt32(BackBuffer.Width() / 2.0 - BackPicture.Width() / 2.0);
  const int32_t y = RoundInt32(BackBuffer.Height() / 2.0 - BackPicture.Height() / 2.0);
  BackPicture.PaintTo(BackBuffer.hdc(), x, y, SRCCOPY);
}

}  // namespace dovra
