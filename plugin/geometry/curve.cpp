// Rotation and handle scaling of cubic Bézier curves.
#include "geometry/curve.hpp"

namespace sq {

Curve RotateCurve(const Curve& c, double angle) {
  const double cs = std::cos(angle);
  const double sn = std::sin(angle);
  const auto turn = [cs, sn](Point p) { return Point{p.h * cs - p.v * sn, p.h * sn + p.v * cs}; };
  return {turn(c.p0), turn(c.p1), turn(c.p2), turn(c.p3)};
}

namespace {

// The handle `anchor + (handle − anchor) × factor` (or ÷ factor), or `handle` itself when the
// factor is 0 or 1 or the result would not be finite.
Point ScaledHandle(Point anchor, Point handle, double factor, bool divide) {
  if (factor == 0.0 || factor == 1.0) return handle;
  const Point offset = handle - anchor;
  const Point scaled = divide ? Point{offset.h / factor, offset.v / factor} : offset * factor;
  const Point result = anchor + scaled;
  if (!std::isfinite(result.h) || !std::isfinite(result.v)) return handle;
  return result;
}

}  // namespace

Curve ScaleHandles(const Curve& c, double a, double b, bool divide) {
  return {c.p0, ScaledHandle(c.p0, c.p1, a, divide), ScaledHandle(c.p3, c.p2, b, divide), c.p3};
}

}  // namespace sq
