// Selecting what lies inside a rectangle: the kept handles of the selected paths, or else anchors
// and segments the way the host's direct selection does.
#pragma once

#include <cstdint>

#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

// True when the curve passes through rect at the view's zoom (half a screen pixel is the finest
// detail looked at; a zoom of 0 counts as 0.001). A rectangle of zero width or height is widened
// by that half pixel.
bool segmentTouchesRect(const AIRealBezier& curve, const AIRealRect& rect, double zoom);

// New selection states of a segment's end point and start point when a click or a Shift-marquee
// toggles the segment, indexed by the old state 0 to 5.
extern const int32_t toggleEnd[6];
extern const int32_t toggleStart[6];

// The end of a marquee: the handles inside the rectangle from pressPoint to marqueeCorner become
// (with Shift: toggle) point-table entries; when none is caught, selectInRectangle runs.
AIErr selectHandlesInMarquee(PluginState& s);

// Selects the anchors and segments inside selectionRect, in selectionArt alone or in every
// unlocked object, extending and toggling with extendSelection.
AIErr selectInRectangle(PluginState& s, double zoom);

}  // namespace sq
