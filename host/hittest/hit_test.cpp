// Hit testing: which anchor, shown handle or curve of which path lies under an artwork point.
#include "hittest/hit_test.hpp"

#include <2geom/bezier-curve.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "hittest/path_index.hpp"

namespace sqhost {
namespace {

Geom::Point toGeom(const AIRealPoint& p) {
  return {p.h, p.v};
}

double distanceBetween(const AIRealPoint& a, const AIRealPoint& b) {
  return std::hypot(static_cast<double>(a.h) - b.h, static_cast<double>(a.v) - b.v);
}

bool near(const AIRealRect& r, const AIRealPoint& p, double radius) {
  return p.h >= r.left - radius && p.h <= r.right + radius && p.v >= r.bottom - radius &&
         p.v <= r.top + radius;
}

// A candidate within one path, ordered by distance, then anchors before handles, then by index.
struct Candidate {
  double distance = std::numeric_limits<double>::infinity();
  int rank = 0;  // 0 anchor, 1 handle
  std::size_t index = 0;
  bool better(const Candidate& o) const {
    if (distance != o.distance) return distance < o.distance;
    if (rank != o.rank) return rank < o.rank;
    return index < o.index;
  }
};

std::optional<HitResult> nearestPoint(const Art& path, const AIRealPoint& p, double tolerance) {
  const PathGeometry& g = path.path();
  std::optional<HitResult> best;
  Candidate bestKey;
  auto consider = [&](HitPart part, std::size_t i, const AIRealPoint& at) {
    const Candidate c{distanceBetween(at, p), part == HitPart::kAnchor ? 0 : 1, i};
    if (c.distance > tolerance || !c.better(bestKey)) return;
    bestKey = c;
    best = HitResult{part, path.id(), path.id(), i, at, 0};
  };
  for (std::size_t i = 0; i < g.size(); ++i) {
    const AIPathSegment& s = g.segment(i);
    consider(HitPart::kAnchor, i, s.p);
    const ShownHandles shown = g.shownHandles(i);
    if (shown.in) consider(HitPart::kInHandle, i, s.in);
    if (shown.out) consider(HitPart::kOutHandle, i, s.out);
  }
  return best;
}

AIRealRect hullBounds(const AIRealBezier& b) {
  return {std::min({b.p0.h, b.p1.h, b.p2.h, b.p3.h}), std::max({b.p0.v, b.p1.v, b.p2.v, b.p3.v}),
          std::max({b.p0.h, b.p1.h, b.p2.h, b.p3.h}), std::min({b.p0.v, b.p1.v, b.p2.v, b.p3.v})};
}

std::optional<HitResult> nearestCurve(const Art& path, const AIRealPoint& p, double tolerance) {
  const PathGeometry& g = path.path();
  std::optional<HitResult> best;
  Candidate bestKey;
  for (std::size_t k = 0; k < g.bezierCount(); ++k) {
    const AIRealBezier b = g.bezier(k);
    if (!near(hullBounds(b), p, tolerance)) continue;
    const CurveNearest n = nearestOnCurve(b, p);
    const std::size_t index = (k + 1) % g.size();
    const Candidate c{n.distance, 0, index};
    if (c.distance > tolerance || !c.better(bestKey)) continue;
    bestKey = c;
    best =
        HitResult{HitPart::kSegment, path.id(), path.id(), index, n.point, static_cast<float>(n.t)};
  }
  return best;
}

// The object a plug-in is told about: the outermost text frame or plug-in art holding the path,
// unless the test was restricted to the path itself.
ArtId reportedArt(const Art& path, ArtId within) {
  if (within == path.id()) return path.id();
  ArtId reported = path.id();
  for (const Art* a = path.parent(); a != nullptr; a = a->parent()) {
    if (a->type() == ArtType::kTextFrame || a->type() == ArtType::kPluginArt) reported = a->id();
  }
  return reported;
}

}  // namespace

CurveNearest nearestOnCurve(const AIRealBezier& curve, const AIRealPoint& p) {
  const Geom::CubicBezier c(toGeom(curve.p0), toGeom(curve.p1), toGeom(curve.p2), toGeom(curve.p3));
  // The curve library squares coordinates while it searches, and recurses without end once they
  // overflow: it is handed the curve relative to p, scaled into [-1, 1] (the nearest time does
  // not change under translation and uniform scaling).
  const Geom::Point origin = toGeom(p);
  double extent = 0;
  for (const AIRealPoint& q : {curve.p0, curve.p1, curve.p2, curve.p3}) {
    extent = std::max({extent, std::fabs(double(q.h) - p.h), std::fabs(double(q.v) - p.v)});
  }
  double t = 0;
  if (std::isfinite(extent) && extent > 0 && !c.isDegenerate()) {
    auto unit = [&](const AIRealPoint& q) { return (toGeom(q) - origin) / extent; };
    const Geom::CubicBezier scaled(unit(curve.p0), unit(curve.p1), unit(curve.p2), unit(curve.p3));
    t = std::clamp(scaled.nearestTime(Geom::Point(0, 0)), 0.0, 1.0);
  }
  // Exact ends: a nearest point at an anchor reports the anchor itself.
  Geom::Point at = t == 0 ? toGeom(curve.p0) : t == 1 ? toGeom(curve.p3) : c.pointAt(t);
  const AIRealPoint point{static_cast<float>(at.x()), static_cast<float>(at.y())};
  return {t, point, distanceBetween(point, p)};
}

bool pickable(const Document& document, const Art& art) {
  for (const Art* a = &art; a != nullptr; a = a->parent()) {
    if (!usable(*a)) return false;
  }
  const Layer* layer = document.layerOfArt(art.id());
  return layer != nullptr && layer->visible() && layer->editable();
}

std::vector<const Art*> pickablePathsNear(const Document& document, const AIRealPoint& p,
                                          double radius, ArtId within) {
  std::vector<const Art*> out;
  if (within == kNoId) {
    pathIndexOf(document).pathsNear(p, radius, out);
    return out;
  }
  // One object's subtree: usually a single path, walked directly.
  const Art* art = document.findArt(within);
  if (art == nullptr || !pickable(document, *art)) return out;
  std::vector<PathEntry> paths;
  appendReachablePaths(*art, paths);
  for (const PathEntry& e : paths) {
    if (near(e.bounds, p, radius) && usable(*e.path) && e.path->type() == ArtType::kPath)
      out.push_back(e.path);
  }
  return out;
}

std::optional<HitResult> hitTest(const Document& document, const View& view,
                                 const HitRequest& request) {
  if (!isFinite(request.point) || !(view.zoom > 0)) return std::nullopt;
  const double tolerance = std::max(0.0f, request.tolerancePixels) / view.zoom;
  const std::vector<const Art*> paths =
      pickablePathsNear(document, request.point, tolerance, request.within);
  std::optional<HitResult> hit;
  const Art* hitPath = nullptr;
  for (const Art* path : paths) {
    if ((hit = nearestPoint(*path, request.point, tolerance))) {
      hitPath = path;
      break;
    }
  }
  if (!hit) {
    for (const Art* path : paths) {
      if ((hit = nearestCurve(*path, request.point, tolerance))) {
        hitPath = path;
        break;
      }
    }
  }
  if (hit) hit->art = reportedArt(*hitPath, request.within);
  return hit;
}

}  // namespace sqhost
