// Operations on selected anchor points: the handle mirrors, balancing and smoothing that the
// panel's buttons and the tool's clicks share.
#pragma once

#include <cstdint>

#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

// out := the in handle's mirror image through the anchor (same length, opposite direction).
void MirrorInToOut(AIPathSegment& segment);
// in := the out handle's mirror image through the anchor.
void MirrorOutToIn(AIPathSegment& segment);
// Turns both handles (when both have a length) to ±90° from their mean direction.
void BalanceHandles(AIPathSegment& segment);

// Which handles a point has: bit 0 the in handle, bit 1 the out handle (a handle counts when it
// differs from the anchor). 0 none, 1 in only, 2 out only, 3 both.
int32_t HandleKind(const AIPathSegment& segment);
// Completes a point's handles by its kind: in only is mirrored out, out only is mirrored in, and
// two handles are balanced. A point without handles is left alone.
void FixHandles(AIPathSegment& segment);
// Moves handle toward target by smoothing × distance (smoothing is the user's ratio).
void PullToward(AIRealPoint& handle, AIRealPoint target, double distance, double smoothing);

// Gives points of path smooth handles ("extend new handles"): every selected point (indexMode
// false) or only the point at `index` (indexMode true); a point without handles gets them from its
// neighbours at the smoothing ratio. With setSmooth every treated point's corner flag is cleared.
// Returns the last host status.
AIErr SmoothPoints(PluginState& s, AIArtHandle path, bool indexMode, int32_t index, bool setSmooth);

}  // namespace sq
