#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "display/animation.h"

using namespace dovra;

namespace {

VertexList Shape(uint8_t n) {
  VertexList l;
  LoadShape(l, n);
  return l;
}

struct FakeClock {
  uint32_t now = 0;
  Vormix_C2 watch{[this] { return now; }};
};

}  // namespace

TEST(AnimateShape, Shape1BallsTravelRoundTheirRectangle) {
  VertexList l = Shape(1);
  const VertexList start = l;
  const int32_t n = l.Last();
  for (int frame = 1; frame <= 2000; ++frame) {
    AnimateShape(l, 1);
    if (frame == 80) {  // ball at y = 0 reaches 400 exactly and turns
      EXPECT_EQ(l[n - 4].Y, 400);
      EXPECT_EQ(l[n - 4].MoveState, 1);
    }
    for (int32_t i = n - 4; i <= n; ++i) {
      ASSERT_EQ(l[i].X, 0);
      ASSERT_GE(l[i].Y, -400); ASSERT_LE(l[i].Y, 400);
      ASSERT_GE(l[i].Z, -400); ASSERT_LE(l[i].Z, 0);
    }
  }
  for (int32_t i = 1; i < n - 4; ++i) ASSERT_EQ(std::memcmp(&l[i], &start[i], sizeof(Vertex)), 0);
  // Every state was visited by the first ball: down the far side and back up.
  VertexList m = Shape(1);
  bool seen[4] = {};
  for (int f = 0; f < 700; ++f) { AnimateShape(m, 1); seen[m[n - 4].MoveState & 3] = true; }
  EXPECT_TRUE(seen[0] && seen[1] && seen[2] && seen[3]);
}

TEST(AnimateShape, Shape4BallsSpeedUpAndTurnAt400) {
  VertexList l = Shape(4);
  const int32_t n = l.Last();
  AnimateShape(l, 4);
  EXPECT_FLOAT_EQ(l[n - 6].X, 5);           // from 0
  EXPECT_FLOAT_EQ(l[n].X, 150 + 5 + 1.5f);  // from 150
  EXPECT_FLOAT_EQ(l[n - 2].X, -100 + 5 - 1);
  bool turnedBack = false;
  for (int f = 0; f < 3000; ++f) {
    const float before = l[n - 6].X;
    const uint8_t state = l[n - 6].MoveState;
    AnimateShape(l, 4);
    if (state == 0 && before < 400) { ASSERT_GT(l[n - 6].X, before); }
    if (state == 1 && l[n - 6].MoveState == 0) { turnedBack = true; ASSERT_LE(l[n - 6].X, -400); }
    ASSERT_LT(std::abs(l[n - 6].X), 420);
  }
  EXPECT_TRUE(turnedBack);
  EXPECT_FLOAT_EQ(l[1].X, 1);  // the rings never move
}

TEST(AnimateShape, Shape6ClampsAt50AndShape7Overshoots) {
  VertexList six = Shape(6);
  float maxX = -1e9f, minX = 1e9f;
  for (int f = 0; f < 200; ++f) {
    AnimateShape(six, 6);
    for (int32_t i = 1; i <= six.Last(); ++i) { maxX = std::max(maxX, six[i].X); minX = std::min(minX, six[i].X); }
  }
  EXPECT_EQ(maxX, 50);
  EXPECT_EQ(minX, -50);

  VertexList seven = Shape(7);
  const float x0 = seven[20].X;  // 500 sin 25 = 211.3
  for (int f = 0; f < 15; ++f) AnimateShape(seven, 7);
  EXPECT_FLOAT_EQ(seven[20].X, x0 + 300);  // 511.3: past 500, not clamped
  EXPECT_EQ(seven[20].MoveState, 1);
  AnimateShape(seven, 7);
  EXPECT_FLOAT_EQ(seven[20].X, x0 + 280);
}

TEST(AnimateShape, Shape8FollowersSeeTheirLeadersStateOfTheSameFrame) {
  VertexList l = Shape(8);
  int turnsSeen = 0;
  for (int f = 0; f < 400; ++f) {
    const VertexList before = l;
    AnimateShape(l, 8);
    const float upper = l[31].X - before[31].X;
    const float lower = l[51].X - before[51].X;
    EXPECT_FLOAT_EQ(upper, l[30].MoveState == 0 ? 2.0f : -2.0f) << "frame " << f;
    EXPECT_FLOAT_EQ(lower, l[1].MoveState == 0 ? 2.0f : -2.0f) << "frame " << f;
    if (before[30].MoveState == 0 && l[30].MoveState == 1) {
      ++turnsSeen;
      EXPECT_FLOAT_EQ(upper, -2.0f);  // moved back in the very frame ball 30 turned
    }
    for (int32_t i = 32; i <= 50; ++i) ASSERT_FLOAT_EQ(l[i].X - before[i].X, upper);
    for (int32_t i = 52; i <= 69; ++i) ASSERT_FLOAT_EQ(l[i].X - before[i].X, lower);
  }
  EXPECT_GE(turnsSeen, 2);
}

