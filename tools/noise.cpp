#include "noise.h"

namespace pics {
namespace {

uint32_t Hash(int32_t x, int32_t y, int32_t z, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u;
  h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
  h = (h << 17) | (h >> 15);
  h ^= static_cast<uint32_t>(z) * 0x27D4EB2Fu;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double Grad(uint32_t h, double x, double y, double z) {
  switch (h % 12) {
    case 0: return x + y;
    case 1: return -x + y;
    case 2: return x - y;
    case 3: return -x - y;
    case 4: return x + z;
    case 5: return -x + z;
    case 6: return x - z;
    case 7: return -x - z;
    case 8: return y + z;
    case 9: return -y + z;
    case 10: return y - z;
    default: return -y - z;
  }
}

double Fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }
double Lerp(double a, double b, double t) { return a + (b - a) * t; }

}  // namespace

double Noise(V3 p, uint32_t seed) {
  const double fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
  const int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy), iz = static_cast<int32_t>(fz);
  const double x = p.x - fx, y = p.y - fy, z = p.z - fz;
  const double u = Fade(x), v = Fade(y), w = Fade(z);
  auto g = [&](int dx, int dy, int dz) {
    return Grad(Hash(ix + dx, iy + dy, iz + dz, seed), x - dx, y - dy, z - dz);
  };
  return Lerp(Lerp(Lerp(g(0, 0, 0), g(1, 0, 0), u), Lerp(g(0, 1, 0), g(1, 1, 0), u), v),
              Lerp(Lerp(g(0, 0, 1), g(1, 0, 1), u), Lerp(g(0, 1, 1), g(1, 1, 1), u), v), w);
}

double Fbm(V3 p, int octaves, uint32_t seed) {
  double sum = 0, amp = 0.5, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * Noise(p, seed + i * 101u);
    norm += amp;
    p = p * 2.03;
    amp *= 0.5;
  }
  return sum / norm;
}

double Turbulence(V3 p, int octaves, uint32_t seed) {
  double sum = 0, amp = 0.5, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * std::fabs(Noise(p, seed + i * 131u));
    norm += amp;
    p = p * 2.07;
    amp *= 0.5;
  }
  return sum / norm;
}

}  // namespace pics
