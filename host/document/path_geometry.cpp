// Path geometry: segment editing, selection states, shown handles, reversal and cached bounds.
#include "document/path_geometry.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <utility>

namespace sqhost {

namespace {

std::atomic<std::size_t> gSegmentLimit{PathGeometry::kDefaultSegmentLimit};

bool isSelected(SegmentSelection s) {
  return s != SegmentSelection::kNone;
}

bool allFinite(std::span<const AIPathSegment> values) {
  return std::all_of(values.begin(), values.end(),
                     [](const AIPathSegment& s) { return isFinite(s); });
}

// Bounds grown to hold the anchor and both handles of s (top is the larger v).
void grow(AIRealRect& r, const AIPathSegment& s) {
  for (const AIRealPoint& p : {s.p, s.in, s.out}) {
    r.left = std::min(r.left, p.h);
    r.right = std::max(r.right, p.h);
    r.bottom = std::min(r.bottom, p.v);
    r.top = std::max(r.top, p.v);
  }
}

bool strictlyInside(const AIRealPoint& p, const AIRealRect& r) {
  return r.left < p.h && p.h < r.right && r.bottom < p.v && p.v < r.top;
}

// Whether no point of s is on an edge of r or outside it.
bool strictlyInside(const AIPathSegment& s, const AIRealRect& r) {
  return strictlyInside(s.p, r) && strictlyInside(s.in, r) && strictlyInside(s.out, r);
}

}  // namespace

bool isFinite(const AIRealPoint& p) {
  return std::isfinite(p.h) && std::isfinite(p.v);
}
bool isFinite(const AIPathSegment& s) {
  return isFinite(s.p) && isFinite(s.in) && isFinite(s.out);
}
bool isFinite(const AIRealRect& r) {
  return std::isfinite(r.left) && std::isfinite(r.top) && std::isfinite(r.right) &&
         std::isfinite(r.bottom);
}

bool samePoint(const AIRealPoint& a, const AIRealPoint& b) {
  return a.h == b.h && a.v == b.v;
}
bool sameSegment(const AIPathSegment& a, const AIPathSegment& b) {
  return samePoint(a.p, b.p) && samePoint(a.in, b.in) && samePoint(a.out, b.out) &&
         (a.corner != 0) == (b.corner != 0);
}
bool sameRect(const AIRealRect& a, const AIRealRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
bool sameColor(const AIRGBColor& a, const AIRGBColor& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

bool operator==(const PathGeometry& a, const PathGeometry& b) {
  if (a.closed_ != b.closed_) return false;
  const bool sameStates =
      a.states_ == b.states_ || std::ranges::equal(a.selections(), b.selections());
  return sameStates && (a.segments_ == b.segments_ ||
                        std::ranges::equal(a.segments(), b.segments(), sameSegment));
}

bool rectsOverlap(const AIRealRect& a, const AIRealRect& b) {
  return a.left <= b.right && b.left <= a.right && a.bottom <= b.top && b.bottom <= a.top;
}

std::size_t PathGeometry::segmentLimit() {
  return gSegmentLimit.load();
}
void PathGeometry::setSegmentLimit(std::size_t limit) {
  gSegmentLimit.store(limit);
}

std::optional<std::size_t> PathGeometry::previous(std::size_t i) const {
  if (i >= size()) return std::nullopt;
  if (i > 0) return i - 1;
  if (closed_) return size() - 1;
  return std::nullopt;
}

std::optional<std::size_t> PathGeometry::next(std::size_t i) const {
  if (i >= size()) return std::nullopt;
  if (i + 1 < size()) return i + 1;
  if (closed_) return 0;
  return std::nullopt;
}

std::vector<AIPathSegment>& PathGeometry::writableSegments() {
  if (!segments_) {
    segments_ = std::make_shared<std::vector<AIPathSegment>>();
  } else if (segments_.use_count() > 1) {
    segments_ = std::make_shared<std::vector<AIPathSegment>>(*segments_);
  }
  return *segments_;
}

std::vector<SegmentSelection>& PathGeometry::writableStates() {
  if (!states_) {
    states_ = std::make_shared<std::vector<SegmentSelection>>();
  } else if (states_.use_count() > 1) {
    states_ = std::make_shared<std::vector<SegmentSelection>>(*states_);
  }
  return *states_;
}

std::size_t PathGeometry::bezierCount() const {
  if (empty()) return 0;
  return closed_ ? size() : size() - 1;
}

AIRealBezier PathGeometry::bezier(std::size_t k) const {
  const AIPathSegment& a = segment(k);
  const AIPathSegment& b = segment(k + 1 < size() ? k + 1 : 0);
  return AIRealBezier{a.p, a.out, b.in, b.p};
}

ShownHandles PathGeometry::shownHandles(std::size_t i) const {
  ShownHandles shown;
  if (i >= size()) return shown;
  SegmentSelection s = selection(i);
  if (s == SegmentSelection::kAnchor) {
    // Both handles show only on the path's single anchor-selected point.
    std::size_t anchors =
        static_cast<std::size_t>(std::ranges::count(selections(), SegmentSelection::kAnchor));
    shown.in = shown.out = anchors == 1;
  } else {
    shown.in = s == SegmentSelection::kIn || s == SegmentSelection::kInOut;
    shown.out = s == SegmentSelection::kOut || s == SegmentSelection::kInOut;
  }
  const AIPathSegment& seg = segment(i);
  if (samePoint(seg.in, seg.p)) shown.in = false;
  if (samePoint(seg.out, seg.p)) shown.out = false;
  return shown;
}

AIErr PathGeometry::setSegments(std::size_t index, std::span<const AIPathSegment> values) {
  if (index > size() || values.size() > size() - index) return kOutOfRangeErr;
  if (!allFinite(values)) return kNonFiniteErr;
  if (values.empty()) return kNoErr;
  std::vector<AIPathSegment>& segments = writableSegments();
  const auto first = segments.begin() + static_cast<std::ptrdiff_t>(index);
  // When every point overwritten lies strictly inside the bounds, other points still reach each
  // side, so the new bounds are the old ones grown round the new points: a drag step writing one
  // segment of a long path does not walk the whole path again.
  const bool interior =
      bounds_ && std::all_of(first, first + static_cast<std::ptrdiff_t>(values.size()),
                             [&](const AIPathSegment& s) { return strictlyInside(s, *bounds_); });
  std::ranges::copy(values, first);
  normalizeCorners(index, values.size());
  if (interior) {
    curveBoundsKnown_ = false;
    for (const AIPathSegment& s : values) grow(*bounds_, s);
  } else {
    updateBounds();
  }
  return kNoErr;
}

AIErr PathGeometry::insertSegments(std::size_t index, std::span<const AIPathSegment> values) {
  if (index > size()) return kOutOfRangeErr;
  if (values.size() > segmentLimit() || size() > segmentLimit() - values.size()) {
    return kTooManySegmentsErr;
  }
  if (!allFinite(values)) return kNonFiniteErr;
  if (values.empty()) return kNoErr;
  auto at = static_cast<std::ptrdiff_t>(index);
  std::vector<AIPathSegment>& segments = writableSegments();
  std::vector<SegmentSelection>& states = writableStates();
  segments.insert(segments.begin() + at, values.begin(), values.end());
  states.insert(states.begin() + at, values.size(), SegmentSelection::kNone);
  normalizeCorners(index, values.size());
  updateBounds();
  return kNoErr;
}

AIErr PathGeometry::deleteSegments(std::size_t index, std::size_t count) {
  if (index > size() || count > size() - index) return kOutOfRangeErr;
  if (count == 0) return kNoErr;
  auto first = static_cast<std::ptrdiff_t>(index);
  auto last = static_cast<std::ptrdiff_t>(index + count);
  std::vector<AIPathSegment>& segments = writableSegments();
  std::vector<SegmentSelection>& states = writableStates();
  selectedCount_ -= static_cast<std::size_t>(
      std::count_if(states.begin() + first, states.begin() + last, isSelected));
  segments.erase(segments.begin() + first, segments.begin() + last);
  states.erase(states.begin() + first, states.begin() + last);
  updateBounds();
  return kNoErr;
}

AIErr PathGeometry::setSelection(std::size_t i, SegmentSelection state) {
  if (i >= size()) return kOutOfRangeErr;
  if (static_cast<unsigned>(state) > static_cast<unsigned>(SegmentSelection::kInOut)) {
    return kBadParameterErr;
  }
  if (state == selection(i)) return kNoErr;
  if (isSelected(selection(i))) --selectedCount_;
  if (isSelected(state)) ++selectedCount_;
  writableStates()[i] = state;
  return kNoErr;
}

void PathGeometry::setAllSelections(SegmentSelection state) {
  if (std::ranges::all_of(selections(), [state](SegmentSelection s) { return s == state; })) {
    return;
  }
  std::ranges::fill(writableStates(), state);
  selectedCount_ = isSelected(state) ? size() : 0;
}

void PathGeometry::reverse() {
  if (empty()) return;
  std::vector<AIPathSegment>& segments = writableSegments();
  std::vector<SegmentSelection>& states = writableStates();
  std::reverse(segments.begin(), segments.end());
  std::reverse(states.begin(), states.end());
  for (AIPathSegment& s : segments) std::swap(s.in, s.out);
  for (SegmentSelection& s : states) {
    if (s == SegmentSelection::kIn) {
      s = SegmentSelection::kOut;
    } else if (s == SegmentSelection::kOut) {
      s = SegmentSelection::kIn;
    }
  }
}

void PathGeometry::normalizeCorners(std::size_t index, std::size_t count) {
  std::vector<AIPathSegment>& segments = *segments_;  // already made writable by the caller
  for (std::size_t i = index; i < index + count; ++i) {
    segments[i].corner = segments[i].corner != 0 ? 1 : 0;
  }
}

void PathGeometry::updateBounds() {
  curveBoundsKnown_ = false;
  if (empty()) {
    bounds_.reset();
    return;
  }
  const AIRealPoint first = segment(0).p;
  AIRealRect r{first.h, first.v, first.h, first.v};
  for (const AIPathSegment& s : segments()) grow(r, s);
  bounds_ = r;
}

namespace {

// The extent of points added so far, in double precision.
struct Extent {
  double minH = INFINITY, maxH = -INFINITY, minV = INFINITY, maxV = -INFINITY;
  void add(double h, double v) {
    minH = std::min(minH, h);
    maxH = std::max(maxH, h);
    minV = std::min(minV, v);
    maxV = std::max(maxV, v);
  }
  bool empty() const { return minH > maxH; }
};

// The extremes of one coordinate of a cubic (a, b, c, d its control values) over 0 < t < 1, added
// through add(t) when a control value lies outside the span of the end values.
template <class Add>
void cubicExtremes(double a, double b, double c, double d, Add add) {
  const double lo = std::min(a, d), hi = std::max(a, d);
  if (b >= lo && b <= hi && c >= lo && c <= hi) return;
  // The derivative over 3: (p - 2q + r) t^2 + 2 (q - p) t + p.
  const double p = b - a, q = c - b, r = d - c;
  const double qa = p - 2 * q + r, qb = 2 * (q - p), qc = p;
  auto take = [&](double t) {
    if (t > 0 && t < 1) add(t);
  };
  if (std::abs(qa) < 1e-12) {
    if (qb != 0) take(-qc / qb);
    return;
  }
  const double disc = qb * qb - 4 * qa * qc;
  if (disc < 0) return;
  const double root = std::sqrt(disc);
  take((-qb + root) / (2 * qa));
  take((-qb - root) / (2 * qa));
}

void addBezier(Extent& e, const AIRealBezier& b) {
  e.add(b.p0.h, b.p0.v);
  e.add(b.p3.h, b.p3.v);
  auto at = [&](double t) {
    const double s = 1 - t;
    const double w0 = s * s * s, w1 = 3 * s * s * t, w2 = 3 * s * t * t, w3 = t * t * t;
    e.add(w0 * b.p0.h + w1 * b.p1.h + w2 * b.p2.h + w3 * b.p3.h,
          w0 * b.p0.v + w1 * b.p1.v + w2 * b.p2.v + w3 * b.p3.v);
  };
  cubicExtremes(b.p0.h, b.p1.h, b.p2.h, b.p3.h, at);
  cubicExtremes(b.p0.v, b.p1.v, b.p2.v, b.p3.v, at);
}

}  // namespace

const std::optional<AIRealRect>& PathGeometry::curveBounds() const {
  if (curveBoundsKnown_) return curveBounds_;
  curveBoundsKnown_ = true;
  curveBounds_.reset();
  if (empty()) return curveBounds_;
  Extent e;
  e.add(segment(0).p.h, segment(0).p.v);
  for (std::size_t k = 0; k < bezierCount(); ++k) addBezier(e, bezier(k));
  curveBounds_ = AIRealRect{static_cast<float>(e.minH), static_cast<float>(e.maxV),
                            static_cast<float>(e.maxH), static_cast<float>(e.minV)};
  return curveBounds_;
}

}  // namespace sqhost
