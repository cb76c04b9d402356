// Dragging an anchor: pulling out its handles, or with the pointdrag setting moving the point.
#include <cmath>

#include "geometry/connector.hpp"
#include "geometry/tangents.hpp"
#include "sqsdk/errors.h"
#include "tool/connector_drag.hpp"
#include "tool/drag.hpp"
#include "tool/gesture.hpp"

namespace sq {

namespace {

// The anchor cases: which handles the grabbed anchor had at the press.
enum AnchorCase : int32_t {
  kSmoothBoth = 0,
  kSmoothOutRetracted = 1,
  kSmoothInRetracted = 2,
  kSmoothNone = 3,
  kCornerBoth = 4,
  kCornerOutRetracted = 5,
  kCornerInRetracted = 6,
  kCornerNone = 7,
};

AIRealPoint Offset(AIRealPoint origin, AIRealPoint from, AIRealPoint to) {
  return {origin.h + (to.h - from.h), origin.v + (to.v - from.v)};
}

// The handle opposite the selected one becomes its mirror image through the anchor: the same
// length, the opposite direction. A selected handle on the anchor gives no direction, and the
// opposite handle is then left alone.
void MirrorOppositeHandle(AIPathSegment& segment, bool inSelected) {
  const AIRealPoint source = inSelected ? segment.in : segment.out;
  AIRealPoint& target = inSelected ? segment.out : segment.in;
  const float dh = source.h - segment.p.h;
  const float dv = source.v - segment.p.v;
  const float length = std::sqrt(dh * dh + dv * dv);
  if (!(length > 0.0f)) return;
  const float theta = std::atan2(dv, dh) + kPiF;
  target = {segment.p.h + length * std::cos(theta), segment.p.v + length * std::sin(theta)};
}

// The pointdrag move: the anchor goes to D and the handles come with it.
AIErr MoveAnchor(PluginState& s, AIRealPoint d) {
  PointRecord& point = s.grabbedPoint;
  ConnectorState& c = s.grabbedConnector;
  const AIPathSegment& saved = point.savedSegment;
  s.anchorMoved = 1;
  if (c.connectorActive != 0) {
    // Its connector handle is laid onto the straight segment's new extension.
    point.segment.p = d;
    return ConnectorAnchorMove(s);
  }
  if (c.lineNeighbour >= 0) {
    // Next to a straight segment: tried on the working copy, whose connector handle keeps its
    // offset; when that handle now continues the straight segment, the anchor is put onto its
    // extension.
    const AIRealPoint savedHandle = c.usesInHandle != 0 ? saved.in : saved.out;
    const Point offset{static_cast<double>(savedHandle.h) - saved.p.h,
                       static_cast<double>(savedHandle.v) - saved.p.v};
    AIPathSegment& copy = c.pointSegment;
    copy.p = d;
    (c.usesInHandle != 0 ? copy.in : copy.out) = Offset(d, saved.p, savedHandle);
    (c.usesInHandle != 0 ? copy.out : copy.in) = d;
    RetestConnector(s, kGrabbedRecord);
    if (c.isConnector != 0) {
      PlaceConnectorAnchor(s, kGrabbedRecord, offset);
    } else {
      point.segment = copy;
    }
  } else {
    point.segment.p = d;
    point.segment.in = Offset(d, saved.p, saved.in);
    point.segment.out = Offset(d, saved.p, saved.out);
  }
  return FollowNeighbourConnectors(s);
}

// Pulling out handles, by which handles the anchor had at the press.
void ExtendHandles(PluginState& s, AIRealPoint d) {
  AIPathSegment& segment = s.grabbedPoint.segment;
  const bool inSelected = s.grabbedPoint.handleFlags.test(kInHandleFlag);
  switch (s.anchorCase) {
    case kSmoothBoth:
    case kSmoothNone:
    case kCornerBoth:
      segment.out = d;
      MirrorOppositeHandle(segment, inSelected);
      break;
    case kSmoothOutRetracted:
      segment.out = d;
      segment = AlignOppositeHandle(segment, false);
      break;
    case kSmoothInRetracted:
      segment.in = d;
      segment = AlignOppositeHandle(segment, true);
      break;
    case kCornerOutRetracted:
      segment.out = d;
      break;
    case kCornerInRetracted:
      segment.in = d;
      break;
    case kCornerNone:
      if (s.grabbedConnector.lineNeighbour >= 0) {
        MagneticHandle(s, d, false, true);
      } else {
        segment.out = d;
      }
      break;
    default:
      break;
  }
}

}  // namespace

AIErr AnchorDragStep(PluginState& s, const DragStep& step, AIRealPoint d) {
  // Every step starts again from the point as it was at the press (or after a Space move), and
  // from its neighbours as they were; a neighbour that follows the point is laid out again.
  for (const int record : {kGrabbedRecord, kPreviousRecord, kNextRecord}) {
    PointRecord& point = EditedPoint(s, record);
    point.segment = point.savedSegment;
  }
  if (s.settings.pointdrag != 0 && s.constraining == 0 && s.extendOnAltDrag == 0) {
    return MoveAnchor(s, d);
  }
  s.anchorMoved = 0;
  const ConnectorState& c = s.grabbedConnector;
  // A connector keeps its handle on the straight segment's extension.
  if (c.isConnector != 0 && c.connectorActive != 0) return kNoErr;
  const bool inHandle = s.anchorCase == kSmoothInRetracted || s.anchorCase == kCornerInRetracted;
  if (SpaceMovePoint(s, step, d, inHandle)) return kNoErr;
  ExtendHandles(s, d);
  s.spaceBlocked = 0;
  return kNoErr;
}

}  // namespace sq
