// Hit testing: which anchor, shown handle or curve of which path lies under an artwork point.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "document/document.hpp"
#include "views/view.hpp"

namespace sqhost {

// What was hit, numbered as the host reports it to plug-ins.
enum class HitPart : std::int32_t { kAnchor = 0, kOutHandle = 1, kInHandle = 2, kSegment = 3 };

struct HitRequest {
  AIRealPoint point{0, 0};    // artwork coordinates
  float tolerancePixels = 6;  // reach in view pixels, turned into artwork units by the zoom
  ArtId within = kNoId;       // only this object and its subtree; kNoId for the whole document
};

struct HitResult {
  HitPart part = HitPart::kAnchor;
  ArtId art = kNoId;   // the object the user sees: the path, or its text frame or plug-in art
  ArtId path = kNoId;  // the path that was hit
  // Anchor or handle: its segment. Curve: the anchor it ends at, (k + 1) mod size for curve
  // piece k, so the closing curve of a closed path has index 0.
  std::size_t segment = 0;
  AIRealPoint point{0, 0};  // the anchor, the handle or the nearest point of the curve
  float parameter = 0;      // curve parameter of that point in [0, 1]; 0 for points
};

// The point of a cubic curve nearest to a point.
struct CurveNearest {
  double t = 0;  // in [0, 1]
  AIRealPoint point{0, 0};
  double distance = 0;  // from the query point
};
CurveNearest nearestOnCurve(const AIRealBezier& curve, const AIRealPoint& p);

// Whether a user could pick the object: neither it nor an ancestor is locked or hidden, and its
// layer is visible and editable.
bool pickable(const Document& document, const Art& art);

// The pickable paths (within the given object's subtree, or the whole document for kNoId), topmost
// first, whose cached bounds grown by radius hold p. Paths are skipped on their bounds alone.
std::vector<const Art*> pickablePathsNear(const Document& document, const AIRealPoint& p,
                                          double radius, ArtId within = kNoId);

// Tests the point in a document shown in view, whose zoom scales the tolerance. Anchors and shown
// handles come first, taken from the topmost path down and stopping at the first path that has
// one in reach; only when none is in reach are curves tested the same way. Within one path the
// nearest candidate wins; at equal distance an anchor beats a handle and a lower segment index a
// higher one. Nothing for a non-finite point or when nothing is in reach.
std::optional<HitResult> hitTest(const Document& document, const View& view,
                                 const HitRequest& request);

}  // namespace sqhost
