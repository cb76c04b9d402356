// Fitting one curve to a chain of curves: the error measure and the handle-length search.
#include "geometry/fit.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/curve_samples.hpp"

namespace sq {
namespace {

// An ordinary bent curve: handles a third of the chord long, turned by up to ±57°.
Curve RandomArc(std::mt19937_64& rng) {
  std::uniform_real_distribution<double> turn(-1.0, 1.0);
  const auto turned = [&](Point v) {
    const double a = turn(rng);
    return Point{v.h * std::cos(a) - v.v * std::sin(a), v.h * std::sin(a) + v.v * std::cos(a)};
  };
  const Point p0 = testing::RandomPoint(rng);
  const Point p3 = testing::RandomPoint(rng);
  const Point third = (p3 - p0) * (1.0 / 3.0);
  return {p0, p0 + turned(third), p3 - turned(third), p3};
}

TEST(FitMerge, RecoversACurveSplitInTwoAndNeverIncreasesTheError) {
  std::mt19937_64 rng(41);
  std::uniform_real_distribution<double> cut(0.25, 0.75);
  for (int i = 0; i < 40; ++i) {
    const Curve original = RandomArc(rng);
    const CurveSplit halves = SplitCurve(original, cut(rng));
    const std::vector<Curve> chain{halves.left, halves.right};
    // Start as a command does: the outer anchors and handles of the chain.
    const Curve start{original.p0, halves.left.p1, halves.right.p2, original.p3};
    const FitResult fit = FitMerge(start, chain);
    EXPECT_LE(fit.error, FitError(start, chain));
    EXPECT_EQ(fit.error, FitError(fit.curve, chain));
    EXPECT_EQ(fit.curve.p0, start.p0);
    EXPECT_EQ(fit.curve.p3, start.p3);
    double deviation = 0.0;
    for (int k = 0; k <= 64; ++k) {
      const Point p = PointAt(fit.curve, k / 64.0);
      deviation = std::max(deviation, testing::ReferenceDistance(original, p, 200));
    }
    EXPECT_LE(deviation, 0.01) << "chain " << i;
  }
}

TEST(FitMerge, KeepsTheStartWhenNothingImproves) {
  // Retracted handles cannot be scaled: every candidate equals the start.
  const Curve line{{0, 0}, {0, 0}, {30, 0}, {30, 0}};
  const std::vector<Curve> bent{{{0, 0}, {0, 0}, {10, 5}, {10, 5}},
                                {{10, 5}, {10, 5}, {30, 0}, {30, 0}}};
  const FitResult fit = FitMerge(line, bent);
  EXPECT_TRUE(CurvesEqual(fit.curve, line));
  EXPECT_EQ(fit.error, FitError(line, bent));
  EXPECT_EQ(FitError(line, {}), 0.0);
  // Random chains never come out worse; degenerate ones stay finite.
  std::mt19937_64 rng(42);
  for (int i = 0; i < 10; ++i) {
    const std::vector<Curve> chain{testing::RandomCurve(rng), testing::RandomCurve(rng)};
    const Curve start{chain[0].p0, chain[0].p1, chain[1].p2, chain[1].p3};
    EXPECT_LE(FitMerge(start, chain).error, FitError(start, chain));
  }
  const Curve dot{{3, 3}, {3, 3}, {3, 3}, {3, 3}};
  const std::vector<Curve> dots{dot, dot};
  const FitResult still = FitMerge(dot, dots);
  EXPECT_TRUE(testing::Finite(still.curve));
  EXPECT_TRUE(std::isfinite(still.error));
}

}  // namespace
}  // namespace sq
