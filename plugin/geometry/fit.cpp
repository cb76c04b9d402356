// Fitting one cubic Bézier curve to a chain of curves by searching over its handle lengths.
#include "geometry/fit.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "geometry/nearest.hpp"

namespace sq {

namespace {

// Every improving loop below stops by itself (each step must lower the error strictly and the
// handles cannot shrink or grow for ever without the error rising); these caps only bound the
// work for pathological input.
constexpr int kMaxSteps = 1000;

constexpr double kMinHandleExtent = 1.0;

enum class Handle { First, Second };

// True when the handle reaches more than one unit from its anchor in h or in v.
bool HandleLongEnough(const Curve& c, Handle which) {
  const Point offset = which == Handle::First ? c.p0 - c.p1 : c.p3 - c.p2;
  return std::abs(offset.h) > kMinHandleExtent || std::abs(offset.v) > kMinHandleExtent;
}

class HandleSearch {
 public:
  HandleSearch(const Curve& start, std::span<const Curve> chain)
      : chain_(chain), curve_(start), best_(FitError(start, chain)) {}

  const Curve& curve() const { return curve_; }
  double best() const { return best_; }

  // Keeps the candidate when its error is strictly below the best so far.
  bool Try(const Curve& candidate) {
    const double error = FitError(candidate, chain_);
    if (!(error < best_)) return false;
    curve_ = candidate;
    best_ = error;
    return true;
  }

  // Applies `scale` (curve, step) → candidate as long as that improves; true if it ever did.
  template <typename Scale>
  bool Repeat(Scale scale, double p) {
    bool improved = false;
    for (int i = 0; i < kMaxSteps && Try(scale(curve_, p)); ++i) improved = true;
    return improved;
  }

  // Both handles together: first shrinking, and only when that never helps, growing.
  template <typename Shrink, typename Grow>
  void ScaleTogether(Shrink shrink, Grow grow) {
    double p = 0.5;
    do {
      if (!Repeat(shrink, p)) Repeat(grow, p);
      p *= 0.16;
    } while (p > 0.002);
  }

  // One handle alone, in the sense of its direction flag, while it improves and stays longer
  // than one unit; a failure before any success flips the flag once. Counts near-stalls (an
  // improvement below 0.2 %) in `stalls`, resetting on a real improvement. True if it improved.
  bool ScaleOne(Handle which, double p, bool& divide, int& stalls) {
    bool accepted = false;
    bool flipped = false;
    for (int i = 0; i < kMaxSteps; ++i) {
      const double a = which == Handle::First ? 1.0 + p : 1.0;
      const double b = which == Handle::Second ? 1.0 + p : 1.0;
      const Curve candidate = ScaleHandles(curve_, a, b, divide);
      const double previous = best_;
      if (HandleLongEnough(candidate, which) && Try(candidate)) {
        stalls = 1.0 - best_ / previous < 0.002 ? stalls + 1 : 0;
        accepted = true;
        continue;
      }
      if (accepted || flipped) break;
      divide = !divide;
      flipped = true;
    }
    return accepted;
  }

 private:
  std::span<const Curve> chain_;
  Curve curve_;
  double best_;
};

Curve EqualiseAndLengthen(const Curve& c) {
  const double first = Length(c.p1 - c.p0);
  const double second = Length(c.p2 - c.p3);
  Curve k = c;
  if (first > 0.0 && second > 0.0) {
    if (first < second) k = ScaleHandles(k, second / first, 1.0, false);
    if (second < first) k = ScaleHandles(k, 1.0, first / second, false);
  }
  return ScaleHandles(k, 4.0, 4.0, false);
}

}  // namespace

double FitError(const Curve& k, std::span<const Curve> chain) {
  if (chain.empty()) return 0.0;
  double total = 0.0;
  for (int i = 1; i <= 31; ++i) {
    const double t = static_cast<double>(i) / 32.0;
    const Point q = PointAt(k, t);
    double nearest = std::numeric_limits<double>::infinity();
    for (const Curve& s : chain) nearest = std::min(nearest, DistanceToCurve(s, q));
    total += (std::sin(std::numbers::pi * t) / 2.0 + 1.0) * nearest;
  }
  const int n = static_cast<int>(chain.size());
  const int samples = std::max(5, 32 / n);
  for (const Curve& s : chain) {
    for (int l = 0; l <= samples; ++l) {
      total += DistanceToCurve(k, PointAt(s, static_cast<double>(l) / samples));
    }
  }
  for (size_t j = 1; j < chain.size(); ++j) total += 5.0 * DistanceToCurve(k, chain[j].p0);
  return total;
}

FitResult FitMerge(const Curve& start, std::span<const Curve> chain) {
  const double startError = FitError(start, chain);
  HandleSearch search(EqualiseAndLengthen(start), chain);

  // Both handles by the same factor.
  search.ScaleTogether(
      [](const Curve& c, double p) { return ScaleHandles(c, 1 + p, 1 + p, true); },
      [](const Curve& c, double p) { return ScaleHandles(c, 1 + p, 1 + p, false); });

  // Both handles in opposite senses.
  search.ScaleTogether(
      [](const Curve& c, double p) {
        return ScaleHandles(ScaleHandles(c, 1 + p, 1, true), 1, 1 + p, false);
      },
      [](const Curve& c, double p) {
        return ScaleHandles(ScaleHandles(c, 1 + p, 1, false), 1, 1 + p, true);
      });

  // Each handle alone, with a step that grows while the second handle keeps improving and
  // shrinks otherwise, until it is tiny or the improvements have stalled.
  double p = 0.5;
  int stalls = 0;
  bool divideFirst = true;
  bool divideSecond = true;
  for (int round = 0; round < kMaxSteps; ++round) {
    p *= 1.2;
    search.ScaleOne(Handle::First, p, divideFirst, stalls);
    const bool secondImproved = search.ScaleOne(Handle::Second, p, divideSecond, stalls);
    if (secondImproved && stalls < 6) continue;
    p *= 0.12;
    if (p <= 0.000001 || stalls > 5) break;
  }

  if (search.best() < startError) return {search.curve(), search.best()};
  return {start, startError};
}

}  // namespace sq
