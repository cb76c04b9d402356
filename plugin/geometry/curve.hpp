// Double-precision points and cubic Bézier curves: evaluation, splitting, clipping, rotation.
#pragma once

#include <cmath>

#include "sqsdk/types.h"

namespace sq {

// A point or a vector in artwork coordinates (h to the right, v upward), in 64-bit floats.
struct Point {
  double h = 0.0;
  double v = 0.0;

  friend constexpr bool operator==(Point a, Point b) = default;
};

constexpr Point operator+(Point a, Point b) {
  return {a.h + b.h, a.v + b.v};
}
constexpr Point operator-(Point a, Point b) {
  return {a.h - b.h, a.v - b.v};
}
constexpr Point operator-(Point a) {
  return {-a.h, -a.v};
}
constexpr Point operator*(Point a, double s) {
  return {a.h * s, a.v * s};
}
constexpr Point operator*(double s, Point a) {
  return {s * a.h, s * a.v};
}
constexpr double Dot(Point a, Point b) {
  return a.h * b.h + a.v * b.v;
}
constexpr double Cross(Point a, Point b) {
  return a.h * b.v - a.v * b.h;
}
constexpr double LengthSquared(Point a) {
  return Dot(a, a);
}
inline double Length(Point a) {
  return std::sqrt(LengthSquared(a));
}
inline double Distance(Point a, Point b) {
  return Length(a - b);
}

// One cubic Bézier segment: start anchor, its out handle, the end anchor's in handle, end anchor.
struct Curve {
  Point p0;
  Point p1;
  Point p2;
  Point p3;
};

// The two pieces of a curve cut at one parameter: left runs over [0, t], right over [t, 1].
struct CurveSplit {
  Curve left;
  Curve right;
};

// Conversions at the boundary with the host's single-precision records.
constexpr Point PointFromHost(AIRealPoint p) {
  return {p.h, p.v};
}
constexpr AIRealPoint PointToHost(Point p) {
  return {static_cast<AIReal>(p.h), static_cast<AIReal>(p.v)};
}
constexpr Curve CurveFromHost(const AIRealBezier& b) {
  return {PointFromHost(b.p0), PointFromHost(b.p1), PointFromHost(b.p2), PointFromHost(b.p3)};
}
constexpr AIRealBezier CurveToHost(const Curve& c) {
  return {PointToHost(c.p0), PointToHost(c.p1), PointToHost(c.p2), PointToHost(c.p3)};
}
// The curve that runs from one path segment's anchor to the next one's: (anchor, out, in, anchor).
constexpr Curve CurveBetween(const AIPathSegment& from, const AIPathSegment& to) {
  return {PointFromHost(from.p), PointFromHost(from.out), PointFromHost(to.in),
          PointFromHost(to.p)};
}

// True when all eight coordinates are equal.
constexpr bool CurvesEqual(const Curve& a, const Curve& b) {
  return a.p0 == b.p0 && a.p1 == b.p1 && a.p2 == b.p2 && a.p3 == b.p3;
}

// Power-basis coefficients: B(t) = p0 + t(t(t·f + 3e) + 3d).
struct CurvePolynomial {
  Point d;
  Point e;
  Point f;
};

constexpr CurvePolynomial PolynomialOf(const Curve& c) {
  const Point d = c.p1 - c.p0;
  const Point e = c.p2 - c.p1 - d;
  const Point f = c.p3 - c.p2 - d - 2.0 * e;
  return {d, e, f};
}

// The point B(t).
constexpr Point PointAt(const Curve& c, double t) {
  const CurvePolynomial k = PolynomialOf(c);
  return c.p0 + t * (t * (t * k.f + 3.0 * k.e) + 3.0 * k.d);
}

// The derivative B′(t).
constexpr Point DerivativeAt(const Curve& c, double t) {
  const CurvePolynomial k = PolynomialOf(c);
  return t * (t * (3.0 * k.f) + 6.0 * k.e) + 3.0 * k.d;
}

// The part of the curve over [0, t].
constexpr Curve CurveBefore(const Curve& c, double t) {
  const CurvePolynomial k = PolynomialOf(c);
  return {c.p0, c.p0 + t * k.d, c.p0 + t * (t * k.e + 2.0 * k.d), PointAt(c, t)};
}

// The part of the curve over [t, 1].
constexpr Curve CurveAfter(const Curve& c, double t) {
  return {PointAt(c, t), c.p1 + t * (t * (c.p3 - 2.0 * c.p2 + c.p1) + 2.0 * (c.p2 - c.p1)),
          c.p2 + t * (c.p3 - c.p2), c.p3};
}

// Splits at t: left covers [0, t] and right [t, 1] of the input; both meet at B(t).
constexpr CurveSplit SplitCurve(const Curve& c, double t) {
  return {CurveBefore(c, t), CurveAfter(c, t)};
}

// Splits at t = 0.5 by repeated midpoints.
constexpr CurveSplit SplitHalf(const Curve& c) {
  const Point a = (c.p0 + c.p1) * 0.5;
  const Point b = (c.p1 + c.p2) * 0.5;
  const Point d = (c.p2 + c.p3) * 0.5;
  const Point ab = (a + b) * 0.5;
  const Point bd = (b + d) * 0.5;
  const Point mid = (ab + bd) * 0.5;
  return {{c.p0, a, ab, mid}, {mid, bd, d, c.p3}};
}

// The curve that runs over [a, b] of the input, for 0 ≤ a ≤ b ≤ 1: the part before b, then
// the part of that after a / b.
constexpr Curve ClipCurve(const Curve& c, double a, double b) {
  const Curve part = b < 1.0 ? CurveBefore(c, b) : c;
  // With b = 0 (and so a = 0) there is nothing to cut off, and a / b would be undefined.
  return a > 0.0 && b > 0.0 ? CurveAfter(part, a / b) : part;
}

// The curve rotated by `angle` radians (counter-clockwise) about the origin.
Curve RotateCurve(const Curve& c, double angle);

// Scales the start anchor's out handle (p1 − p0) by `a` and the end anchor's in handle (p2 − p3)
// by `b`, or divides them when `divide` is set. A factor of exactly 0 or 1 leaves its handle
// unchanged, as does a result that would not be finite.
Curve ScaleHandles(const Curve& c, double a, double b, bool divide);

}  // namespace sq
