// The tool's press: what the coming drag will do, and the geometry every drag step starts from.
#include <cmath>

#include "geometry/connector.hpp"
#include "geometry/point_table.hpp"
#include "geometry/selection.hpp"
#include "geometry/tangents.hpp"
#include "panel/panel_status.hpp"
#include "resources/resource_ids.hpp"
#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/messages.h"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_cursor_snap.h"
#include "sqsdk/suites/ai_document_view.h"
#include "sqsdk/suites/ai_hit_test.h"
#include "sqsdk/suites/ai_path.h"
#include "sqsdk/suites/ai_text_frame.h"
#include "tool/add_point.hpp"
#include "tool/connector_drag.hpp"
#include "tool/gesture.hpp"
#include "tool/hover.hpp"
#include "tool/press.hpp"
#include "tool/segment_handles.hpp"
#include "tool/tool_handlers.hpp"

namespace sq {

namespace {

// How far from the anchor the reference of a handle-less anchor lies, in points.
constexpr float kBareAnchorReach = 100.0f;

// What the press hit.
struct PressHit {
  bool found = false;
  bool fromFinder = false;  // found by the plug-in's own nearest-point search
  int32_t type = kHitAnchor;
  int32_t artType = kAIUnknownArt;
  AIArtHandle art = nullptr;
  int32_t segmentIndex = 0;
};

void takeHostHit(AIHitRef hitRef, PressHit& hit) {
  const auto* hits = SuiteAs<AIHitTestSuite>(SuiteId::HitTest);
  hit.found = true;
  hits->GetHitType(hitRef, &hit.type);
  hits->GetHitArt(hitRef, &hit.art);
  hit.artType = kAIUnknownArt;
  if (hit.art != nullptr) SuiteAs<AIArtSuite>(SuiteId::Art)->GetArtType(hit.art, &hit.artType);
}

// Steps 3 to 5 of the press: the hit point, the host's hit tests, the own finder, and text frames
// taken through their path.
PressHit hitTestPress(PluginState& s, AIDocumentViewHandle view, const AIToolMessage& message,
                      AIHitRef& hitRef) {
  PressHit hit;
  if (view == nullptr) return hit;
  const auto* hits = SuiteAs<AIHitTestSuite>(SuiteId::HitTest);
  const auto* snap = SuiteAs<AICursorSnapSuite>(SuiteId::CursorSnap);

  AIRealPoint hitPoint = message.cursor;
  AIBoolean showGrid = 0;
  AIBoolean snapToGrid = 0;
  SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView)
      ->GetDocumentViewGridOptions(view, &showGrid, &snapToGrid);
  if (!snapToGrid) {
    snap->Track(view, &message.cursor, message.event, kAISnapControlHover, &hitPoint);
  }

  hits->HitTest(nullptr, &hitPoint, kAIHitRequestAll, &hitRef);
  if (!IsHostHit(hitRef)) {
    ReleaseHostHit(hitRef);
    hits->HitTest(nullptr, &hitPoint, kAIHitRequestArt, &hitRef);
  }
  if (IsHostHit(hitRef)) {
    takeHostHit(hitRef, hit);
  } else {
    if (!SmartGuidesOn(view)) {
      if (const auto nearest = findNearestPoint(s, view, s.pickRadius, hitPoint)) {
        hit.found = true;
        hit.fromFinder = true;
        hit.type = nearest->hitPart;
        hit.art = nearest->art;
        hit.artType = nearest->artType;
        hit.segmentIndex = nearest->segmentIndex;
        s.handleTarget = nearest->point;
      }
    }
  }

