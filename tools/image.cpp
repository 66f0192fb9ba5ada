#include "image.h"

#include "stb_image_write_only.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pics {

uint8_t ToByte(double v) {
  if (!(v > 0)) return 0;
  if (v >= 255) return 255;
  return static_cast<uint8_t>(std::lround(v));
}

Image::Image(int width, int height, Rgb fill, uint8_t alpha)
    : w(width), h(height), px(static_cast<size_t>(width) * height * 4) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Set(x, y, fill, alpha);
}

void Image::Set(int x, int y, Rgb c, uint8_t alpha) {
  uint8_t* p = At(x, y);
  p[0] = ToByte(c.r);
  p[1] = ToByte(c.g);
  p[2] = ToByte(c.b);
  p[3] = alpha;
}

Rgb Image::Get(int x, int y) const {
  const uint8_t* p = At(x, y);
  return {static_cast<double>(p[0]), static_cast<double>(p[1]), static_cast<double>(p[2])};
}

uint32_t Image::Hex(int x, int y) const {
  const uint8_t* p = At(x, y);
  return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

Image Resample(const Image& src, int w, int h) {
  Image out(w, h);
  const double sx = static_cast<double>(src.w) / w, sy = static_cast<double>(src.h) / h;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double x0 = x * sx, x1 = (x + 1) * sx, y0 = y * sy, y1 = (y + 1) * sy;
      double acc[4] = {}, area = 0;
      for (int yy = static_cast<int>(y0); yy < std::min<double>(src.h, std::ceil(y1)); ++yy)
        for (int xx = static_cast<int>(x0); xx < std::min<double>(src.w, std::ceil(x1)); ++xx) {
          const double wx = std::min<double>(xx + 1, x1) - std::max<double>(xx, x0);
          const double wy = std::min<double>(yy + 1, y1) - std::max<double>(yy, y0);
          const double a = wx * wy;
          const uint8_t* p = src.At(xx, yy);
          for (int c = 0; c < 4; ++c) acc[c] += p[c] * a;
          area += a;
        }
      uint8_t* q = out.At(x, y);
      for (int c = 0; c < 4; ++c) q[c] = ToByte(acc[c] / area);
    }
  return out;
}

Image Enlarge(const Image& src, int factor) {
  Image out(src.w * factor, src.h * factor);
  for (int y = 0; y < out.h; ++y)
    for (int x = 0; x < out.w; ++x) {
      const uint8_t* p = src.At(x / factor, y / factor);
      std::copy(p, p + 4, out.At(x, y));
    }
  return out;
}

void Blit(Image& dst, const Image& src, int atX, int atY) {
  for (int y = 0; y < src.h; ++y)
    for (int x = 0; x < src.w; ++x) {
      const int dx = atX + x, dy = atY + y;
      if (dx < 0 || dy < 0 || dx >= dst.w || dy >= dst.h) continue;
      const uint8_t* s = src.At(x, y);
      uint8_t* d = dst.At(dx, dy);
      const double a = s[3] / 255.0;
      for (int c = 0; c < 3; ++c) d[c] = ToByte(d[c] * (1 - a) + s[c] * a);
      d[3] = 255;
    }
}

namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) { v.push_back(x & 255); v.push_back((x >> 8) & 255); }
void Put32(std::vector<uint8_t>& v, uint32_t x) { Put16(v, x & 0xFFFF); Put16(v, x >> 16); }
void PutBe32(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(x >> 24); v.push_back((x >> 16) & 255); v.push_back((x >> 8) & 255); v.push_back(x & 255);
}

