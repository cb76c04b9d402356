// Making the two inner handles of the grabbed segment alike.
#include "tool/segment_handles.hpp"

#include <cmath>

#include "geometry/connector.hpp"
#include "geometry/tangents.hpp"
#include "sqsdk/errors.h"
#include "tool/gesture.hpp"

namespace sq {

namespace {

constexpr float kHalfPiF = kPiF / 2.0f;
// The grab counts as near an end in the outer thirds of the segment.
constexpr float kNearStart = 0.33333334f;
constexpr float kNearEnd = 0.6666667f;

// Where along the segment the grab is, for the copying rules.
enum class GrabZone { Start, Middle, End };

// Near an end only before the drag has really started or in its first step; every later drag
// step averages, whatever the parameter.
GrabZone zoneOf(const PluginState& s) {
  const bool atPress = !s.dragStarted || s.firstDragStep;
  if (atPress && s.segmentParameter < kNearStart) return GrabZone::Start;
  if (atPress && s.segmentParameter >= kNearEnd) return GrabZone::End;
  return GrabZone::Middle;
}

// The direction from p to q; two equal points give 0.
float angleOf(AIRealPoint p, AIRealPoint q) {
  return std::atan2(q.v - p.v, q.h - p.h);
}

float lengthOf(AIRealPoint p, AIRealPoint q) {
  return std::hypot(q.h - p.h, q.v - p.v);
}

AIRealPoint polar(AIRealPoint origin, float length, float angle) {
  return {origin.h + length * std::cos(angle), origin.v + length * std::sin(angle)};
}

// Gives the handle from anchor the length `length` along its own direction; a length of 0
// retracts it exactly onto the anchor.
AIRealPoint withLength(AIRealPoint anchor, AIRealPoint handle, float length) {
  if (!(length > 0.0f)) return anchor;
  return polar(anchor, length, angleOf(anchor, handle));
}

// After one handle of a point was turned: with drag_break the point becomes a corner, otherwise
// a smooth point's other handle follows to stay collinear.
void applyCornerRule(const PluginState& s, AIPathSegment& segment, bool inHandleChanged) {
  if (s.settings.drag_break) {
    segment.corner = 1;
  } else if (!segment.corner) {
    segment = AlignOppositeHandle(segment, inHandleChanged);
  }
}

// Folds `from` (an angle in the chord's frame, in [−π, π]) onto the side of `into`: the handle
// further from perpendicular to the chord gives its turn to the other one.
void fold(float& from, float& into) {
  if (from >= 0.0f && from <= kHalfPiF) {
    into = into + from;
    from = 0.0f;
  } else if (from > kHalfPiF && from <= kPiF) {
    into = into - (kPiF - from);
    from = into >= 0.0f ? kPiF : -kPiF;
  } else if (from < -kHalfPiF) {
    into = from + kPiF + into;
    from = into >= 0.0f ? kPiF : -kPiF;
  } else {
    into = into + from;
    from = 0.0f;
  }
}

}  // namespace

AIErr EqualizeSegmentLengths(PluginState& s) {
  AIPathSegment& start = s.previousPoint.segment;
  AIPathSegment& end = s.grabbedPoint.segment;
  const float startLength = lengthOf(start.p, start.out);
  const float endLength = lengthOf(end.p, end.in);

  switch (zoneOf(s)) {
    case GrabZone::Start:
      start.out = withLength(start.p, start.out, endLength);
      return WritePoint(s.previousPoint);
    case GrabZone::End:
      end.in = withLength(end.p, end.in, startLength);
      return WritePoint(s.grabbedPoint);
    case GrabZone::Middle:
      break;
  }
  const float mean = (startLength + endLength) / 2.0f;
  start.out = withLength(start.p, start.out, mean);
  end.in = withLength(end.p, end.in, mean);
  WritePoint(s.previousPoint);
  return WritePoint(s.grabbedPoint);
}

AIErr MirrorSegmentHandles(PluginState& s) {
  AIPathSegment& start = s.previousPoint.segment;
  AIPathSegment& end = s.grabbedPoint.segment;
  const float startLength = lengthOf(start.p, start.out);
  const float endLength = lengthOf(end.p, end.in);
  const float alpha = NormalizeAngle(angleOf(end.p, end.in));
  const float gamma = NormalizeAngle(angleOf(start.p, start.out));
  const float chord = NormalizeAngle(angleOf(end.p, start.p));  // seen from the end
  const float chordBack = NormalizeAngle(chord + kPiF);         // seen from the start

  switch (zoneOf(s)) {
    case GrabZone::Start:
      start.out = polar(start.p, startLength, chordBack + (chord - alpha));
      applyCornerRule(s, start, false);
      return WritePoint(s.previousPoint);
    case GrabZone::End:
      end.in = polar(end.p, endLength, chord + (chordBack - gamma));
      applyCornerRule(s, end, true);
      return WritePoint(s.grabbedPoint);
    case GrabZone::Middle:
      break;
  }

  // Both angles in a frame where the chord runs horizontally from the start: q is the end handle's
  // angle reflected onto the start's side, r the start handle's, both in [−π, π].
  const float l = kPiF - chord;
  float q = kPiF - NormalizeAngle(alpha + l);
  float r = NormalizeAngle(gamma + l);
  if (r > kPiF) r -= kTwoPiF;
  const bool sameSide = (q > 0.0f && r > 0.0f) || (q < 0.0f && r < 0.0f);
  if (!sameSide) {
    const float dq = std::fabs(kHalfPiF - std::fabs(q));
    const float dr = std::fabs(kHalfPiF - std::fabs(r));
    if (dr <= dq) {
      fold(q, r);
    } else {
      fold(r, q);
    }
  }
  const float m = (q + r) / 2.0f;
  end.in = polar(end.p, endLength, kPiF - m - l);
  start.out = polar(start.p, startLength, m - l);
  applyCornerRule(s, start, false);
  applyCornerRule(s, end, true);
  WritePoint(s.previousPoint);
  return WritePoint(s.grabbedPoint);
}

}  // namespace sq
