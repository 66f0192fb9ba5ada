// A small RGB image with the file formats the program embeds (BMP, ICO, CUR) and
// PNG for looking at the pictures. Everything here is deterministic: the same
// image always gives the same bytes.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pics {

struct Rgb {
  double r = 0, g = 0, b = 0;  // 0..255
};

inline Rgb Hex(uint32_t v) {
  return {static_cast<double>((v >> 16) & 255), static_cast<double>((v >> 8) & 255),
          static_cast<double>(v & 255)};
}
inline Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Rgb Scale(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb Add(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }

// 8-bit RGBA pixels, row 0 at the top.
struct Image {
  int w = 0, h = 0;
  std::vector<uint8_t> px;  // r, g, b, a
  Image() = default;
  Image(int width, int height, Rgb fill = {}, uint8_t alpha = 255);
  uint8_t* At(int x, int y) { return &px[(static_cast<size_t>(y) * w + x) * 4]; }
  const uint8_t* At(int x, int y) const { return &px[(static_cast<size_t>(y) * w + x) * 4]; }
  void Set(int x, int y, Rgb c, uint8_t alpha = 255);
  Rgb Get(int x, int y) const;
  uint32_t Hex(int x, int y) const;  // 0xRRGGBB
};

uint8_t ToByte(double v);

// Area-average downscale (or nearest-neighbour upscale by an integer factor).
Image Resample(const Image& src, int w, int h);
Image Enlarge(const Image& src, int factor);
void Blit(Image& dst, const Image& src, int atX, int atY);

std::vector<uint8_t> EncodeBmp24(const Image& img);
// One icon file holding each image as a size of its own; alpha from the image.
std::vector<uint8_t> EncodeIco32(const std::vector<Image>& images);
// Two-colour cursor of one or more sizes: pixels with alpha 0 are transparent,
// others black or white; a hot spot for each size.
std::vector<uint8_t> EncodeCur(const std::vector<Image>& images, const std::vector<std::pair<int, int>>& hot);
// PNG with stored deflate blocks, for pictures to look at.
std::vector<uint8_t> EncodePng(const Image& img);
// The forms the program embeds: a compressed PNG (lossless) and a JPEG.
std::vector<uint8_t> EncodePngCompressed(const Image& img);
std::vector<uint8_t> EncodeJpeg(const Image& img, int quality);

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace pics
