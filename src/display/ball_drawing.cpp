#include "display/ball_drawing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "display/animation.h"
#include "toolkit/portable_only.h"

namespace dovra {

void StartStars(StarField& stars, Rnd& rnd) {
  for (int i = 1; i <= kStarCount; ++i) {
    Vertex& s = stars[static_cast<size_t>(i)];
    const double r1 = rnd.Next(), r2 = rnd.Next(), r3 = rnd.Next();
    s.X = static_cast<float>(r1 * 2000 - 1000);
    s.Y = static_cast<float>(r2 * 2000 - 1000);
    s.Z = static_cast<float>(r3 * 15000);
  }
}

uint8_t StarBrightness(float z) {
  const double v = std::floor((15000.0 - z) * (255.0 / 15000.0)) + 20;
  if (!(v <= 255)) return 255;  // also catches NaN
  return v < 0 ? 0 : static_cast<uint8_t>(v);
}

void ProjectStars(StarField& stars, int32_t W, int32_t H) {
  ProjectVertices(stars.data(), kStarCount, W, H, 0, -90, 2500, 5000);
}

void MoveStar(Vertex& s) {
  s.Z -= 50;
  if (s.Z < -2500) s.Z = 15000;
}

const std::vector<int32_t>& BallPainter::Order(VertexList& list) {
  const int32_t n = list.Last();
  order_.clear();
  for (int32_t i = 1; i <= n; ++i) {
    list[i].Drawn = kFalse16;
    order_.push_back(i);
  }
  // The selection key is 32000 - Depth in 32-bit floats, smallest first; equal
  // keys go to the higher position. Depths the selection could never pick
  // (negative, huge, NaN) still get a place, so every ball is painted once.
  auto key = [&list](int32_t i) {
    const float k = 32000.0f - list[i].Depth;
    return std::isnan(k) ? -std::numeric_limits<float>::infinity() : k;
  };
  std::sort(order_.begin(), order_.end(), [&](int32_t a, int32_t b) {
    const float ka = key(a), kb = key(b);
    return ka != kb ? ka < kb : a > b;
  });
  for (int32_t i : order_) list[i].Drawn = kTrue16;
  return order_;
}

}  // namespace dovra
