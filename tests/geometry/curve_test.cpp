// Evaluation, splitting, clipping, rotation and handle scaling of cubic curves.
#include "geometry/curve.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "geometry/curve_samples.hpp"

namespace sq {
namespace {

void ExpectNear(Point a, Point b, double tolerance) {
  EXPECT_NEAR(a.h, b.h, tolerance);
  EXPECT_NEAR(a.v, b.v, tolerance);
}

// Every way of cutting a curve traces the same points at the mapped parameters.
TEST(Curve, SplitHalfAndClipTraceTheSameCurve) {
  std::mt19937_64 rng(12);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int i = 0; i < 3000; ++i) {
    const Curve c = testing::RandomCurve(rng);
    const double t = unit(rng);
    const double a = unit(rng) * 0.5;
    const double b = a + 0.001 + unit(rng) * (0.999 - a);
    const double u = 1.0 - t;
    const Point bernstein =
        u * u * u * c.p0 + 3 * u * u * t * c.p1 + 3 * u * t * t * c.p2 + t * t * t * c.p3;
    ExpectNear(PointAt(c, t), bernstein, 1e-11);
    const CurveSplit split = SplitCurve(c, t);
    const CurveSplit half = SplitHalf(c);
    const Curve clip = ClipCurve(c, a, b);
    EXPECT_EQ(split.left.p0, c.p0);
    EXPECT_EQ(split.right.p3, c.p3);
    for (double s = 0.0; s <= 1.0; s += 0.125) {
      ExpectNear(PointAt(split.left, s), PointAt(c, s * t), 1e-9);
      ExpectNear(PointAt(split.right, s), PointAt(c, t + s * (1 - t)), 1e-9);
      ExpectNear(PointAt(half.left, s), PointAt(c, s / 2), 1e-9);
      ExpectNear(PointAt(half.right, s), PointAt(c, 0.5 + s / 2), 1e-9);
      ExpectNear(PointAt(clip, s), PointAt(c, a + s * (b - a)), 1e-9);
    }
  }
}

TEST(Curve, RotationCommutesWithEvaluation) {
  std::mt19937_64 rng(13);
  std::uniform_real_distribution<double> angle(-10.0, 10.0);
  for (int i = 0; i < 2000; ++i) {
    const Curve c = testing::RandomCurve(rng);
    const double alpha = angle(rng);
    const Curve turned = RotateCurve(c, alpha);
    for (double t = 0.0; t <= 1.0; t += 0.25) {
      const Point p = PointAt(c, t);
      ExpectNear(PointAt(turned, t),
                 {p.h * std::cos(alpha) - p.v * std::sin(alpha),
                  p.h * std::sin(alpha) + p.v * std::cos(alpha)},
                 1e-9);
    }
  }
}

TEST(Curve, ScaleHandlesTouchesOnlyTheHandles) {
  const Curve c{{0.1, 0.2}, {3.3, 0.7}, {8.9, -4.1}, {10.3, 0.3}};
  const Curve same = ScaleHandles(c, 1.0, 1.0, false);  // factor 1: bit for bit
  EXPECT_EQ(std::bit_cast<uint64_t>(same.p2.h), std::bit_cast<uint64_t>(c.p2.h));
  EXPECT_EQ(std::bit_cast<uint64_t>(same.p2.v), std::bit_cast<uint64_t>(c.p2.v));
  EXPECT_TRUE(CurvesEqual(ScaleHandles(c, 0.0, 0.0, true), c));  // no division by zero
  const Curve scaled = ScaleHandles(c, 2.0, 4.0, true);
  EXPECT_EQ(scaled.p0, c.p0);
  EXPECT_EQ(scaled.p3, c.p3);
  ExpectNear(scaled.p1 - scaled.p0, 0.5 * (c.p1 - c.p0), 1e-12);
  ExpectNear(scaled.p2 - scaled.p3, 0.25 * (c.p2 - c.p3), 1e-12);
  // An overflowing factor keeps the handle rather than writing an infinity.
  EXPECT_TRUE(testing::Finite(ScaleHandles(c, 1e308, 1e-320, true)));
  EXPECT_TRUE(testing::Finite(ScaleHandles(c, 1e308, 1e308, false)));
}

TEST(Curve, DegenerateCurvesStayFinite) {
  const Curve dot{{5, 5}, {5, 5}, {5, 5}, {5, 5}};
  const Curve loop{{0, 0}, {10, 10}, {-10, 10}, {0, 0}};
  for (const Curve& c : {dot, loop}) {
    EXPECT_TRUE(testing::Finite(SplitCurve(c, 0.3).left));
    EXPECT_TRUE(testing::Finite(ClipCurve(c, 0.0, 0.0)));
    EXPECT_TRUE(testing::Finite(ClipCurve(c, 0.2, 0.2)));
  }
}

}  // namespace
}  // namespace sq