TEST(AnimateShape, Shape9BallFliesTo2500AndStartsAgain) {
  VertexList l = Shape(9);
  const int32_t n = l.Last();
  for (int f = 0; f < 105; ++f) AnimateShape(l, 9);
  EXPECT_EQ(l[n].X, 2500);  // not greater than 2500: stays
  AnimateShape(l, 9);
  EXPECT_EQ(l[n].X, -650);
  EXPECT_EQ(l[n - 1].X, -700);
}

TEST(AnimateShape, StillFiguresAndShortListsAreLeftAlone) {
  for (uint8_t s : {0, 2, 3, 5, 10}) {
    VertexList l = Shape(s);
    const VertexList start = l;
    for (int f = 0; f < 10; ++f) AnimateShape(l, s);
    for (int32_t i = 1; i <= l.Last(); ++i) ASSERT_EQ(std::memcmp(&l[i], &start[i], sizeof(Vertex)), 0);
  }
  for (uint8_t s = 0; s <= 12; ++s) {  // no indexing before position 1 or past the end
    VertexList empty;
    AnimateShape(empty, s);
    VertexList two;
    AddVertex(two, 1, 2, 3);
    AddVertex(two, 4, 5, 6);
    AnimateShape(two, s);
    EXPECT_EQ(two.Last(), 2);
  }
}

TEST(ProjectVertices, HandComputedPoints) {
  VertexList l;
  AddVertex(l, 0, 100, 200);
  AddVertex(l, 500, 0, 0);
  AddVertex(l, 100, 0, 0);
  l[0].ScreenX = 7;  // position 0 is never touched
  ProjectVertices(l.Data(), l.Last(), 800, 600, 0, 0, 1000, 10000);
  EXPECT_NEAR(l[1].ScreenX, 410, 1e-3);
  EXPECT_NEAR(l[1].ScreenY, 280, 1e-3);
  EXPECT_NEAR(l[1].Depth, 10000, 1e-3);
  EXPECT_NEAR(l[2].Depth, 9500, 1e-3);  // x points at the viewer when level at azimuth 0
  EXPECT_NEAR(l[2].ScreenX, 400, 1e-3);
  EXPECT_NEAR(l[2].ScreenY, 300, 1e-3);
  EXPECT_EQ(l[0].ScreenX, 7);
  EXPECT_EQ(l[0].Depth, 0);

  // Azimuth 90: the viewer stands on +y; +x runs to the left.
  ProjectVertices(l.Data(), l.Last(), 800, 600, 90, 0, 1000, 10000);
  EXPECT_NEAR(l[3].ScreenX, 390, 1e-3);
  EXPECT_NEAR(l[1].Depth, 9900, 1e-2);

  // Elevation 90: looking down the z axis.
  ProjectVertices(l.Data(), l.Last(), 800, 600, 0, 90, 1000, 10000);
  EXPECT_NEAR(l[1].Depth, 9800, 1e-2);
  EXPECT_NEAR(l[1].ScreenX, 800 / 2 + 100 * 1000 / 9800.0, 1e-3);
  EXPECT_NEAR(l[3].ScreenY, 300 + 100 * 1000 / 10000.0, 1e-3);
  EXPECT_EQ(l[1].X, 0);  // model fields untouched
  EXPECT_EQ(l[1].Z, 200);
}

TEST(ProjectVertices, StarViewReducesToTheSimpleForm) {
  Vertex stars[4] = {};
  stars[1].X = 300; stars[1].Y = -700; stars[1].Z = 1200;
  stars[2].X = -1000; stars[2].Y = 1000; stars[2].Z = -2500;
  stars[3].X = 0; stars[3].Y = 0; stars[3].Z = 15000;
  ProjectVertices(stars, 3, 1920, 1080, 0, -90, 2500, 5000);
  for (int i = 1; i <= 3; ++i) {
    const double depth = stars[i].Z + 5000.0;
    EXPECT_NEAR(stars[i].Depth, depth, 1e-2);
    EXPECT_NEAR(stars[i].ScreenX, 960 + 2500 * stars[i].Y / depth, 1e-2);
    EXPECT_NEAR(stars[i].ScreenY, 540 - 2500 * stars[i].X / depth, 1e-2);
  }
}

