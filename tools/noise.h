// Deterministic 3-D gradient noise and the small vector maths the pictures use.
#pragma once
#include <cmath>
#include <cstdint>

namespace pics {

struct V3 {
  double x = 0, y = 0, z = 0;
};
inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator*(V3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
inline double Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline double Len(V3 a) { return std::sqrt(Dot(a, a)); }
inline V3 Norm(V3 a) { return a * (1.0 / Len(a)); }
inline V3 RotZ(V3 a, double deg) {
  const double r = deg * 3.14159265358979323846 / 180, c = std::cos(r), s = std::sin(r);
  return {a.x * c - a.y * s, a.x * s + a.y * c, a.z};
}
inline V3 RotX(V3 a, double deg) {
  const double r = deg * 3.14159265358979323846 / 180, c = std::cos(r), s = std::sin(r);
  return {a.x, a.y * c - a.z * s, a.y * s + a.z * c};
}
inline V3 RotY(V3 a, double deg) {
  const double r = deg * 3.14159265358979323846 / 180, c = std::cos(r), s = std::sin(r);
  return {a.x * c + a.z * s, a.y, -a.x * s + a.z * c};
}

inline double Clamp01(double v) { return v < 0 ? 0 : v > 1 ? 1 : v; }
inline double Smooth(double e0, double e1, double v) {
  const double t = Clamp01((v - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

// Perlin-style gradient noise in about [-1, 1], hashed from integer lattice
// points so it needs no table and gives the same values everywhere.
double Noise(V3 p, uint32_t seed);
// Fractal sum of octaves, each twice the frequency and half the amplitude.
double Fbm(V3 p, int octaves, uint32_t seed);
// Same on the absolute value: ridges and turbulence.
double Turbulence(V3 p, int octaves, uint32_t seed);

// A small deterministic random generator for placing stars and craters.
struct Lcg {
  uint32_t s;
  explicit Lcg(uint32_t seed) : s(seed) {}
  double Next() {
    s = s * 1664525u + 1013904223u;
    return (s >> 8) / 16777216.0;
  }
};

}  // namespace pics
