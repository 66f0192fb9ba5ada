// Pixel work on 24-bit bottom-up DIB memory that the surface does itself where the
// platform's own call would be far slower for the same result.
#pragma once
#include <cstdint>
#include <vector>

namespace dovra {

// 24-bit rows are padded to a multiple of 4 bytes.
constexpr int32_t DibStride(int32_t width) { return (width * 3 + 3) & ~3; }

// A 24-bit bottom-up pixel array: row 0 of the picture is stored last.
struct DibView {
  uint8_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t stride = 0;
  uint8_t* Row(int32_t y) const { return bits + static_cast<int64_t>(height - 1 - y) * stride; }
};

// Copies every pixel of src that is not exactly magenta (255, 0, 255) to dst with
// src's top-left corner at (atX, atY), clipped to dst: what a transparent blit at
// full size does.
void CopyTransparent(const DibView& src, const DibView& dst, int32_t atX, int32_t atY);

// A sprite whose pixels a transparent copy copies, found once: per row, the
// runs that are not magenta. Copying a run at a time gives what
// CopyTransparent gives without testing every pixel again at every copy.
// The sprite's pixels must stay as they were while it is in use.
class TransparentSprite {
 public:
  explicit TransparentSprite(const DibView& src);
  // The same as CopyTransparent(src, dst, atX, atY).
  void CopyTo(const DibView& dst, int32_t atX, int32_t atY) const;
  int32_t Width() const { return src_.width; }
  int32_t Height() const { return src_.height; }

 private:
  struct Run {
    int32_t y, x0, x1;
  };
  DibView src_;
  std::vector<Run> runs_;
};

// Fills the side x side square with its top-left corner at (x, y), clipped to
// dst, with the colour 0x00BBGGRR.
void FillSquare(const DibView& dst, int32_t x, int32_t y, int32_t side, uint32_t colour);

}  // namespace dovra
