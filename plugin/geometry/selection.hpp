// Gathering the host selection into the working set, finding points near a position, and keeping
// the point table in line with the document.
#pragma once

#include <optional>

#include "geometry/point_table.hpp"
#include "shell/plugin_state.hpp"

namespace sq {

// Fills workingArtSet with the selected paths (plug-in result paths and text-frame paths included,
// locked or hidden children skipped, groups and compound paths walked) and sets workingArtCount
// and workingPathCount. The caller disposes the set.
AIErr gatherSelectedPaths(PluginState& s);

struct NearestPoint {
  int32_t artType = 2;  // always a path
  int hitPart = kHitAnchor;
  AIArtHandle art = nullptr;
  int segmentIndex = 0;
  AIRealPoint point{};
};

// The anchor or visible handle nearest to position within pickRadius pixels in view: anchors of
// selected paths first, then their visible handles, then anchors of every visible unlocked path.
std::optional<NearestPoint> findNearestPoint(PluginState& s, AIDocumentViewHandle view,
                                             int pickRadius, const AIRealPoint& position);

// Appends an entry for a point (nothing when the table is full), reading its layer colour and
// selection state from the host; with asBothSides the state becomes 4, in the host too.
std::optional<int> addEntry(PluginState& s, AIArtHandle art, int segmentIndex,
                            const AIPathSegment& segment, bool inHandle, bool outHandle,
                            bool asBothSides = false);

// Gives entry i's segment its selection state in the host; a point-selected entry on a path with
// two or more point-selected anchors is re-applied as state 4.
AIErr reapplySelection(PluginState& s, int index);

// Reads the colour of the layer that holds the record's art into its layerColor.
AIErr readLayerColor(PointRecord& record);

// Brings the point table in line with the document after a selection change: stale entries go
// (with their counts), live ones are read again and their selection re-applied.
AIErr refreshTable(PluginState& s);

}  // namespace sq
