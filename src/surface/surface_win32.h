// Vormix_C1: an off-screen 24-bit bottom-up DIB section in its own memory DC,
// on which frames are composed.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "surface/pixel_copy.h"

namespace dovra {

// The two failures a surface reports; the caller decides whether to carry on.
struct SurfaceError {
  int32_t Number;
  std::string Description;
};
using SurfaceResult = std::optional<SurfaceError>;  // empty: success

constexpr int32_t kErrDibFailed = 825;
constexpr int32_t kErrNoDib = -1;
constexpr COLORREF kMagenta = 0xFF00FF;

class Vormix_C1 {
 public:
  Vormix_C1() = default;
  ~Vormix_C1() { FreeSurface(); }
  Vormix_C1(const Vormix_C1&) = delete;
  Vormix_C1& operator=(const Vormix_C1&) = delete;
  Vormix_C1(Vormix_C1&& o) noexcept;
  Vormix_C1& operator=(Vormix_C1&& o) noexcept;

  // A new W x H surface cleared to black; any earlier one is released first.
  SurfaceResult Create(int32_t W, int32_t H);
  // Copies a picture into the surface, stretched to its size; with FitSize the
  // surface is first re-created at the picture's size.
  SurfaceResult Clone(HBITMAP pic, bool FitSize = true);
  void CloneHDC(HDC theHDC, DWORD dwRop, int32_t x = 0, int32_t y = 0);
  void PaintTo(HDC toDC, int32_t atX, int32_t atY, DWORD dwRop);
  // Scaled by Ratio percent, magenta pixels left out.
  void PaintToTrans(HDC toDC, int32_t atX, int32_t atY, int32_t Ratio = 100);
  // The pixels of the 24-bit DIB section selected into toDC, where a
  // transparent paint at full size onto it is fully defined (no mapping,
  // offset or clipping of the DC's own); nothing otherwise.
  static std::optional<DibView> DirectTarget(HDC toDC);
  void PaintZoom(HDC toDC, int32_t atX, int32_t atY, int32_t Ratio, DWORD dwRop);
  void Cls();

  int32_t RGBSize() const { return static_cast<int32_t>(BmpHeader.biSizeImage); }
  int32_t Width() const { return BmpHeader.biWidth; }
  int32_t Height() const { return BmpHeader.biHeight; }
  HDC hdc() const { return hMemDC; }
  uint8_t* Bits() const { return hDIB ? static_cast<uint8_t*>(lpBits) : nullptr; }
  // Its own pixels, for the portable copies (after GdiFlush).
  DibView View() const { return DibView{Bits(), Width(), Height(), DibStride(Width())}; }

  // Text (UTF-8) at (x, y), clipped to 16 pixels a character and 50 rows.
  void PrintTxt(const std::string& theText, int32_t x, int32_t y);
  void ChangeColors(COLORREF TextColor, COLORREF BgColor, bool BgTransparent);
  const RECT& LastTextRect() const { return TextRect; }

 private:
  void FreeSurface();

  HDC hMemDC = nullptr;
  void* lpBits = nullptr;
  BITMAPINFOHEADER BmpHeader{};
  HBITMAP hOldBmp = nullptr;
  HBITMAP hDIB = nullptr;
  RECT TextRect{};
};

// Destination size of a scaled paint: round((Ratio * 0.01) * size), halves to even.
int32_t ScaledSize(int32_t Ratio, int32_t size);

}  // namespace dovra
