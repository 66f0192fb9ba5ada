#include "surface/surface_win32.h"

#include <cstring>
#include <utility>
#include <vector>

#include "surface/pixel_copy.h"
#include "toolkit/numeric.h"
#include "toolkit/system_dlls_win32.h"
#include "toolkit/text_win32.h"

namespace dovra {

Vormix_C1::Vormix_C1(Vormix_C1&& o) noexcept
    : hMemDC(std::exchange(o.hMemDC, nullptr)),
      lpBits(std::exchange(o.lpBits, nullptr)),
      BmpHeader(std::exchange(o.BmpHeader, BITMAPINFOHEADER{})),
      hOldBmp(std::exchange(o.hOldBmp, nullptr)),
      hDIB(std::exchange(o.hDIB, nullptr)),
      TextRect(o.TextRect) {}

Vormix_C1& Vormix_C1::operator=(Vormix_C1&& o) noexcept {
  if (this != &o) {
    FreeSurface();
    hMemDC = std::exchange(o.hMemDC, nullptr);
    lpBits = std::exchange(o.lpBits, nullptr);
    BmpHeader = std::exchange(o.BmpHeader, BITMAPINFOHEADER{});
    hOldBmp = std::exchange(o.hOldBmp, nullptr);
    hDIB = std::exchange(o.hDIB, nullptr);
    TextRect = o.TextRect;
  }
  return *this;
}

SurfaceResult Vormix_C1::Create(int32_t W, int32_t H) {
  FreeSurface();
  hDIB = nullptr;
  lpBits = nullptr;
  BmpHeader.biSize = sizeof(BITMAPINFOHEADER);
  BmpHeader.biWidth = W;
  BmpHeader.biHeight = H;
  BmpHeader.biPlanes = 1;
  BmpHeader.biBitCount = 24;
  // Computed wide: a size that does not fit 32 bits cannot become a DIB.
  const bool positive = W > 0 && H > 0 && W < 0x10000000;
  const int64_t size = positive ? static_cast<int64_t>(DibStride(W)) * H : 0;
  const bool sane = positive && size <= INT32_MAX;
  BmpHeader.biSizeImage = sane ? static_cast<DWORD>(size) : 0;
  hMemDC = CreateCompatibleDC(nullptr);
  if (sane) {
    hDIB = CreateDIBSection(hMemDC, reinterpret_cast<BITMAPINFO*>(&BmpHeader), DIB_RGB_COLORS,
                            &lpBits, nullptr, 0);
  }
  if (!hDIB) {
    lpBits = nullptr;
    return SurfaceError{kErrDibFailed,
                        "DIB failed to create\r\nPlease restart your system and try again"};
  }
  hOldBmp = static_cast<HBITMAP>(SelectObject(hMemDC, hDIB));
  Cls();
  return std::nullopt;
}

SurfaceResult Vormix_C1::Clone(HBITMAP pic, bool FitSize) {
  BITMAP bm{};
  if (!pic || !GetObjectA(pic, sizeof bm, &bm)) bm = BITMAP{};
  if (FitSize) {
    if (auto err = Create(bm.bmWidth, bm.bmHeight)) return err;
  }
  if (!hDIB) return SurfaceError{kErrNoDib, "DIB has to be created first"};
  HDC temp = CreateCompatibleDC(hMemDC);
  HGDIOBJ old = SelectObject(temp, pic);
  StretchBlt(hMemDC, 0, 0, Width(), Height(), temp, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  SelectObject(temp, old);
  DeleteDC(temp);
  return std::nullopt;
}

void Vormix_C1::CloneHDC(HDC theHDC, DWORD dwRop, int32_t x, int32_t y) {
  BitBlt(hMemDC, 0, 0, Width(), Height(), theHDC, x, y, dwRop);
}

void Vormix_C1::PaintTo(HDC toDC, int32_t atX, int32_t atY, DWORD dwRop) {
  BitBlt(toDC, atX, atY, Width(), Height(), hMemDC, 0, 0, dwRop);
}

int32_t ScaledSize(int32_t Ratio, int32_t size) {
  return RoundInt32((Ratio * 0.01) * size);
}

void Vormix_C1::PaintToTrans(HDC toDC, int32_t atX, int32_t atY, int32_t Ratio) {
  if (Ratio == 100 && hDIB) {
    if (const std::optional<DibView> to = DirectTarget(toDC)) {
      GdiFlush();
      CopyTransparent(View(), *to, atX, atY);
      return;
    }
  }
  msimg32::TransparentBlt(toDC, atX, atY, ScaledSize(Ratio, Width()), ScaledSize(Ratio, Height()), hMemDC,
                 0, 0, Width(), Height(), kMagenta);
}

// At full size onto a plain 24-bit DIB section, a transparent blit's result is
// fully defined: every non-magenta pixel copied, clipped to the destination.
// Writing those pixels directly gives the same frame for a fraction of the cost
// (TransparentBlt is ~90 us a call under Wine, and a frame makes up to 171).
std::optional<DibView> Vormix_C1::DirectTarget(HDC toDC) {
  if (!toDC) return std::nullopt;
  HGDIOBJ target = GetCurrentObject(toDC, OBJ_BITMAP);
  DIBSECTION ds{};
  if (!target || GetObjectA(target, sizeof ds, &ds) != sizeof ds) return std::nullopt;
  if (ds.dsBm.bmBitsPixel != 24 || !ds.dsBm.bmBits || ds.dsBmih.biHeight <= 0 ||
      ds.dsBmih.biCompression != BI_RGB)
    return std::nullopt;
  // Only a DC without mapping, offset or clipping of its own.
  POINT org{};
  if (GetMapMode(toDC) != MM_TEXT || !GetViewportOrgEx(toDC, &org) || org.x || org.y ||
      !GetWindowOrgEx(toDC, &org) || org.x || org.y)
    return std::nullopt;
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  const int hasClip = GetClipRgn(toDC, clip);
  DeleteObject(clip);
  if (hasClip != 0) return std::nullopt;
  return DibView{static_cast<uint8_t*>(ds.dsBm.bmBits), ds.dsBm.bmWidth, ds.dsBm.bmHeight, ds.dsBm.bmWidthBytes};
}

void Vormix_C1::PaintZoom(HDC toDC, int32_t atX, int32_t atY, int32_t Ratio, DWORD dwRop) {
  StretchBlt(toDC, atX, atY, ScaledSize(Ratio, Width()), ScaledSize(Ratio, Height()), hMemDC, 0, 0,
             Width(), Height(), dwRop);
}

void Vormix_C1::Cls() {
  if (hDIB && lpBits) {
    GdiFlush();
    std::memset(lpBits, 0, BmpHeader.biSizeImage);
  }
}

void Vormix_C1::PrintTxt(const std::string& theText, int32_t x, int32_t y) {
  const std::wstring wide = Utf8ToWide(theText);
  TextRect.left = x;
  TextRect.top = y;
  TextRect.right = x + 16 * static_cast<int32_t>(wide.size());
  TextRect.bottom = y + 50;
  std::string ansi = WideToAnsi(wide);
  DrawTextA(hMemDC, ansi.c_str(), static_cast<int>(ansi.size()), &TextRect, 0);
}

void Vormix_C1::ChangeColors(COLORREF TextColor, COLORREF BgColor, bool BgTransparent) {
  if (BgTransparent) {
    SetBkMode(hMemDC, TRANSPARENT);
  } else {
    SetBkMode(hMemDC, OPAQUE);
    SetBkColor(hMemDC, BgColor);
  }
  SetTextColor(hMemDC, TextColor);
}

// The memory DC is deleted with DeleteDC: DeleteObject is not meant for device
// contexts, and a DC left behind per Create would pile up over a long run.
void Vormix_C1::FreeSurface() {
  if (!hMemDC) return;
  if (hOldBmp) {
    HGDIOBJ dib = SelectObject(hMemDC, hOldBmp);
    DeleteObject(dib);
    hOldBmp = nullptr;
  } else if (hDIB) {
    DeleteObject(hDIB);
  }
  DeleteDC(hMemDC);
  hMemDC = nullptr;
  hDIB = nullptr;
  lpBits = nullptr;
}

}  // namespace dovra