void InfoHeader(std::vector<uint8_t>& v, int w, int h, int bits, uint32_t imageSize, int colours) {
  Put32(v, 40); Put32(v, w); Put32(v, h); Put16(v, 1); Put16(v, bits);
  Put32(v, 0); Put32(v, imageSize); Put32(v, 0); Put32(v, 0); Put32(v, colours); Put32(v, 0);
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(const Image& img) {
  const uint32_t stride = (img.w * 3 + 3) & ~3u;
  const uint32_t size = stride * img.h;
  std::vector<uint8_t> v;
  v.push_back('B'); v.push_back('M');
  Put32(v, 14 + 40 + size); Put32(v, 0); Put32(v, 14 + 40);
  InfoHeader(v, img.w, img.h, 24, size, 0);
  for (int y = img.h - 1; y >= 0; --y) {
    for (int x = 0; x < img.w; ++x) {
      const uint8_t* p = img.At(x, y);
      v.push_back(p[2]); v.push_back(p[1]); v.push_back(p[0]);
    }
    for (uint32_t pad = img.w * 3; pad < stride; ++pad) v.push_back(0);
  }
  return v;
}

namespace {

// The AND mask of icons and cursors: 1 bit a pixel, rows padded to 32 bits.
void AndMask(std::vector<uint8_t>& v, const Image& img) {
  const int rowBytes = ((img.w + 31) / 32) * 4;
  for (int y = img.h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(rowBytes, 0);
    for (int x = 0; x < img.w; ++x)
      if (img.At(x, y)[3] < 128) row[x / 8] |= 0x80 >> (x % 8);
    v.insert(v.end(), row.begin(), row.end());
  }
}

// An icon or cursor file of one or more images, each entry with its own bytes.
struct IconEntry {
  const Image* img;
  int hotX, hotY;
  std::vector<uint8_t> bytes;
};
std::vector<uint8_t> IconFile(int type, const std::vector<IconEntry>& entries, int colours, int bits) {
  std::vector<uint8_t> v;
  Put16(v, 0); Put16(v, type); Put16(v, static_cast<uint32_t>(entries.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(entries.size());
  for (const IconEntry& e : entries) {
    v.push_back(static_cast<uint8_t>(e.img->w & 255)); v.push_back(static_cast<uint8_t>(e.img->h & 255));
    v.push_back(colours); v.push_back(0);
    if (type == 1) { Put16(v, 1); Put16(v, bits); } else { Put16(v, e.hotX); Put16(v, e.hotY); }
    Put32(v, static_cast<uint32_t>(e.bytes.size())); Put32(v, offset);
    offset += static_cast<uint32_t>(e.bytes.size());
  }
  for (const IconEntry& e : entries) v.insert(v.end(), e.bytes.begin(), e.bytes.end());
  return v;
}

}  // namespace

std::vector<uint8_t> EncodeIco32(const std::vector<Image>& images) {
  std::vector<IconEntry> entries;
  for (const Image& img : images) {
    std::vector<uint8_t> d;
    const uint32_t maskSize = ((img.w + 31) / 32) * 4 * img.h;
    InfoHeader(d, img.w, img.h * 2, 32, img.w * img.h * 4 + maskSize, 0);
    for (int y = img.h - 1; y >= 0; --y)
      for (int x = 0; x < img.w; ++x) {
        const uint8_t* p = img.At(x, y);
        d.push_back(p[2]); d.push_back(p[1]); d.push_back(p[0]); d.push_back(p[3]);
      }
    AndMask(d, img);
    entries.push_back({&img, 0, 0, d});
  }
  return IconFile(1, entries, 0, 32);
}

std::vector<uint8_t> EncodeCur(const std::vector<Image>& images, const std::vector<std::pair<int, int>>& hot) {
  std::vector<IconEntry> entries;
  for (size_t i = 0; i < images.size(); ++i) {
    const Image& img = images[i];
    std::vector<uint8_t> d;
    const uint32_t maskSize = ((img.w + 31) / 32) * 4 * img.h;
    InfoHeader(d, img.w, img.h * 2, 1, maskSize * 2, 2);
    Put32(d, 0x000000); Put32(d, 0xFFFFFF);  // palette: black, white
    // XOR mask: white pixels set; transparent pixels 0 with AND 1.
    const int rowBytes = ((img.w + 31) / 32) * 4;
    for (int y = img.h - 1; y >= 0; --y) {
      std::vector<uint8_t> row(rowBytes, 0);
      for (int x = 0; x < img.w; ++x) {
        const uint8_t* p = img.At(x, y);
        if (p[3] >= 128 && p[0] >= 128) row[x / 8] |= 0x80 >> (x % 8);
      }
      d.insert(d.end(), row.begin(), row.end());
    }
    AndMask(d, img);
    entries.push_back({&img, hot[i].first, hot[i].second, d});
  }
  return IconFile(2, entries, 2, 1);
}

namespace {

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  PutBe32(out, static_cast<uint32_t>(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  PutBe32(out, Crc32(body.data(), body.size()));
}

}  // namespace

// PNG with stored (uncompressed) deflate blocks: larger than need be, but it needs
// no compression library and every viewer reads it.
std::vector<uint8_t> EncodePng(const Image& img) {
  std::vector<uint8_t> raw;
  for (int y = 0; y < img.h; ++y) {
    raw.push_back(0);
    for (int x = 0; x < img.w; ++x) {
      const uint8_t* p = img.At(x, y);
      raw.insert(raw.end(), p, p + 3);
    }
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  for (size_t pos = 0; pos < raw.size() || pos == 0;) {
    const size_t n = std::min<size_t>(65535, raw.size() - pos);
    const bool last = pos + n >= raw.size();
    z.push_back(last ? 1 : 0);
    Put16(z, static_cast<uint32_t>(n));
    Put16(z, static_cast<uint32_t>(~n & 0xFFFF));
    z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
    pos += n;
    if (last) break;
  }
  uint32_t a = 1, b = 0;
  for (uint8_t c : raw) { a = (a + c) % 65521; b = (b + a) % 65521; }
  PutBe32(z, (b << 16) | a);
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> ihdr;
  PutBe32(ihdr, img.w); PutBe32(ihdr, img.h);
  ihdr.push_back(8); ihdr.push_back(2); ihdr.push_back(0); ihdr.push_back(0); ihdr.push_back(0);
  Chunk(out, "IHDR", ihdr);
  Chunk(out, "IDAT", z);
  Chunk(out, "IEND", {});
  return out;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace pics

namespace pics {
namespace {
void Append(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}
std::vector<uint8_t> Rgb24(const Image& img) {
  std::vector<uint8_t> rgb;
  rgb.reserve(static_cast<size_t>(img.w) * img.h * 3);
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) rgb.insert(rgb.end(), img.At(x, y), img.At(x, y) + 3);
  return rgb;
}
}  // namespace

std::vector<uint8_t> EncodePngCompressed(const Image& img) {
  std::vector<uint8_t> out;
  const std::vector<uint8_t> rgb = Rgb24(img);
  stbi_write_png_compression_level = 9;
  stbi_write_png_to_func(&Append, &out, img.w, img.h, 3, rgb.data(), img.w * 3);
  return out;
}

std::vector<uint8_t> EncodeJpeg(const Image& img, int quality) {
  std::vector<uint8_t> out;
  const std::vector<uint8_t> rgb = Rgb24(img);
  stbi_write_jpg_to_func(&Append, &out, img.w, img.h, 3, rgb.data(), quality);
  return out;
}

}  // namespace pics
