// A frame composed straight into the back buffer's pixels, redoing only what
// moved: the background given back where the last frame drew, then the stars
// and the balls, each place drawn on marked for the next frame and for the
// present. Its bytes are those of a frame cleared and drawn whole.
#pragma once
#include <cstdint>

#include "display/animation.h"
#include "display/ball_drawing.h"
#include "surface/frame_present.h"
#include "surface/pixel_copy.h"
#include "toolkit/scene_scale.h"

namespace dovra {

struct PixelPoint {
  int32_t x = 0, y = 0;
};

// The background picture's top-left corner, centred on the back buffer:
// round(W / 2 - w / 2), round(H / 2 - h / 2), halves to even.
PixelPoint BackgroundOrigin(int32_t backW, int32_t backH, int32_t pictureW, int32_t pictureH);

// The start of a frame: black with the picture centred, all of it where the
// marks ask for a whole frame, otherwise only where the last frame drew.
void StartFrame(const DibView& back, const DibView& picture, FrameMarks& marks);

// Draws and advances the star field on a W x H area of dst: at scale 1 one
// pixel a star, as SetPixel sets it; on a scaled screen positions spread by
// the scale, each star a square of round(s) pixels.
void DrawStars(StarField& stars, const DibView& dst, int32_t W, int32_t H, const SceneScale& scale,
               FrameMarks* marks);

// paint(x, y) with the top-left corner of each ball's sprite (spriteW x
// spriteH, already at its scaled size), far to near, for a W x H area.
template <typename Paint>
void PlaceBalls(VertexList& list, BallPainter& painter, int32_t spriteW, int32_t spriteH, const SceneScale& scale,
                int32_t W, int32_t H, Paint&& paint) {
  if (scale.IsOne()) {
    painter.DrawBalls(list, spriteW, spriteH, paint);
    return;
  }
  for (int32_t i : painter.Order(list)) {
    const Vertex& v = list[i];
    paint(RoundInt32(scale.Spread(v.ScreenX, W) - spriteW / 2.0), RoundInt32(scale.Spread(v.ScreenY, H) - spriteH / 2.0));
  }
}

// Every ball of the list copied from the sprite, its magenta left out.
void DrawBalls(VertexList& list, const DibView& dst, const TransparentSprite& sprite, BallPainter& painter,
               const SceneScale& scale, int32_t W, int32_t H, FrameMarks* marks);

// One of the figure's steps that no frame shows (at 30 frames a second every
// other one): the stars, the figure's own motion and its life go on exactly
// as when that step is drawn.
void StepUnseen(StarField& stars, VertexList& list, uint8_t& shapeNo, View& view, Vormix_C2& watch);

}  // namespace dovra
