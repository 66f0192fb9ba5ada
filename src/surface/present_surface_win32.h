// The 32-bit surface frames are shown from: a DIB section in the screen's own
// format, of the back buffer's size, kept filled with the last frame.
#pragma once
#include <windows.h>

#include <cstdint>

#include "surface/frame_present.h"
#include "surface/surface_win32.h"

namespace dovra {

class PresentSurface {
 public:
  PresentSurface() = default;
  ~PresentSurface() { Free(); }
  PresentSurface(const PresentSurface&) = delete;
  PresentSurface& operator=(const PresentSurface&) = delete;

  // A new W x H surface, black; false (and no surface) when it cannot be made.
  bool Create(int32_t W, int32_t H);
  void Free();
  bool Ready() const { return dib_ != nullptr; }
  HDC hdc() const { return dc_; }
  Dib32View View() const { return Dib32View{static_cast<uint8_t*>(bits_), width_, height_, width_ * 4}; }

  // Converts what changed in the back buffer since the last frame, then shows
  // it on toDC with the surface's top-left corner at (atX, atY).
  void Present(const Vormix_C1& back, FrameMarks& marks, HDC toDC, int32_t atX, int32_t atY);
  // The two halves of Present: the conversion, which gives the bounds of what
  // it converted, and showing those bounds.
  RECT Convert(const Vormix_C1& back, FrameMarks& marks);
  void ShowPart(HDC toDC, int32_t atX, int32_t atY, const RECT& part) const;
  // Shows the whole surface (the last frame) again.
  void Show(HDC toDC, int32_t atX, int32_t atY) const;

 private:
  HDC dc_ = nullptr;
  HBITMAP dib_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
  int32_t width_ = 0, height_ = 0;
};

}  // namespace dovra
