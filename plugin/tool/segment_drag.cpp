// Dragging a path segment to reshape the curve between its two anchors, and the marquee step.
#include <cmath>
#include <cstdio>

#include "geometry/connector.hpp"
#include "geometry/tangents.hpp"
#include "resources/resource_ids.hpp"
#include "shell/host_suites.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_cursor_snap.h"
#include "sqsdk/suites/ai_real_bezier.h"
#include "sqsdk/suites/ai_real_math.h"
#include "tool/connector_drag.hpp"
#include "tool/drag.hpp"
#include "tool/gesture.hpp"
#include "tool/hover.hpp"
#include "tool/segment_handles.hpp"

namespace sq {

namespace {

// Where the grab lies on the segment: near the start below the first third, near the end from the
// second third on.
constexpr float kFirstThird = 0.33333334f;
constexpr float kSecondThird = 0.6666667f;

// How far a connector's handle may turn from its straight direction and still be kept.
constexpr float kConnectorTurnLimit = 1.0f;
// How far the handle moved along its own line may turn before it counts as flipped.
constexpr float kFlipTolerance = 0.01f;

// One end of the grabbed segment: the point, its connector record, the handle on the segment and
// the weight by which it follows the cursor.
struct SegmentEnd {
  PointRecord& point;
  ConnectorState& connector;
  bool inHandle;  // the segment handle is the point's in handle (the end point)
  float weight;

