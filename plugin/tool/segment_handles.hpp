// Making the two inner handles of the grabbed segment alike: equal lengths, or mirrored
// directions about the chord. The segment runs from previousPoint (its out handle) to
// grabbedPoint (its in handle); segmentParameter says where it was grabbed.
#pragma once

#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

// Gives the handle near the grab the far handle's length (or both the mean, in the middle and in
// every drag step after the first) and writes the changed points. Returns the last host status.
AIErr EqualizeSegmentLengths(PluginState& s);

// Turns the handles to symmetric directions with respect to the chord (copying from the far handle
// near an end, folding and averaging in the middle), applies drag_break or the smooth rule to the
// changed points and writes them. Returns the last host status.
AIErr MirrorSegmentHandles(PluginState& s);

}  // namespace sq
