#include "pictures.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "display/animation.h"
#include "display/ball_drawing.h"
#include "noise.h"

namespace pics {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The sun of every picture: upper left, in front.
const V3 kSun = Norm({-0.62, -0.42, 0.66});

// Faint stars on a black sky; at k times the size each star is k x k pixels.
void Sky(Image& img, uint32_t seed, int count, int k) {
  Lcg r(seed);
  for (int i = 0; i < count; ++i) {
    const int x = static_cast<int>(r.Next() * (img.w / k)) * k, y = static_cast<int>(r.Next() * (img.h / k)) * k;
    const double v = 35 + 110 * std::pow(r.Next(), 3);
    const double tint = r.Next();
    Rgb c{v * (tint < 0.2 ? 0.85 : 1.0), v * 0.95, v * (tint > 0.8 ? 0.85 : 1.05)};
    for (int dy = 0; dy < k; ++dy)
      for (int dx = 0; dx < k; ++dx) {
        img.Set(x + dx, y + dy, c);
        if (v > 110 && x + k + dx < img.w) img.Set(x + k + dx, y + dy, Scale(c, 0.35));
      }
  }
}

// Renders a planet-sized job pixel by pixel with 3 x 3 supersampling: shade(dx, dy)
// gets coordinates in planet radii from the centre and returns a colour with
// coverage (alpha 0..1) over what is already in the image.
struct Shaded {
  Rgb c;
  double a;
};
void Render(Image& img, double cx, double cy, double radius, double reach,
            const std::function<Shaded(double, double)>& shade) {
  const int x0 = std::max(0, static_cast<int>(cx - radius * reach) - 1);
  const int x1 = std::min(img.w - 1, static_cast<int>(cx + radius * reach) + 1);
  const int y0 = std::max(0, static_cast<int>(cy - radius * reach) - 1);
  const int y1 = std::min(img.h - 1, static_cast<int>(cy + radius * reach) + 1);
  constexpr int kSs = 3;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const Rgb under = img.Get(x, y);
      Rgb acc{};
      for (int sy = 0; sy < kSs; ++sy)
        for (int sx = 0; sx < kSs; ++sx) {
          const double dx = (x + (sx + 0.5) / kSs - cx) / radius;
          const double dy = (y + (sy + 0.5) / kSs - cy) / radius;
          const Shaded s = shade(dx, dy);
          acc = Add(acc, Mix(under, s.c, Clamp01(s.a)));
        }
      img.Set(x, y, Scale(acc, 1.0 / (kSs * kSs)));
    }
}

// Brightness of a surface whose normal makes cosine d with the sun: a soft
// terminator and a little light on the night side.
double Daylight(double d) { return 0.02 + 0.98 * std::pow(Smooth(-0.16, 1.0, d), 1.1); }

V3 Reflect(V3 l, V3 n) { return n * (2 * Dot(n, l)) - l; }

// A small grey moon with craters.
void Moon(Image& img, double cx, double cy, double r, Rgb base, uint32_t seed) {
  Lcg rng(seed);
  struct Crater { V3 c; double size; };
  Crater craters[14];
  for (Crater& k : craters) {
    const double th = rng.Next() * 2 * kPi, z = rng.Next() * 1.6 - 0.6;
    const double s = std::sqrt(std::max(0.0, 1 - z * z));
    k = {{s * std::cos(th), s * std::sin(th), z}, 0.08 + 0.22 * rng.Next()};
  }
  Render(img, cx, cy, r, 1.05, [&](double dx, double dy) -> Shaded {
    const double r2 = dx * dx + dy * dy;
    if (r2 > 1) return {{}, 0};
    const V3 n{dx, dy, std::sqrt(1 - r2)};
    double tone = 1 + 0.18 * Fbm(n * 3.0, 5, seed);
    for (const Crater& k : craters) {
      const double d = Len(n - k.c) / k.size;
      if (d < 1.15) tone *= d < 0.8 ? 0.86 : (d < 1 ? 1.08 : 1.0);
    }
    return {Scale(base, tone * Daylight(Dot(n, kSun))), 1};
  });
}

}  // namespace

// ---------------------------------------------------------------- the ball

