// The tool's drag steps: the keys, the status line, the slowed cursor and the undo of the previous
// step, then the mode's edit and the write-back.
#include <cmath>

#include "geometry/tangents.hpp"
#include "panel/panel_status.hpp"
#include "resources/resource_ids.hpp"
#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/keyboard.h"
#include "sqsdk/messages.h"
#include "sqsdk/suites/ai_annotator.h"
#include "sqsdk/suites/ai_cursor_snap.h"
#include "sqsdk/suites/ai_document.h"
#include "sqsdk/suites/ai_document_view.h"
#include "sqsdk/suites/ai_preference.h"
#include "sqsdk/suites/ai_undo.h"
#include "tool/connector_drag.hpp"
#include "tool/drag.hpp"
#include "tool/gesture.hpp"
#include "tool/handle_drag.hpp"
#include "tool/hover.hpp"
#include "tool/tool_handlers.hpp"

namespace sq {

namespace {

constexpr int32_t kVKLetterC = 0x43;

bool isHandleMode(int32_t mode) {
  return mode == kDragInHandle || mode == kDragOutHandle;
}

// The second status line while points are kept: what the keys make of the drag.
void showDragStatus(PluginState& s, const DragStep& step) {
  const bool single = s.pointCount == 1 && s.selectedHandleCount == 1;
  if (s.marqueeCancelled) {
    SetModeText(s, "Marquee cancelled");
  } else if (s.dragMode == kDragMarquee) {
    SetModeText(s, "Marqueeing (press 'Esc' to cancel)");
  } else if (step.spaceDown) {
    SetModeText(s, single ? "Moving single handle" : "Moving multiple handles as group");
  } else if (step.alt()) {
    SetModeText(s, single                       ? "Constraining single handle"
                   : s.settings.multi_extendPro ? "Constraining multiple handles (proportional)"
                                                : "Constraining multiple handles (absolute)");
  } else {
    ShowRotationMode(s, true);
  }
}

// The view, keys and host settings one step works with.
DragStep readStep(const AIToolMessage& message) {
  DragStep step;
  step.message = &message;
  step.view = frontView();
  step.modifiers = HeldModifiers();
  step.spaceDown = KeyIsDown(kVKSpace);
  step.cursor = message.cursor;
  if (step.view != nullptr) {
    AIBoolean showGrid = 0;
    AIBoolean snapToGrid = 0;
    SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView)
        ->GetDocumentViewGridOptions(step.view, &showGrid, &snapToGrid);
    step.snapToGrid = snapToGrid != 0;
    AIBoolean smart = 0;
    SuiteAs<AICursorSnapSuite>(SuiteId::CursorSnap)->UseSmartTargeting(step.view, &smart);
    step.smartGuides = smart != 0;
  }
  AIBoolean showToolGuides = 1;
  SuiteAs<AIPreferenceSuite>(SuiteId::Preference)
      ->GetBooleanPreference(nullptr, kAIPrefSmartGuidesShowToolGuides, &showToolGuides);
  step.toolGuides = step.smartGuides && showToolGuides != 0;
  return step;
}

bool slowDragActive(const PluginState& s, const DragStep& step) {
  const Settings& settings = s.settings;
  return (settings.slowdragCtrl && step.ctrl()) ? !settings.slowdrag : settings.slowdrag != 0;
}

// A small area round each connector's anchor, where its mark is drawn.
AIErr invalidateConnectorMarks(PluginState& s, AIDocumentViewHandle view) {
  if (view == nullptr) return kNoErr;
  AIErr error = kNoErr;
  for (const int record : {kGrabbedRecord, kPreviousRecord, kNextRecord}) {
    if (!EditedConnector(s, record).isConnector) continue;
    AIPoint at{};
    error = SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView)
                ->ArtworkPointToViewPoint(view, &EditedPoint(s, record).segment.p, &at);
    if (error != kNoErr) continue;
    const AIRect around{at.h - 6, at.v - 18, at.h + 6, at.v + 6};
    error = SuiteAs<AIAnnotatorSuite>(SuiteId::Annotator)->InvalAnnotationRect(view, &around);
  }
  return error;
}

// Sends an edited point back to the host, when it is one.
AIErr writeEdited(const PointRecord& point, AIErr error) {
  if (point.art == nullptr || point.segmentIndex < 0) return error;
  return WritePoint(point);
}

}  // namespace

