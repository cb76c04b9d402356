// Tangent angles, axis tangencies, angle normalisation and path directions.
#include "geometry/tangents.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "geometry/curve_samples.hpp"

namespace sq {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(AxisTangencies, FlatStraightAndNearEndRoots) {
  // A horizontal line never changes v; its h has no stationary point.
  EXPECT_EQ(AxisTangencies({{0, 0}, {1, 0}, {2, 0}, {3, 0}}),
            (std::array{kConstantCoordinate, kConstantCoordinate, kNoTangency, kNoTangency}));
  // dv/dt constant and non-zero: no root, and no division by zero.
  const auto ramp = AxisTangencies({{0, 0}, {1, 1}, {2, 2}, {3, 3}});
  EXPECT_EQ(ramp[0], kNoTangency);
  EXPECT_EQ(ramp[1], kNoTangency);
  // dv/dt = (t − 0.99997)(t − 3): the root just below 1 is returned as exactly 1.
  const double r = 0.99997, d = r, e = -(r + 3) / 6, f = 1.0 / 3;  // a0/3, a1/6, a2/3
  const auto snapped = AxisTangencies({{0, 0}, {1, d}, {2, e + 2 * d}, {3, f + 3 * e + 3 * d}});
  EXPECT_TRUE(snapped[0] == 1.0 || snapped[1] == 1.0);
}

// Every root is a stationary point of its coordinate, and no sign change of the derivative
// found by dense sampling is missing from the roots.
TEST(AxisTangencies, RootsAreStationaryAndNoneIsMissed) {
  std::mt19937_64 rng(21);
  for (int i = 0; i < 3000; ++i) {
    const Curve c = testing::RandomCurve(rng);
    const auto roots = AxisTangencies(c);
    for (int axis = 0; axis < 2; ++axis) {
      const auto speed = [&](double t) {
        return axis == 0 ? DerivativeAt(c, t).v : DerivativeAt(c, t).h;
      };
      const double r0 = roots[2 * axis];
      const double r1 = roots[2 * axis + 1];
      for (double root : {r0, r1}) {
        if (root > 0.0 && root < 1.0) {
          EXPECT_NEAR(speed(root), 0.0, 3e-9 * testing::CurveSize(c)) << "curve " << i;
        }
      }
      for (int k = 0; k < 1000; ++k) {
        const double a = k / 1000.0, b = (k + 1) / 1000.0;
        if (speed(a) * speed(b) >= 0.0) continue;
        const auto inside = [&](double root) { return root >= a - 1e-4 && root <= b + 1e-4; };
        EXPECT_TRUE(inside(r0) || inside(r1)) << "curve " << i << " misses a root near " << a;
      }
    }
  }
}

TEST(TangentAngle, RetractedHandlesAndCusps) {
  // Straight down from (0, 0) to (0, −1) with retracted handles: 3π/2 at both ends.
  const Curve down{{0, 0}, {0, 0}, {0, -1}, {0, -1}};
  EXPECT_NEAR(TangentAngleAt(down, 0.0), 3 * kPi / 2, 1e-15);
  EXPECT_NEAR(TangentAngleAt(down, 1.0), 3 * kPi / 2, 1e-15);
  EXPECT_EQ(TangentAngleAt({{2, 2}, {2, 2}, {2, 2}, {2, 2}}, 0.5), 0.0);
  // Down the v axis and back up: B′(0.5) = 0, and the curve leaves the cusp upward.
  const Curve cusp{{0, 0}, {0, -1}, {0, -1}, {0, 0}};
  ASSERT_EQ(DerivativeAt(cusp, 0.5), (Point{0, 0}));
  EXPECT_NEAR(TangentAngleAt(cusp, 0.5), kPi / 2, 1e-9);
}

TEST(NormalizeAngle, WholeTurnsOfTheSinglePrecisionTwoPi) {
  EXPECT_EQ(NormalizeAngle(-1.0f), -1.0f + kTwoPiF);
  EXPECT_EQ(NormalizeAngle(kTwoPiF), kTwoPiF);
  EXPECT_EQ(NormalizeAngle(7.0f), 7.0f - kTwoPiF);
  const float huge = NormalizeAngle(3.0e30f);  // returns instead of stepping for ever
  EXPECT_TRUE(huge >= 0.0f && huge <= kTwoPiF);
  EXPECT_EQ(NormalizeAngle(std::numeric_limits<float>::infinity()), 0.0f);
}

AIPathSegment Seg(float h, float v, float inH, float inV, float outH, float outV) {
  return {{h, v}, {inH, inV}, {outH, outV}, 0};
}

TEST(PathAngles, RetractedHandlesEndsAndShortPaths) {
  // (0,0) → (10,0) → (10,10); point 1 has both handles retracted.
  const std::vector<AIPathSegment> path{Seg(0, 0, 0, 0, 0, 5), Seg(10, 0, 10, 0, 10, 0),
                                        Seg(10, 10, 10, 5, 10, 10)};
  EXPECT_NEAR(OutgoingAngle(path, false, 1), kPi / 2, 1e-6);  // toward point 2's in handle
  EXPECT_NEAR(OutgoingAngle(path, false, 2), kPi / 2, 1e-6);  // last point: arriving
  EXPECT_NEAR(IncomingAngle(path, false, 0), kPi / 2, 1e-6);  // first point: leaving
  EXPECT_NEAR(IncomingAngle(path, false, 1), 2 * kPi - std::atan(0.5), 1e-6);  // from (0, 5)
  // Closed: the closing curve (10,10) → (0,0) has retracted handles at both ends.
  EXPECT_NEAR(IncomingAngle(path, true, 0), 5 * kPi / 4, 1e-6);
  EXPECT_NEAR(OutgoingAngle(path, true, 2), 5 * kPi / 4, 1e-6);
  EXPECT_EQ(OutgoingAngle(std::span(path).first(1), false, 0), kNoPathAngle);
  EXPECT_EQ(IncomingAngle(std::span(path).first(1), true, 0), kNoPathAngle);
  EXPECT_EQ(OutgoingAngle(path, false, 3), kNoPathAngle);
}

}  // namespace
}  // namespace sq
