#include "toolkit/scene_scale.h"

#include <algorithm>

#include "toolkit/numeric.h"
#include "toolkit/portable_only.h"

namespace dovra {

SceneScale SceneScale::FromDpi(int32_t dpi) { return SceneScale(dpi > 0 ? dpi / 96.0 : 1.0); }

int32_t SceneScale::Size(int32_t pixels) const {
  const int32_t n = RoundInt32(pixels * s_);
  return pixels > 0 ? std::max(n, 1) : n;
}

int32_t SceneScale::StarSide() const { return std::max(1, RoundInt32(s_)); }

double SceneScale::Spread(float screen, int32_t extent) const {
  const double centre = static_cast<float>(extent) / 2;
  return centre + (static_cast<double>(screen) - centre) * s_;
}

}  // namespace dovra
