#include "surface/resample.h"

#include <algorithm>
#include <cmath>

#include "toolkit/portable_only.h"

namespace dovra {

namespace {

bool IsMagenta(const uint8_t* p) { return p[0] == 255 && p[1] == 0 && p[2] == 255; }

// For each output pixel, the source area it covers and its weights.
template <typename Visit>
void ForEachCover(const RgbPicture& src, int32_t width, int32_t height, Visit&& visit) {
  const double sx = static_cast<double>(src.width) / width, sy = static_cast<double>(src.height) / height;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      const double x0 = x * sx, x1 = (x + 1) * sx, y0 = y * sy, y1 = (y + 1) * sy;
      const int32_t yEnd = std::min<int32_t>(src.height, static_cast<int32_t>(std::ceil(y1)));
      const int32_t xEnd = std::min<int32_t>(src.width, static_cast<int32_t>(std::ceil(x1)));
      visit(x, y, [&](auto&& each) {
        for (int32_t yy = static_cast<int32_t>(y0); yy < yEnd; ++yy)
          for (int32_t xx = static_cast<int32_t>(x0); xx < xEnd; ++xx) {
            const double w = (std::min<double>(xx + 1, x1) - std::max<double>(xx, x0)) *
                             (std::min<double>(yy + 1, y1) - std::max<double>(yy, y0));
            if (w > 0) each(src.At(xx, yy), w);
          }
      });
    }
}

uint8_t Byte(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

RgbPicture Blank(int32_t width, int32_t height) {
  RgbPicture out;
  out.width = std::max(width, 0);
  out.height = std::max(height, 0);
  out.rgb.assign(static_cast<size_t>(out.width) * out.height * 3, 0);
  return out;
}

}  // namespace

RgbPicture ResampleArea(const RgbPicture& src, int32_t width, int32_t height) {
  RgbPicture out = Blank(width, height);
  if (src.width <= 0 || src.height <= 0) return out;
  ForEachCover(src, out.width, out.height, [&](int32_t x, int32_t y, auto&& cover) {
    double acc[3] = {}, area = 0;
    cover([&](const uint8_t* p, double w) {
      for (int c = 0; c < 3; ++c) acc[c] += p[c] * w;
      area += w;
    });
    uint8_t* q = out.At(x, y);
    for (int c = 0; c < 3; ++c) q[c] = area > 0 ? Byte(acc[c] / area) : 0;
  });
  return out;
}

RgbPicture ResampleSprite(const RgbPicture& src, int32_t width, int32_t height) {
  RgbPicture out = Blank(width, height);
  if (src.width <= 0 || src.height <= 0) return out;
  ForEachCover(src, out.width, out.height, [&](int32_t x, int32_t y, auto&& cover) {
    double acc[3] = {}, solid = 0, area = 0;
    cover([&](const uint8_t* p, double w) {
      area += w;
      if (IsMagenta(p)) return;
      for (int c = 0; c < 3; ++c) acc[c] += p[c] * w;
      solid += w;
    });
    uint8_t* q = out.At(x, y);
    if (solid * 2 < area || solid <= 0) {
      q[0] = 255, q[1] = 0, q[2] = 255;
      return;
    }
    for (int c = 0; c < 3; ++c) q[c] = Byte(acc[c] / solid);
    // An average that happens to be magenta itself would vanish: nudge it.
    if (IsMagenta(q)) q[1] = 1;
  });
  return out;
}

}  // namespace dovra
