#include "display/shape_model.h"

#include <cmath>

#include "toolkit/portable_only.h"

namespace dovra {

double SinDeg(double a) { return std::sin(a * std::atan(1.0) / 45.0); }
double CosDeg(double a) { return std::cos(a * std::atan(1.0) / 45.0); }

void AddVertex(VertexList& list, float x, float y, float z) {
  Vertex v;
  v.X = x;
  v.Y = y;
  v.Z = z;
  list.Append(v);
}

namespace {

using L = VertexList;
inline void Add(L& l, double x, double y, double z) {
  AddVertex(l, static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}
inline double c(double a) { return CosDeg(a); }
inline double s(double a) { return SinDeg(a); }

// Edges of a cube of half-size 250, one ball every 50.
void Shape0(L& l) {
  for (int t = -250; t <= 250; t += 50) {
    Add(l, 250, t, -250); Add(l, -250, t, 250); Add(l, -250, t, -250); Add(l, 250, t, 250);
  }
  for (int t = -200; t <= 200; t += 50) {
    Add(l, t, -250, -250); Add(l, t, -250, 250); Add(l, t, 250, -250); Add(l, t, 250, 250);
  }
  for (int t = -200; t <= 200; t += 50) {
    Add(l, 250, -250, t); Add(l, -250, -250, t); Add(l, 250, 250, t); Add(l, -250, 250, t);
  }
}

// Cube edges along x and z, a ring, and five balls that travel (shape 1 motion).
void Shape1(L& l) {
  for (int t = -250; t <= 250; t += 50) {
    Add(l, t, -250, -250); Add(l, t, -250, 250); Add(l, t, 250, -250); Add(l, t, 250, 250);
  }
  for (int t = -200; t <= 200; t += 50) {
    Add(l, 250, -250, t); Add(l, -250, -250, t); Add(l, 250, 250, t); Add(l, -250, 250, t);
  }
  for (int a = 0; a <= 360; a += 10) Add(l, 250 * c(a), 0, 250 * s(a));
  Add(l, 0, 0, 0); Add(l, 0, -50, 0); Add(l, 0, 50, 0); Add(l, 0, 100, 0); Add(l, 0, -100, 0);
}

// Square pyramid; one slanted edge at step 25 reaches the apex, the others stop short.
void Shape2(L& l) {
  for (int t = -200; t <= 200; t += 50) { Add(l, t, -200, 0); Add(l, t, 200, 0); }
  for (int t = -150; t <= 150; t += 50) { Add(l, -200, t, 0); Add(l, 200, t, 0); }
  for (int t = 0; t <= 400; t += 25) Add(l, 200 - t / 2.0, 200 - t / 2.0, t);
  for (int t = 0; t <= 350; t += 50) {
    Add(l, t / 2.0 - 200, 200 - t / 2.0, t);
    Add(l, 200 - t / 2.0, t / 2.0 - 200, t);
    Add(l, t / 2.0 - 200, t / 2.0 - 200, t);
  }
}

// Ring with an axis cross.
void Shape3(L& l) {
  for (int a = 0; a <= 360; a += 5) Add(l, 0, 500 * c(a), 500 * s(a));
  for (int t = -100; t <= 100; t += 50) { Add(l, 0, t, 0); Add(l, t, 0, 0); Add(l, 0, 0, t); }
}

// Fan of five rings (the first with factor 1, not 0) and seven travelling balls.
void Shape4(L& l) {
  static constexpr int kFactors[] = {1, 100, 200, 300, 400};
  for (int a = 0; a <= 360; a += 20)
    for (int k : kFactors) Add(l, k * c(a), 250 * c(a), 200 * s(a));
  for (int x : {0, 50, -50, 100, -100, -150, 150}) Add(l, x, 0, 0);
}

// 5 x 5 x 5 lattice with a ring.
void Shape5(L& l) {
  for (int x = -200; x <= 200; x += 100)
    for (int y = -200; y <= 200; y += 100)
      for (int z : {0, -200, 200, 100, -100}) Add(l, x, y, z);
  for (int a = 0; a <= 360; a += 10) Add(l, 0, 500 * c(a), 500 * s(a));
}

// Ten rings; r is both the radius and the angle of the x offset.
void Shape6(L& l) {
  for (int r = 50; r <= 500; r += 50)
    for (int a = 0; a <= 360; a += 30) Add(l, 50 * s(r), r * c(a), r * s(a));
}

// Nine rings; those of radius 0 all sit at the origin.
void Shape7(L& l) {
  for (int r = 0; r <= 200; r += 25)
    for (int a = 0; a <= 360; a += 20) Add(l, 500 * s(r), r * c(a), r * s(a));
}

// A wave (balls 1..31) with a triangle at each end (32..50 and 51..69).
void Shape8(L& l) {
  for (int t = -600; t <= 600; t += 40) Add(l, 50 * s(t), t, 0);
  for (int k = 0; k <= 4; ++k) { Add(l, -20 + 20 * k, 620 + 20 * k, 0); Add(l, -60 - 20 * k, 620 + 20 * k, 0); }
  for (int x = -120; x <= 40; x += 20) Add(l, x, 700, 0);
  for (int k = 0; k <= 4; ++k) { Add(l, 20 - 20 * k, -620 - 20 * k, 0); Add(l, 60 + 20 * k, -620 - 20 * k, 0); }
  for (int x = -40; x <= 120; x += 20) Add(l, x, -700, 0);
}

// Barrel, target and (last) the ball that flies.
void Shape9(L& l) {
  for (int a = 0; a <= 360; a += 40)
    for (int x : {-500, -450, -550, -600, -400, -650, -700}) Add(l, x, 100 * c(a), 100 * s(a));
  for (int a = 0; a <= 360; a += 40) Add(l, 700, 100 * c(a), 100 * s(a));
  for (int a = 0; a <= 360; a += 10) Add(l, 700, 400 * c(a), 400 * s(a));
  Add(l, -700, -25, 25); Add(l, -700, 25, 25); Add(l, -700, -25, -25); Add(l, -700, 25, -25);
  Add(l, -650, 0, 0);
}

// Six square pyramids pointing along +y, +z, +x, -y, -z, -x; each loop runs whole.
void Shape10(L& l) {
  for (int t = 0; t <= 300; t += 50) {
    const double p = 150 - t / 2.0, q = t / 2.0 - 150, h = t + 200;
    Add(l, p, h, q); Add(l, q, h, q); Add(l, q, h, p); Add(l, p, h, p);
  }
  for (int t = 0; t <= 300; t += 50) {
    const double p = 150 - t / 2.0, q = t / 2.0 - 150, h = t + 200;
    Add(l, p, q, h); Add(l, q, q, h); Add(l, q, p, h); Add(l, p, p, h);
  }
  for (int t = 0; t <= 300; t += 50) {
    const double p = 150 - t / 2.0, q = t / 2.0 - 150, h = t + 200;
    Add(l, h, p, q); Add(l, h, q, q); Add(l, h, q, p); Add(l, h, p, p);
  }
  for (int n = 0; n >= -300; n -= 50) {
    const double r = -150 - n / 2.0, u = n / 2.0 + 150, g = n - 200;
    Add(l, r, g, u); Add(l, u, g, r); Add(l, r, g, r); Add(l, u, g, u);
  }
  for (int n = 0; n >= -300; n -= 50) {
    const double r = -150 - n / 2.0, u = n / 2.0 + 150, g = n - 200;
    Add(l, r, u, g); Add(l, u, r, g); Add(l, r, r, g); Add(l, u, u, g);
  }
  for (int n = 0; n >= -300; n -= 50) {
    const double r = -150 - n / 2.0, u = n / 2.0 + 150, g = n - 200;
    Add(l, g, r, u); Add(l, g, u, r); Add(l, g, r, r); Add(l, g, u, u);
  }
}

}  // namespace

void LoadShape(VertexList& list, uint8_t shapeNo) {
  using Builder = void (*)(L&);
  static constexpr Builder kBuilders[] = {Shape0, Shape1, Shape2, Shape3, Shape4, Shape5,
                                          Shape6, Shape7, Shape8, Shape9, Shape10};
  list.Clear();
  list.Reserve(171);
  if (shapeNo <= kLastShape) kBuilders[shapeNo](list);
}

}  // namespace dovra
