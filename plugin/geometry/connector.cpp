// The smooth-point rule for opposite handles and the connector test for one anchor point.
#include "geometry/connector.hpp"

#include <cmath>

#include "geometry/tangents.hpp"

namespace sq {

AIPathSegment AlignOppositeHandle(const AIPathSegment& segment, bool inHandleSelected) {
  AIPathSegment result = segment;
  const AIRealPoint source = inHandleSelected ? segment.in : segment.out;
  AIRealPoint& target = inHandleSelected ? result.out : result.in;
  const double length = std::hypot(static_cast<double>(target.h) - segment.p.h,
                                   static_cast<double>(target.v) - segment.p.v);
  if (!(length > 0.0) || SamePoint(source, segment.p)) return result;
  const double theta = std::atan2(static_cast<double>(source.v) - segment.p.v,
                                  static_cast<double>(source.h) - segment.p.h);
  const double opposite = theta + static_cast<double>(kPiF);
  target = {static_cast<AIReal>(segment.p.h + length * std::cos(opposite)),
            static_cast<AIReal>(segment.p.v + length * std::sin(opposite))};
  return result;
}

ConnectorState TestConnector(const AIPathSegment& point, int index,
                             std::span<const AIPathSegment> path, bool closed,
                             const ConnectorQuery& query) {
  ConnectorState state;
  if (!query.recognizeConnectors) return state;

  // Which handles the point has; with both or none only some presses look further.
  state.usesInHandle = SamePoint(point.in, point.p) ? 0 : 1;
  const bool hasOut = !SamePoint(point.out, point.p);
  if ((state.usesInHandle != 0) == hasOut) {
    const bool segmentDrag = query.dragMode == kConnectorDragSegment;
    const bool bareCornerDrag =
        query.dragMode == kConnectorDragAnchor && query.anchorCase == kAnchorCaseCornerRetracted;
    if (!segmentDrag && !bareCornerDrag) return state;
    if (segmentDrag && hasOut) return state;
  }

  // Both neighbours must exist.
  const int n = static_cast<int>(path.size());
  if (n <= 2 || index < 0 || index >= n) return state;
  if (!closed && (index == 0 || index == n - 1)) return state;
  const int previous = index > 0 ? index - 1 : n - 1;
  const int next = index + 1 < n ? index + 1 : 0;

  // The straight segment: toward the next point for an in handle (or, looking forward, when
  // there is no out handle), else from the previous point.
  const bool ahead = state.usesInHandle != 0 || (query.lookForward && !hasOut);
  const int neighbour = ahead ? next : previous;
  const AIPathSegment& far = path[static_cast<size_t>(neighbour)];
  const AIRealPoint facing = ahead ? far.in : far.out;
  if (!SamePoint(facing, far.p) || SamePoint(far.p, point.p)) return state;
  state.lineNeighbour = static_cast<int16_t>(neighbour);
  state.lineNeighbourSegment = far;
  state.pointSegment = point;

  const AIRealPoint kept = state.usesInHandle != 0 ? point.in : point.out;
  state.handleLength = static_cast<float>(
      std::hypot(static_cast<double>(kept.h) - point.p.h, static_cast<double>(kept.v) - point.p.v));
  if (!(state.handleLength > 0.0f)) return state;

  state.lineAngle = DirectionAngleF(far.p, point.p);
  state.handleAngle = DirectionAngleF(point.p, kept);
  state.startLineAngle = state.lineAngle;
  state.startHandleAngle = state.handleAngle;
  state.angleError = std::abs(state.lineAngle - state.handleAngle);

  const double error = state.angleError;
  const double threshold = query.angleThresholdRadians;
  if (error < threshold || error > static_cast<double>(kTwoPiF) - threshold) {
    state.isConnector = state.connectorActive = state.connectorPending = 1;
  }
  return state;
}

}  // namespace sq
