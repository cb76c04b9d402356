// The end of a gesture that grabbed a path segment: which sides of the segment, or which whole
// path, become selected, and the Alt and Shift edits of the segment's handles.
#include <cstdint>

#include "commands/point_operations.hpp"
#include "geometry/point_table.hpp"
#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_hit_test.h"
#include "tool/gesture.hpp"
#include "tool/rect_select.hpp"
#include "tool/release_rules.hpp"
#include "tool/segment_handles.hpp"

namespace sq::release {

namespace {

// New selection states of a segment's end point (its in side belongs to the segment) and of its
// start point (its out side does) when a segment drag ends: the dragged segment's side is added.
constexpr int32_t addEnd[6] = {2, 4, 2, 4, 4, 0};
constexpr int32_t addStart[6] = {3, 4, 4, 3, 4, 0};

// The segment's end point (grabbedPoint, whose in handle belongs to the segment) and start point
// (previousPoint, whose out handle does) for the curve of this index. False on an open path's
// index 0, which ends no curve.
bool SetUpSegment(PluginState& s, AIArtHandle art, int32_t index) {
  AIBoolean closed = 0;
  Paths()->GetPathClosed(art, &closed);
  const int32_t count = SegmentCount(art);
  if (index < 0 || index >= count) return false;
  const int32_t start = index > 0 ? index - 1 : (closed ? count - 1 : -1);
  if (start < 0) return false;
  ReadPoint(s.grabbedPoint, art, index);
  ReadPoint(s.previousPoint, art, start);
  return true;
}

// While handles are kept, the press records only the grabbed art: the segment under the press
// point is found again here. False when there is none.
bool LocateClickedSegment(PluginState& s) {
  const auto* hits = SuiteAs<AIHitTestSuite>(SuiteId::HitTest);
  AIHitRef hit = nullptr;
  if (hits->HitTest(s.grabbedPoint.art, &s.pressPoint, kAIHitRequestArt, &hit) != kNoErr ||
      hit == nullptr) {
    return false;
  }
  AIBoolean isHit = 0;
  int32_t type = -1;
  int32_t index = -1;
  AIReal t = 0.0f;
  AIArtHandle art = nullptr;
  hits->IsHit(hit, &isHit);
  hits->GetHitType(hit, &type);
  hits->GetHitSegmentIndex(hit, &index);
  hits->GetHitParameter(hit, &t);
  hits->GetHitArt(hit, &art);
  hits->ReleaseHit(hit);
  int32_t artType = kAIUnknownArt;
  if (art != nullptr) Arts()->GetArtType(art, &artType);
  if (!isHit || type != kAIHitSegment || artType != kAIPathArt) return false;
  if (!SetUpSegment(s, art, index)) return false;
  s.segmentParameter = t;
  return true;
}

// Alt+Shift with equalising: a segment whose handle nearer the click has a length is made straight;
// a straight one gets smooth handles at both ends, while the ends' outer handles that were
// retracted stay so.
AIErr StraightenOrCurveSegment(PluginState& s) {
  PointRecord& end = s.grabbedPoint;
  PointRecord& start = s.previousPoint;
  const bool nearStart = s.segmentParameter < 0.5f;
  const bool nearHandleShown = nearStart ? !Retracted(start.segment.out, start.segment.p)
                                         : !Retracted(end.segment.in, end.segment.p);
  AIErr error = kNoErr;
  if (nearHandleShown) {
    end.segment.in = end.segment.p;
    start.segment.out = start.segment.p;
  } else {
    const bool endOutRetracted = Retracted(end.segment.out, end.segment.p);
    const bool startInRetracted = Retracted(start.segment.in, start.segment.p);
    error = SmoothPoints(s, end.art, true, end.segmentIndex, true);
    Paths()->GetPathSegments(end.art, end.segmentIndex, 1, &end.segment);
    error = SmoothPoints(s, start.art, true, start.segmentIndex, true);
    Paths()->GetPathSegments(start.art, start.segmentIndex, 1, &start.segment);
    if (endOutRetracted) end.segment.out = end.segment.p;
    if (startInRetracted) start.segment.in = start.segment.p;
  }
  error = WritePoint(end);
  const AIErr written = WritePoint(start);
  return written != kNoErr ? written : error;
}

// True when a point of the path other than these two has a non-zero selection state.
bool OtherPointsSelected(AIArtHandle art, int32_t a, int32_t b) {
  const int32_t count = SegmentCount(art);
  for (int32_t i = 0; i < count; ++i) {
    if (i != a && i != b && StateOf(art, i) != kAISegmentNotSelected) return true;
  }
  return false;
}

// Gives the point a new selection state, in the host and in its table entry.
AIErr GiveState(PluginState& s, const PointRecord& point, int32_t state) {
  if (const auto i = EntryOf(s, point))
    s.pointTable[*i].selectionState = static_cast<int16_t>(state);
  return SetSegmentState(point.art, point.segmentIndex, state);
}

// Shift-click (toggle) or the end of a segment drag (add): the segment's sides join the path's
// selection, or a Shift-click takes them out of it.
AIErr ExtendSegmentSelection(PluginState& s, bool dragged) {
  PointRecord& end = s.grabbedPoint;
  PointRecord& start = s.previousPoint;
  const AIArtHandle art = end.art;
  if (s.settings.anchor_allHandles) return ShowAllSides(art, true);
  if (!ArtSelected(art)) {
    GiveState(s, end, kAISegmentInSelected);
    return GiveState(s, start, kAISegmentOutSelected);
  }
  if (!dragged && !OtherPointsSelected(art, end.segmentIndex, start.segmentIndex)) {
    DiscardEntriesOf(s, art);
    return Deselect(art);
  }
  int32_t e = StateOf(art, end.segmentIndex);
  int32_t b = StateOf(art, start.segmentIndex);
  if (!(e == kAISegmentPointSelected && b == kAISegmentPointSelected)) {
    if (e == kAISegmentPointSelected) e = kAISegmentInOutSelected;
    if (b == kAISegmentPointSelected) b = kAISegmentInOutSelected;
  }
  const auto clamp = [](int32_t state) {
    return state < 0 ? 0 : (state > kAISegmentInOutSelected ? kAISegmentInOutSelected : state);
  };
  e = clamp(e);
  b = clamp(b);
  const int32_t newEnd = dragged ? addEnd[e] : toggleEnd[e];
  const int32_t newStart = dragged ? addStart[b] : toggleStart[b];

  AIErr error = GiveState(s, end, newEnd);
  if (newEnd == kAISegmentNotSelected || newEnd == kAISegmentOutSelected) {
    end.shownParts.reset();
    if (const auto i = EntryOf(s, end)) ClearFlag(s, *i, kInHandleFlag);
  }
  error = GiveState(s, start, newStart);
  if (newStart == kAISegmentNotSelected || newStart == kAISegmentInSelected) {
    start.shownParts.reset();
    if (const auto i = EntryOf(s, start)) ClearFlag(s, *i, kOutHandleFlag);
  }
  return error;
}

// A plain click: just this segment is selected in its path, and the table keeps only the
// segment's own handles.
AIErr SelectOnlySegment(PluginState& s) {
  const PointRecord& end = s.grabbedPoint;
  const PointRecord& start = s.previousPoint;
  const AIArtHandle art = end.art;
  if (s.settings.anchor_allHandles) return ShowAllSides(art, true);
  Deselect(art);
  for (int i = s.pointCount - 1; i >= 0; --i) {
    const PointRecord& r = s.pointTable[i];
    const bool isEnd = r.art == art && r.segmentIndex == end.segmentIndex;
    const bool isStart = r.art == art && r.segmentIndex == start.segmentIndex;
    if (!isEnd && !isStart) {
      discardEntry(s, i);
      continue;
    }
    if (isEnd && ClearFlag(s, i, kOutHandleFlag)) continue;
    if (isStart && ClearFlag(s, i, kInHandleFlag)) continue;
  }
  GiveState(s, end, kAISegmentInSelected);
  return GiveState(s, start, kAISegmentOutSelected);
}

}  // namespace

AIErr SegmentClick(PluginState& s, bool shift, bool alt) {
  const bool dragged = s.dragStarted != 0;
  const bool kept = s.pointCount > 0;
  const bool equalizes = s.settings.shift_equalizes != 0;
  // A drag that began on a segment while handles were kept was a marquee; a Shift-click with
  // equalising leaves kept handles alone.
  if (kept && (dragged || (shift && equalizes))) return kNoErr;
  if (kept && !LocateClickedSegment(s)) return kNoErr;
  // The selection notification this click causes must not rebuild the table from the host.
  if (kept) s.othersEdited = 1;

  const AIArtHandle art = s.grabbedPoint.art;
  AIErr error = kNoErr;
  if (alt && !dragged && shift && !equalizes) {
    if (ArtSelected(art)) {
      DiscardEntriesOf(s, art);
      error = Deselect(art);
    } else {
      error = ShowAllSides(art, false);
    }
  } else if (alt && !dragged && shift) {
    error = StraightenOrCurveSegment(s);
  } else if (alt && !dragged) {
    error = ShowAllSides(art, false);
  } else if (shift && !dragged && equalizes) {
    error = EqualizeSegmentLengths(s);
  } else if (shift || dragged) {
    error = ExtendSegmentSelection(s, dragged);
  } else {
    error = SelectOnlySegment(s);
  }
  s.grabbedPoint.shownParts.reset(kOutHandleShown);
  s.previousPoint.shownParts.reset(kInHandleShown);
  const AIErr invalidated = invalidateAllViews(s);
  return error != kNoErr ? error : invalidated;
}

}  // namespace sq::release
