// The nearest point on curves at the far ends of the float range: found, without the curve
// library's recursion running away.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "hittest/hit_test.hpp"

namespace sqhost {
namespace {

TEST(CurveGuard, NearestPointOnCurvesNearTheFloatMaximum) {
  const float big = FLT_MAX / 2;
  const AIRealBezier far{{big, big}, {big, -big}, {-big, -big}, {-big, big}};
  const CurveNearest n = nearestOnCurve(far, AIRealPoint{0, 0});
  EXPECT_TRUE(std::isfinite(n.t));
  EXPECT_GE(n.t, 0);
  EXPECT_LE(n.t, 1);
  // A curve moved out there and a point beside it: the same answer as near the origin.
  const AIRealBezier small{{0, 0}, {10, 20}, {30, 20}, {40, 0}};
  const CurveNearest near = nearestOnCurve(small, AIRealPoint{20, 30});
  EXPECT_NEAR(near.t, 0.5, 1e-6);
  const float shift = 1e38f;
  const AIRealBezier moved{{shift, shift}, {shift, shift}, {shift, shift}, {shift, shift}};
  EXPECT_EQ(nearestOnCurve(moved, AIRealPoint{0, 0}).t, 0);
}

}  // namespace
}  // namespace sqhost