  // Area text and text on a path are edited through their path object.
  if (hit.found && !hit.fromFinder && hit.artType == kAITextFrameArt) {
    const auto* frames = SuiteAs<AITextFrameSuite>(SuiteId::TextFrame);
    int32_t frameType = kAIPointTextType;
    frames->GetTextFrameType(hit.art, &frameType);
    if (frameType == kAIInPathTextType || frameType == kAIOnPathTextType) {
      ReleaseHostHit(hitRef);
      AIArtHandle pathObject = nullptr;
      frames->GetTextFramePathObject(hit.art, &pathObject);
      if (pathObject != nullptr) {
        hits->HitTest(pathObject, &hitPoint, kAIHitRequestArt, &hitRef);
        if (IsHostHit(hitRef)) takeHostHit(hitRef, hit);
      }
    }
  }
  // The host's index of what was hit; a finder hit brought its own.
  if (hit.found && !hit.fromFinder && hitRef != nullptr) {
    hits->GetHitSegmentIndex(hitRef, &hit.segmentIndex);
  }
  return hit;
}

// The panel shows the point being edited.
void showEditedPoint(PluginState& s) {
  ShowPointGroup(s);
  RefreshPanel(s);
  SetStatusText(s, s.grabbedPoint.segment.corner ? "Editing corner point" : "Editing smooth point");
}

// The point table is out of date when the document changed behind it (an undo, another tool):
// its first entry tells, and then every entry is read again.
AIErr refreshStaleTable(PluginState& s) {
  const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
  AIErr error = kNoErr;
  AIPathSegment live{};
  PointRecord& first = s.pointTable[0];
  error = paths->GetPathSegments(first.art, first.segmentIndex, 1, &live);
  const bool stale = error == kNoErr &&
                     !(SamePoint(live.p, first.segment.p) && SamePoint(live.in, first.segment.in) &&
                       SamePoint(live.out, first.segment.out));
  for (int i = 0; i < s.pointCount; ++i) {
    PointRecord& entry = s.pointTable[i];
    if (stale) {
      AIPathSegment segment{};
      error = paths->GetPathSegments(entry.art, entry.segmentIndex, 1, &segment);
      if (error == kNoErr) entry.segment = segment;
    }
    // A group drag transforms every kept handle from where it is at this press.
    entry.savedSegment = entry.segment;
  }
  return error;
}

// Step 8: an in or out handle was hit.
AIErr pressHandle(PluginState& s, const PressHit& hit, AIHitRef hitRef, int32_t& cursor) {
  AIErr error = kNoErr;
  if (!hit.fromFinder) {
    error = SuiteAs<AIHitTestSuite>(SuiteId::HitTest)->GetHitPoint(hitRef, &s.handleTarget);
  }
  const bool inHandle = hit.type == kHitInHandle;
  if (s.pointCount == 0) {
    PointRecord& grabbed = s.grabbedPoint;
    error = ReadPoint(grabbed, hit.art, hit.segmentIndex);
    testEditedConnector(s, kGrabbedRecord);
    error = setUpNeighbours(s);
    s.dragMode = inHandle ? kDragInHandle : kDragOutHandle;
    grabbed.handleFlags[inHandle ? kInHandleFlag : kOutHandleFlag] = true;
    grabbed.savedSegment = grabbed.segment;
    // The constrained drag runs along the grabbed handle's line.
    StoreHandleDirection(s);
    showEditedPoint(s);
    cursor = kCursorDragging;
    return error;
  }

  const auto entry = findEntry(s, hit.art, hit.type, hit.segmentIndex);
  if (!entry) {
    cursor = kCursorMarquee;
    return error;
  }
  s.grabIndex = *entry;
  error = refreshStaleTable(s);
  s.dragMode = inHandle ? kDragInHandle : kDragOutHandle;
  s.grabbedPoint = s.pointTable[*entry];
  StoreHandleDirection(s);
  error = setUpNeighbours(s);
  cursor = kCursorDragging;
  return error;
}

// The anchor case of the grabbed point, its handle reference and the handle marked as dragged.
void prepareAnchorCase(PluginState& s) {
  PointRecord& grabbed = s.grabbedPoint;
  const AIPathSegment& segment = grabbed.segment;
  const bool inRetracted = SamePoint(segment.in, segment.p);
  const bool outRetracted = SamePoint(segment.out, segment.p);
  s.anchorCase = (segment.corner ? 4 : 0) + (inRetracted ? 2 : 0) + (outRetracted ? 1 : 0);

  const auto along = [&](float angle, float reach) {
    // A path of one point has no direction: take the positive h axis.
    if (angle == kNoPathAngle) angle = 0.0f;
    return AIRealPoint{segment.p.h + reach * std::cos(angle),
                       segment.p.v + reach * std::sin(angle)};
  };
  switch (s.anchorCase) {
    case 1:
    case 5:
      s.handleTarget = segment.in;
      break;
    case 3:
    case 7:
    case 6: {
      const WholePath path = readWholePath(grabbed.art);
      if (s.anchorCase == 6) {
        s.handleTarget = along(IncomingAngle(path.segments, path.closed, grabbed.segmentIndex),
                               -kBareAnchorReach);
      } else {
        s.handleTarget = along(OutgoingAngle(path.segments, path.closed, grabbed.segmentIndex),
                               kBareAnchorReach);
      }
      break;
    }
    default:
      s.handleTarget = segment.out;
      break;
  }
  const bool inMarked = s.anchorCase == 2 || s.anchorCase == 6;
  grabbed.handleFlags[inMarked ? kInHandleFlag : kOutHandleFlag] = true;
}

// Step 9, anchor hit with the point table empty.
AIErr pressAnchor(PluginState& s, const PressHit& hit) {
  PointRecord& grabbed = s.grabbedPoint;
  AIErr error = ReadPoint(grabbed, hit.art, hit.segmentIndex);
  s.dragMode = kDragAnchor;
  prepareAnchorCase(s);
  testEditedConnector(s, kGrabbedRecord);
  error = setUpNeighbours(s);
  grabbed.savedSegment = grabbed.segment;
  StoreHandleDirection(s);
  showEditedPoint(s);
  return error;
}

// Step 9, segment hit with the point table empty: the segment's end point is grabbed, and Shift or
// Alt clicks act at once.
AIErr pressSegment(PluginState& s, const PressHit& hit, AIHitRef hitRef, int32_t modifiers) {
  const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
  const auto* hits = SuiteAs<AIHitTestSuite>(SuiteId::HitTest);
  const Settings& settings = s.settings;
  PointRecord& grabbed = s.grabbedPoint;
  const bool shift = (modifiers & kShiftKey) != 0;
  const bool alt = (modifiers & kAltKey) != 0;

  AIErr error = ReadPoint(grabbed, hit.art, hit.segmentIndex);
  s.dragMode = kDragSegment;
  testEditedConnector(s, kGrabbedRecord);
  error = setUpNeighbours(s);
  if (s.previousPoint.segmentIndex >= 0) {
    error = paths->GetPathBezier(hit.art, s.previousPoint.segmentIndex, &s.grabbedSegmentBezier);
  }
  AIReal t = 0;
  error = hits->GetHitParameter(hitRef, &t);
  s.segmentParameter = s.tangencySnapped ? static_cast<float>(s.tangencyParameter) : t;
  error = hits->GetHitPoint(hitRef, &s.grabPoint);
  SetStatusText(s, "Editing path");

  if (shift && !alt && settings.shift_equalizes) return EqualizeSegmentLengths(s);
  if (alt && !shift && settings.addpoints) {
    s.dragMode = kDragAddPoint;
    SetStatusText(s, "Adding point to path");
    error = AddPointToSegment(s);
    testEditedConnector(s, kGrabbedRecord);
    error = setUpNeighbours(s);
    for (const int record : {kPreviousRecord, kNextRecord}) {
      if (!EditedConnector(s, record).isConnector) continue;
      ApplyConnectorRule(s, record, true);
      error = WritePoint(EditedPoint(s, record));
    }
    return error;
  }
  ShowFirstPointButton(s, false);
  return RefreshPanel(s);
}

}  // namespace

