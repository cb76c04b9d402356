// The points of a cubic Bézier curve nearest to a given point, and the distance to the curve.
#pragma once

#include <array>
#include <cstdint>

#include "geometry/curve.hpp"

namespace sq {

inline constexpr int kMaxNearestPoints = 5;

// One solution of the search: the curve parameter and the curve's point there.
struct NearestPoint {
  double t = 0.0;
  Point point;
};

// The solutions in the order found; only entries[0 .. count − 1] are valid.
struct NearestResult {
  int32_t count = 0;
  std::array<NearestPoint, kMaxNearestPoints> entries{};
};

// The parameters t where B(t) − x is perpendicular to the curve ((B(t) − x)·B′(t) = 0), found by
// Bézier clipping of that degree-5 polynomial: t = 0 (or t = 1) first when the curve leaves p0
// (or arrives at p3) at a right angle to x, then the interior roots left to right. Each range is
// narrowed until it is shorter than 0.00001, so a recorded t lies within 0.000005 of a root.
// The search is bounded (50 rounds per range, 64 levels of halving) and keeps the first five.
NearestResult NearestPoints(const Curve& c, Point x);

// The distance from x to the curve: the smallest of the distances to p0, p3 and every point
// NearestPoints records.
double DistanceToCurve(const Curve& c, Point x);

}  // namespace sq
