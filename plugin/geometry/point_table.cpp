// The point table's bookkeeping: capacity, order, and the handle flags with their counts.
#include "geometry/point_table.hpp"

#include <algorithm>

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

void emptyTable(PluginState& s) {
  s.pointCount = 0;
  s.selectedHandleCount = 0;
  s.selectedInHandleCount = 0;
  s.dragMode = kDragMarquee;
}

}  // namespace sq
