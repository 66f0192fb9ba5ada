#include "display/animation.h"

#include "toolkit/portable_only.h"

namespace dovra {
namespace {

// Back and forth between -50 and 50 in steps of 2 (shapes 6 and 8).
void Sway(Vertex& b) {
  if (b.MoveState == 0) {
    b.X += 2;
    if (b.X >= 50) { b.X = 50; b.MoveState = 1; }
  } else if (b.MoveState == 1) {
    b.X -= 2;
    if (b.X <= -50) { b.X = -50; b.MoveState = 0; }
  }
}

// Followers of shape 8 step with the state of their leader ball.
void Follow(VertexList& l, int32_t from, int32_t to, uint8_t leaderState) {
  for (int32_t i = from; i <= to; ++i) {
    if (leaderState == 0) l[i].X += 2;
    else if (leaderState == 1) l[i].X -= 2;
  }
}

}  // namespace

void AnimateShape(VertexList& l, uint8_t shapeNo) {
  const int32_t n = l.Last();
  switch (shapeNo) {
    case 1:  // five balls round a rectangle in the plane x = 0
      for (int32_t i = n - 4 < 1 ? 1 : n - 4; i <= n; ++i) {
        Vertex& b = l[i];
        switch (b.MoveState) {
          case 0: b.Y += 5; if (b.Y == 400) b.MoveState = 1; break;
          case 1: b.Z -= 5; if (b.Z == -400) b.MoveState = 2; break;
          case 2: b.Y -= 5; if (b.Y == -400) b.MoveState = 3; break;
          case 3: b.Z += 5; if (b.Z == 0) b.MoveState = 0; break;
          default: break;
        }
      }
      break;
    case 4:  // seven balls that speed up along x
      for (int32_t i = n - 6 < 1 ? 1 : n - 6; i <= n; ++i) {
        Vertex& b = l[i];
        if (b.MoveState == 0) {
          b.X = b.X + 5 + b.X / 100;
          if (b.X >= 400) b.MoveState = 1;
        } else if (b.MoveState == 1) {
          b.X = b.X - 5 + b.X / 100;
          if (b.X <= -400) b.MoveState = 0;
        }
      }
      break;
    case 6:
      for (int32_t i = 1; i <= n; ++i) Sway(l[i]);
      break;
    case 7:  // no clamping here: the balls overshoot by up to one step
      for (int32_t i = 1; i <= n; ++i) {
        Vertex& b = l[i];
        if (b.MoveState == 0) {
          b.X += 20;
          if (b.X >= 500) b.MoveState = 1;
        } else if (b.MoveState == 1) {
          b.X -= 20;
          if (b.X <= -500) b.MoveState = 0;
        }
      }
      break;
    case 8:
      if (n < 50) break;
      for (int32_t i = 1; i <= 30; ++i) Sway(l[i]);
      Follow(l, 31, 50, l[30].MoveState);
      Follow(l, 51, n, l[1].MoveState);
      break;
    case 9:
      if (n >= 1) {
        Vertex& b = l[n];
        b.X += 30;
        if (b.X > 2500) b.X = -650;
      }
      break;
    default:
      break;
  }
}

void ProjectVertices(Vertex* list, int32_t last, int32_t W, int32_t H, float azimuth,
                     float elevation, float zoom, float distance) {
  const float cx = static_cast<float>(W) / 2;
  const float cy = static_cast<float>(H) / 2;
  const float sA = static_cast<float>(SinDeg(azimuth));
  const float cA = static_cast<float>(CosDeg(azimuth));
  const float p = 90 - elevation;
  const float sP = static_cast<float>(SinDeg(p));
  const float cP = static_cast<float>(CosDeg(p));
  // Loop-invariant products, so the per-ball work is a handful of multiplies.
  const float cAcP = cA * cP, sAcP = sA * cP, cAsP = cA * sP, sAsP = sA * sP;
  for (int32_t i = 1; i <= last; ++i) {
    Vertex& v = list[i];
    const float x = v.X, y = v.Y, z = v.Z;
    const float xe = -x * sA + y * cA;
    const float ye = -x * cAcP - y * sAcP + z * sP;
    const float ze = -x * cAsP - y * sAsP - z * cP + distance;
    v.Depth = ze;
    v.ScreenX = xe * zoom / ze + cx;
    v.ScreenY = cy - zoom * ye / ze;
  }
}

LifePhase ShapeLifeStep(View& view, uint8_t& shapeNo, VertexList& list, Vormix_C2& watch) {
  const int32_t elapsed = watch.GetTime();
  if (elapsed < kShapeLifeMs) {
    view.Zoom += view.Zoom < 2500 ? 50.0f : 2.5f;
    view.Azimuth += 1.25f;
    view.Elevation += 0.75f;
    for (float* a : {&view.Azimuth, &view.Elevation}) {
      if (*a > 360) *a -= 360;
      if (*a < -360) *a += 360;
    }
    return LifePhase::Growing;
  }
  if (view.Zoom > 0) {
    view.Zoom -= 50;
    return LifePhase::Shrinking;
  }
  shapeNo = static_cast<uint8_t>(shapeNo + 1);
  if (shapeNo > kLastShape) shapeNo = 0;
  LoadShape(list, shapeNo);
  watch.StartWatch();
  return LifePhase::NextShape;
}

}  // namespace dovra