void testEditedConnector(PluginState& s, int record) {
  PointRecord& point = EditedPoint(s, record);
  ConnectorState& connector = EditedConnector(s, record);
  connector = ConnectorState{};
  if (point.art == nullptr || point.segmentIndex < 0) return;
  const WholePath path = readWholePath(point.art);
  ConnectorQuery query;
  query.recognizeConnectors = s.settings.recognize_connectors != 0;
  query.angleThresholdRadians = s.angleThresholdRadians;
  query.dragMode = s.dragMode;
  query.anchorCase = s.anchorCase;
  connector = TestConnector(point.segment, point.segmentIndex, path.segments, path.closed, query);
}

AIErr setUpNeighbours(PluginState& s) {
  const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
  const PointRecord& grabbed = s.grabbedPoint;
  int32_t count = 0;
  AIBoolean closed = 0;
  AIErr error = paths->GetPathSegmentCount(grabbed.art, &count);
  error = paths->GetPathClosed(grabbed.art, &closed);
  const int32_t i = grabbed.segmentIndex;
  int32_t previous = i - 1;
  int32_t next = i + 1;
  if (i == 0 && closed) previous = count - 1;
  if (i + 1 >= count) next = closed ? 0 : -1;
  // A path of one point has no neighbours, closed or not.
  if (count <= 1) previous = next = -1;

  for (const auto& [record, index] :
       {std::pair{kPreviousRecord, previous}, std::pair{kNextRecord, next}}) {
    PointRecord& point = EditedPoint(s, record);
    ConnectorState& connector = EditedConnector(s, record);
    connector = ConnectorState{};
    point = PointRecord{};
    point.segmentIndex = -1;
    if (index < 0) continue;
    error = ReadPoint(point, grabbed.art, index);
    if (s.pointCount == 0) testEditedConnector(s, record);
  }
  return error;
}

