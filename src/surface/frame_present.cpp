#include "surface/frame_present.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define DOVRA_SSE2 1
#endif

#include "toolkit/portable_only.h"

namespace dovra {

void Convert24To32(const DibView& src, const Dib32View& dst, int32_t y, int32_t x0, int32_t x1) {
  if (!src.bits || !dst.bits || y < 0 || y >= src.height || y >= dst.height) return;
  x0 = std::max(x0, 0);
  x1 = std::min({x1, src.width, dst.width});
  if (x0 >= x1) return;
  const uint8_t* s = src.Row(y) + static_cast<int64_t>(x0) * 3;
  uint8_t* d = dst.Row(y) + static_cast<int64_t>(x0) * 4;
  int32_t n = x1 - x0;
#ifdef DOVRA_SSE2
  // Four pixels a step: their 12 bytes, loaded exactly (never past the row),
  // spread out by shifting the whole register 0, 1, 2 and 3 bytes and keeping
  // each pixel's three bytes in its own lane.
  const __m128i m0 = _mm_set_epi32(0, 0, 0, 0x00FFFFFF), m1 = _mm_set_epi32(0, 0, 0x00FFFFFF, 0);
  const __m128i m2 = _mm_set_epi32(0, 0x00FFFFFF, 0, 0), m3 = _mm_set_epi32(0x00FFFFFF, 0, 0, 0);
  for (; n >= 4; n -= 4, s += 12, d += 16) {
    int32_t tail;
    std::memcpy(&tail, s + 8, 4);
    const __m128i v = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(s)), _mm_cvtsi32_si128(tail));
    const __m128i out = _mm_or_si128(_mm_or_si128(_mm_and_si128(v, m0), _mm_and_si128(_mm_slli_si128(v, 1), m1)),
                                     _mm_or_si128(_mm_and_si128(_mm_slli_si128(v, 2), m2), _mm_and_si128(_mm_slli_si128(v, 3), m3)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), out);
  }
#endif
  for (; n > 0; --n, s += 3, d += 4) {
    d[0] = s[0];
    d[1] = s[1];
    d[2] = s[2];
    d[3] = 0;
  }
}

void FrameMarks::Reset(int32_t width, int32_t height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  drawn_.clear();
  restored_.clear();
  // Stars and balls: a few hundred places a frame, without allocating each time.
  drawn_.reserve(1024);
  restored_.reserve(1024);
  all_ = true;
}

void FrameMarks::Mark(int32_t x, int32_t y, int32_t w, int32_t h) {
  if (w <= 0 || h <= 0) return;
  // In 64 bits: a corner far off the frame must not wrap into it.
  const int64_t l = std::max<int64_t>(x, 0), t = std::max<int64_t>(y, 0);
  const int64_t r = std::min<int64_t>(int64_t{x} + w, width_), b = std::min<int64_t>(int64_t{y} + h, height_);
  if (l >= r || t >= b) return;
  drawn_.push_back(FrameBox{static_cast<int32_t>(l), static_cast<int32_t>(t), static_cast<int32_t>(r - l),
                            static_cast<int32_t>(b - t)});
}

void RestoreBackground(const DibView& dst, const DibView& picture, int32_t atX, int32_t atY, const FrameBox& box) {
  if (!dst.bits) return;
  const int64_t x0 = std::max<int64_t>(box.x, 0), x1 = std::min<int64_t>(int64_t{box.x} + box.w, dst.width);
  const int64_t y0 = std::max<int64_t>(box.y, 0), y1 = std::min<int64_t>(int64_t{box.y} + box.h, dst.height);
  if (x0 >= x1 || y0 >= y1) return;
  // The picture's columns within the box, in 64 bits like the box itself.
  const int64_t px0 = std::clamp<int64_t>(int64_t{atX}, x0, x1);
  const int64_t px1 = picture.bits ? std::clamp<int64_t>(int64_t{atX} + picture.width, px0, x1) : px0;
  for (int64_t y = y0; y < y1; ++y) {
    uint8_t* row = dst.Row(static_cast<int32_t>(y));
    const int64_t py = y - atY;
    const bool onPicture = picture.bits && py >= 0 && py < picture.height && px0 < px1;
    if (!onPicture) {
      std::memset(row + x0 * 3, 0, static_cast<size_t>((x1 - x0) * 3));
      continue;
    }
    std::memset(row + x0 * 3, 0, static_cast<size_t>((px0 - x0) * 3));
    std::memcpy(row + px0 * 3, picture.Row(static_cast<int32_t>(py)) + (px0 - atX) * 3, static_cast<size_t>((px1 - px0) * 3));
    std::memset(row + px1 * 3, 0, static_cast<size_t>((x1 - px1) * 3));
  }
}

}  // namespace dovra
