// The smooth-point rule for opposite handles and the connector test for one anchor point.
#pragma once

#include <cstdint>
#include <span>

#include "sqsdk/types.h"

namespace sq {

// Turns the unselected handle of a smooth point to point exactly away from the selected one,
// keeping its own length. The selected (source) handle is the in handle when
// `inHandleSelected`, else the out handle. Nothing changes when the target handle is retracted
// or the source handle lies on the anchor.
AIPathSegment AlignOppositeHandle(const AIPathSegment& segment, bool inHandleSelected);

// The result of the connector test for one point (see TestConnector).
struct ConnectorState {
  int32_t isConnector = 0;       // the point is a connector
  int32_t connectorActive = 0;   // set with isConnector: it was a connector when tested
  int32_t connectorPending = 0;  // set with isConnector: the handle is held on the extension
  int32_t usesInHandle = 0;      // 1: kept handle is the in handle, the straight segment leads on
  int16_t lineNeighbour = -1;    // index of the straight segment's far anchor, −1 when none
  AIPathSegment lineNeighbourSegment{};  // that anchor's segment when tested
  AIPathSegment pointSegment{};          // the tested point's segment when tested
  float lineAngle = 0.0f;                // from the far anchor toward the tested anchor, [0, 2π)
  float handleAngle = 0.0f;              // from the tested anchor toward its kept handle, [0, 2π)
  float startLineAngle = 0.0f;
  float startHandleAngle = 0.0f;
  float handleLength = 0.0f;  // length of the kept handle
  float angleError = 0.0f;    // |lineAngle − handleAngle|
};

// The press that a connector test is made for: the tool's drag mode and, for an anchor drag,
// which handles the anchor had (anchor case 7: a corner point with both handles retracted).
inline constexpr int32_t kConnectorDragAnchor = 3;
inline constexpr int32_t kConnectorDragSegment = 4;
inline constexpr int32_t kAnchorCaseCornerRetracted = 7;

struct ConnectorQuery {
  bool recognizeConnectors = true;     // the user's setting; off makes every test fail
  double angleThresholdRadians = 0.0;  // tolerance between the handle and the straight segment
  int32_t dragMode = 0;                // the current press's drag mode
  int32_t anchorCase = 0;              // the current press's anchor case
  bool lookForward = false;            // with no out handle, look for the straight segment ahead
};

// Tests whether the point at `index` of the path (its current values in `point`, which may
// differ from the path's stored copy during a drag) is a connector: one handle retracted, the
// path straight on that side (the neighbour's facing handle retracted, its anchor elsewhere),
// and the other handle within the angle threshold of that straight direction. Points with both
// or no handles are tested only for segment drags (no handles) and for anchor drags of case 7.
// Fields are filled as far as the test got: lineNeighbour and the two segments are set whenever
// a straight neighbour was found, even if the handle is off its line.
ConnectorState TestConnector(const AIPathSegment& point, int index,
                             std::span<const AIPathSegment> path, bool closed,
                             const ConnectorQuery& query);

}  // namespace sq
