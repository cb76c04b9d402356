// Nearest points on a cubic Bézier curve by Bézier clipping of (B(t) − x)·B′(t).
#include "geometry/nearest.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sq {

namespace {

constexpr int kRoundsPerRange = 50;
constexpr int kDepthLimit = 64;
constexpr double kClipRatio = 0.9;   // clip when the hull leaves less than this of the range
constexpr double kSplitRatio = 0.5;  // halve when the hull leaves more than this
constexpr double kConvergedRange = 0.00001;
constexpr double kEndOffset = 0.00001;

using Coefficients = std::array<double, 6>;

// Bernstein coefficients of the degree-5 polynomial (G(t) − x)·G′(t). This and ChangesSign run
// once per clipping round and are forced inline into the (recursive) search.
[[gnu::always_inline]] inline Coefficients PerpendicularityCoefficients(const Curve& g, Point x) {
  const Point c0 = g.p0 - x;
  const Point c1 = g.p1 - x;
  const Point c2 = g.p2 - x;
  const Point c3 = g.p3 - x;
  const Point d0 = g.p1 - g.p0;
  const Point d1 = g.p2 - g.p1;
  const Point d2 = g.p3 - g.p2;
  return {3.0 * Dot(d0, c0),
          1.2 * Dot(d1, c0) + 1.8 * Dot(d0, c1),
          0.3 * Dot(d2, c0) + 1.8 * Dot(d1, c1) + 0.9 * Dot(d0, c2),
          0.9 * Dot(d2, c1) + 1.8 * Dot(d1, c2) + 0.3 * Dot(d0, c3),
          1.8 * Dot(d2, c2) + 1.2 * Dot(d1, c3),
          3.0 * Dot(d2, c3)};
}

// False when every coefficient is ≤ 0 or every one is ≥ 0: then the polynomial has no root
// inside the range (a root at an end is found by the caller or by the neighbouring range).
[[gnu::always_inline]] inline bool ChangesSign(const Coefficients& w) {
  // Counted rather than tested one by one: the signs are data-dependent, and branches on them
  // would be mispredicted.
  const int negative =
      (w[0] < 0.0) + (w[1] < 0.0) + (w[2] < 0.0) + (w[3] < 0.0) + (w[4] < 0.0) + (w[5] < 0.0);
  const int positive =
      (w[0] > 0.0) + (w[1] > 0.0) + (w[2] > 0.0) + (w[3] > 0.0) + (w[4] > 0.0) + (w[5] > 0.0);
  return negative > 0 && positive > 0;
}

bool SameStrictSign(double a, double b) {
  return (a < 0.0 && b < 0.0) || (a > 0.0 && b > 0.0);
}

// n / 5 for n = −5 .. 5: the same values the division gives, without dividing.
constexpr double kFifths[11] = {-5 / 5.0, -4 / 5.0, -3 / 5.0, -2 / 5.0, -1 / 5.0, 0 / 5.0,
                                1 / 5.0,  2 / 5.0,  3 / 5.0,  4 / 5.0,  5 / 5.0};

template <int kStep>
double HullCrossingFrom(int k, const Coefficients& w);

// Where the convex hull of the control points (k/5, w[k]) first meets the axis, walking from
// control point kFrom in direction kStep (+1 rightward, −1 leftward). From the current point
// the walk takes the hull edge that turns most steeply toward the axis (slope
// (w[m] − w[kFrom]) / |m − kFrom| toward it; among equal slopes the farther point) and follows
// it on while the edge stays on one side of the axis. w[kFrom] must be non-zero. Each start
// point is its own instantiation so that the candidate loop unrolls with constant divisors.
template <int kFrom, int kStep>
double HullCrossing(const Coefficients& w) {
  constexpr int kCandidates = kStep > 0 ? 5 - kFrom : kFrom;
  if constexpr (kCandidates == 0) {
    return static_cast<double>(kFrom) / 5.0;
  } else {
    const double wk = w[kFrom];
    const bool below = wk < 0.0;
    int best = kFrom + kStep;
    double bestSlope = below ? w[best] - wk : wk - w[best];
#pragma GCC unroll 4
    for (int steps = 2; steps <= kCandidates; ++steps) {
      const int m = kFrom + kStep * steps;
      const double rise = below ? w[static_cast<size_t>(m)] - wk : wk - w[static_cast<size_t>(m)];
      const double slope = rise / static_cast<double>(steps);
      if (slope >= bestSlope) {
        best = m;
        bestSlope = slope;
      }
    }
    const double wb = w[static_cast<size_t>(best)];
    if (SameStrictSign(wk, wb)) return HullCrossingFrom<kStep>(best, w);
    if (wk == wb) return static_cast<double>(kFrom) / 5.0;
    return static_cast<double>(kFrom) / 5.0 + kFifths[best - kFrom + 5] * (-wk / (wb - wk));
  }
}

template <int kStep>
double HullCrossingFrom(int k, const Coefficients& w) {
  switch (k) {
    case 0:
      return HullCrossing<0, kStep>(w);
    case 1:
      return HullCrossing<1, kStep>(w);
    case 2:
      return HullCrossing<2, kStep>(w);
    case 3:
      return HullCrossing<3, kStep>(w);
    case 4:
      return HullCrossing<4, kStep>(w);
    default:
      return HullCrossing<5, kStep>(w);
  }
}

double Perpendicularity(const Curve& g, Point x, double t) {
  return Dot(PointAt(g, t) - x, DerivativeAt(g, t));
}

// Collects the solutions into a NearestResult.
class RecordSolutions {
 public:
  int32_t count() const { return result_.count; }
  void Record(double t, Point p) {
    ++result_.count;
    if (result_.count <= kMaxNearestPoints) result_.entries[result_.count - 1] = {t, p};
  }
  const NearestResult& result() const { return result_; }

