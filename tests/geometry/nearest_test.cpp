// Nearest points on a curve and the distance to it, against a high-precision reference.
#include "geometry/nearest.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/curve_samples.hpp"

namespace sq {
namespace {

double Perpendicularity(const Curve& c, Point x, double t) {
  return Dot(PointAt(c, t) - x, DerivativeAt(c, t));
}

TEST(NearestPoints, FindsTheGlobalMinimumAndOnlyStationaryPoints) {
  std::mt19937_64 rng(31);
  for (int i = 0; i < 3000; ++i) {
    const Curve c = testing::RandomCurve(rng);
    // Mostly free points, every fourth one on the curve itself.
    const Point x = i % 4 == 0 ? PointAt(c, (i % 97) / 97.0) : testing::RandomPoint(rng, 120.0);
    const NearestResult found = NearestPoints(c, x);
    ASSERT_LE(found.count, kMaxNearestPoints);
    for (int k = 0; k < found.count; ++k) {
      const NearestPoint& p = found.entries[static_cast<size_t>(k)];
      if (k > 0) {
        EXPECT_GT(p.t, found.entries[static_cast<size_t>(k - 1)].t);
      }
      // A root of (B − x)·B′ lies within the final range around t.
      const double before = Perpendicularity(c, x, std::max(0.0, p.t - 1e-5));
      const double after = Perpendicularity(c, x, std::min(1.0, p.t + 1e-5));
      EXPECT_LE(before * after, 0.0) << "curve " << i << " t " << p.t;
    }
    // Off the curve the error is second order; on it, at most |B′| times the final range.
    const double size = testing::CurveSize(c);
    const double error = std::abs(DistanceToCurve(c, x) - testing::ReferenceDistance(c, x, 400));
    EXPECT_LE(error, (i % 4 == 0 ? 3e-5 : 1e-6) * size) << "curve " << i;
  }
}

TEST(NearestPoints, EndSolutionsComeFirst) {
  const Curve c{{0, 0}, {10, 0}, {20, 10}, {30, 0}};
  const NearestResult atStart = NearestPoints(c, {0, 0});
  ASSERT_GE(atStart.count, 1);
  EXPECT_EQ(atStart.entries[0].t, 0.0);
  EXPECT_EQ(atStart.entries[0].point, c.p0);
  EXPECT_EQ(NearestPoints(c, {0, -7}).entries[0].t, 0.0);  // on the normal at p0
  const NearestResult atEnd = NearestPoints(c, {25, -5});  // on the normal at p3
  ASSERT_GE(atEnd.count, 1);
  EXPECT_EQ(atEnd.entries[0].t, 1.0);
  EXPECT_EQ(atEnd.entries[0].point, c.p3);
  // Near the centre of a quarter circle every point is a solution: only five are kept.
  const double k = 0.5522847498;
  const Curve quarter{{1, 0}, {1, k}, {k, 1}, {0, 1}};
  EXPECT_LE(NearestPoints(quarter, {0, 0}).count, kMaxNearestPoints);
  EXPECT_NEAR(DistanceToCurve(quarter, {0, 0}), 1.0, 1e-3);
}

TEST(NearestPoints, DegenerateCurvesGiveFiniteDistances) {
  const Curve dot{{5, 5}, {5, 5}, {5, 5}, {5, 5}};
  const Curve closedLoop{{0, 0}, {10, 10}, {-10, 10}, {0, 0}};
  const Curve sameHandles{{0, 0}, {4, 4}, {4, 4}, {8, 0}};
  const Curve line{{0, 0}, {0, 0}, {8, 0}, {8, 0}};
  for (const Curve& c : {dot, closedLoop, sameHandles, line}) {
    for (const Point x : {Point{5, 5}, Point{0, 0}, Point{4, 4}, Point{-3, 7}, Point{4, 0}}) {
      const NearestResult found = NearestPoints(c, x);
      for (int k = 0; k < found.count; ++k) {
        EXPECT_TRUE(testing::Finite(found.entries[static_cast<size_t>(k)].point));
      }
      EXPECT_NEAR(DistanceToCurve(c, x), testing::ReferenceDistance(c, x), 1e-4);
    }
  }
}

}  // namespace
}  // namespace sq
