#include "surface/pixel_copy.h"

#include <algorithm>
#include <cstring>

#include "toolkit/portable_only.h"

namespace dovra {

void CopyTransparent(const DibView& src, const DibView& dst, int32_t atX, int32_t atY) {
  if (!src.bits || !dst.bits) return;
  // Clip the source rectangle against the destination, in 64 bits: a corner
  // near -2^31 cannot be negated or added to in 32 bits without overflowing.
  const int64_t ax = atX, ay = atY;
  const int64_t x0 = std::max<int64_t>(0, -ax);
  const int64_t y0 = std::max<int64_t>(0, -ay);
  const int64_t x1 = std::min<int64_t>(src.width, dst.width - ax);
  const int64_t y1 = std::min<int64_t>(src.height, dst.height - ay);
  if (x0 >= x1 || y0 >= y1) return;
  // Inside the clipped rectangle every coordinate fits the views' own widths.
  for (int64_t y = y0; y < y1; ++y) {
    const uint8_t* s = src.Row(static_cast<int32_t>(y)) + x0 * 3;
    uint8_t* d = dst.Row(static_cast<int32_t>(y + ay)) + (x0 + ax) * 3;
    for (int64_t x = x0; x < x1; ++x, s += 3, d += 3) {
      // Stored blue, green, red: magenta is FF 00 FF.
      if (s[0] == 0xFF && s[1] == 0x00 && s[2] == 0xFF) continue;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  }
}

TransparentSprite::TransparentSprite(const DibView& src) : src_(src) {
  if (!src.bits) return;
  for (int32_t y = 0; y < src.height; ++y) {
    const uint8_t* p = src.Row(y);
    for (int32_t x = 0; x < src.width;) {
      const auto magenta = [p](int32_t i) { return p[i * 3] == 0xFF && p[i * 3 + 1] == 0x00 && p[i * 3 + 2] == 0xFF; };
      if (magenta(x)) {
        ++x;
        continue;
      }
      const int32_t start = x;
      while (x < src.width && !magenta(x)) ++x;
      runs_.push_back(Run{y, start, x});
    }
  }
}

void TransparentSprite::CopyTo(const DibView& dst, int32_t atX, int32_t atY) const {
  if (!dst.bits) return;
  for (const Run& r : runs_) {
    // In 64 bits, as CopyTransparent clips.
    const int64_t y = int64_t{r.y} + atY;
    if (y < 0 || y >= dst.height) continue;
    const int64_t x0 = std::max<int64_t>(int64_t{r.x0} + atX, 0), x1 = std::min<int64_t>(int64_t{r.x1} + atX, dst.width);
    if (x0 >= x1) continue;
    std::memcpy(dst.Row(static_cast<int32_t>(y)) + x0 * 3, src_.Row(r.y) + (x0 - atX) * 3, static_cast<size_t>((x1 - x0) * 3));
  }
}

void FillSquare(const DibView& dst, int32_t x, int32_t y, int32_t side, uint32_t colour) {
  if (!dst.bits || side <= 0) return;
  const int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
  const int64_t x1 = std::min<int64_t>(int64_t{x} + side, dst.width), y1 = std::min<int64_t>(int64_t{y} + side, dst.height);
  const uint8_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
  for (int64_t row = y0; row < y1; ++row) {
    uint8_t* d = dst.Row(static_cast<int32_t>(row)) + x0 * 3;
    for (int64_t col = x0; col < x1; ++col, d += 3) {
      d[0] = b;
      d[1] = g;
      d[2] = r;
    }
  }
}

}  // namespace dovra
