#include "surface/present_surface_win32.h"

#include <algorithm>
#include <climits>

namespace dovra {

bool PresentSurface::Create(int32_t W, int32_t H) {
  Free();
  if (W <= 0 || H <= 0 || int64_t{W} * H * 4 > INT32_MAX) return false;
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = W;
  info.biHeight = H;  // bottom-up, row for row like the back buffer
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  dc_ = CreateCompatibleDC(nullptr);
  dib_ = dc_ ? CreateDIBSection(dc_, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits_, nullptr, 0) : nullptr;
  if (!dib_ || !bits_) {
    Free();
    return false;
  }
  old_ = SelectObject(dc_, dib_);
  width_ = W;
  height_ = H;
  return true;
}

void PresentSurface::Free() {
  if (dc_ && old_) SelectObject(dc_, old_);
  if (dib_) DeleteObject(dib_);
  if (dc_) DeleteDC(dc_);
  dc_ = nullptr;
  dib_ = nullptr;
  old_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

void PresentSurface::Present(const Vormix_C1& back, FrameDamage& damage, HDC toDC, int32_t atX, int32_t atY) {
  if (!Ready()) return;
  GdiFlush();  // GDI's drawing into the back buffer is done before its bytes are read
  const DibView src{back.Bits(), back.Width(), back.Height(), DibStride(back.Width())};
  const Dib32View dst = View();
  // One copy to the window for all that changed: its bounds.
  RECT bounds{width_, height_, 0, 0};
  damage.Take([&](int32_t y0, int32_t y1, int32_t x0, int32_t x1) {
    for (int32_t y = y0; y < y1; ++y) Convert24To32(src, dst, y, x0, x1);
    bounds.left = std::min<LONG>(bounds.left, x0);
    bounds.top = std::min<LONG>(bounds.top, y0);
    bounds.right = std::max<LONG>(bounds.right, x1);
    bounds.bottom = std::max<LONG>(bounds.bottom, y1);
  });
  if (bounds.left >= bounds.right || bounds.top >= bounds.bottom) return;
  BitBlt(toDC, atX + bounds.left, atY + bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, dc_,
         bounds.left, bounds.top, SRCCOPY);
}

void PresentSurface::Show(HDC toDC, int32_t atX, int32_t atY) const {
  if (Ready()) BitBlt(toDC, atX, atY, width_, height_, dc_, 0, 0, SRCCOPY);
}

}  // namespace dovra
