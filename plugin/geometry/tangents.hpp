// Tangent directions of curves and paths, axis tangencies and angle normalisation.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "geometry/curve.hpp"
#include "sqsdk/types.h"

namespace sq {

// π and 2π as the 32-bit floats the angle rules of the plug-in use.
inline constexpr float kPiF = 3.1415927f;
inline constexpr float kTwoPiF = 6.2831855f;

// Axis tangency markers: no such root, and a coordinate that never changes along the curve.
inline constexpr double kNoTangency = 2.0;
inline constexpr double kConstantCoordinate = 99.0;

// The angle OutgoingAngle and IncomingAngle give for a path of fewer than two segments.
inline constexpr float kNoPathAngle = 999.0f;

// The direction of travel at t, as an angle in [0, 2π). At the ends a retracted handle is skipped
// (p2 − p0 at t = 0 when p1 = p0; p3 − p1 at t = 1 when p2 = p3). Where the derivative vanishes
// inside the curve (a cusp) the direction is the change of the derivative across t ± 0.0001,
// the way the curve leaves the cusp; a zero direction next to the ends gives 0.
double TangentAngleAt(const Curve& c, double t);

// The parameters where the curve runs horizontally (dv/dt = 0: slots 0 and 1) and vertically
// (dh/dt = 0: slots 2 and 3). kNoTangency fills a slot without a root, kConstantCoordinate both
// slots of a coordinate that never changes. Values within 0.00005 of 0 or 1 are snapped to
// exactly 0 or 1. Callers use only values strictly between 0 and 1.
std::array<double, 4> AxisTangencies(const Curve& c);

// Brings a 32-bit angle into [0, 2π] by whole turns of the 32-bit 2π.
float NormalizeAngle(float angle);

// The path's direction leaving the anchor at `index` (toward the out handle, or the next point's
// in handle when the out handle is retracted); at the last point of an open path the direction
// arriving there instead. Computed in 32-bit floats, in [0, 2π). kNoPathAngle when the path has
// fewer than 2 segments or `index` is not one of its points.
float OutgoingAngle(std::span<const AIPathSegment> path, bool closed, int index);

// The path's direction arriving at the anchor at `index` (from the in handle, or the previous
// point's out handle when the in handle is retracted); at the first point of an open path the
// direction leaving it instead. Same units and failure value as OutgoingAngle.
float IncomingAngle(std::span<const AIPathSegment> path, bool closed, int index);

// atan2 of a direction given in 32-bit floats, with 2π added once when negative.
float DirectionAngleF(AIRealPoint from, AIRealPoint to);

// Exact comparison of two host points.
constexpr bool SamePoint(AIRealPoint a, AIRealPoint b) {
  return a.h == b.h && a.v == b.v;
}

}  // namespace sq
