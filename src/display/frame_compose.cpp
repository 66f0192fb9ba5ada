#include "display/frame_compose.h"

#include "toolkit/numeric.h"
#include "toolkit/portable_only.h"

namespace dovra {

PixelPoint BackgroundOrigin(int32_t backW, int32_t backH, int32_t pictureW, int32_t pictureH) {
  return PixelPoint{RoundInt32(backW / 2.0 - pictureW / 2.0), RoundInt32(backH / 2.0 - pictureH / 2.0)};
}

void StartFrame(const DibView& back, const DibView& picture, FrameMarks& marks) {
  const PixelPoint at = BackgroundOrigin(back.width, back.height, picture.width, picture.height);
  if (marks.All()) {
    // Every pixel of the frame: the picture where it lies, black elsewhere.
    RestoreBackground(back, picture, at.x, at.y, FrameBox{0, 0, back.width, back.height});
    marks.StartFrame([](const FrameBox&) {});
    return;
  }
  // A frame is mostly its background: clearing and copying it whole costs more
  // than all else a frame draws, and gives the same bytes where nothing was drawn.
  marks.StartFrame([&](const FrameBox& b) { RestoreBackground(back, picture, at.x, at.y, b); });
}

void DrawStars(StarField& stars, const DibView& dst, int32_t W, int32_t H, const SceneScale& scale,
               FrameMarks* marks) {
  if (scale.IsOne()) {
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

void DrawBalls(VertexList& list, const DibView& dst, const TransparentSprite& sprite, BallPainter& painter,
               const SceneScale& scale, int32_t W, int32_t H, FrameMarks* marks) {
  const int32_t w = sprite.Width(), h = sprite.Height();
  PlaceBalls(list, painter, w, h, scale, W, H, [&](int32_t x, int32_t y) {
    sprite.CopyTo(dst, x, y);
    if (marks) marks->Mark(x, y, w, h);
  });
}

void StepUnseen(StarField& stars, VertexList& list, uint8_t& shapeNo, View& view, Vormix_C2& watch) {
  for (int i = 1; i <= kStarCount; ++i) MoveStar(stars[static_cast<size_t>(i)]);
  AnimateShape(list, shapeNo);
  ShapeLifeStep(view, shapeNo, list, watch);
}

}  // namespace dovra
