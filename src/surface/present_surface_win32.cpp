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

void PresentSurface::Present(const Vormix_C1& back, FrameMarks& marks, HDC toDC, int32_t atX, int32_t atY) {
  if (Ready()) ShowPart(toDC, atX, atY, Convert(back, marks));
}

RECT PresentSurface::Convert(const Vormix_C1& back, FrameMarks& marks) {
  if (!Ready()) return RECT{};
  GdiFlush();  // GDI's drawing into the back buffer is done before its bytes are read
  const DibView src = back.View();
  const Dib32View dst = View();
  const FrameBox bounds = marks.Take([&](const FrameBox& b) {
    for (int32_t y = b.y; y < b.y + b.h; ++y) Convert24To32(src, dst, y, b.x, b.x + b.w);
  });
  return RECT{bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
}

// One copy to the window for all that changed: its bounds.
void PresentSurface::ShowPart(HDC toDC, int32_t atX, int32_t atY, const RECT& part) const {
  if (!Ready() || part.left >= part.right || part.top >= part.bottom) return;
  BitBlt(toDC, atX + part.left, atY + part.top, part.right - part.left, part.bottom - part.top, dc_, part.left,
         part.top, SRCCOPY);
}

void PresentSurface::Show(HDC toDC, int32_t atX, int32_t atY) const {
  if (Ready()) BitBlt(toDC, atX, atY, width_, height_, dc_, 0, 0, SRCCOPY);
}

}  // namespace dovra