Image Ball(int k) {
  const Rgb magenta{255, 0, 255};
  Image img(22 * k, 23 * k, magenta);
  const double cx = 11.0 * k, cy = 11.5 * k, r = 10.9 * k;
  const V3 light = Norm({-0.55, -0.6, 0.58});
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      const double dx = (x + 0.5 - cx) / r, dy = (y + 0.5 - cy) / r;
      const double r2 = dx * dx + dy * dy;
      if (r2 > 1) continue;  // hard edge: grey or magenta, nothing between
      const V3 n{dx, dy, std::sqrt(1 - r2)};
      const double diffuse = std::max(0.0, Dot(n, light));
      const double shine = std::pow(std::max(0.0, Dot(Reflect(light, n), V3{0, 0, 1})), 24);
      const double v = 53 + 150 * std::pow(diffuse, 0.85) + 50 * shine;
      img.Set(x, y, {v, v, v});
    }
  return img;
}

// ---------------------------------------------------------------- the Earth

Image Earth(int k) {
  Image img(500 * k, 400 * k);
  Sky(img, 11, 150, k);
  const double cx = 250.0 * k, cy = 200.0 * k, R = 165.0 * k;
  const V3 sun = Norm({-0.70, -0.30, 0.65});
  Render(img, cx, cy, R, 1.09, [&](double dx, double dy) -> Shaded {
    const double r2 = dx * dx + dy * dy;
    if (r2 > 1) {
      // Atmosphere beyond the limb, bright only on the day side.
      const double out = (std::sqrt(r2) - 1) * R;
      const V3 limb = Norm({dx, dy, 0});
      const double lit = Smooth(-0.35, 0.6, Dot(limb, sun));
      const double glow = std::exp(-out / (3.2 * k)) * lit;
      return {{70, 135, 255}, 0.85 * glow};
    }
    const V3 n{dx, dy, std::sqrt(1 - r2)};
    // Planet frame: axis tilted in the picture, then turned to show oceans and land.
    const V3 p = RotY(RotZ(n, -18), 75);
    const double lat = std::asin(std::clamp(-p.y, -1.0, 1.0)) * 180 / kPi;
    // Continents: broad low-frequency masses with detailed coasts.
    const double h = Fbm(p * 1.6, 7, 3) + 0.75 * Fbm(p * 0.65, 3, 5) + 0.11;
    const bool land = h > 0.06;
    Rgb ground;
    if (!land) {
      const double depth = Clamp01((0.06 - h) * 5);
      ground = Mix({40, 110, 175}, {8, 32, 92}, std::pow(depth, 0.6));
    } else {
      const double elev = h - 0.06;
      const double moisture = Fbm(p * 2.6, 5, 7) + 0.33 - std::fabs(std::fabs(lat) - 25) / 90;
      ground = Mix({196, 168, 112}, {62, 112, 48}, Smooth(-0.05, 0.25, moisture));
      ground = Mix(ground, {34, 76, 36}, Smooth(0.25, 0.45, moisture));
      ground = Mix(ground, {128, 112, 92}, Smooth(0.18, 0.32, elev));
      ground = Mix(ground, {236, 236, 240}, Smooth(0.34, 0.42, elev));
    }
    const double ice = Smooth(66, 72, std::fabs(lat) + 6 * Fbm(p * 4, 3, 9));
    ground = Mix(ground, {232, 238, 246}, ice);
    // Clouds: warped noise gives swirls and streaks.
    const V3 warp{Fbm(p * 1.4, 4, 21), Fbm(p * 1.4, 4, 22), Fbm(p * 1.4, 4, 23)};
    const double c = Fbm((p + warp * 0.9) * 2.4, 6, 25);
    const double cover = 0.92 * Smooth(-0.04, 0.34, c + 0.07 * std::cos(lat * kPi / 30));
    Rgb col = Mix(ground, {248, 248, 250}, cover);
    const double d = Dot(n, sun);
    col = Scale(col, Daylight(d));
    // Sun glint on open water.
    if (!land) {
      const double shine = std::pow(std::max(0.0, Dot(Reflect(sun, n), V3{0, 0, 1})), 70);
      col = Add(col, Scale(Rgb{255, 236, 200}, 0.35 * shine * (1 - cover)));
    }
    // Blue haze thickening towards the limb on the day side.
    const double rim = std::pow(1 - n.z, 2.2);
    col = Mix(col, {95, 150, 255}, 0.6 * rim * Smooth(-0.25, 0.45, d));
    return {col, 1};
  });
  return img;
}

