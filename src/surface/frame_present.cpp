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

void FrameDamage::Reset(int32_t width, int32_t height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  cols_ = (width_ + kTileW - 1) / kTileW;
  rows_ = (height_ + kTileH - 1) / kTileH;
  now_.assign(static_cast<size_t>(cols_) * rows_, 0);
  last_.assign(now_.size(), 0);
  all_ = true;
}

void FrameDamage::Mark(int32_t x, int32_t y, int32_t w, int32_t h) {
  if (w <= 0 || h <= 0) return;
  // In 64 bits: a corner far off the frame must not wrap into it.
  const int64_t l = std::max<int64_t>(x, 0), t = std::max<int64_t>(y, 0);
  const int64_t r = std::min<int64_t>(int64_t{x} + w, width_), b = std::min<int64_t>(int64_t{y} + h, height_);
  if (l >= r || t >= b) return;
  const int32_t c0 = static_cast<int32_t>(l / kTileW), c1 = static_cast<int32_t>((r - 1) / kTileW);
  const int32_t r0 = static_cast<int32_t>(t / kTileH), r1 = static_cast<int32_t>((b - 1) / kTileH);
  for (int32_t row = r0; row <= r1; ++row)
    std::fill_n(&now_[static_cast<size_t>(row) * cols_ + c0], c1 - c0 + 1, uint8_t{1});
}

}  // namespace dovra
