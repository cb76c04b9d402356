// Inserting an anchor into the grabbed segment without changing the curve.
#pragma once

#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

// Divides the segment from previousPoint to grabbedPoint at segmentParameter and inserts the new
// smooth point between them; nextPoint takes the old grabbedPoint and grabbedPoint the new point.
// When the host refuses the insertion (the path is full) the user is told and the path keeps its
// points. Returns the last host status.
AIErr AddPointToSegment(PluginState& s);

}  // namespace sq
