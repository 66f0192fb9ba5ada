#include "display/screen_layout.h"

#include <algorithm>
#include <climits>

#include "toolkit/portable_only.h"

namespace dovra {

ScreenLayout LayOutScreen(int32_t virtualX, int32_t virtualY, int32_t virtualW, int32_t virtualH,
                          int32_t primaryW, int32_t primaryH) {
  primaryW = std::max(primaryW, 0);
  primaryH = std::max(primaryH, 0);
  // Worked in 64 bits and clamped: the numbers come from the system, whose
  // screens are far smaller than 2^31 pixels, but a wrong answer must not wrap.
  auto clamp = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2)); };
  const int64_t left = std::min<int64_t>(virtualX, 0), top = std::min<int64_t>(virtualY, 0);
  const int64_t right = std::max<int64_t>(int64_t{virtualX} + std::max(virtualW, 0), primaryW);
  const int64_t bottom = std::max<int64_t>(int64_t{virtualY} + std::max(virtualH, 0), primaryH);
  ScreenLayout l;
  l.window = {clamp(left), clamp(top), clamp(right), clamp(bottom)};
  l.scene = {clamp(-left), clamp(-top), clamp(primaryW - left), clamp(primaryH - top)};
  const int32_t w = l.window.Width(), h = l.window.Height();
  if (l.scene.top > 0) l.black.push_back({0, 0, w, l.scene.top});
  if (l.scene.bottom < h) l.black.push_back({0, l.scene.bottom, w, h});
  if (l.scene.left > 0) l.black.push_back({0, l.scene.top, l.scene.left, l.scene.bottom});
  if (l.scene.right < w) l.black.push_back({l.scene.right, l.scene.top, w, l.scene.bottom});
  return l;
}

}  // namespace dovra
