// Selecting what lies inside a rectangle: the kept handles of the selected paths, or else anchors
// and segments the way the host's direct selection does.
#pragma once

#include <array>
#include <cstdint>

#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

// New segment selection states of a clicked (or Shift-marqueed) segment's two points, indexed by
// the old state 0 to 5: its end point (whose in side the segment is) and its start point (whose out
// side it is). A click shows the segment's side if it was hidden and hides it if it was shown.
extern const std::array<int16_t, 6> toggleEnd;
extern const std::array<int16_t, 6> toggleStart;

// True when the curve passes through rect at the view's zoom (half a screen pixel is the finest
// detail looked at; a zoom of 0 counts as 0.001). A rectangle of zero width or height is widened
// by that half pixel.
bool segmentTouchesRect(const AIRealBezier& curve, const AIRealRect& rect, double zoom);

// The end of a marquee: the handles inside the rectangle from pressPoint to marqueeCorner become
// (with Shift: toggle) point-table entries; when none is caught, selectInRectangle runs.
AIErr selectHandlesInMarquee(PluginState& s);

// Selects the anchors and segments inside selectionRect, in selectionArt alone or in every
// unlocked object, extending and toggling with extendSelection.
AIErr selectInRectangle(PluginState& s, double zoom);

}  // namespace sq
