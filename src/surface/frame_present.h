// Composing and showing only what changes. The frames are composed in a 24-bit
// back buffer and shown from a 32-bit one in the screen's own format; from one
// frame to the next only the places where stars and balls are drawn now and
// where they were drawn last time change. Everything else (the background, the
// black around it) stays, so only those places are restored, converted and
// shown.
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

// A place of a frame, in pixels, never empty once clipped.
struct FrameBox {
  int32_t x = 0, y = 0, w = 0, h = 0;
  bool operator==(const FrameBox& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

// What changed from one frame to the next. A frame is its background (black,
// the picture centred on it) with the stars' pixels and the balls' rectangles
// drawn over it, so only those places change: before a frame, the places the
// last one drew on are given their background back; after it, the places
// drawn on now and those given back are shown anew.
class FrameMarks {
 public:
  // A new frame size: everything counts as changed.
  void Reset(int32_t width, int32_t height);
  // Everything changed (a new background, an exposed window): the next frame
  // is composed and shown whole.
  void MarkAll() { all_ = true; }
  bool All() const { return all_; }
  // The w x h rectangle at (x, y) was drawn on, clipped to the frame.
  void Mark(int32_t x, int32_t y, int32_t w, int32_t h);
  // The start of a frame: restore(box) for each place the last frame drew on,
  // none when the frame is to be made whole.
  template <typename Restore>
  void StartFrame(Restore&& restore);
  // The end of a frame: show(box) for each place that changed (one box for a
  // whole frame), and their bounds; the frame is then no longer whole.
  template <typename Show>
  FrameBox Take(Show&& show);

 private:
  int32_t width_ = 0, height_ = 0;
  bool all_ = true;
  std::vector<FrameBox> drawn_, restored_;
};

template <typename Restore>
void FrameMarks::StartFrame(Restore&& restore) {
  if (!all_)
    for (const FrameBox& b : drawn_) restore(b);
  restored_.swap(drawn_);
  drawn_.clear();
  if (all_) restored_.clear();
}

template <typename Show>
FrameBox FrameMarks::Take(Show&& show) {
  int32_t l = width_, t = height_, r = 0, b = 0;
  const auto one = [&](const FrameBox& box) {
    show(box);
    l = std::min(l, box.x);
    t = std::min(t, box.y);
    r = std::max(r, box.x + box.w);
    b = std::max(b, box.y + box.h);
  };
  if (all_) {
    if (width_ > 0 && height_ > 0) one(FrameBox{0, 0, width_, height_});
  } else {
    for (const FrameBox& box : restored_) one(box);
    for (const FrameBox& box : drawn_) one(box);
  }
  all_ = false;
  return l < r && t < b ? FrameBox{l, t, r - l, b - t} : FrameBox{};
}

// Gives the box of dst its background back: the picture's pixels where the
// picture, with its top-left corner at (atX, atY), covers it, black elsewhere.
void RestoreBackground(const DibView& dst, const DibView& picture, int32_t atX, int32_t atY, const FrameBox& box);

}  // namespace dovra