// ---------------------------------------------------------------- the gas giant

Image GasGiant(int k) {
  Image img(640 * k, 480 * k);
  Sky(img, 23, 170, k);
  const double cx = 300.0 * k, cy = 255.0 * k, R = 178.0 * k;
  Render(img, cx, cy, R, 1.03, [&](double dx, double dy) -> Shaded {
    const double r2 = dx * dx + dy * dy;
    if (r2 > 1) {
      const double out = (std::sqrt(r2) - 1) * R;
      return {{220, 190, 150}, 0.25 * std::exp(-out / (1.5 * k)) * Smooth(-0.3, 0.6, Dot(Norm({dx, dy, 0}), kSun))};
    }
    const V3 n{dx, dy, std::sqrt(1 - r2)};
    const V3 p = RotX(RotZ(n, 12), -8);
    const double lat = std::asin(std::clamp(-p.y, -1.0, 1.0));
    const double lon = std::atan2(p.x, p.z);
    // Turbulence bends the bands; stretched noise draws streaks along them.
    const double bend = 0.05 * Fbm(V3{p.x * 2.5, p.y * 7, p.z * 2.5}, 5, 41) +
                        0.025 * Turbulence(V3{p.x * 6, p.y * 22, p.z * 6}, 4, 43);
    const double l = lat + bend;
    const double band = 0.5 + 0.5 * std::sin(l * 13 + 0.8 * std::sin(l * 5));
    const double band2 = 0.5 + 0.5 * std::sin(l * 29 + 1.3);
    Rgb col = Mix({232, 214, 182}, {176, 122, 82}, Smooth(0.25, 0.85, band));
    col = Mix(col, {214, 160, 108}, 0.35 * band2);
    col = Mix(col, {246, 238, 220}, 0.5 * Smooth(0.9, 1.0, 0.5 + 0.5 * std::sin(l * 7 - 0.4)));
    const double streak = Fbm(V3{p.x * 3, p.y * 60, p.z * 3}, 4, 47);
    col = Scale(col, 1 + 0.12 * streak);
    // The great oval storm, with a swirl inside and a pale collar round it.
    const double sl = (lon - 0.38) / 0.30, sb = (lat + 0.36) / 0.13;
    const double e = std::sqrt(sl * sl + sb * sb);
    if (e < 1.6) {
      const double swirl = std::sin(e * 9 - std::atan2(sb, sl) * 2 + 3 * Fbm(V3{sl, sb, 0.5} * 2.0, 3, 51));
      Rgb storm = Mix({192, 84, 52}, {226, 142, 96}, 0.5 + 0.35 * swirl);
      storm = Mix(storm, {170, 70, 45}, Smooth(0.5, 0.0, e));
      col = Mix(col, {245, 232, 212}, 0.55 * Smooth(1.55, 1.15, e) * Smooth(0.85, 1.1, e));
      col = Mix(col, storm, Smooth(1.05, 0.8, e));
    }
    // Limb darkening and the terminator.
    col = Scale(col, 0.3 + 0.7 * std::pow(n.z, 0.45));
    col = Scale(col, Daylight(Dot(n, kSun)));
    return {col, 1};
  });
  Moon(img, 548.0 * k, 92.0 * k, 23.0 * k, {168, 162, 156}, 61);
  return img;
}

// ---------------------------------------------------------------- the ringed planet

namespace {

// Opacity and colour of the rings at a distance r (in planet radii), with the
// faint inner ring, the bright broad ring, the wide dark division, the outer
// ring and a thin gap near its edge.
Shaded RingAt(double r) {
  if (r < 1.25 || r > 2.28) return {{}, 0};
  const double fine = 0.5 + 0.5 * Noise(V3{r * 60, 0.5, 0.5}, 71) + 0.3 * Noise(V3{r * 230, 0.5, 0.5}, 73);
  double a;
  Rgb c;
  if (r < 1.52) { a = 0.18 + 0.12 * fine; c = {150, 135, 115}; }
  else if (r < 1.95) { a = 0.78 + 0.2 * fine; c = Mix({226, 206, 166}, {242, 228, 196}, fine); }
  else if (r < 2.03) { a = 0.06; c = {120, 110, 95}; }
  else if (r > 2.205 && r < 2.222) { a = 0.05; c = {120, 110, 95}; }
  else { a = 0.55 + 0.2 * fine; c = Mix({196, 178, 146}, {214, 198, 166}, fine); }
  a *= Smooth(1.25, 1.3, r) * Smooth(2.28, 2.25, r);
  return {c, a};
}

}  // namespace

