#include "surface/pixel_copy.h"

#include <algorithm>

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

}  // namespace dovra