AIErr onMouseDown(void* message) {
  PluginState& s = *State();
  const auto& toolMessage = *static_cast<const AIToolMessage*>(message);
  const AIRealPoint cursor = toolMessage.cursor;
  const int32_t modifiers = HeldModifiers();

  // 1. A fresh gesture.
  s.dragStarted = s.firstDragStep = s.marqueeCancelled = s.anchorMoved = 0;
  s.extendOnAltDrag = s.spaceMoved = s.spaceBlocked = s.constraining = 0;
  s.marqueeShown = s.othersEdited = s.coincidingNeighbour = 0;
  s.cKeyLatch = s.toolSuspended = s.ringShown = 0;
  s.grabbedConnector = s.previousConnector = s.nextConnector = ConnectorState{};
  ShowRotationMode(s, true);
  s.grabPoint = s.lastCursor = s.slowCursor = s.snappedCursor = s.pressPoint = cursor;
  s.dragMode = kDragMarquee;
  s.toolDragged = 0;
  // Snap constraints of an earlier gesture must not pull this one.
  AIErr error = SuiteAs<AICursorSnapSuite>(SuiteId::CursorSnap)->ClearCustomConstraints();

  // 2. The view, and the ring drawn while hovering goes.
  const AIDocumentViewHandle view = frontView();
  error = invalidateView(s, s.currentView);

  // 3. to 5. What lies under the cursor.
  AIHitRef hitRef = nullptr;
  const PressHit hit = hitTestPress(s, view, toolMessage, hitRef);

  int32_t cursorCode = kCursorDragging;
  if (!hit.found) {
    // 6. Nothing: a marquee.
    s.dragMode = kDragMarquee;
    s.previousMarqueeCorner = AIRealPoint{};
    cursorCode = kCursorMarquee;
    SetModeText(s, "Marqueeing (press 'Esc' to cancel)");
    ReleaseHostHit(hitRef);
  } else {
    if (hit.artType != kAIPathArt) {
      // 7. Not a path: the drag becomes a marquee, without saying so yet.
      s.dragMode = kDragMarquee;
    } else if (hit.type == kHitInHandle || hit.type == kHitOutHandle) {
      // 8.
      error = pressHandle(s, hit, hitRef, cursorCode);
    } else if (s.pointCount > 0) {
      // 9. With points kept, an anchor or segment press marquees over them.
      cursorCode = kCursorMarquee;
      if (hit.type == kHitSegment) {
        s.grabbedPoint.art = hit.art;
        s.dragMode = kDragSegment;
      }
    } else if (hit.type == kHitSegment) {
      const bool adds = (modifiers & kAltKey) && !(modifiers & kShiftKey) && s.settings.addpoints;
      cursorCode = adds ? kCursorAddPoint : kCursorDragging;
      error = pressSegment(s, hit, hitRef, modifiers);
    } else {
      error = pressAnchor(s, hit);
    }
    // 10.
    ReleaseHostHit(hitRef);
    error = invalidateAllViews(s);
  }

  // 11.
  error = updateInfoPanel(s);
  error = setCursor(toolMessage.d.self, cursorCode);
  return error;
}

}  // namespace sq
