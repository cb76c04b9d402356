// The dragged handle's new position, the Space move of a whole point, and the single and group
// handle drags.
#include "tool/handle_drag.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "geometry/connector.hpp"
#include "geometry/tangents.hpp"
#include "shell/host_suites.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_cursor_snap.h"
#include "tool/connector_drag.hpp"
#include "tool/gesture.hpp"

namespace sq {

namespace {

constexpr double kDegreesPerRadian = 180.0 / static_cast<double>(kPiF);

bool finite(AIRealPoint p) {
  return std::isfinite(p.h) && std::isfinite(p.v);
}

AIRealPoint plus(AIRealPoint a, AIRealPoint b) {
  return {a.h + b.h, a.v + b.v};
}
AIRealPoint minus(AIRealPoint a, AIRealPoint b) {
  return {a.h - b.h, a.v - b.v};
}
float distance(AIRealPoint a, AIRealPoint b) {
  return static_cast<float>(
      std::hypot(static_cast<double>(b.h) - a.h, static_cast<double>(b.v) - a.v));
}

AIRealPoint& handleOf(AIPathSegment& segment, bool inHandle) {
  return inHandle ? segment.in : segment.out;
}

// The perpendicular projection of p onto the line through anchor along the grabbed handle's
// direction stored at the press.
AIRealPoint projectOntoHandleLine(const PluginState& s, AIRealPoint anchor, AIRealPoint p) {
  const float a = s.handleDirection.h;
  const float b = s.handleDirection.v;
  const float u = p.h - anchor.h;
  const float v = p.v - anchor.v;
  if (a == 0.0f) return {anchor.h, p.v};
  if (b == 0.0f) return {p.h, anchor.v};
  const float h = (a * u / b + v) / s.handleSlopeSum;
  AIRealPoint d{anchor.h + h, anchor.v + s.handleSlope * h};
  if (finite(d)) return d;
  // A direction with one component tiny next to the other overflows the ratios: project in
  // double precision, where a·a + b·b stays representable.
  const double ad = a;
  const double bd = b;
  const double t = (ad * u + bd * v) / (ad * ad + bd * bd);
  d = {static_cast<AIReal>(anchor.h + ad * t), static_cast<AIReal>(anchor.v + bd * t)};
  return finite(d) ? d : anchor;
}

AIRealPoint clampInto(const AIRealRect& bounds, AIRealPoint p) {
  const float left = std::min(bounds.left, bounds.right);
  const float right = std::max(bounds.left, bounds.right);
  const float bottom = std::min(bounds.bottom, bounds.top);
  const float top = std::max(bounds.bottom, bounds.top);
  return {std::clamp(p.h, left, right), std::clamp(p.v, bottom, top)};
}

// The four soft guides at −45, 0, 45 and 90 degrees round origin.
void setOriginGuides(AIRealPoint origin) {
  constexpr int32_t kAngles[] = {-45, 0, 45, 90};
  char labels[4][32];
  AICursorConstraint constraints[4];
  for (int i = 0; i < 4; ++i) {
    // The degree sign is byte 0xB0 in the host's single-byte text.
    std::snprintf(labels[i], sizeof labels[i], "origin %ld\xB0", static_cast<long>(kAngles[i]));
    constraints[i] = {kAILinearConstraintRelative, kAISoftConstraintFlag, origin,
                      static_cast<AIReal>(kAngles[i]), labels[i]};
  }
  SuiteAs<AICursorSnapSuite>(SuiteId::CursorSnap)->SetCustomConstraints(constraints, 4);
}

// The single-handle rules after the Space move: the magnetic handle next to a straight segment,
// otherwise the handle at d with the smooth rule; then the connector checks.
AIErr placeDraggedHandle(PluginState& s, AIRealPoint d, bool inHandle) {
  PointRecord& grabbed = s.grabbedPoint;
  ConnectorState& connector = s.grabbedConnector;
  if (connector.lineNeighbour >= 0 && !connector.connectorActive) {
    MagneticHandle(s, d, inHandle, false);
  } else {
    handleOf(grabbed.segment, inHandle) = d;
    if (!grabbed.segment.corner) grabbed.segment = AlignOppositeHandle(grabbed.segment, inHandle);
  }
  s.spaceBlocked = 0;
  if (connector.connectorActive) ConnectorHandleCheck(s);
  return FollowNeighbourConnectors(s);
}

// One kept handle of the group: saved handle `saved` of a point whose saved anchor is `anchor`,
// scaled or lengthened and turned like the dragged handle.
AIRealPoint transformHandle(const PluginState& s, AIRealPoint anchor, AIRealPoint saved,
                            bool counterRotated) {
  float angle = static_cast<float>(
      std::atan2(static_cast<double>(saved.v) - anchor.v, static_cast<double>(saved.h) - anchor.h));
  float length = distance(anchor, saved);
  if (s.settings.multi_extendPro) {
    length *= s.lengthRatio;
  } else {
    length += s.lengthDelta;
    if (length < 0.0f) {
      if (s.settings.multi_extendSAZ) {
        length = 0.0f;
      } else {
        // Shortened past the anchor: the handle comes out on the other side.
        angle += kPiF;
        length = -length;
      }
    }
  }
  angle += counterRotated ? -s.rotationDelta : s.rotationDelta;
  const AIRealPoint h{static_cast<AIReal>(anchor.h + length * std::cos(angle)),
                      static_cast<AIReal>(anchor.v + length * std::sin(angle))};
  return finite(h) ? h : saved;
}

}  // namespace

AIRealPoint ConstrainTo45(AIRealPoint origin, AIRealPoint p, double constrainAngleDegrees) {
  const double theta = constrainAngleDegrees * static_cast<double>(kPiF) / 180.0;
  double dh = static_cast<double>(p.h) - origin.h;
  double dv = static_cast<double>(p.v) - origin.v;
  if (theta != 0.0) {
    const double c = std::cos(-theta);
    const double sn = std::sin(-theta);
    const double h = dh * c - dv * sn;
    dv = dh * sn + dv * c;
    dh = h;
  }
  double u = std::fabs(dh);
  double w = std::fabs(dv);
  if (u == 0.0 || w == 0.0 || u == w) return p;
  const double r = u / w;
  constexpr double kTanEighth = 0.41421356237309503;       // tan(π/8)
  constexpr double kTanThreeEighths = 2.4142135623730949;  // tan(3π/8)
  if (r > kTanEighth && r < kTanThreeEighths) {
    u = w = (u + w) / 2.0;
  } else if (u > w) {
    w = 0.0;
  } else {
    u = 0.0;
  }
  dh = std::copysign(u, dh);
  dv = std::copysign(w, dv);
  if (theta != 0.0) {
    const double c = std::cos(theta);
    const double sn = std::sin(theta);
    const double h = dh * c - dv * sn;
    dv = dh * sn + dv * c;
    dh = h;
  }
  return {static_cast<AIReal>(origin.h + dh), static_cast<AIReal>(origin.v + dv)};
}

AIRealPoint NewHandlePosition(PluginState& s, const DragStep& step) {
  const auto* snap = SuiteAs<AICursorSnapSuite>(SuiteId::CursorSnap);
  const AIEvent* event = step.message != nullptr ? step.message->event : nullptr;
  const PointRecord& grabbed = s.grabbedPoint;
  const AIRealPoint savedAnchor = grabbed.savedSegment.p;
  // An anchor drag starts every step again from the press, where a moved connector's anchor in a
  // handle drag stays where the earlier steps put it.
  const AIRealPoint anchor = s.dragMode == kDragAnchor ? savedAnchor : grabbed.segment.p;
  const bool heldToLine = step.alt() || (s.pointCount == 0 && s.grabbedConnector.connectorActive &&
                                         s.dragMode != kDragAnchor);
  AIRealPoint d = s.slowCursor;

  if (heldToLine) {
    s.constraining = 1;
    s.spaceMoved = 0;
    AIRealPoint p = s.slowCursor;
    if (step.snapToGrid && step.view != nullptr) {
      snap->Track(step.view, &s.slowCursor, event, kAISnapControlConstrained, &p);
    }
    d = projectOntoHandleLine(s, anchor, p);
    if (step.shift()) {
      const double degrees = std::atan2(static_cast<double>(s.handleTarget.v) - anchor.v,
                                        static_cast<double>(s.handleTarget.h) - anchor.h) *
                                 kDegreesPerRadian -
                             s.constrainAngle;
      const AICursorConstraint line{kAILinearConstraintRelative, 0, anchor,
                                    static_cast<AIReal>(degrees), "anchor"};
      snap->SetCustomConstraints(&line, 1);
      if (step.toolGuides && step.smartGuides && step.view != nullptr) {
        const AIRealPoint projected = d;
        snap->Track(step.view, &projected, event, kAISnapControlConstrainedGuides, &d);
      }
    } else if (step.view != nullptr) {
      // The host's feedback follows the handle; where it would snap is not used.
      snap->ClearCustomConstraints();
      AIRealPoint ignored = d;
      snap->Track(step.view, &d, event, "", &ignored);
    }
  } else {
    if (step.shift() && s.spaceMoved) {
      s.spaceMoved = 0;
      s.spaceBlocked = 1;
    }
    if (step.toolGuides && step.smartGuides) {
      setOriginGuides(s.settings.pointdrag ? savedAnchor : anchor);
      if (step.view != nullptr) {
        snap->Track(step.view, &s.slowCursor, event, kAISnapControlDrag, &d);
      }
    } else {
      // Guides of an earlier step must not hold the handle now.
      snap->ClearCustomConstraints();
      if (step.view != nullptr) {
        snap->Track(step.view, &s.slowCursor, event, kAISnapControlDrag, &d);
      }
      if (step.shift()) d = ConstrainTo45(savedAnchor, d, s.constrainAngle);
    }
  }
  if (!finite(d)) d = s.handleTarget;
  return clampInto(step.bounds, d);
}

bool SpaceMovePoint(PluginState& s, const DragStep& step, AIRealPoint d, bool inHandle) {
  if (!step.spaceDown || s.pointCount != 0 || s.spaceBlocked) return false;
  PointRecord& grabbed = s.grabbedPoint;
  ConnectorState& connector = s.grabbedConnector;

  if (connector.connectorActive) {
    // A connector's anchor moves alone, by the step's movement, and stays on its extension.
    grabbed.segment.p = plus(grabbed.segment.p, step.delta);
    ConnectorAnchorMove(s);
    return true;
  }

  const AIRealPoint target = (s.constraining || step.shift()) ? s.slowCursor : d;
  AIPathSegment moved = grabbed.segment;
  AIRealPoint& handle = handleOf(moved, inHandle);
  AIRealPoint& other = handleOf(moved, !inHandle);
  const AIRealPoint offset = minus(target, handle);
  handle = target;
  other = plus(other, offset);
  moved.p = plus(moved.p, offset);

  if (connector.lineNeighbour >= 0) {
    // Next to a straight segment the anchor stays on its extension.
    connector.pointSegment = moved;
    const AIRealPoint kept = connector.usesInHandle ? moved.in : moved.out;
    PlaceConnectorAnchor(
        s, kGrabbedRecord,
        Point{static_cast<double>(kept.h) - moved.p.h, static_cast<double>(kept.v) - moved.p.v});
    s.handleTarget = handleOf(grabbed.segment, inHandle);
  } else {
    grabbed.segment = moved;
    handleOf(connector.pointSegment, inHandle) = target;
    s.handleTarget = target;
  }
  StoreHandleDirection(s);
  // The drag goes on from the moved point.
  grabbed.savedSegment.p = grabbed.segment.p;
  grabbed.savedSegment.in = grabbed.segment.in;
  grabbed.savedSegment.out = grabbed.segment.out;
  if (!step.alt() && !step.shift()) s.spaceMoved = 1;
  FollowNeighbourConnectors(s);
  return true;
}

AIErr SingleHandleDrag(PluginState& s, const DragStep& step, AIRealPoint d) {
  const bool inHandle = s.dragMode == kDragInHandle;
  if (SpaceMovePoint(s, step, d, inHandle)) return kNoErr;
  return placeDraggedHandle(s, d, inHandle);
}

AIErr GroupHandleDrag(PluginState& s, const DragStep& step, AIRealPoint d) {
  const bool inDragged = s.dragMode == kDragInHandle;
  PointRecord& grabbed = s.grabbedPoint;
  const AIRealPoint anchor = grabbed.savedSegment.p;
  const AIRealPoint saved = inDragged ? grabbed.savedSegment.in : grabbed.savedSegment.out;

  // 1. How the dragged handle changed.
  const AIRealPoint groupOffset = minus(d, saved);
  const float savedLength = distance(anchor, saved);
  const float newLength = distance(anchor, d);
  // A handle that lay on its anchor has no length to compare with: it only turns and lengthens.
  s.lengthRatio = savedLength > 0.0f ? newLength / savedLength : 1.0f;
  if (!std::isfinite(s.lengthRatio)) s.lengthRatio = 1.0f;
  s.lengthDelta = newLength - savedLength;
  s.rotationDelta =
      NormalizeAngle(DirectionAngleF(anchor, d)) - NormalizeAngle(DirectionAngleF(anchor, saved));

  const bool counter = s.settings.counterrotate != 0;
  const auto counterRotated = [&](bool inHandle) { return counter && inHandle != inDragged; };

  // 2. The grabbed point.
  AIErr error = kNoErr;
  if (grabbed.handleFlags[kInHandleFlag] && grabbed.handleFlags[kOutHandleFlag]) {
    handleOf(grabbed.segment, inDragged) = d;
    const AIRealPoint otherSaved = handleOf(grabbed.savedSegment, !inDragged);
    if (step.spaceDown) {
      handleOf(grabbed.segment, !inDragged) = plus(otherSaved, groupOffset);
      grabbed.segment.corner = 1;
    } else {
      grabbed.segment.corner = grabbed.savedSegment.corner;
      handleOf(grabbed.segment, !inDragged) =
          transformHandle(s, anchor, otherSaved, counterRotated(!inDragged));
      if (counter) grabbed.segment.corner = 1;
    }
  } else {
    error = placeDraggedHandle(s, d, inDragged);
  }

  // 3. The table follows the grabbed point, and every other kept point follows the handle.
  if (s.pointCount > 1 && s.grabIndex >= 0 && s.grabIndex < s.pointCount) {
    s.pointTable[s.grabIndex] = grabbed;
  }
  for (int i = 0; i < s.pointCount; ++i) {
    if (i == s.grabIndex) continue;
    s.othersEdited = 1;
    PointRecord& entry = s.pointTable[i];
    const AIPathSegment& before = entry.savedSegment;
    const bool in = entry.handleFlags[kInHandleFlag];
    const bool out = entry.handleFlags[kOutHandleFlag];
    if (in && out) {
      if (step.spaceDown) {
        entry.segment.in = plus(before.in, groupOffset);
        entry.segment.out = plus(before.out, groupOffset);
        entry.segment.corner = 1;
      } else {
        entry.segment.corner = before.corner;
        entry.segment.in = transformHandle(s, before.p, before.in, counterRotated(true));
        entry.segment.out = transformHandle(s, before.p, before.out, counterRotated(false));
        if (counter) entry.segment.corner = 1;
      }
    } else if (in || out) {
      const AIRealPoint savedHandle = in ? before.in : before.out;
      handleOf(entry.segment, in) =
          step.spaceDown ? plus(savedHandle, groupOffset)
                         : transformHandle(s, before.p, savedHandle, counterRotated(in));
      if (!entry.segment.corner) entry.segment = AlignOppositeHandle(entry.segment, in);
    }
    error = WritePoint(entry);
  }
  return error;
}

}  // namespace sq
