#include "toolkit/picture_codec.h"

#include <climits>

#include "toolkit/stb_image_only.h"
#include "toolkit/portable_only.h"

namespace dovra {

std::optional<RgbPicture> DecodePicture(const uint8_t* data, size_t size) {
  if (!data || size == 0 || size > static_cast<size_t>(INT_MAX)) return std::nullopt;
  int w = 0, h = 0, channels = 0;
  stbi_uc* px = stbi_load_from_memory(data, static_cast<int>(size), &w, &h, &channels, 3);
  if (!px) return std::nullopt;
  RgbPicture p;
  p.width = w;
  p.height = h;
  p.rgb.assign(px, px + static_cast<size_t>(w) * h * 3);
  stbi_image_free(px);
  return p;
}

}  // namespace dovra
