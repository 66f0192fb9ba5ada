// The star field and the far-to-near order of the balls: the arithmetic of
// drawing a frame, with the actual pixel work handed to the caller.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "display/shape_model.h"
#include "toolkit/numeric.h"
#include "toolkit/value_services.h"

namespace dovra {

constexpr int kStarCount = 300;
// Positions 1..300 are the stars; position 0 is never used.
using StarField = std::array<Vertex, kStarCount + 1>;

// Three random numbers per star, in order: X, Y in [-1000, 1000), Z in [0, 15000).
void StartStars(StarField& stars, Rnd& rnd);

// Grey level of a star: floor((15000 - Z) * 255 / 15000) + 20, at most 255.
uint8_t StarBrightness(float z);
// 0x00BBGGRR grey of that level.
inline uint32_t GreyColour(uint8_t v) { return v | (v << 8) | (static_cast<uint32_t>(v) << 16); }

// One frame of the star field on a W x H area: project with the fixed star view,
// hand each star's rounded point and grey to setPixel(x, y, colour), then move it
// 50 nearer (past -2500 it starts again at 15000). Stars are drawn where they were
// at the start of the frame.
template <typename SetPixel>
void DrawStars(StarField& stars, int32_t W, int32_t H, SetPixel&& setPixel);

// Paints the balls far to near: the greatest depth first, and among equal depths
// the higher position first, so the lower position ends on top. Every ball is
// painted exactly once whatever its depth. Reuses its buffer, so a frame
// allocates nothing once the largest figure has been seen.
class BallPainter {
 public:
  BallPainter() { order_.reserve(kMaxBalls); }
  template <typename Paint>
  void DrawBalls(VertexList& list, int32_t spriteW, int32_t spriteH, Paint&& paint);
  // The order alone (positions), for tests and benchmarks.
  const std::vector<int32_t>& Order(VertexList& list);

 private:
  static constexpr size_t kMaxBalls = 171;
  std::vector<int32_t> order_;
};

// Top-left corner of a sprite centred on a projected point, rounded half to even.
inline int32_t SpriteCorner(float screen, int32_t size) {
  return RoundInt32(static_cast<double>(screen) - size / 2.0);
}

// ---- template definitions ----

void ProjectStars(StarField& stars, int32_t W, int32_t H);
void MoveStar(Vertex& star);

template <typename SetPixel>
void DrawStars(StarField& stars, int32_t W, int32_t H, SetPixel&& setPixel) {
  ProjectStars(stars, W, H);
  for (int i = 1; i <= kStarCount; ++i) {
    Vertex& s = stars[static_cast<size_t>(i)];
    setPixel(RoundInt32(s.ScreenX), RoundInt32(s.ScreenY), GreyColour(StarBrightness(s.Z)));
    MoveStar(s);
  }
}

template <typename Paint>
void BallPainter::DrawBalls(VertexList& list, int32_t spriteW, int32_t spriteH, Paint&& paint) {
  for (int32_t i : Order(list)) {
    const Vertex& v = list[i];
    paint(SpriteCorner(v.ScreenX, spriteW), SpriteCorner(v.ScreenY, spriteH));
  }
}

}  // namespace dovra
