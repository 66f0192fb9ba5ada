// Showing finished frames in the screen's own 32-bit format. The frames are
// composed in a 24-bit back buffer; turning all of it into 32-bit pixels at
// every frame costs more than composing it, so only what changed since the
// last frame is converted: the places where stars and balls are drawn now and
// where they were drawn last time. Everything else (the background, the black
// around it) is the same from one frame to the next.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "surface/pixel_copy.h"

namespace dovra {

// A 32-bit bottom-up pixel array (blue, green, red, unused), laid out row for
// row like the 24-bit one it is filled from.
struct Dib32View {
  uint8_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t stride = 0;
  uint8_t* Row(int32_t y) const { return bits + static_cast<int64_t>(height - 1 - y) * stride; }
};

// Copies pixels x0 <= x < x1 of row y from the 24-bit view into the 32-bit one
// (the fourth byte 0), several pixels a step. Out-of-range parts are left out.
void Convert24To32(const DibView& src, const Dib32View& dst, int32_t y, int32_t x0, int32_t x1);

// Which parts of a frame changed, on a grid of small tiles: what was marked in
// this frame and in the one before must be shown anew.
class FrameDamage {
 public:
  static constexpr int32_t kTileW = 16, kTileH = 8;

  // A new frame size: everything counts as changed.
  void Reset(int32_t width, int32_t height);
  // Everything changed (a new background, an exposed window): the next frame
  // is shown whole. Its marks are kept all the same: the frame after it must
  // take away what it drew.
  void MarkAll() { all_ = true; }
  bool All() const { return all_; }
  // The rectangle at (x, y), w x h pixels, clipped to the frame.
  void Mark(int32_t x, int32_t y, int32_t w, int32_t h);
  // Calls span(y0, y1, x0, x1) for each run of changed tiles, row band by row
  // band (y0 <= y < y1, x0 <= x < x1, clipped to the frame); a whole frame is
  // one span. Then starts the next frame: this frame's marks become the last.
  template <typename Span>
  void Take(Span&& span);

 private:
  int32_t width_ = 0, height_ = 0, cols_ = 0, rows_ = 0;
  bool all_ = true;
  std::vector<uint8_t> now_, last_;
};

template <typename Span>
void FrameDamage::Take(Span&& span) {
  if (width_ <= 0 || height_ <= 0) return;
  if (all_) {
    span(0, height_, 0, width_);
  } else {
    for (int32_t r = 0; r < rows_; ++r) {
      const uint8_t* a = &now_[static_cast<size_t>(r) * cols_];
      const uint8_t* b = &last_[static_cast<size_t>(r) * cols_];
      const int32_t y0 = r * kTileH, y1 = y0 + kTileH < height_ ? y0 + kTileH : height_;
      for (int32_t c = 0; c < cols_;) {
        if (!(a[c] | b[c])) { ++c; continue; }
        const int32_t start = c;
        while (c < cols_ && (a[c] | b[c])) ++c;
        const int32_t x1 = c * kTileW < width_ ? c * kTileW : width_;
        span(y0, y1, start * kTileW, x1);
      }
    }
  }
  all_ = false;
  now_.swap(last_);
  std::fill(now_.begin(), now_.end(), uint8_t{0});
}

}  // namespace dovra
