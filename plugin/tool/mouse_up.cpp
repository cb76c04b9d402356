// The tool's release: the end of a marquee or of a click on nothing, the settling of the point
// table and the host's segment selection after a drag, and the click rules for anchors, handles and
// segments.
#include <cstdint>
#include <optional>

#include "commands/point_operations.hpp"
#include "geometry/curve.hpp"
#include "geometry/point_table.hpp"
#include "geometry/selection.hpp"
#include "geometry/tangents.hpp"
#include "panel/panel_status.hpp"
#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/messages.h"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_art_set.h"
#include "sqsdk/suites/ai_cursor_snap.h"
#include "sqsdk/suites/ai_document_view.h"
#include "sqsdk/suites/ai_notifier.h"
#include "sqsdk/suites/ai_path.h"
#include "sqsdk/suites/ai_undo.h"
#include "tool/gesture.hpp"
#include "tool/hover.hpp"
#include "tool/rect_select.hpp"
#include "tool/release_rules.hpp"
#include "tool/tool_handlers.hpp"

namespace sq {

namespace release {

const AIPathSuite* Paths() {
  return SuiteAs<AIPathSuite>(SuiteId::Path);
}
const AIArtSuite* Arts() {
  return SuiteAs<AIArtSuite>(SuiteId::Art);
}

int32_t StateOf(AIArtHandle art, int32_t index) {
  int32_t state = 0;
  Paths()->GetPathSegmentSelected(art, index, &state);
  return state;
}

AIErr SetSegmentState(AIArtHandle art, int32_t index, int32_t state) {
  return Paths()->SetPathSegmentSelected(art, index, state);
}

int32_t SegmentCount(AIArtHandle art) {
  int32_t count = 0;
  Paths()->GetPathSegmentCount(art, &count);
  return count;
}

bool ArtSelected(AIArtHandle art) {
  int32_t attr = 0;
  Arts()->GetArtUserAttr(art, kAIArtSelected, &attr);
  return attr != 0;
}

AIErr Deselect(AIArtHandle art) {
  return Arts()->SetArtUserAttr(art, kAIArtSelected, 0);
}

// Gives every segment of the path state 4, or only those whose state is not 1 when `keepAnchors`,
// or only those in state 1 when `onlyAnchors`.
AIErr ShowAllSides(AIArtHandle art, bool keepAnchors, bool onlyAnchors) {
  AIErr error = kNoErr;
  const int32_t count = SegmentCount(art);
  for (int32_t i = 0; i < count; ++i) {
    const int32_t state = StateOf(art, i);
    if (keepAnchors && state == kAISegmentPointSelected) continue;
    if (onlyAnchors && state != kAISegmentPointSelected) continue;
    error = SetSegmentState(art, i, kAISegmentInOutSelected);
  }
  return error;
}

// The first table entry of this point, whatever its flags.
std::optional<int> EntryOf(const PluginState& s, const PointRecord& point) {
  for (int i = 0; i < s.pointCount; ++i) {
    const PointRecord& r = s.pointTable[i];
    if (r.art == point.art && r.segmentIndex == point.segmentIndex) return i;
  }
  return std::nullopt;
}

// Clears one handle flag of entry i, in its handle flags and in what it shows; an entry left with
// no flag leaves the table. True when it left.
bool ClearFlag(PluginState& s, int index, std::size_t flag) {
  s.pointTable[index].shownParts.reset(flag);
  return clearHandleFlag(s, index, flag);
}

// Removes every entry of the path from the table, with its counts.
void DiscardEntriesOf(PluginState& s, AIArtHandle art) {
  for (int i = s.pointCount - 1; i >= 0; --i) {
    if (s.pointTable[i].art == art) discardEntry(s, i);
  }
}

bool Retracted(AIRealPoint handle, AIRealPoint anchor) {
  return SamePoint(handle, anchor);
}

}  // namespace release

namespace {

using namespace release;

AIErr DisposeWorkingSet(PluginState& s) {
  AIErr error = kNoErr;
  if (s.workingArtSet != nullptr) {
    error = SuiteAs<AIArtSetSuite>(SuiteId::ArtSet)->DisposeArtSet(s.workingArtSet);
  }
  s.workingArtSet = nullptr;
  return error;
}

// Calls f for every object of the working set.
template <typename F>
void ForEachWorkingArt(PluginState& s, F f) {
  if (s.workingArtSet == nullptr) return;
  const auto* sets = SuiteAs<AIArtSetSuite>(SuiteId::ArtSet);
  int32_t count = 0;
  sets->CountArtSet(s.workingArtSet, &count);
  for (int32_t i = 0; i < count; ++i) {
    AIArtHandle art = nullptr;
    if (sets->IndexArtSet(s.workingArtSet, i, &art) == kNoErr && art != nullptr) f(art);
  }
}

// Deselects everything that is selected.
AIErr DeselectAll(PluginState& s) {
  AIErr error = gatherSelectedPaths(s);
  ForEachWorkingArt(s, [&](AIArtHandle art) { error = Deselect(art); });
  const AIErr disposed = DisposeWorkingSet(s);
  return error != kNoErr ? error : disposed;
}

constexpr int kSelectionChangedNotifier = 1;  // position in notifierHandles

// Half the side of the square around an anchor that the Shift-toggle selects in.
constexpr float kToggleHalfSide = 0.0001f;

// The grabbed point becomes a selected anchor among the other selected anchors of its path (which
// show their handles), or among all of its points with anchor_allHandles.
AIErr SelectThePoint(PluginState& s) {
  const PointRecord& p = s.grabbedPoint;
  ShowAllSides(p.art, false, s.settings.anchor_allHandles == 0);
  return SetSegmentState(p.art, p.segmentIndex, kAISegmentPointSelected);
}

// The grabbed point becomes the one selected anchor of its path (with anchor_allHandles every other
// point shows its handles).
AIErr MakeOnlySelectedPoint(PluginState& s) {
  const PointRecord& p = s.grabbedPoint;
  if (s.settings.anchor_allHandles) {
    ShowAllSides(p.art, false);
  } else {
    Deselect(p.art);
  }
  return SetSegmentState(p.art, p.segmentIndex, kAISegmentPointSelected);
}

double ZoomOfFrontView() {
  AIReal zoom = 1.0f;
  if (const AIDocumentViewHandle view = frontView()) {
    SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView)->GetDocumentViewZoom(view, &zoom);
  }
  return zoom;
}

// Shift-click without equalising: the grabbed anchor is toggled in or out of the host selection
// the way a Shift-click of the host's direct selection does, and the tool's kept handles go.
AIErr ShiftToggleGrabbedAnchor(PluginState& s) {
  s.grabbedPoint.handleFlags.reset();
  s.grabbedPoint.shownParts.reset();
  s.previousPoint.shownParts.reset();
  s.nextPoint.shownParts.reset();
  clearEntries(s);
  const AIRealPoint a = s.grabbedPoint.segment.p;
  s.extendSelection = 1;
  s.selectionRect = AIRealRect{a.h - kToggleHalfSide, a.v + kToggleHalfSide, a.h + kToggleHalfSide,
                               a.v - kToggleHalfSide};
  s.selectionArt = s.grabbedPoint.art;
  return selectInRectangle(s, ZoomOfFrontView());
}

// Geometry of one handle, in double precision.
double HandleLength(AIRealPoint anchor, AIRealPoint handle) {
  return Distance(PointFromHost(anchor), PointFromHost(handle));
}

// The handle moved along its own direction to `length` from the anchor; a retracted handle, which
// has no direction, stays where it is.
AIRealPoint WithLength(AIRealPoint anchor, AIRealPoint handle, double length) {
  const Point a = PointFromHost(anchor);
  const Point d = PointFromHost(handle) - a;
  const double current = Length(d);
  if (current <= 0.0) return handle;
  return PointToHost(a + d * (length / current));
}

// A handle `length` from the anchor pointing exactly away from `opposite`; the anchor itself when
// the opposite handle is retracted or the length is 0.
AIRealPoint OppositeOf(AIRealPoint anchor, AIRealPoint opposite, double length) {
  const Point a = PointFromHost(anchor);
  const Point d = PointFromHost(opposite) - a;
  const double oppositeLength = Length(d);
  if (oppositeLength <= 0.0 || length <= 0.0) return anchor;
  return PointToHost(a - d * (length / oppositeLength));
}

// ---- Marquee and clicks on nothing ----

// Shift+Alt on nothing: every non-retracted handle of every selected anchor becomes a kept handle.
AIErr SelectHandlesOfSelectedAnchors(PluginState& s) {
  AIErr error = gatherSelectedPaths(s);
  if (s.workingPathCount > 0) {
    const auto* notifiers = SuiteAs<AINotifierSuite>(SuiteId::Notifier);
    const AINotifierHandle selectionChanged = s.notifierHandles[kSelectionChangedNotifier];
    if (selectionChanged != nullptr) notifiers->SetNotifierActive(selectionChanged, 0);
    ForEachWorkingArt(s, [&](AIArtHandle art) {
      int32_t type = kAIUnknownArt;
      Arts()->GetArtType(art, &type);
      if (type != kAIPathArt) return;
      const WholePath path = readWholePath(art);
      for (int32_t i = 0; i < path.count() && s.pointCount < kPointTableCapacity; ++i) {
        const AIPathSegment& seg = path.segments[static_cast<std::size_t>(i)];
        const bool in = !Retracted(seg.in, seg.p);
        const bool out = !Retracted(seg.out, seg.p);
        if ((in || out) && StateOf(art, i) == kAISegmentPointSelected) {
          addEntry(s, art, i, seg, in, out, true);
        }
      }
    });
    if (selectionChanged != nullptr) error = notifiers->SetNotifierActive(selectionChanged, 1);
  }
  DisposeWorkingSet(s);
  if (s.selectedHandleCount > 0) {
    error = ShowHandleSelection(s);
    ShowRotationMode(s, false);
    error = invalidateAllViews(s);
  }
  return error;
}

AIErr EndMarqueeOrEmptyClick(PluginState& s, bool shift, bool alt) {
  AIErr error = kNoErr;
  if (s.marqueeShown) {
    error = selectHandlesInMarquee(s);
    DisposeWorkingSet(s);
    return invalidateAllViews(s);
  }
  if (s.marqueeCancelled) {
    ShowRotationMode(s, false);
    return invalidateAllViews(s);
  }
  // A click that selects or deselects leaves no step in the undo history.
  error = SuiteAs<AIUndoSuite>(SuiteId::Undo)->SetSilent(1);
  if (s.pointCount > 0) {
    clearEntries(s);
    error = invalidateAllViews(s);
  } else if (shift && alt) {
    error = SelectHandlesOfSelectedAnchors(s);
  } else {
    error = DeselectAll(s);
  }
  const AIErr refreshed = RefreshPanel(s);
  return refreshed != kNoErr ? refreshed : error;
}

// ---- After a drag ----

AIErr SettleDrag(PluginState& s) {
  AIErr error = SuiteAs<AICursorSnapSuite>(SuiteId::CursorSnap)->ClearCustomConstraints();
  if (s.previousConnector.isConnector) error = WritePoint(s.previousPoint);
  if (s.nextConnector.isConnector) error = WritePoint(s.nextPoint);

  const bool pointDrag =
      s.dragMode == kDragAnchor || s.dragMode == kDragInHandle || s.dragMode == kDragOutHandle;
  if (pointDrag && s.pointCount == 0) error = SelectThePoint(s);

  if (s.pointCount > 0 && s.dragMode != kDragSegment) {
    // A kept handle the drag shortened onto its anchor is no longer selected. The entries are
    // read back from the host: it holds what the drag wrote, for the grabbed point too.
    for (int i = s.pointCount - 1; i >= 0; --i) {
      PointRecord& r = s.pointTable[i];
      AIPathSegment segment{};
      if (Paths()->GetPathSegments(r.art, r.segmentIndex, 1, &segment) == kNoErr) {
        r.segment = segment;
      }
      if (r.handleFlags.test(kInHandleFlag) && Retracted(r.segment.in, r.segment.p) &&
          ClearFlag(s, i, kInHandleFlag)) {
        continue;
      }
      if (r.handleFlags.test(kOutHandleFlag) && Retracted(r.segment.out, r.segment.p) &&
          ClearFlag(s, i, kOutHandleFlag)) {
        continue;
      }
      r.shownParts = r.handleFlags;
      r.savedSegment = r.segment;
    }
    error = invalidateAllViews(s);
  }
  return error;
}

// ---- Clicks on an anchor ----

// Shift-click with equalising on an anchor that is not a connector: both handles get the mean
// length, or a lone handle gets an opposite twin of its length.
void EqualizeAnchorHandles(PluginState& s) {
  AIPathSegment& seg = s.grabbedPoint.segment;
  switch (s.anchorCase) {
    case 0:
    case 4: {
      const double mean = (HandleLength(seg.p, seg.in) + HandleLength(seg.p, seg.out)) / 2.0;
      seg.in = WithLength(seg.p, seg.in, mean);
      seg.out = WithLength(seg.p, seg.out, mean);
      break;
    }
    case 1:
    case 5:
      MirrorInToOut(seg);
      break;
    case 2:
    case 6:
      MirrorOutToIn(seg);
      break;
    default:
      break;
  }
}

// A click on an anchor (no drag, no kept handles): Alt converts, Shift equalises or toggles.
AIErr AnchorClick(PluginState& s, bool shift, bool alt) {
  AIErr error = kNoErr;
  PointRecord& p = s.grabbedPoint;
  AIPathSegment& seg = p.segment;
  if (alt && shift) {
    if (s.anchorCase == 3 || s.anchorCase == 7) {
      error = SmoothPoints(s, p.art, true, p.segmentIndex, true);
    } else {
      seg.in = seg.out = seg.p;
      error = WritePoint(p);
    }
  } else if (alt) {
    seg.corner = seg.corner ? 0 : 1;
    if (!seg.corner) BalanceHandles(seg);
    error = WritePoint(p);
  } else if (shift && !s.settings.shift_equalizes) {
    return ShiftToggleGrabbedAnchor(s);
  } else if (shift) {
    if (s.grabbedConnector.lineNeighbour < 0) {
      EqualizeAnchorHandles(s);
      error = WritePoint(p);
    }
  }
  const AIErr selected = MakeOnlySelectedPoint(s);
  return error != kNoErr ? error : selected;
}

// ---- Clicks on a handle ----

// A click on a handle (no drag, no kept handles): Alt retracts or converts, Shift equalises or
// toggles.
AIErr HandleClick(PluginState& s, bool shift, bool alt) {
  AIErr error = kNoErr;
  PointRecord& p = s.grabbedPoint;
  AIPathSegment& seg = p.segment;
  const bool inClicked = s.dragMode == kDragInHandle;
  AIRealPoint& clicked = inClicked ? seg.in : seg.out;
  const AIRealPoint other = inClicked ? seg.out : seg.in;
  const std::size_t otherFlag = inClicked ? kOutHandleFlag : kInHandleFlag;
  if (alt && shift) {
    clicked = seg.p;
    error = WritePoint(p);
  } else if (alt) {
    if (seg.corner) {
      seg.corner = 0;
      p.handleFlags.reset();
      p.handleFlags.set(otherFlag);
      const double length = HandleLength(seg.p, clicked);
      if (length > 0.0 && !Retracted(other, seg.p)) clicked = OppositeOf(seg.p, other, length);
    } else {
      seg.corner = 1;
    }
    error = WritePoint(p);
  } else if (shift && !s.settings.shift_equalizes) {
    return ShiftToggleGrabbedAnchor(s);
  } else if (shift) {
    p.handleFlags.reset();
    p.handleFlags.set(otherFlag);
    const double length = HandleLength(seg.p, other);
    clicked = length > 0.0 ? WithLength(seg.p, clicked, length) : seg.p;
    error = WritePoint(p);
  }
  const AIErr selected = SelectThePoint(s);
  return error != kNoErr ? error : selected;
}

// What a gesture that grabbed a point or a segment does at its end.
AIErr ClickRules(PluginState& s, bool shift, bool alt, AIErr error) {
  const bool clicked = s.dragStarted == 0;
  switch (s.dragMode) {
    case kDragAddPoint:
      if (s.pointCount == 0) {
        DeselectAll(s);
        error = SetSegmentState(s.grabbedPoint.art, s.grabbedPoint.segmentIndex,
                                kAISegmentPointSelected);
      }
      break;
    case kDragAnchor:
      if (clicked && s.pointCount == 0) error = AnchorClick(s, shift, alt);
      break;
    case kDragInHandle:
    case kDragOutHandle:
      // With kept handles the grabbed handle is already selected in the table.
      if (clicked && s.pointCount == 0) error = HandleClick(s, shift, alt);
      break;
    case kDragSegment:
      error = SegmentClick(s, shift, alt);
      break;
    default:
      break;
  }
  if (s.selectedHandleCount > 0) error = ShowHandleSelection(s);
  return error;
}

}  // namespace

AIErr onMouseUp(void* message) {
  PluginState& s = *State();
  const auto& toolMessage = *static_cast<const AIToolMessage*>(message);
  const int32_t modifiers = HeldModifiers();
  const bool shift = (modifiers & kShiftKey) != 0;
  const bool alt = (modifiers & kAltKey) != 0;
  AIErr error = kNoErr;

  s.toolDragged = 2;
  ShowRotationMode(s, false);
  if (s.dragMode == kDragMarquee || s.marqueeCancelled) {
    error = EndMarqueeOrEmptyClick(s, shift, alt);
  } else {
    if (s.dragStarted) error = SettleDrag(s);
    error = ClickRules(s, shift, alt, error);
  }
  // The gesture is over: the tool is back at rest, and cursor, ring and label follow what the
  // release changed.
  s.dragMode = kDragMarquee;
  hoverHitTest(s, toolMessage);
  s.dragStarted = 0;
  s.marqueeCancelled = 0;
  s.marqueeShown = 0;
  return error;
}

}  // namespace sq
