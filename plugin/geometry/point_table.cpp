// The point table: its entries, their handle flags and the counts of both.
#include "geometry/point_table.hpp"

#include <algorithm>

#include "geometry/selection.hpp"
#include "shell/host_suites.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_layer.h"
#include "sqsdk/suites/ai_path.h"

namespace sq {

std::optional<int> findEntry(const PluginState& s, AIArtHandle art, int hitPart, int segmentIndex) {
  const std::size_t flag = hitPart == kHitInHandle ? kInHandleFlag : kOutHandleFlag;
  for (int i = 0; i < s.pointCount; ++i) {
    const PointRecord& r = s.pointTable[i];
    if (r.art == art && r.segmentIndex == segmentIndex && r.handleFlags.test(flag)) return i;
  }
  return std::nullopt;
}

std::optional<int> appendEntry(PluginState& s, AIArtHandle art, int segmentIndex,
                               const AIPathSegment& segment, bool inHandle, bool outHandle) {
  if (s.pointCount >= kPointTableCapacity) return std::nullopt;
  const int index = s.pointCount++;
  PointRecord& r = s.pointTable[index];
  r.art = art;
  r.segmentIndex = static_cast<int16_t>(segmentIndex);
  r.segment = segment;
  r.handleFlags.reset();
  r.shownParts.reset();
  r.shownParts.set(kAnchorShown);
  if (inHandle) {
    r.handleFlags.set(kInHandleFlag);
    r.shownParts.set(kInHandleShown);
    ++s.selectedHandleCount;
    ++s.selectedInHandleCount;
  }
  if (outHandle) {
    r.handleFlags.set(kOutHandleFlag);
    r.shownParts.set(kOutHandleShown);
    ++s.selectedHandleCount;
  }
  r.savedSegment = r.segment;
  return index;
}

void removeEntry(PluginState& s, int index) {
  if (index < 0 || index >= s.pointCount) return;
  std::copy(s.pointTable + index + 1, s.pointTable + s.pointCount, s.pointTable + index);
  --s.pointCount;
}

void discardEntry(PluginState& s, int index) {
  if (index < 0 || index >= s.pointCount) return;
  const PointRecord& r = s.pointTable[index];
  if (r.handleFlags.test(kInHandleFlag)) {
    --s.selectedHandleCount;
    --s.selectedInHandleCount;
  }
  if (r.handleFlags.test(kOutHandleFlag)) --s.selectedHandleCount;
  removeEntry(s, index);
}

void setHandleFlag(PluginState& s, int index, std::size_t flag) {
  PointRecord& r = s.pointTable[index];
  if (r.handleFlags.test(flag)) return;
  r.handleFlags.set(flag);
  ++s.selectedHandleCount;
  if (flag == kInHandleFlag) ++s.selectedInHandleCount;
}

bool clearHandleFlag(PluginState& s, int index, std::size_t flag) {
  PointRecord& r = s.pointTable[index];
  if (!r.handleFlags.test(flag)) return false;
  r.handleFlags.reset(flag);
  --s.selectedHandleCount;
  if (flag == kInHandleFlag) --s.selectedInHandleCount;
  if (r.handleFlags.test(kInHandleFlag) || r.handleFlags.test(kOutHandleFlag)) return false;
  removeEntry(s, index);
  return true;
}

void clearEntries(PluginState& s) {
  s.pointCount = 0;
  s.selectedHandleCount = 0;
  s.selectedInHandleCount = 0;
}

void emptyTable(PluginState& s) {
  clearEntries(s);
  s.dragMode = kDragMarquee;
}

std::optional<int> addEntry(PluginState& s, AIArtHandle art, int segmentIndex,
                            const AIPathSegment& segment, bool inHandle, bool outHandle,
                            bool asBothSides) {
  const auto index = appendEntry(s, art, segmentIndex, segment, inHandle, outHandle);
  if (!index) return index;
  PointRecord& r = s.pointTable[*index];
  readLayerColor(r);
  const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
  if (asBothSides) {
    r.selectionState = kAISegmentInOutSelected;
    paths->SetPathSegmentSelected(art, segmentIndex, kAISegmentInOutSelected);
  } else {
    int32_t state = 0;
    paths->GetPathSegmentSelected(art, segmentIndex, &state);
    r.selectionState = static_cast<int16_t>(state);
  }
  return index;
}

AIErr reapplySelection(PluginState& s, int index) {
  const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
  PointRecord& r = s.pointTable[index];
  if (r.selectionState == kAISegmentPointSelected) {
    int32_t count = 0;
    paths->GetPathSegmentCount(r.art, &count);
    int pointSelected = 0;
    for (int32_t i = 0; i < count; ++i) {
      int32_t state = 0;
      paths->GetPathSegmentSelected(r.art, i, &state);
      if (state == kAISegmentPointSelected) ++pointSelected;
    }
    if (pointSelected >= 2) r.selectionState = kAISegmentInOutSelected;
  }
  return paths->SetPathSegmentSelected(r.art, r.segmentIndex, r.selectionState);
}

AIErr reapplyAllSelections(PluginState& s) {
  AIErr error = kNoErr;
  for (int i = s.pointCount - 1; i >= 0; --i) error = reapplySelection(s, i);
  return error;
}

AIErr readLayerColor(PointRecord& record) {
  AILayerHandle layer = nullptr;
  AIErr error = SuiteAs<AIArtSuite>(SuiteId::Art)->GetLayerOfArt(record.art, &layer);
  if (error == kNoErr) {
    error = SuiteAs<AILayerSuite>(SuiteId::Layer)->GetLayerColor(layer, &record.layerColor);
  }
  return error;
}

AIErr readLayerColors(PluginState& s) {
  AIErr error = kNoErr;
  for (int i = s.pointCount - 1; i >= 0; --i) error = readLayerColor(s.pointTable[i]);
  return error;
}

AIErr refreshTable(PluginState& s) {
  AIErr result = kNoErr;
  if (s.pointCount == 0) {
    result = RefreshPanel(s);
  } else if (s.othersEdited) {
    s.othersEdited = 0;
  } else {
    const auto* arts = SuiteAs<AIArtSuite>(SuiteId::Art);
    const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
    for (int i = s.pointCount - 1; i >= 0; --i) {
      PointRecord& r = s.pointTable[i];
      AIBoolean valid = 0;
      arts->ValidArt(r.art, &valid);
      int32_t count = 0;
      if (valid) paths->GetPathSegmentCount(r.art, &count);
      const bool stale = !valid || lockedOrHiddenAbove(r.art) || r.segmentIndex > count - 1;
      if (stale) {
        discardEntry(s, i);
      } else {
        result = paths->GetPathSegments(r.art, r.segmentIndex, 1, &r.segment);
        r.savedSegment = r.segment;
        readLayerColor(r);
        result = reapplySelection(s, i);
      }
      result = s.selectedHandleCount <= 0 ? RefreshPanel(s) : ShowHandleSelection(s);
    }
  }
  invalidateAllViews(s);
  return result;
}

}  // namespace sq
