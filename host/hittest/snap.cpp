// Cursor snapping: onto anchors near the cursor and onto custom constraint lines.
#include "hittest/snap.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "hittest/hit_test.hpp"

namespace sqhost {
namespace {

struct Projection {
  AIRealPoint point;
  double distance;
  int line;
};

Projection project(const SnapLine& line, const AIRealPoint& p) {
  const double dx = std::cos(line.angle);
  const double dy = std::sin(line.angle);
  const double ph = static_cast<double>(p.h) - line.origin.h;
  const double pv = static_cast<double>(p.v) - line.origin.v;
  const double along = ph * dx + pv * dy;
  const double h = line.origin.h + along * dx;
  const double v = line.origin.v + along * dy;
  return {{static_cast<float>(h), static_cast<float>(v)}, std::abs(ph * dy - pv * dx), -1};
}

std::optional<Projection> nearestLine(std::span<const SnapLine> lines, bool soft,
                                      const AIRealPoint& p) {
  std::optional<Projection> best;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].soft != soft) continue;
    Projection pr = project(lines[i], p);
    pr.line = static_cast<int>(i);
    if (!best || pr.distance < best->distance) best = pr;
  }
  return best;
}

std::optional<AIRealPoint> nearestAnchor(const Document& document, const AIRealPoint& p,
                                         double tolerance) {
  std::optional<AIRealPoint> best;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (const Art* path : pickablePathsNear(document, p, tolerance)) {
    for (const AIPathSegment& s : path->path().segments()) {
      const double d =
          std::hypot(static_cast<double>(s.p.h) - p.h, static_cast<double>(s.p.v) - p.v);
      if (d <= tolerance && d < bestDistance) {
        bestDistance = d;
        best = s.p;
      }
    }
  }
  return best;
}

// The grid point nearest to p; p itself when that point would not be finite.
AIRealPoint nearestGridPoint(const AIRealPoint& p, double spacing) {
  const double h = std::round(p.h / spacing) * spacing;
  const double v = std::round(p.v / spacing) * spacing;
  const AIRealPoint snapped{static_cast<float>(h), static_cast<float>(v)};
  return isFinite(snapped) ? snapped : p;
}

}  // namespace

SnapControl parseSnapControl(std::string_view control) {
  const std::string_view letters = control.substr(0, control.find(' '));
  return {letters.find('A') != std::string_view::npos, letters.find('T') != std::string_view::npos,
          !letters.empty()};
}

SnapResult snapCursor(const Document& document, const View& view, const AIRealPoint& cursor,
                      SnapControl control, std::span<const SnapLine> lines, float tolerancePixels,
                      double gridSpacing) {
  if (!isFinite(cursor) || !(view.zoom > 0)) return {cursor, -1};
  const double tolerance = std::max(0.0f, tolerancePixels) / view.zoom;
  if (control.constraints) {
    if (auto hard = nearestLine(lines, false, cursor); hard && isFinite(hard->point)) {
      return {hard->point, hard->line};
    }
  }
  if (control.anchors && view.smartGuides) {
    if (auto anchor = nearestAnchor(document, cursor, tolerance)) return {*anchor, -1};
  }
  if (control.constraints) {
    if (auto soft = nearestLine(lines, true, cursor);
        soft && soft->distance <= tolerance && isFinite(soft->point)) {
      return {soft->point, soft->line};
    }
  }
  if (control.any && view.snapToGrid && gridSpacing > 0 && std::isfinite(gridSpacing)) {
    return {nearestGridPoint(cursor, gridSpacing), -1};
  }
  return {cursor, -1};
}

}  // namespace sqhost
