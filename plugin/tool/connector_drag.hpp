// Keeping connector handles on the extension of their straight segments while the tool drags.
// The three connector records belong to the edited points by record index (gesture.hpp): 0 the
// grabbed point, 1 the previous, 2 the next point.
#pragma once

#include "geometry/curve.hpp"
#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

// Lays the record's connector handle (in or out, as usesInHandle says) onto the extension of its
// straight segment, keeping handleLength; handleTarget becomes that handle, lineAngle and
// handleAngle the straight direction, angleError 0. With save the working copy pointSegment takes
// the point's segment.
void ApplyConnectorRule(PluginState& s, int record, bool save);

// Re-runs the angle test on the record's working copy pointSegment: handleLength, handleAngle,
// lineAngle and angleError are recomputed and isConnector / connectorPending say whether the
// handle is within the angle threshold of the straight direction.
void RetestConnector(PluginState& s, int record);

// Puts the working copy's moved anchor on the extension: at its distance from the straight
// neighbour's anchor, in the direction startHandleAngle; the connector handle lies at `offset`
// from it and the other handle on it. The point's segment and its working copy take the result.
void PlaceConnectorAnchor(PluginState& s, int record, Point offset);

// The magnetic handle of a point with a straight neighbour that was not a connector at the press:
// D becomes the dragged handle (in when `inHandle`, else out; the out handle for anchor case 7) of
// the working copy pointSegment and snaps onto the extension when it comes within the threshold,
// keeping its length; else the point's handle becomes D and, unless keepAngles (anchor case 7),
// handleAngle and startHandleAngle take its direction.
void MagneticHandle(PluginState& s, AIRealPoint d, bool inHandle, bool keepAngles);
// The same for a caller that has already stored D as the dragged handle of pointSegment: the in
// handle in an in-handle drag, else the out handle.
void MagneticHandle(PluginState& s, bool keepAngles);

// The grabbed point was a connector at the press: a handle swung more than 1 radian away from the
// straight direction is retracted; otherwise handleLength follows it.
void ConnectorHandleCheck(PluginState& s);

// The anchor of a point that was a connector at the press has moved: its handle follows onto the
// extension (or both handles keep their saved offsets when the anchor lies on the straight
// neighbour's anchor), then FollowNeighbourConnectors runs.
AIErr ConnectorAnchorMove(PluginState& s);

// How far apart two directions are round the circle, in [0, π] (radians).
float AngleApart(double a, double b);

// Makes the previous and next points follow the grabbed point when their straight segment leads
// to it: their connector handles are laid onto the new extension and written to the host.
AIErr FollowNeighbourConnectors(PluginState& s);

}  // namespace sq
