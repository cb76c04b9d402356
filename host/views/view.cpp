// A view of a document: a window of whole pixels showing part of the artwork at a zoom.
#include "views/view.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sqhost {

AIRealPoint View::topLeft() const {
  return {center.h - static_cast<float>(width) / (2 * zoom),
          center.v + static_cast<float>(height) / (2 * zoom)};
}

AIRealRect View::bounds() const {
  const AIRealPoint tl = topLeft();
  return {tl.h, tl.v, tl.h + static_cast<float>(width) / zoom,
          tl.v - static_cast<float>(height) / zoom};
}

std::optional<AIPoint> View::toView(const AIRealPoint& p) const {
  if (!std::isfinite(p.h) || !std::isfinite(p.v)) return std::nullopt;
  const AIRealPoint tl = topLeft();
  const double x = std::floor((static_cast<double>(p.h) - tl.h) * zoom + 0.5);
  const double y = std::floor((static_cast<double>(tl.v) - p.v) * zoom + 0.5);
  constexpr double lo = std::numeric_limits<int32_t>::min();
  constexpr double hi = std::numeric_limits<int32_t>::max();
  if (x < lo || x > hi || y < lo || y > hi) return std::nullopt;
  return AIPoint{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

AIRealPoint View::toArtwork(const AIPoint& p) const {
  const AIRealPoint tl = topLeft();
  return {static_cast<float>(tl.h + p.h / static_cast<double>(zoom)),
          static_cast<float>(tl.v - p.v / static_cast<double>(zoom))};
}

void View::invalidate(const AIRect& r) {
  const AIRect c{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width),
                 std::min(r.bottom, height)};
  if (c.right <= c.left || c.bottom <= c.top) return;
  dirty.push_back(c);
}

}  // namespace sqhost
