#include <gtest/gtest.h>

#include "display/shape_model.h"

using namespace dovra;

namespace {

VertexList Shape(uint8_t n) {
  VertexList l;
  LoadShape(l, n);
  return l;
}

void ExpectAt(const VertexList& l, int32_t i, float x, float y, float z, float tol = 1e-3f) {
  SCOPED_TRACE("ball " + std::to_string(i));
  EXPECT_NEAR(l[i].X, x, tol);
  EXPECT_NEAR(l[i].Y, y, tol);
  EXPECT_NEAR(l[i].Z, z, tol);
}

}  // namespace

TEST(ShapeModel, BallCountsOfTheElevenFigures) {
  const int32_t expected[] = {116, 122, 73, 88, 102, 162, 130, 171, 69, 122, 168};
  for (uint8_t n = 0; n <= 10; ++n) EXPECT_EQ(Shape(n).Last(), expected[n]) << "shape " << int(n);
}

TEST(ShapeModel, NumbersPastTheLastFigureGiveAnEmptyList) {
  VertexList l;
  LoadShape(l, 3);
  ASSERT_FALSE(l.Empty());
  for (uint8_t n : {11, 12, 200, 255}) {
    LoadShape(l, n);
    EXPECT_TRUE(l.Empty());
    EXPECT_EQ(l.Last(), 0);
  }
}

TEST(ShapeModel, AddVertexAppendsOneZeroedRecord) {
  VertexList l;
  AddVertex(l, 1.5f, -2, 3);
  AddVertex(l, 4, 5, 6);
  ASSERT_EQ(l.Last(), 2);
  ExpectAt(l, 1, 1.5f, -2, 3, 0);
  const Vertex& v = l[2];
  EXPECT_EQ(v.ScreenX, 0);
  EXPECT_EQ(v.ScreenY, 0);
  EXPECT_EQ(v.Depth, 0);
  EXPECT_EQ(v.Drawn, 0);
  EXPECT_EQ(v.MoveState, 0);
}

TEST(ShapeModel, LoadingReplacesThePreviousFigure) {
  VertexList l;
  LoadShape(l, 7);
  l[1].MoveState = 1;
  l[1].Drawn = -1;
  LoadShape(l, 8);
  EXPECT_EQ(l.Last(), 69);
  EXPECT_EQ(l[1].MoveState, 0);
  EXPECT_EQ(l[1].Drawn, 0);
}

TEST(ShapeModel, AppendOrderFollowsTheLoops) {
  // Cube edges: four balls per t, first loop along y.
  VertexList s0 = Shape(0);
  ExpectAt(s0, 1, 250, -250, -250, 0);
  ExpectAt(s0, 2, -250, -250, 250, 0);
  ExpectAt(s0, 3, -250, -250, -250, 0);
  ExpectAt(s0, 4, 250, -250, 250, 0);
  ExpectAt(s0, 45, -200, -250, -250, 0);  // second loop starts at t = -200
  ExpectAt(s0, 116, -250, 250, 200, 0);

  // The five moving balls of shape 1 close its list.
  VertexList s1 = Shape(1);
  ExpectAt(s1, 81, 250, 0, 0);
  ExpectAt(s1, 118, 0, 0, 0, 0);
  ExpectAt(s1, 122, 0, -100, 0, 0);

  // Pyramid: the step-25 edge reaches the apex, the step-50 edges stop short.
  VertexList s2 = Shape(2);
  ExpectAt(s2, 49, 0, 0, 400, 0);
  ExpectAt(s2, 73, -25, -25, 350, 0);

  // Ring: 0 and 360 degrees both present, so the first and last ring balls coincide.
  VertexList s3 = Shape(3);
  ExpectAt(s3, 1, 0, 500, 0);
  ExpectAt(s3, 73, 0, 500, 0);
  ExpectAt(s3, 19, 0, 0, 500);  // 90 degrees
  ExpectAt(s3, 88, 0, 0, 100, 0);

  // Fan: the first ring uses the factor 1, so it lies within one unit of x = 0.
  VertexList s4 = Shape(4);
  ExpectAt(s4, 1, 1, 250, 0);
  ExpectAt(s4, 5, 400, 250, 0);
  for (int32_t i = 1; i <= 95; i += 5) EXPECT_LE(std::abs(s4[i].X), 1.0f) << i;
  ExpectAt(s4, 96, 0, 0, 0, 0);
  ExpectAt(s4, 102, 150, 0, 0, 0);

  // Lattice: z runs 0, -200, 200, 100, -100 innermost.
  VertexList s5 = Shape(5);
  ExpectAt(s5, 1, -200, -200, 0, 0);
  ExpectAt(s5, 2, -200, -200, -200, 0);
  ExpectAt(s5, 5, -200, -200, -100, 0);
  ExpectAt(s5, 6, -200, -100, 0, 0);

  // Ten rings: the x offset is 50 sin(r degrees).
  VertexList s6 = Shape(6);
  ExpectAt(s6, 1, 38.3022f, 50, 0);
  ExpectAt(s6, 14, 50 * 0.9848078f, 100, 0);

  // Nine rings: the 19 balls of radius 0 sit at the origin.
  VertexList s7 = Shape(7);
  for (int32_t i = 1; i <= 19; ++i) ExpectAt(s7, i, 0, 0, 0);
  ExpectAt(s7, 20, 500 * 0.4226183f, 25, 0);

  // Wave: 50 sin(t) for t = -600..600.
  VertexList s8 = Shape(8);
  ExpectAt(s8, 1, 43.30127f, -600, 0);
  ExpectAt(s8, 31, -43.30127f, 600, 0);
  ExpectAt(s8, 32, -20, 620, 0, 0);
  ExpectAt(s8, 42, -120, 700, 0, 0);
  ExpectAt(s8, 51, 20, -620, 0, 0);
  ExpectAt(s8, 69, 120, -700, 0, 0);

  // Barrel: x order -500, -450, -550, ... per angle; the flying ball last.
  VertexList s9 = Shape(9);
  ExpectAt(s9, 1, -500, 100, 0);
  ExpectAt(s9, 7, -700, 100, 0);
  ExpectAt(s9, 8, -500, 76.6044f, 64.2788f);
  ExpectAt(s9, 118, -700, -25, 25, 0);
  ExpectAt(s9, 122, -650, 0, 0, 0);

  // Six pyramids, each loop whole before the next.
  VertexList s10 = Shape(10);
  ExpectAt(s10, 1, 150, 200, -150, 0);
  ExpectAt(s10, 28, 0, 500, 0, 0);  // +y apex
  ExpectAt(s10, 29, 150, -150, 200, 0);
  ExpectAt(s10, 57, 200, 150, -150, 0);
  ExpectAt(s10, 85, -150, -200, 150, 0);
  ExpectAt(s10, 168, -500, 0, 0, 0);
}

TEST(ShapeModel, DegreeSineAndCosine) {
  EXPECT_DOUBLE_EQ(SinDeg(0), 0);
  EXPECT_DOUBLE_EQ(CosDeg(0), 1);
  EXPECT_NEAR(SinDeg(30), 0.5, 1e-15);
  EXPECT_NEAR(CosDeg(60), 0.5, 1e-15);
  EXPECT_NEAR(SinDeg(-600), 0.8660254037844386, 1e-14);
  EXPECT_NEAR(CosDeg(180), -1, 1e-15);
}