  AIRealPoint& handle() const { return inHandle ? point.segment.in : point.segment.out; }
  AIRealPoint anchor() const { return point.segment.p; }
  bool wasConnector() const { return connector.connectorActive != 0; }
};

float LengthF(AIRealPoint from, AIRealPoint to) {
  return static_cast<float>(
      std::hypot(static_cast<double>(to.h) - from.h, static_cast<double>(to.v) - from.v));
}

double AngleOf(AIRealPoint from, AIRealPoint to) {
  return std::atan2(static_cast<double>(to.v) - from.v, static_cast<double>(to.h) - from.h);
}

AIRealPoint Polar(AIRealPoint origin, double length, double angle) {
  return {static_cast<AIReal>(origin.h + length * std::cos(angle)),
          static_cast<AIReal>(origin.v + length * std::sin(angle))};
}

// Whether two directions agree within a tolerance, measured round the circle, by the host's
// tolerant comparison.
bool SameDirection(double a, double b, float tolerance) {
  AIBoolean equal = 0;
  const AIErr error = SuiteAs<AIRealMathSuite>(SuiteId::RealMath)
                          ->AlmostEqual(AngleApart(a, b), 0.0f, tolerance, &equal);
  return error == kNoErr && equal != 0;
}

// After a segment handle changed: with drag_break the point becomes a corner, so that its other
// segment keeps its shape; otherwise a smooth point turns its other handle to stay collinear.
void CornerRule(PluginState& s, const SegmentEnd& end) {
  AIPathSegment& segment = end.point.segment;
  if (s.settings.drag_break != 0) {
    segment.corner = 1;
  } else if (segment.corner == 0) {
    segment = AlignOppositeHandle(segment, end.inHandle);
  }
}

// A retracted end handle is pulled out to the fraction `smoothing` of the way to the other end's
// handle, so that a straight segment gets handles to bend.
void PullOutRetractedHandles(PluginState& s, SegmentEnd& start, SegmentEnd& end) {
  const double smoothing = s.settings.smoothing;
  const AIRealPoint endIn = end.handle();
  auto toward = [smoothing](AIRealPoint from, AIRealPoint to) {
    return AIRealPoint{static_cast<AIReal>(from.h + smoothing * (to.h - from.h)),
                       static_cast<AIReal>(from.v + smoothing * (to.v - from.v))};
  };
  if (SamePoint(endIn, end.anchor())) {
    end.handle() = toward(end.anchor(), start.handle());
    // With its other handle retracted too, the pulled-out handle may continue a straight segment
    // on the far side: it becomes the connector handle to test.
    if (SamePoint(end.point.segment.out, end.anchor())) {
      end.connector.pointSegment = end.point.segment;
      end.connector.usesInHandle = 1;
    } else {
      end.connector.lineNeighbour = -1;
    }
  }
  if (SamePoint(start.handle(), start.anchor())) {
    start.handle() = toward(start.anchor(), endIn);
    if (SamePoint(start.point.segment.in, start.anchor())) {
      start.connector.pointSegment = start.point.segment;
      start.connector.usesInHandle = 0;
    } else {
      start.connector.lineNeighbour = -1;
    }
  }
}

// With smart guides, the segment may be dragged along the four directions through the grab.
AIErr SetGrabConstraints(const PluginState& s) {
  static constexpr int32_t kAngles[4] = {-45, 0, 45, 90};
  char labels[4][32];
  AICursorConstraint constraints[4];
  for (int i = 0; i < 4; ++i) {
    // The degree sign in the host's single-byte encoding.
    std::snprintf(labels[i], sizeof labels[i], "origin %ld\xB0", static_cast<long>(kAngles[i]));
    constraints[i] = {kAILinearConstraintRelative, 0, s.grabPoint, static_cast<AIReal>(kAngles[i]),
                      labels[i]};
  }
  return SuiteAs<AICursorSnapSuite>(SuiteId::CursorSnap)->SetCustomConstraints(constraints, 4);
}

// The Alt drag: the curve as it was at the press, reshaped to pass through the cursor at the grab.
AIErr ExactReshape(PluginState& s, SegmentEnd& start, SegmentEnd& end) {
  AIRealBezier adjusted{};
  const AIErr error = SuiteAs<AIRealBezierSuite>(SuiteId::RealBezier)
                          ->AdjustBezierThroughPoint(&s.grabbedSegmentBezier, s.segmentParameter,
                                                     &s.snappedCursor, &adjusted);
  start.handle() = adjusted.p1;
  end.handle() = adjusted.p2;
  for (SegmentEnd* e : {&start, &end}) {
    AIPathSegment& segment = e->point.segment;
    if (segment.corner == 0) segment = AlignOppositeHandle(segment, e->inHandle);
    if (e->wasConnector()) {
      ConnectorState& c = e->connector;
      c.pointSegment = segment;
      const bool held =
          SameDirection(AngleOf(e->anchor(), e->handle()), c.startLineAngle, kConnectorTurnLimit);
      c.isConnector = c.connectorPending = held ? 1 : 0;
    }
  }
  return error;
}

// A connector end's handle moves only along its straight direction β, by the part of the
// cursor's movement along that line, weighted; turned more than a radian away from β (dragged
// through its anchor) it is retracted instead of flipped.
void SlideConnectorHandle(const SegmentEnd& end, AIRealPoint delta, float weight) {
  ConnectorState& c = end.connector;
  const double beta = c.startLineAngle;
  const double along = (static_cast<double>(delta.h) * std::cos(beta) +
                        static_cast<double>(delta.v) * std::sin(beta)) *
                       weight;
  AIRealPoint& handle = end.handle();
  handle = {static_cast<AIReal>(handle.h + along * std::cos(beta)),
            static_cast<AIReal>(handle.v + along * std::sin(beta))};
  if (SamePoint(handle, end.anchor()) ||
      !SameDirection(AngleOf(end.anchor(), handle), beta, kConnectorTurnLimit)) {
    handle = end.anchor();
  }
  c.handleLength = LengthF(end.anchor(), handle);
  c.connectorPending = c.handleLength > 0.0f ? 1 : 0;
}

// The handle of `end` takes the length of `from`'s handle and the direction symmetric to it about
// the chord's perpendicular bisector: the same angle to the chord, on the same side.
void SymmetricHandle(PluginState& s, SegmentEnd& end, const SegmentEnd& from) {
  const float length = LengthF(from.anchor(), from.handle());
  if (!(length > 0.0f)) {
    end.handle() = end.anchor();
  } else {
    const double chordFrom = AngleOf(from.anchor(), end.anchor());
    const double chordEnd = AngleOf(end.anchor(), from.anchor());
    const double theta = chordEnd - (AngleOf(from.anchor(), from.handle()) - chordFrom);
    end.handle() = Polar(end.anchor(), length, theta);
  }
  CornerRule(s, end);
}

// Both ends were connectors: their handles stay on their straight directions and get equal
// lengths, copied from the far end near an end and averaged in the middle.
void EqualizeConnectorHandles(SegmentEnd& start, SegmentEnd& end, float t) {
  const float startLength = LengthF(start.anchor(), start.handle());
  const float endLength = LengthF(end.anchor(), end.handle());
  float newStart = startLength;
  float newEnd = endLength;
  if (t < kFirstThird) {
    newStart = endLength;
  } else if (t < kSecondThird) {
    newStart = newEnd = (startLength + endLength) / 2.0f;
  } else {
    newEnd = startLength;
  }
  for (auto [e, length] : {std::pair{&start, newStart}, std::pair{&end, newEnd}}) {
    ConnectorState& c = e->connector;
    c.handleLength = length;
    if (length > 0.0f) {
      e->handle() = Polar(e->anchor(), length, c.startLineAngle);
    } else {
      e->handle() = e->anchor();
      c.connectorPending = 0;
    }
  }
}

// Without Alt: the handles follow the cursor's movement, the one nearer the grab more.
void WeightedMove(PluginState& s, const DragStep& step, SegmentEnd& start, SegmentEnd& end,
                  AIRealPoint delta) {
  const bool shift = step.shift();
  const bool bothConnectors = start.wasConnector() && end.wasConnector();
  const float t = s.segmentParameter;
  // Connector ends first: a plain end may take its shape from them.
  for (SegmentEnd* e : {&end, &start}) {
    if (!e->wasConnector()) continue;
    const SegmentEnd& other = e == &end ? start : end;
    if (shift && bothConnectors && e == &start && t >= kFirstThird && t < kSecondThird) continue;
    float weight = e->weight;
    if (shift) weight = other.connector.isConnector != 0 ? other.weight : 1.0f;
    SlideConnectorHandle(*e, delta, weight);
  }
  for (SegmentEnd* e : {&end, &start}) {
    if (e->wasConnector()) continue;
    const SegmentEnd& other = e == &end ? start : end;
    if (shift) {
      // Shift reaches this branch only with a connector at the other end: this end mirrors it.
      SymmetricHandle(s, *e, other);
      continue;
    }
    ConnectorState& c = e->connector;
    const AIRealPoint moved{e->handle().h + delta.h * e->weight,
                            e->handle().v + delta.v * e->weight};
    if (c.lineNeighbour >= 0 && (c.usesInHandle != 0) == e->inHandle) {
      // Next to a straight segment: the handle is moved on the working copy and snaps onto the
      // straight segment's extension while it is near it.
      AIRealPoint& copy = e->inHandle ? c.pointSegment.in : c.pointSegment.out;
      copy = {copy.h + delta.h * e->weight, copy.v + delta.v * e->weight};
      const int record = e->inHandle ? kGrabbedRecord : kPreviousRecord;
      RetestConnector(s, record);
      if (c.isConnector != 0) {
        ApplyConnectorRule(s, record, false);
      } else {
        e->handle() = copy;
      }
    } else {
      e->handle() = moved;
      CornerRule(s, *e);
    }
  }
  if (shift && bothConnectors) EqualizeConnectorHandles(start, end, t);
}

// Shift without connectors: the handle at the nearer end follows the cursor (with Alt only along
// its own line), and the two handles are kept mirrored and equally long.
AIErr EqualizingDrag(PluginState& s, const DragStep& step, SegmentEnd& start, SegmentEnd& end,
                     AIRealPoint delta) {
  for (ConnectorState* c : {&s.grabbedConnector, &s.previousConnector}) {
    c->isConnector = 0;
    c->connectorPending = 0;
  }
  const bool nearStart = s.segmentParameter < 0.5f;
  SegmentEnd& near = nearStart ? start : end;
  SegmentEnd& far = nearStart ? end : start;
  AIRealPoint& handle = near.handle();
  if (step.alt()) {
    const double direction = AngleOf(near.anchor(), handle);
    const double along = static_cast<double>(delta.h) * std::cos(direction) +
                         static_cast<double>(delta.v) * std::sin(direction);
    float length = static_cast<float>(LengthF(near.anchor(), handle) + along);
    // Landing exactly on the anchor would lose the handle's direction for the rest of the drag.
    if (length == 0.0f) length = 0.0001f;
    handle = Polar(near.anchor(), length, direction);
    if (!SameDirection(AngleOf(near.anchor(), handle), direction, kFlipTolerance)) {
      // The handle went through its anchor: the other handle turns round with it.
      AIRealPoint& other = far.handle();
      other = {far.anchor().h - (other.h - far.anchor().h),
               far.anchor().v - (other.v - far.anchor().v)};
      CornerRule(s, far);
    }
  } else {
    handle = {handle.h + delta.h, handle.v + delta.v};
  }
  CornerRule(s, near);
  AIErr result = kNoErr;
  if (!step.alt()) result = MirrorSegmentHandles(s);
  const AIErr equalized = EqualizeSegmentLengths(s);
  return equalized != kNoErr ? equalized : result;
}

// The grabbed segment is the straight segment of a connector at either end: it stays as it is.
bool IsConnectorStraightSegment(const PluginState& s) {
  const ConnectorState& g = s.grabbedConnector;
  const ConnectorState& p = s.previousConnector;
  return (g.connectorActive != 0 && g.lineNeighbour >= 0 &&
          g.lineNeighbour == s.previousPoint.segmentIndex) ||
         (p.connectorActive != 0 && p.lineNeighbour >= 0 &&
          p.lineNeighbour == s.grabbedPoint.segmentIndex);
}

}  // namespace

AIErr SegmentDragStep(PluginState& s, const DragStep& step) {
  // A segment pressed while handles are kept starts a marquee over them.
  if (s.pointCount > 0) {
    MarqueeStep(s, step);
    return kNoErr;
  }
  // Without a start point there is no segment (the press found none).
  if (s.previousPoint.art == nullptr || s.previousPoint.segmentIndex < 0) return kNoErr;
  s.previousSnappedCursor = s.snappedCursor;
  if (IsConnectorStraightSegment(s)) return kNoErr;

  const float t = s.segmentParameter;
  SegmentEnd start{s.previousPoint, s.previousConnector, false, 1.0f - t};
  SegmentEnd end{s.grabbedPoint, s.grabbedConnector, true, t};
  AIErr result = kNoErr;
  if (s.firstDragStep != 0) {
    PullOutRetractedHandles(s, start, end);
    if (step.shift() && !step.alt()) result = MirrorSegmentHandles(s);
  }

  const auto* snap = SuiteAs<AICursorSnapSuite>(SuiteId::CursorSnap);
  // Constraints left from another drag would otherwise pull the segment onto their lines.
  result = step.smartGuides ? SetGrabConstraints(s) : snap->ClearCustomConstraints();
  AIRealPoint snapped = s.slowCursor;
  snap->Track(step.view, &s.slowCursor, step.message != nullptr ? step.message->event : nullptr,
              kAISnapControlDrag, &snapped);
  s.snappedCursor = snapped;
  const AIRealPoint delta{s.snappedCursor.h - s.previousSnappedCursor.h,
                          s.snappedCursor.v - s.previousSnappedCursor.v};

  const bool connectorEnd = start.wasConnector() || end.wasConnector();
  if (step.shift() && !connectorEnd) {
    result = EqualizingDrag(s, step, start, end, delta);
  } else if (step.alt()) {
    result = ExactReshape(s, start, end);
  } else {
    WeightedMove(s, step, start, end, delta);
  }
  return result;
}

void MarqueeStep(PluginState& s, const DragStep& step) {
  s.marqueeShown = 1;
  s.dragMode = kDragMarquee;
  s.previousMarqueeCorner = s.marqueeCorner;
  s.marqueeCorner = step.cursor;
  if (step.message != nullptr) setCursor(step.message->d.self, kCursorMarquee);
}

}  // namespace sq