Image RingedPlanet(int k) {
  Image img(640 * k, 480 * k);
  Sky(img, 37, 170, k);
  Moon(img, 96.0 * k, 92.0 * k, 13.0 * k, {226, 226, 232}, 81);
  const double cx = 322.0 * k, cy = 246.0 * k, R = 108.0 * k;
  const V3 N = Norm(RotZ(V3{0, -0.93, 0.37}, -17));  // ring plane normal, tilted towards us
  const V3 sun = Norm({-0.55, -0.55, 0.63});
  Render(img, cx, cy, R, 2.35, [&](double dx, double dy) -> Shaded {
    const double r2 = dx * dx + dy * dy;
    const bool planet = r2 <= 1;
    const double zp = planet ? std::sqrt(1 - r2) : -1e9;
    const double zr = -(N.x * dx + N.y * dy) / N.z;
    const V3 rp{dx, dy, zr};
    Shaded ring = RingAt(Len(rp));
    if (ring.a > 0) {
      // The planet's shadow falls across the rings behind it.
      const double t = -Dot(rp, sun);
      const bool shadow = t > 0 && Len(rp + sun * t) < 1;
      ring.c = Scale(ring.c, (shadow ? 0.12 : 1.0) * (0.55 + 0.45 * std::fabs(Dot(N, sun))));
    }
    Shaded out{{}, 0};
    if (planet) {
      const V3 n{dx, dy, zp};
      const double lat = std::asin(std::clamp(Dot(n, N), -1.0, 1.0));
      const double wob = 0.03 * Fbm(n * 5.0, 4, 91);
      const double band = 0.5 + 0.5 * std::sin((lat + wob) * 16);
      Rgb col = Mix({236, 214, 164}, {204, 172, 118}, band * 0.8);
      col = Mix(col, {188, 160, 120}, Smooth(0.9, 1.25, std::fabs(lat)));
      col = Scale(col, 0.35 + 0.65 * std::pow(n.z, 0.4));
      col = Scale(col, Daylight(Dot(n, sun)));
      // The rings' shadow on the planet.
      const double t = -Dot(N, n) / Dot(N, sun);
      if (t > 0) col = Scale(col, 1 - 0.8 * RingAt(Len(n + sun * t)).a);
      out = {col, 1};
      if (zr > zp && ring.a > 0) out.c = Mix(out.c, ring.c, ring.a);  // rings in front
    } else if (ring.a > 0) {
      out = ring;
    }
    return out;
  });
  Moon(img, 566.0 * k, 398.0 * k, 8.0 * k, {196, 176, 146}, 83);
  return img;
}

// ---------------------------------------------------------------- the preview

// A 640 x 480 screen as the saver shows it (Earth centred, stars, figure 3
// projected by the program's own code, balls far to near), scaled to 152 x 114
// and trimmed to 152 x 112.
Image Preview(const Image& earth, const Image& ball, int k) {
  Image screen(640, 480);
  Blit(screen, earth, (640 - earth.w) / 2, (480 - earth.h) / 2);
  dovra::StarField stars{};
  dovra::Rnd rnd;
  rnd.Seed(30000);
  dovra::StartStars(stars, rnd);
  dovra::DrawStars(stars, 640, 480, [&](int32_t x, int32_t y, uint32_t c) {
    if (x >= 0 && y >= 0 && x < 640 && y < 480) {
      const double v = c & 255;
      screen.Set(x, y, {v, v, v});
    }
  });
  dovra::VertexList balls;
  dovra::LoadShape(balls, 3);
  dovra::View view{35, 25, 3000, dovra::kStartDistance};
  dovra::ProjectVertices(balls, 640, 480, view);
  Image sprite = ball;
  for (int y = 0; y < sprite.h; ++y)
    for (int x = 0; x < sprite.w; ++x)
      if (sprite.Hex(x, y) == 0xFF00FF) sprite.At(x, y)[3] = 0;
  dovra::BallPainter painter;
  painter.DrawBalls(balls, sprite.w, sprite.h, [&](int32_t x, int32_t y) { Blit(screen, sprite, x, y); });
  Image small = Resample(screen, 152 * k, 114 * k);
  Image out(152 * k, 112 * k);
  Blit(out, small, 0, -k);
  return out;
}

