#include "surface/pixel_copy.h"

#include <algorithm>

#include "toolkit/portable_only.h"

namespace dovra {

void CopyTransparent(const DibView& src, const DibView& dst, int32_t atX, int32_t atY) {
  if (!src.bits || !dst.bits) return;
  // Clip the source rectangle against the destination.
  const int32_t x0 = atX < 0 ? -atX : 0;
  const int32_t y0 = atY < 0 ? -atY : 0;
  const int64_t x1 = std::min<int64_t>(src.width, static_cast<int64_t>(dst.width) - atX);
  const int64_t y1 = std::min<int64_t>(src.height, static_cast<int64_t>(dst.height) - atY);
  for (int32_t y = y0; y < y1; ++y) {
    const uint8_t* s = src.Row(y) + x0 * 3;
    uint8_t* d = dst.Row(y + atY) + (x0 + atX) * 3;
    for (int32_t x = x0; x < x1; ++x, s += 3, d += 3) {
      // Stored blue, green, red: magenta is FF 00 FF.
      if (s[0] == 0xFF && s[1] == 0x00 && s[2] == 0xFF) continue;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  }
}

}  // namespace dovra
