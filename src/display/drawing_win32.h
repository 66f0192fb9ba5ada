// The drawing module's platform side: stars as single pixels, balls as
// transparent copies of the ball picture, onto a surface's DC.
#pragma once
#include <windows.h>

#include "display/ball_drawing.h"
#include "surface/frame_present.h"
#include "surface/surface_win32.h"
#include "toolkit/scene_scale.h"

namespace dovra {

// Draws and advances the star field on hdc for a W x H drawing area, one
// SetPixel a star; each star's pixel is marked when marks are given.
void DrawStars(StarField& stars, HDC hdc, int32_t W, int32_t H, FrameMarks* marks = nullptr);
// The same written straight into the back buffer: at scale 1 the very pixels
// SetPixel sets; on a scaled screen positions spread by the scale, each star a
// square of round(s) pixels.
void DrawStars(StarField& stars, Vormix_C1& BackBuffer, int32_t W, int32_t H, const SceneScale& scale,
               FrameMarks* marks = nullptr);

// Paints every ball of the list far to near with the ball picture at full size.
void DrawBalls(VertexList& list, HDC hdc, Vormix_C1& BallSprite, BallPainter& painter, FrameMarks* marks = nullptr);
// The same on a scaled screen: the sprite is already at its scaled size, and
// each ball is centred on its position spread by the scale in a W x H area.
void DrawBalls(VertexList& list, HDC hdc, Vormix_C1& BallSprite, BallPainter& painter, const SceneScale& scale,
               int32_t W, int32_t H, FrameMarks* marks = nullptr);

// Copies the background centred onto the back buffer; outside it stays as it is.
void PaintBackground(Vormix_C1& BackPicture, Vormix_C1& BackBuffer);

// The start of a frame on the back buffer: its background, black with the
// picture centred. Where the marks say the whole frame is to be made, as the
// back buffer is cleared and the background copied onto it; otherwise only
// where the last frame drew, from the same pixels.
void StartFrame(Vormix_C1& BackBuffer, Vormix_C1& BackPicture, FrameMarks& marks);

}  // namespace dovra