// ---------------------------------------------------------------- the installer

// The tall picture at the side of the installer's first and last pages: Dovra's
// ring of balls over a starry sky, a planet rising from the bottom corner.
Image InstallerSide() {
  Image img(164, 314);
  Sky(img, 97, 70, 1);
  Blit(img, Resample(Earth(), 300, 240), -40, 130);
  Blit(img, Icon(96), 34, 52);
  return img;
}

// ---------------------------------------------------------------- the marks

// The box drawn at k times the size: every line k pixels wide.
Image MarkEmpty(int k) {
  const int n = 12 * k;
  Image img(n, n, {255, 255, 255});
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      if (x < k || y < k || x >= n - k || y >= n - k) img.Set(x, y, {28, 81, 128});
      // A soft inner shade, as a sunken box has.
      else if ((x < 2 * k || y < 2 * k) && x < n - k && y < n - k) img.Set(x, y, {226, 226, 220});
    }
  return img;
}

Image MarkSelected(int k) {
  Image img = MarkEmpty(k);
  for (int y = 3 * k; y < 9 * k; ++y)
    for (int x = 3 * k; x < 9 * k; ++x)
      img.Set(x, y, Mix({70, 130, 240}, {20, 60, 190}, (y - 3 * k) / (6.0 * k - 1)));
  return img;
}

// ---------------------------------------------------------------- icon and cursor

Image Icon(int size) {
  Image img(size, size, {0, 0, 0}, 0);
  // A ring of eight shaded balls round one in the middle, as the saver draws them.
  struct B { double x, y, r; };
  std::vector<B> balls;
  const double u = size / 32.0;
  for (int k = 0; k < 8; ++k) {
    const double a = k * kPi / 4 + kPi / 8;
    balls.push_back({16 * u + 11.5 * u * std::cos(a), 16 * u + 11.5 * u * std::sin(a), 4.3 * u});
  }
  balls.push_back({16 * u, 16 * u, 5.2 * u});
  const V3 light = Norm({-0.55, -0.6, 0.58});
  constexpr int kSs = 4;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      Rgb acc{};
      double cover = 0;
      for (int s = 0; s < kSs * kSs; ++s) {
        const double px = x + (s % kSs + 0.5) / kSs, py = y + (s / kSs + 0.5) / kSs;
        for (const B& b : balls) {
          const double dx = (px - b.x) / b.r, dy = (py - b.y) / b.r, r2 = dx * dx + dy * dy;
          if (r2 > 1) continue;
          const V3 n{dx, dy, std::sqrt(1 - r2)};
          const double shine = std::pow(std::max(0.0, Dot(Reflect(light, n), V3{0, 0, 1})), 20);
          const double d = std::max(0.0, Dot(n, light));
          acc = Add(acc, Add(Mix({20, 40, 110}, {90, 150, 250}, d), Scale(Rgb{255, 255, 255}, 0.8 * shine)));
          cover += 1;
          break;
        }
      }
      if (cover > 0) img.Set(x, y, Scale(acc, 1.0 / cover), ToByte(255 * cover / (kSs * kSs)));
    }
  return img;
}

Image HandCursor(int k) {
  // '#' black outline, '.' white fill, ' ' transparent. The index fingertip is
  // the hot spot at (12, 10).
  static const char* const kRows[32] = {
      "", "", "", "", "", "", "", "", "", "",
      "           ##",
      "          #..#",
      "          #..#",
      "          #..#",
      "          #..#",
      "          #..###",
      "          #..#..###",
      "          #..#..#..##",
      "       ## #..#..#..#.#",
      "      #..##........#.#",
      "      #...#..........#",
      "       #.............#",
      "        #............#",
      "        #...........#",
      "         #..........#",
      "         #.........#",
      "          #........#",
      "          #........#",
      "          ##########",
      "", "", ""};
  // At k times the size each cell is k x k pixels: a two-colour cursor stays sharp.
  Image img(32 * k, 32 * k, {0, 0, 0}, 0);
  for (int y = 0; y < 32 * k; ++y)
    for (int x = 0; x < 32 * k; ++x) {
      const char* row = kRows[y / k];
      if (static_cast<size_t>(x / k) >= std::char_traits<char>::length(row)) continue;
      if (row[x / k] == '#') img.Set(x, y, {0, 0, 0});
      else if (row[x / k] == '.') img.Set(x, y, {255, 255, 255});
    }
  return img;
}

