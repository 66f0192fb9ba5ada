// The program's pictures are stored compressed (PNG, and JPEG where a little
// loss is never seen) and decoded when they are needed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace dovra {

// Pixels as red, green, blue bytes, the top row first, rows without padding.
struct RgbPicture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;
  const uint8_t* At(int32_t x, int32_t y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
  uint8_t* At(int32_t x, int32_t y) { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// Empty when the bytes are no PNG or JPEG picture this program can read.
std::optional<RgbPicture> DecodePicture(const uint8_t* data, size_t size);

}  // namespace dovra
