// Tangent directions of curves and paths, axis tangencies and angle normalisation.
#include "geometry/tangents.hpp"

#include <cmath>
#include <numbers>

namespace sq {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kCuspStep = 0.0001;
constexpr double kSnapTolerance = 0.00005;

// Adds 2π once to a negative angle.
double NormalizeOnce(double angle) {
  return angle < 0.0 ? angle + kTwoPi : angle;
}

// The roots of a·t² + b·t + c = 0 (a, b, c the coefficients of one coordinate's derivative).
std::array<double, 2> DerivativeRoots(double a2, double a1, double a0) {
  if (a2 == 0.0 && a1 == 0.0 && a0 == 0.0) return {kConstantCoordinate, kConstantCoordinate};
  if (a2 == 0.0) {
    // A linear derivative; a non-zero constant one has no root.
    if (a1 == 0.0) return {kNoTangency, kNoTangency};
    return {-a0 / a1, kNoTangency};
  }
  const double disc = a1 * a1 - 4.0 * a2 * a0;
  if (disc < 0.0) return {kNoTangency, kNoTangency};
  if (disc == 0.0) return {-a1 / (2.0 * a2), kNoTangency};
  // The stable form: q never cancels, and it is non-zero because √disc > 0.
  const double root = std::sqrt(disc);
  const double q = a1 >= 0.0 ? -(a1 + root) / 2.0 : -(a1 - root) / 2.0;
  return {q / a2, a0 / q};
}

double SnapToEnds(double t) {
  if (!std::isfinite(t)) return kNoTangency;
  if (std::abs(t) < kSnapTolerance) return 0.0;
  if (std::abs(t - 1.0) < kSnapTolerance) return 1.0;
  return t;
}

}  // namespace

double TangentAngleAt(const Curve& c, double t) {
  Point dir;
  if (t == 0.0) {
    dir = c.p1 == c.p0 ? c.p2 - c.p0 : c.p1 - c.p0;
  } else if (t == 1.0) {
    dir = c.p2 == c.p3 ? c.p3 - c.p1 : c.p3 - c.p2;
  } else {
    dir = DerivativeAt(c, t);
  }
  if (dir.h == 0.0 && dir.v == 0.0) {
    if (t - kCuspStep <= 0.0 || t + kCuspStep >= 1.0) return 0.0;
    // At a cusp the curve leaves along the second derivative: B′ turns from −B″ to +B″.
    dir = DerivativeAt(c, t + kCuspStep) - DerivativeAt(c, t - kCuspStep);
  }
  return NormalizeOnce(std::atan2(dir.v, dir.h));
}

std::array<double, 4> AxisTangencies(const Curve& c) {
  const CurvePolynomial k = PolynomialOf(c);
  const std::array<double, 2> horizontal = DerivativeRoots(3.0 * k.f.v, 6.0 * k.e.v, 3.0 * k.d.v);
  const std::array<double, 2> vertical = DerivativeRoots(3.0 * k.f.h, 6.0 * k.e.h, 3.0 * k.d.h);
  return {SnapToEnds(horizontal[0]), SnapToEnds(horizontal[1]), SnapToEnds(vertical[0]),
          SnapToEnds(vertical[1])};
}

float NormalizeAngle(float angle) {
  if (!std::isfinite(angle)) return 0.0f;
  // Whole turns cannot be stepped off an angle this large in 32-bit floats; take the remainder.
  if (std::abs(angle) > 1.0e4f) angle = std::fmod(angle, kTwoPiF);
  while (angle < 0.0f) angle += kTwoPiF;
  while (angle > kTwoPiF) angle -= kTwoPiF;
  return angle;
}

float DirectionAngleF(AIRealPoint from, AIRealPoint to) {
  const float dh = to.h - from.h;
  const float dv = to.v - from.v;
  const float angle = std::atan2(dv, dh);
  return angle < 0.0f ? angle + kTwoPiF : angle;
}

float OutgoingAngle(std::span<const AIPathSegment> path, bool closed, int index) {
  const int n = static_cast<int>(path.size());
  if (n < 2 || index < 0 || index >= n) return kNoPathAngle;
  const AIPathSegment& seg = path[static_cast<size_t>(index)];
  if (closed || index < n - 1) {
    const int next = index + 1 < n ? index + 1 : 0;
    const AIRealPoint toward =
        SamePoint(seg.out, seg.p) ? path[static_cast<size_t>(next)].in : seg.out;
    return DirectionAngleF(seg.p, toward);
  }
  // Last point of an open path: the direction arriving at it.
  const AIRealPoint from =
      SamePoint(seg.in, seg.p) ? path[static_cast<size_t>(index - 1)].out : seg.in;
  return DirectionAngleF(from, seg.p);
}

float IncomingAngle(std::span<const AIPathSegment> path, bool closed, int index) {
  const int n = static_cast<int>(path.size());
  if (n < 2 || index < 0 || index >= n) return kNoPathAngle;
  const AIPathSegment& seg = path[static_cast<size_t>(index)];
  if (closed || index > 0) {
    const int previous = index > 0 ? index - 1 : n - 1;
    const AIRealPoint from =
        SamePoint(seg.in, seg.p) ? path[static_cast<size_t>(previous)].out : seg.in;
    return DirectionAngleF(from, seg.p);
  }
  // First point of an open path: the direction leaving it.
  const AIRealPoint toward = SamePoint(seg.out, seg.p) ? path[1].in : seg.out;
  return DirectionAngleF(seg.p, toward);
}

}  // namespace sq