// ---------------------------------------------------------------- button faces

namespace {

// Signed distance from a rounded rectangle's edge (negative inside).
double RoundRect(double px, double py, double x0, double y0, double x1, double y1, double rad) {
  const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  const double hx = (x1 - x0) / 2 - rad, hy = (y1 - y0) / 2 - rad;
  const double qx = std::fabs(px - cx) - hx, qy = std::fabs(py - cy) - hy;
  const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - rad;
}

}  // namespace

Image ButtonFace(Face f, int k) {
  const int W = 64 * k, H = 25 * k;
  const bool pressed = f == Face::Pressed, disabled = f == Face::Disable;
  const int inset = pressed ? 2 : 1;  // where the one-pixel outline runs
  const Rgb outline = disabled ? Hex(0xC9C7BA) : Hex(0x003C74);
  const Rgb outside = (pressed || disabled) ? Hex(0xECE9D8) : Hex(0xE2DECB);
  // Colour of the ring just inside the outline, by position, in pixels of the
  // picture at its first size (each k pixels wide here).
  auto ring = [&](int x, int y) -> Rgb {
    const int top = (y - (inset + 1) * k) / k, bottom = (H - (2 + inset) * k - y + k - 1) / k;
    const int left = (x - (inset + 1) * k) / k, right = (W - (2 + inset) * k - x + k - 1) / k;
    // Side gradients run from the first to the last row below and above the
    // two-pixel top and bottom bands.
    const double down = Clamp01((y - (inset + 3) * k) / static_cast<double>((25 - 2 * inset - 7) * k));
    switch (f) {
      case Face::Normal:
        if (bottom == 0) return Hex(0xD6D0C5);
        if (bottom == 1) return Hex(0xE2DFD6);
        if (top <= 1) return Hex(0xF3F3EE);
        if (left <= 1) return Mix(Hex(0xFDFDFC), Hex(0xECEBE6), down);
        if (right <= 1) return Mix(Hex(0xF6F4F2), Hex(0xE0DDD4), down);
        return Mix(Hex(0xF8F8F4), Hex(0xE8E6DE), down);
      case Face::HighLight:
      case Face::HighLightSelect:
        if (top == 0) return Hex(0xFFF0CF);
        if (top == 1) return Hex(0xFDD889);
        if (bottom == 1) return Hex(0xF8B330);
        if (bottom == 0) return Hex(0xE59700);
        if (left <= 1 || right <= 1) return Mix(Hex(0xFEDF9A), Hex(0xF9B435), down);
        return Mix(Hex(0xFBFBF8), Hex(0xEDEBE4), down);
      case Face::Selected:
        if (top <= 1) return Hex(0xCEE7FF);
        if (bottom <= 1) return Hex(0x6982EE);
        if (left <= 1 || right <= 1) return Mix(Hex(0xB7D0F4), Hex(0x8BADE4), down);
        return Mix(Hex(0xFBFBF8), Hex(0xEDEBE4), down);
      case Face::Pressed:
        if (top == 0 || left == 0) return Hex(0xD1CCC1);
        if (top == 1 || left == 1) return Hex(0xDCD8CF);
        if (bottom <= 1 || right <= 1) return Hex(0xF2F1EC);
        return Hex(0xE6E4DB);
      case Face::Disable:
        return Hex(0xF5F4EA);
    }
    return {};
  };
  Image img(W, H);
  constexpr int kSs = 4;
  const double x0 = inset * k, y0 = inset * k, x1 = W - inset * k, y1 = H - inset * k, rad = 3.0 * k;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      Rgb acc{};
      for (int s = 0; s < kSs * kSs; ++s) {
        const double px = x + (s % kSs + 0.5) / kSs, py = y + (s / kSs + 0.5) / kSs;
        const double d = RoundRect(px, py, x0, y0, x1, y1, rad);
        // The outline is the band one pixel wide just inside the rectangle's edge.
        acc = Add(acc, d > 0 ? outside : (d > -k ? outline : ring(x, y)));
      }
      img.Set(x, y, Scale(acc, 1.0 / (kSs * kSs)));
    }
  return img;
}

}  // namespace pics