 private:
  NearestResult result_;
};

// Keeps only the smallest squared distance from x to the solutions' points.
class NearestSquaredDistance {
 public:
  explicit NearestSquaredDistance(Point x) : x_(x) {}
  int32_t count() const { return count_; }
  void Record(double, Point p) {
    ++count_;
    best_ = std::min(best_, LengthSquared(x_ - p));
  }
  double best() const { return best_; }

 private:
  Point x_;
  int32_t count_ = 0;
  double best_ = std::numeric_limits<double>::infinity();
};

template <typename Sink>
class ClippingSearch {
 public:
  ClippingSearch(Point x, Sink& sink) : x_(x), sink_(sink) {}

  // Searches curve g, which covers the global parameter range [s, s + r].
  void Run(Curve g, double s, double r, int depth) {
    for (int round = 0; round < kRoundsPerRange; ++round) {
      if (sink_.count() >= kMaxNearestPoints) return;
      const Coefficients w = PerpendicularityCoefficients(g, x_);
      if (!ChangesSign(w)) return;

      // The hull meets the axis inside [0, 1]; the clamps keep rounding from leaving it.
      const double lo = w[0] != 0.0 ? std::clamp(HullCrossing<0, 1>(w), 0.0, 1.0) : 0.0;
      const double hi = w[5] != 0.0 ? std::clamp(HullCrossing<5, -1>(w), lo, 1.0) : 1.0;

      if (hi - lo < kClipRatio) {
        g = ClipCurve(g, lo, hi);
        s += lo * r;
        r *= hi - lo;
        if (r < kConvergedRange) {
          // g is now shorter than the tolerance, so g at the global t (a parameter inside
          // [0, 1]) is a point of the curve within that tolerance of the root.
          const double t = s + r / 2.0;
          sink_.Record(t, PointAt(g, t));
          return;
        }
      }
      if (hi - lo > kSplitRatio && depth > 0) {
        SplitInTwo(g, s, r, depth);
        return;
      }
      // Neither clipped nor split (no depth left): every further round would repeat this one.
      if (hi - lo >= kClipRatio) return;
    }
  }

 private:
  // Halves g (or cuts it a little left of the middle when the middle is itself a root, so that
  // no root lies on the cut) and searches both pieces, left first.
  void SplitInTwo(const Curve& g, double s, double r, int depth) {
    double at = 0.5;
    if (Perpendicularity(g, x_, at) == 0.0) {
      at = 0.45;
      while (Perpendicularity(g, x_, at) == 0.0 && at > 0.05) at -= 0.05;
    }
    const CurveSplit halves = at == 0.5 ? SplitHalf(g) : SplitCurve(g, at);
    Run(halves.left, s, at * r, depth - 1);
    Run(halves.right, s + at * r, (1.0 - at) * r, depth - 1);
  }

  Point x_;
  Sink& sink_;
};

// The whole search: a solution at an end first, then the interior.
template <typename Sink>
void SearchNearest(const Curve& c, Point x, Sink& sink) {
  ClippingSearch<Sink> search(x, sink);
  if (c.p1 != c.p0 && Dot(3.0 * (c.p1 - c.p0), c.p0 - x) == 0.0) {
    sink.Record(0.0, c.p0);
    search.Run(ClipCurve(c, kEndOffset, 1.0), kEndOffset, 1.0 - kEndOffset, kDepthLimit);
  } else if (c.p2 != c.p3 && Dot(3.0 * (c.p3 - c.p2), c.p3 - x) == 0.0) {
    sink.Record(1.0, c.p3);
    search.Run(ClipCurve(c, 0.0, 1.0 - kEndOffset), 0.0, 1.0 - kEndOffset, kDepthLimit);
  } else {
    search.Run(c, 0.0, 1.0, kDepthLimit);
  }
}

}  // namespace

NearestResult NearestPoints(const Curve& c, Point x) {
  RecordSolutions sink;
  SearchNearest(c, x, sink);
  return sink.result();
}

double DistanceToCurve(const Curve& c, Point x) {
  // The search stops at the fifth solution, so every solution it finds is among those
  // NearestPoints keeps.
  NearestSquaredDistance sink(x);
  SearchNearest(c, x, sink);
  const double ends = std::min(LengthSquared(x - c.p0), LengthSquared(x - c.p3));
  return std::sqrt(std::min(ends, sink.best()));
}

}  // namespace sq
