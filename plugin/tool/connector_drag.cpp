// Keeping connector handles on the extension of their straight segments while the tool drags.
#include "tool/connector_drag.hpp"

#include <cmath>

#include "geometry/tangents.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"
#include "tool/gesture.hpp"

namespace sq {

namespace {

// The connector handle of a segment: the in handle when the record says so, else the out handle.
AIRealPoint& ConnectorHandle(AIPathSegment& segment, const ConnectorState& c) {
  return c.usesInHandle != 0 ? segment.in : segment.out;
}
AIRealPoint& OtherHandle(AIPathSegment& segment, const ConnectorState& c) {
  return c.usesInHandle != 0 ? segment.out : segment.in;
}

float DistanceF(AIRealPoint a, AIRealPoint b) {
  return static_cast<float>(
      std::hypot(static_cast<double>(b.h) - a.h, static_cast<double>(b.v) - a.v));
}

AIRealPoint Polar(AIRealPoint origin, double length, double angle) {
  return {static_cast<AIReal>(origin.h + length * std::cos(angle)),
          static_cast<AIReal>(origin.v + length * std::sin(angle))};
}

}  // namespace

float AngleApart(double a, double b) {
  const double twoPi = static_cast<double>(kTwoPiF);
  double d = std::fmod(std::abs(a - b), twoPi);
  if (d > twoPi - d) d = twoPi - d;
  return std::isfinite(d) ? static_cast<float>(d) : static_cast<float>(kPiF);
}

void ApplyConnectorRule(PluginState& s, int record, bool save) {
  ConnectorState& c = EditedConnector(s, record);
  PointRecord& point = EditedPoint(s, record);
  const float beta = DirectionAngleF(c.lineNeighbourSegment.p, point.segment.p);
  AIRealPoint& handle = ConnectorHandle(point.segment, c);
  handle = Polar(point.segment.p, c.handleLength, beta);
  // Only the grabbed point's handle is the one being dragged; a neighbour that follows must not
  // take over the reference of the drag.
  if (record == kGrabbedRecord) s.handleTarget = handle;
  c.lineAngle = c.handleAngle = beta;
  c.angleError = 0.0f;
  if (save) c.pointSegment = point.segment;
}

void RetestConnector(PluginState& s, int record) {
  ConnectorState& c = EditedConnector(s, record);
  const AIRealPoint anchor = c.pointSegment.p;
  const AIRealPoint handle = ConnectorHandle(c.pointSegment, c);
  c.handleLength = DistanceF(anchor, handle);
  c.handleAngle = static_cast<float>(std::atan2(static_cast<double>(handle.v) - anchor.v,
                                                static_cast<double>(handle.h) - anchor.h));
  bool qualifies = false;
  // A straight segment whose ends coincide has no direction to hold the handle to.
  if (c.handleLength > 0.0f && c.lineNeighbour >= 0 &&
      !SamePoint(c.lineNeighbourSegment.p, anchor)) {
    c.lineAngle = DirectionAngleF(c.lineNeighbourSegment.p, anchor);
    if (c.handleAngle < 0.0f) c.handleAngle += kTwoPiF;
    c.angleError = std::abs(c.lineAngle - c.handleAngle);
    const double threshold = s.angleThresholdRadians;
    const double error = c.angleError;
    qualifies = error < threshold || error > static_cast<double>(kTwoPiF) - threshold;
  }
  c.isConnector = c.connectorPending = qualifies ? 1 : 0;
}

void PlaceConnectorAnchor(PluginState& s, int record, Point offset) {
  ConnectorState& c = EditedConnector(s, record);
  PointRecord& point = EditedPoint(s, record);
  const AIRealPoint far = c.lineNeighbourSegment.p;
  const double x = DistanceF(far, c.pointSegment.p);
  AIPathSegment placed = c.pointSegment;
  placed.p = Polar(far, x, c.startHandleAngle);
  ConnectorHandle(placed, c) = {static_cast<AIReal>(placed.p.h + offset.h),
                                static_cast<AIReal>(placed.p.v + offset.v)};
  OtherHandle(placed, c) = placed.p;
  c.pointSegment = placed;
  point.segment = placed;
  c.angleError = 0.0f;
}

void MagneticHandle(PluginState& s, AIRealPoint d, bool inHandle, bool keepAngles) {
  ConnectorState& c = s.grabbedConnector;
  (inHandle ? c.pointSegment.in : c.pointSegment.out) = d;
  RetestConnector(s, kGrabbedRecord);
  if (c.isConnector != 0) {
    ApplyConnectorRule(s, kGrabbedRecord, false);
    return;
  }
  (inHandle ? s.grabbedPoint.segment.in : s.grabbedPoint.segment.out) = d;
  if (!keepAngles)
    c.handleAngle = c.startHandleAngle = DirectionAngleF(s.grabbedPoint.segment.p, d);
}

void MagneticHandle(PluginState& s, bool keepAngles) {
  // The dragged handle: the in handle of an in-handle drag, else (out-handle drag, anchor case 7)
  // the out handle; the caller has stored D there in the working copy.
  const bool inHandle = s.dragMode == kDragInHandle;
  const ConnectorState& c = s.grabbedConnector;
  MagneticHandle(s, inHandle ? c.pointSegment.in : c.pointSegment.out, inHandle, keepAngles);
}

void ConnectorHandleCheck(PluginState& s) {
  ConnectorState& c = s.grabbedConnector;
  AIPathSegment& segment = s.grabbedPoint.segment;
  AIRealPoint& handle = ConnectorHandle(segment, c);
  double alpha = std::atan2(static_cast<double>(handle.v) - segment.p.v,
                            static_cast<double>(handle.h) - segment.p.h);
  if (alpha < 0.0) alpha += 2.0 * static_cast<double>(kPiF);
  // Measured round the circle, so that a handle just below the positive h axis is not taken for
  // one turned almost a whole turn away from a line just above it.
  if (AngleApart(alpha, c.startLineAngle) > 1.0f) {
    handle = segment.p;
    c.handleLength = 0.0f;
    c.connectorPending = 0;
  } else {
    c.handleLength = DistanceF(segment.p, handle);
    c.connectorPending = 1;
  }
}

AIErr ConnectorAnchorMove(PluginState& s) {
  ConnectorState& c = s.grabbedConnector;
  PointRecord& point = s.grabbedPoint;
  if (!SamePoint(point.segment.p, c.lineNeighbourSegment.p)) {
    if (c.handleLength > 0.0f) c.connectorPending = 1;
    ApplyConnectorRule(s, kGrabbedRecord, true);
    c.startLineAngle = c.lineAngle;
    // A retracted connector handle gives no direction: the constrained drag then runs along the
    // straight segment itself.
    if (!(c.handleLength > 0.0f)) s.handleTarget = c.lineNeighbourSegment.p;
    StoreHandleDirection(s);
    OtherHandle(point.segment, c) = point.segment.p;
    c.pointSegment = point.segment;
  } else {
    // On the straight neighbour's anchor the straight segment has no direction: the handles keep
    // their offsets from the press.
    c.connectorPending = 0;
    const AIPathSegment& saved = point.savedSegment;
    point.segment.in = {point.segment.p.h + (saved.in.h - saved.p.h),
                        point.segment.p.v + (saved.in.v - saved.p.v)};
    point.segment.out = {point.segment.p.h + (saved.out.h - saved.p.h),
                         point.segment.p.v + (saved.out.v - saved.p.v)};
  }
  return FollowNeighbourConnectors(s);
}

AIErr FollowNeighbourConnectors(PluginState& s) {
  AIErr result = kNoErr;
  for (const int record : {kPreviousRecord, kNextRecord}) {
    ConnectorState& c = EditedConnector(s, record);
    PointRecord& point = EditedPoint(s, record);
    if (c.lineNeighbour < 0 || point.segmentIndex < 0 || point.art == nullptr ||
        c.lineNeighbour != s.grabbedPoint.segmentIndex) {
      continue;
    }
    c.lineNeighbourSegment = s.grabbedPoint.segment;
    if (c.connectorActive != 0) {
      if (SamePoint(s.grabbedPoint.segment.p, point.segment.p)) {
        // The straight segment has shrunk to nothing: keep the handle's direction from the press.
        s.coincidingNeighbour = record;
        c.connectorPending = 0;
        ConnectorHandle(point.segment, c) =
            Polar(point.segment.p, c.handleLength, c.startLineAngle);
      } else {
        if (s.coincidingNeighbour == record) {
          s.coincidingNeighbour = 0;
          result = invalidateAllViews(s);
        }
        c.connectorPending = 1;
        ApplyConnectorRule(s, record, true);
        result = WritePoint(point);
      }
    } else {
      RetestConnector(s, record);
      if (c.isConnector != 0) {
        ApplyConnectorRule(s, record, false);
        result = WritePoint(point);
      } else {
        point.segment = point.savedSegment;
        result = invalidateAllViews(s);
      }
    }
  }
  return result;
}

}  // namespace sq
