// The two handle modes of a drag step: one handle of one point, or one handle of the kept points
// with every other kept handle following.
#pragma once

#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"
#include "tool/drag.hpp"

namespace sq {

// The point table is empty: the grabbed handle goes to d (or the whole point moves with Space);
// a smooth point's other handle stays collinear and connectors keep to their straight segments.
AIErr SingleHandleDrag(PluginState& s, const DragStep& step, AIRealPoint d);

// Points are kept: the grabbed handle goes to d and every other kept handle is scaled, lengthened
// and turned like it (or moved by the same offset with Space). Writes the other entries.
AIErr GroupHandleDrag(PluginState& s, const DragStep& step, AIRealPoint d);

// Own 45° steps: p held to the nearest horizontal, vertical or diagonal direction from origin,
// measured from the constrain angle (degrees). A point on an axis or on a diagonal stays.
AIRealPoint ConstrainTo45(AIRealPoint origin, AIRealPoint p, double constrainAngleDegrees);

}  // namespace sq
