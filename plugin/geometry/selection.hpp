// Gathering the host selection into the working set, and finding the anchor or visible handle of
// a document path nearest to a position.
#pragma once

#include <optional>

#include "geometry/point_table.hpp"
#include "shell/plugin_state.hpp"

namespace sq {

// Fills workingArtSet with the selected paths (plug-in result paths and text-frame paths included,
// locked or hidden children skipped, groups and compound paths walked) and sets workingArtCount
// and workingPathCount. The caller disposes the set.
AIErr gatherSelectedPaths(PluginState& s);

// An anchor or handle of a path in the document, as the nearest-point search finds it.
struct NearestPathPoint {
  int32_t artType = 2;  // always a path
  int hitPart = kHitAnchor;
  AIArtHandle art = nullptr;
  int segmentIndex = 0;
  AIRealPoint point{};
};

// The anchor or visible handle nearest to position within pickRadius pixels in view: anchors of
// selected paths first, then their visible handles, then anchors of every visible unlocked path.
// Of points at the same distance the first in the working set's order (then in the document's
// order) wins. Sets workingArtCount and workingPathCount as gatherSelectedPaths does, and leaves
// no working set.
std::optional<NearestPathPoint> findNearestPoint(PluginState& s, AIDocumentViewHandle view,
                                                 int pickRadius, const AIRealPoint& position);

// True when art, one of its ancestors or its layer is locked or hidden.
bool lockedOrHiddenAbove(AIArtHandle art);

}  // namespace sq
