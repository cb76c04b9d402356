// Redundant points: anchors on top of the anchor before them, joined to it by a segment without
// handles, which add nothing to the shape.
#pragma once

#include <cstdint>
#include <span>

#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

// Anchors closer than this (in points, as a 32-bit float) count as on top of each other.
inline constexpr float kRedundantTolerance = 0.006f;

// True when point sits on before's anchor (within kRedundantTolerance), its in handle is on its
// anchor and before's out handle is on before's anchor (both exactly).
bool IsRedundantPoint(const AIPathSegment& point, const AIPathSegment& before);

// The number of redundant points of one path, counted the way their removal walks it: from the
// last point down to point 1 (an open path) or 0 (a closed path, whose point 0 follows the last
// one still kept); each one found on a closed path shortens the walk. Paths of 2 or fewer points
// have none.
int32_t CountRedundantPoints(std::span<const AIPathSegment> path, bool closed);

// The number of redundant points of the paths in the working art set, which the caller gathered.
int32_t CountRedundantPoints(PluginState& s);

}  // namespace sq