TEST(ShapeLife, GrowsBy50To2500ThenBy2Point5) {
  FakeClock clock;
  View view;
  view.Distance = kStartDistance;
  uint8_t shape = 0;
  VertexList l = Shape(0);
  clock.watch.StartWatch();
  for (int f = 1; f <= 50; ++f) EXPECT_EQ(ShapeLifeStep(view, shape, l, clock.watch), LifePhase::Growing);
  EXPECT_EQ(view.Zoom, 2500);
  ShapeLifeStep(view, shape, l, clock.watch);
  EXPECT_EQ(view.Zoom, 2502.5f);
  // At 60 frames a second, 20 s of growth end at 5375.
  for (int f = 52; f <= 1200; ++f) ShapeLifeStep(view, shape, l, clock.watch);
  EXPECT_EQ(view.Zoom, 5375);
  EXPECT_NEAR(view.Azimuth, std::fmod(1200 * 1.25, 360.0), 1e-2);
  EXPECT_NEAR(view.Elevation, std::fmod(1200 * 0.75, 360.0), 1e-2);
}

TEST(ShapeLife, ShrinksWithFrozenAnglesThenLoadsTheNextFigure) {
  FakeClock clock;
  View view{100, -20, 5375, kStartDistance};
  uint8_t shape = 4;
  VertexList l = Shape(4);
  clock.watch.StartWatch();
  clock.now = 20000;
  for (int f = 1; f <= 108; ++f) {
    ASSERT_EQ(ShapeLifeStep(view, shape, l, clock.watch), LifePhase::Shrinking) << f;
    ASSERT_EQ(view.Azimuth, 100);
    ASSERT_EQ(view.Elevation, -20);
  }
  EXPECT_EQ(view.Zoom, -25);
  EXPECT_EQ(shape, 4);
  clock.now = 25000;
  EXPECT_EQ(ShapeLifeStep(view, shape, l, clock.watch), LifePhase::NextShape);
  EXPECT_EQ(shape, 5);
  EXPECT_EQ(l.Last(), 162);
  EXPECT_EQ(view.Zoom, -25);  // the new figure grows from there
  EXPECT_EQ(clock.watch.GetTime(), 0);
  EXPECT_EQ(ShapeLifeStep(view, shape, l, clock.watch), LifePhase::Growing);
  EXPECT_EQ(view.Zoom, 25);
}

TEST(ShapeLife, AfterTenComesZeroAndAnglesWrap) {
  FakeClock clock;
  View view{359.5f, -360.5f, 0, kStartDistance};
  uint8_t shape = 10;
  VertexList l = Shape(10);
  clock.watch.StartWatch();
  ShapeLifeStep(view, shape, l, clock.watch);
  EXPECT_FLOAT_EQ(view.Azimuth, 0.75f);
  EXPECT_FLOAT_EQ(view.Elevation, -359.75f);  // -359.75 is not below -360
  view.Elevation = -361;  // only a value below -360 after the step is wrapped
  ShapeLifeStep(view, shape, l, clock.watch);
  EXPECT_FLOAT_EQ(view.Elevation, -0.25f);
  clock.now = 20000;
  view.Zoom = 0;
  EXPECT_EQ(ShapeLifeStep(view, shape, l, clock.watch), LifePhase::NextShape);
  EXPECT_EQ(shape, 0);
  EXPECT_EQ(l.Last(), 116);
}

// The Windows build must compute the same 32-bit floats as the native one (SSE2,
// no x87 excess precision). These sums of raw float bits were recorded from the
// native build; the Windows test program checks the same numbers. Only paths free
// of library trigonometry are used, since the two C libraries' sin may differ.
TEST(FloatIdentity, MotionAndProjectionBitsMatchTheNativeBuild) {
  auto bits = [](float f) { uint32_t u; std::memcpy(&u, &f, 4); return u; };
  VertexList four = Shape(4);
  uint64_t motion = 0;
  for (int f = 0; f < 5000; ++f) {
    AnimateShape(four, 4);
    for (int32_t i = 96; i <= 102; ++i) motion = motion * 31 + bits(four[i].X);
  }
  VertexList ten = Shape(10);
  uint64_t projection = 0;
  for (int z = 0; z < 100; ++z) {
    ProjectVertices(ten.Data(), ten.Last(), 1920, 1080, 0, 90, 2500.0f + z * 2.5f, 10000);
    for (int32_t i = 1; i <= ten.Last(); ++i)
      projection = projection * 31 + bits(ten[i].ScreenX) + 7 * bits(ten[i].ScreenY);
  }
  EXPECT_EQ(motion, 12085016752908711508ull);
  EXPECT_EQ(projection, 7237378365275897976ull);
}
