// Random curves and a high-precision nearest-distance reference for the geometry tests.
#pragma once

#include <algorithm>
#include <cmath>
#include <random>

#include "geometry/curve.hpp"

namespace sq::testing {

inline Point RandomPoint(std::mt19937_64& rng, double extent = 100.0) {
  std::uniform_real_distribution<double> coord(-extent, extent);
  const double h = coord(rng);
  return {h, coord(rng)};
}

inline Curve RandomCurve(std::mt19937_64& rng, double extent = 100.0) {
  const Point p0 = RandomPoint(rng, extent);
  const Point p1 = RandomPoint(rng, extent);
  const Point p2 = RandomPoint(rng, extent);
  return {p0, p1, p2, RandomPoint(rng, extent)};
}

inline bool Finite(Point p) {
  return std::isfinite(p.h) && std::isfinite(p.v);
}
inline bool Finite(const Curve& c) {
  return Finite(c.p0) && Finite(c.p1) && Finite(c.p2) && Finite(c.p3);
}

// The largest extent of the control polygon's bounding box.
inline double CurveSize(const Curve& c) {
  const double h0 = std::min({c.p0.h, c.p1.h, c.p2.h, c.p3.h});
  const double h1 = std::max({c.p0.h, c.p1.h, c.p2.h, c.p3.h});
  const double v0 = std::min({c.p0.v, c.p1.v, c.p2.v, c.p3.v});
  const double v1 = std::max({c.p0.v, c.p1.v, c.p2.v, c.p3.v});
  return std::max(h1 - h0, v1 - v0);
}

// Distance from x to the curve by dense sampling and Newton refinement in long double.
inline double ReferenceDistance(const Curve& c, Point x, int samples = 2000) {
  using L = long double;
  const L ph[4] = {c.p0.h, c.p1.h, c.p2.h, c.p3.h};
  const L pv[4] = {c.p0.v, c.p1.v, c.p2.v, c.p3.v};
  const auto eval = [&](const L* p, L t, L& d1, L& d2) {
    const L u = 1 - t;
    d1 = 3 * (u * u * (p[1] - p[0]) + 2 * u * t * (p[2] - p[1]) + t * t * (p[3] - p[2]));
    d2 = 6 * (u * (p[2] - 2 * p[1] + p[0]) + t * (p[3] - 2 * p[2] + p[1]));
    return u * u * u * p[0] + 3 * u * u * t * p[1] + 3 * u * t * t * p[2] + t * t * t * p[3];
  };
  const auto squared = [&](L t) {
    L a, b;
    const L dh = eval(ph, t, a, b) - x.h;
    const L dv = eval(pv, t, a, b) - x.v;
    return dh * dh + dv * dv;
  };
  L best = std::min(squared(0), squared(1));
  for (int i = 0; i <= samples; ++i) {
    L t = static_cast<L>(i) / samples;
    for (int step = 0; step < 30; ++step) {
      L dh1, dh2, dv1, dv2;
      const L dh = eval(ph, t, dh1, dh2) - x.h;
      const L dv = eval(pv, t, dv1, dv2) - x.v;
      const L g = dh * dh1 + dv * dv1;
      const L gp = dh1 * dh1 + dv1 * dv1 + dh * dh2 + dv * dv2;
      if (gp <= 0) break;
      const L next = std::clamp<L>(t - g / gp, 0, 1);
      if (next == t) break;
      t = next;
    }
    best = std::min({best, squared(t), squared(static_cast<L>(i) / samples)});
  }
  return static_cast<double>(std::sqrt(best));
}

}  // namespace sq::testing
