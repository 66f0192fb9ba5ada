// Reading and writing a surface's pixels straight from its DIB bits.
#pragma once
#include <windows.h>

#include "surface/pixel_copy.h"
#include "surface/surface_win32.h"

namespace dovra::test {

// Pixel (x, y) from the top as 0x00BBGGRR.
inline COLORREF At(const Vormix_C1& s, int x, int y) {
  GdiFlush();
  const uint8_t* p = s.Bits() + (s.Height() - 1 - y) * DibStride(s.Width()) + x * 3;
  return RGB(p[2], p[1], p[0]);
}

inline void Put(Vormix_C1& s, int x, int y, COLORREF c) {
  GdiFlush();
  uint8_t* p = s.Bits() + (s.Height() - 1 - y) * DibStride(s.Width()) + x * 3;
  p[0] = GetBValue(c);
  p[1] = GetGValue(c);
  p[2] = GetRValue(c);
}

}  // namespace dovra::test