AIErr onMouseDrag(void* message) {
  PluginState& s = *State();
  const auto& toolMessage = *static_cast<const AIToolMessage*>(message);
  SPPluginRef self = toolMessage.d.self;
  DragStep step = readStep(toolMessage);
  s.cursorPoint = step.cursor;
  const bool tableEmpty = s.pointCount == 0;
  AIErr error = kNoErr;

  // 1. Esc cancels a marquee.
  if (KeyIsDown(kVKEscape) && (s.dragMode == kDragMarquee || s.marqueeShown)) {
    s.marqueeCancelled = 1;
    s.marqueeShown = 0;
    SetModeText(s, "Marquee cancelled");
    error = invalidateAllViews(s);
    error = setCursor(self, kCursorArrow);
    error = updateInfoPanel(s);
    return error;
  }

  // 2. 'C' toggles counter rotation once per key press.
  if (KeyIsDown(kVKLetterC)) {
    if (!s.cKeyLatch) {
      s.cKeyLatch = 1;
      s.settings.counterrotate = s.settings.counterrotate ? 0 : 1;
    }
  } else {
    s.cKeyLatch = 0;
  }

  // 3.
  if (!tableEmpty) showDragStatus(s, step);

  // 4. Nothing happens before the cursor leaves the press point.
  const bool slow = slowDragActive(s, step);
  if (s.marqueeCancelled || (!s.dragStarted && SamePoint(step.cursor, s.pressPoint))) {
    if (!s.marqueeCancelled && s.toolDragged == 0 && s.dragMode != kDragMarquee) {
      int32_t code = kCursorDragging;
      if (!tableEmpty && !step.spaceDown && !isHandleMode(s.dragMode)) {
        code = kCursorMarquee;
      } else if (s.dragMode == kDragAddPoint) {
        code = kCursorAddPoint;
      } else if (slow) {
        code = kCursorSlowDrag;
      }
      error = setCursor(self, code);
    }
    return updateInfoPanel(s);
  }

  // 5.
  if (!s.dragStarted && !SamePoint(step.cursor, s.grabPoint)) {
    s.dragStarted = s.firstDragStep = 1;
    s.toolDragged = 1;
    s.extendOnAltDrag = (s.settings.pointdrag && step.alt()) ? 1 : 0;
  } else {
    s.firstDragStep = 0;
  }

  // 6. The cursor's movement, slowed when slow drag is on.
  const AIRealPoint previous = s.lastCursor;
  s.lastCursor = step.cursor;
  AIRealPoint delta{step.cursor.h - previous.h, step.cursor.v - previous.v};
  int32_t cursorCode = kCursorDragging;
  if (slow && s.dragMode != kDragAddPoint) {
    const float divisor = static_cast<float>(s.settings.slowdrag_div);
    const AIRealPoint slowed{delta.h / divisor, delta.v / divisor};
    // A divisor that is not a positive number leaves the movement as it is.
    if (divisor > 0.0f && std::isfinite(slowed.h) && std::isfinite(slowed.v)) delta = slowed;
    cursorCode = kCursorSlowDrag;
  }
  step.delta = delta;
  s.slowCursor = {s.slowCursor.h + delta.h, s.slowCursor.v + delta.v};

  // 7. Back to the press's artwork before this step writes.
  const auto* undo = SuiteAs<AIUndoSuite>(SuiteId::Undo);
  const bool edits = isHandleMode(s.dragMode) || s.dragMode == kDragAnchor ||
                     (s.dragMode == kDragSegment && tableEmpty);
  if (isHandleMode(s.dragMode) || s.dragMode == kDragAnchor || s.dragMode == kDragSegment) {
    error = undo->UndoChanges();
  } else if (s.dragMode == kDragMarquee) {
    error = undo->SetSilent(1);
  }

  // 8. Connectors are laid onto their straight segments when the drag starts.
  if (s.firstDragStep && tableEmpty && (isHandleMode(s.dragMode) || s.dragMode == kDragSegment)) {
    s.coincidingNeighbour = 0;
    if (s.grabbedConnector.isConnector) {
      ApplyConnectorRule(s, kGrabbedRecord, true);
      StoreHandleDirection(s);
    }
    for (const int record : {kPreviousRecord, kNextRecord}) {
      if (EditedConnector(s, record).isConnector) ApplyConnectorRule(s, record, true);
    }
  }

  // 9.
  s.constraining = 0;
  error = SuiteAs<AIDocumentSuite>(SuiteId::Document)->GetDocumentMaxArtboardBounds(&step.bounds);
  error = invalidateConnectorMarks(s, step.view);

  // 10. The mode's edit.
  switch (s.dragMode) {
    case kDragInHandle:
    case kDragOutHandle: {
      const AIRealPoint d = NewHandlePosition(s, step);
      error = tableEmpty ? SingleHandleDrag(s, step, d) : GroupHandleDrag(s, step, d);
      break;
    }
    case kDragAnchor:
      error = AnchorDragStep(s, step, NewHandlePosition(s, step));
      break;
    case kDragSegment:
      if (tableEmpty) {
        error = SegmentDragStep(s, step);
      } else {
        MarqueeStep(s, step);
      }
      break;
    case kDragAddPoint:
      break;
    default:
      MarqueeStep(s, step);
      break;
  }

  // 11. The edited points go back to the host. With points kept only the grabbed one is written
  // here: the group drag wrote the others, and the neighbours' copies are not what was edited.
  if (edits) {
    error = writeEdited(s.grabbedPoint, error);
    if (tableEmpty) {
      error = writeEdited(s.previousPoint, error);
      error = writeEdited(s.nextPoint, error);
      s.currentPoint = s.grabbedPoint;
      error = RefreshPanel(s);
    }
  }
  if (s.dragMode == kDragMarquee || (s.dragMode == kDragSegment && !tableEmpty)) {
    cursorCode = kCursorMarquee;
  } else if (s.dragMode == kDragAddPoint) {
    cursorCode = kCursorAddPoint;
  }
  error = setCursor(self, cursorCode);
  error = updateInfoPanel(s);
  return error;
}

}  // namespace sq
