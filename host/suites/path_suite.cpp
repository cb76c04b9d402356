// "AI Path Suite": segments, closed flag, direction and per-segment selection of a path.
#include <algorithm>
#include <limits>
#include <span>

#include "sqsdk/suites/ai_path.h"
#include "suites/art_support.hpp"

namespace sqhost {
namespace {

// The path a handle names, or the error for a handle that names no path.
struct PathRef {
  AIErr error = kNoErr;
  Document* document = nullptr;
  const Art* art = nullptr;
  const PathGeometry& path() const { return art->path(); }
};

PathRef findPath(AIArtHandle handle) {
  const ResolvedArt r = resolveArt(handle);
  if (!r) return {kBadHandleErr};
  if (r.type != ArtType::kPath) return {kBadParameterErr};
  return {kNoErr, r.document, r.art};
}

// Whether index .. index + count lies within 0 .. size.
bool inRange(std::size_t size, int32_t index, int32_t count) {
  if (index < 0 || count < 0) return false;
  const auto i = static_cast<std::size_t>(index);
  return i <= size && static_cast<std::size_t>(count) <= size - i;
}

bool allFinite(std::span<const AIPathSegment> segments) {
  return std::all_of(segments.begin(), segments.end(),
                     [](const AIPathSegment& s) { return isFinite(s); });
}

// The art to change, after the checks every change shares.
Art* beginChange(const PathRef& ref, const char* op, AIErr& error) {
  if (!isEditable(*ref.document, *ref.art)) {
    error = kLockedErr;
  } else {
    error = injected(op);
  }
  return error == kNoErr ? ref.document->modifyArt(ref.art->id()) : nullptr;
}

// What every successful change ends with: a path left without segments is not selected, a text
// frame follows its path's selection, and the host hears of the change.
AIErr finishChange(const PathRef& ref, AIErr error) {
  if (error != kNoErr) return error;
  if (ref.path().empty() && ref.art->selected())
    ref.document->modifyArt(ref.art->id())->setSelected(false);
  syncTextFrameSelection(*ref.document, *ref.art);
  host().documentChanged();
  return kNoErr;
}

AIErr getPathSegmentCount(AIArtHandle handle, int32_t* outCount) {
  return guarded([&] {
    const PathRef ref = findPath(handle);
    if (ref.error != kNoErr) return ref.error;
    if (outCount == nullptr) return kBadParameterErr;
    *outCount = static_cast<int32_t>(ref.path().size());
    return kNoErr;
  });
}

AIErr getPathSegments(AIArtHandle handle, int32_t index, int32_t count, AIPathSegment* out) {
  return guarded([&] {
    const PathRef ref = findPath(handle);
    if (ref.error != kNoErr) return ref.error;
    if (out == nullptr && count > 0) return kBadParameterErr;
    if (!inRange(ref.path().size(), index, count)) return kOutOfRangeErr;
    const auto segments = ref.path().segments().subspan(static_cast<std::size_t>(index),
                                                        static_cast<std::size_t>(count));
    std::copy(segments.begin(), segments.end(), out);
    return kNoErr;
  });
}

AIErr setPathSegments(AIArtHandle handle, int32_t index, int32_t count,
                      const AIPathSegment* segments) {
  return guarded([&] {
    const PathRef ref = findPath(handle);
    if (ref.error != kNoErr) return ref.error;
    if (segments == nullptr && count > 0) return kBadParameterErr;
    if (!inRange(ref.path().size(), index, count)) return kOutOfRangeErr;
    if (count == 0) return kNoErr;
    const std::span values(segments, static_cast<std::size_t>(count));
    if (!allFinite(values)) return kNonFiniteErr;
    AIErr error;
    Art* art = beginChange(ref, "SetPathSegments", error);
    if (art == nullptr) return error;
    return finishChange(ref, art->setSegments(static_cast<std::size_t>(index), values));
  });
}

AIErr insertPathSegments(AIArtHandle handle, int32_t index, int32_t count,
                         const AIPathSegment* segments) {
  return guarded([&] {
    const PathRef ref = findPath(handle);
    if (ref.error != kNoErr) return ref.error;
    if (segments == nullptr && count > 0) return kBadParameterErr;
    if (count < 0 || !inRange(ref.path().size(), index, 0)) return kOutOfRangeErr;
    if (count == 0) return kNoErr;
    const std::span values(segments, static_cast<std::size_t>(count));
    const std::size_t limit = PathGeometry::segmentLimit();
    if (values.size() > limit || ref.path().size() > limit - values.size()) {
      return kTooManySegmentsErr;
    }
    if (!allFinite(values)) return kNonFiniteErr;
    AIErr error;
    Art* art = beginChange(ref, "InsertPathSegments", error);
    if (art == nullptr) return error;
    return finishChange(ref, art->insertSegments(static_cast<std::size_t>(index), values));
  });
}

AIErr deletePathSegments(AIArtHandle handle, int32_t index, int32_t count) {
  return guarded([&] {
    const PathRef ref = findPath(handle);
    if (ref.error != kNoErr) return ref.error;
    if (!inRange(ref.path().size(), index, count)) return kOutOfRangeErr;
    if (count == 0) return kNoErr;
    AIErr error;
    Art* art = beginChange(ref, "DeletePathSegments", error);
    if (art == nullptr) return error;
    return finishChange(
        ref, art->deleteSegments(static_cast<std::size_t>(index), static_cast<std::size_t>(count)));
  });
}

AIErr getPathClosed(AIArtHandle handle, AIBoolean* outClosed) {
  return guarded([&] {
    const PathRef ref = findPath(handle);
    if (ref.error != kNoErr) return ref.error;
    if (outClosed == nullptr) return kBadParameterErr;
    *outClosed = ref.path().closed() ? 1 : 0;
    return kNoErr;
  });
}

AIErr setPathClosed(AIArtHandle handle, AIBoolean closed) {
  return guarded([&] {
    const PathRef ref = findPath(handle);
    if (ref.error != kNoErr) return ref.error;
    if (ref.path().closed() == (closed != 0)) return kNoErr;
    AIErr error;
    Art* art = beginChange(ref, "SetPathClosed", error);
    if (art == nullptr) return error;
    return finishChange(ref, art->setClosed(closed != 0));
  });
}

AIErr reversePathSegments(AIArtHandle handle) {
  return guarded([&] {
    const PathRef ref = findPath(handle);
    if (ref.error != kNoErr) return ref.error;
    AIErr error;
    Art* art = beginChange(ref, "ReversePathSegments", error);
    if (art == nullptr) return error;
    return finishChange(ref, art->reverse());
  });
}

AIErr getPathBezier(AIArtHandle handle, int32_t index, AIRealBezier* outBezier) {
  return guarded([&] {
    const PathRef ref = findPath(handle);
    if (ref.error != kNoErr) return ref.error;
    if (outBezier == nullptr) return kBadParameterErr;
    if (index < 0 || static_cast<std::size_t>(index) >= ref.path().bezierCount()) {
      return kOutOfRangeErr;
    }
    *outBezier = ref.path().bezier(static_cast<std::size_t>(index));
    return kNoErr;
  });
}

AIErr getPathSegmentSelected(AIArtHandle handle, int32_t index, int32_t* outState) {
  return guarded([&] {
    const PathRef ref = findPath(handle);
    if (ref.error != kNoErr) return ref.error;
    if (outState == nullptr) return kBadParameterErr;
    if (index < 0 || static_cast<std::size_t>(index) >= ref.path().size()) return kOutOfRangeErr;
    *outState = static_cast<int32_t>(ref.path().selection(static_cast<std::size_t>(index)));
    return kNoErr;
  });
}

AIErr setPathSegmentSelected(AIArtHandle handle, int32_t index, int32_t state) {
  return guarded([&] {
    const PathRef ref = findPath(handle);
    if (ref.error != kNoErr) return ref.error;
    if (index < 0 || static_cast<std::size_t>(index) >= ref.path().size()) return kOutOfRangeErr;
    if (state < kAISegmentNotSelected || state > kAISegmentInOutSelected) return kBadParameterErr;
    const auto i = static_cast<std::size_t>(index);
    const auto wanted = static_cast<SegmentSelection>(state);
    if (ref.path().selection(i) == wanted) return kNoErr;
    // Deselecting always works; selecting needs editable art.
    if (wanted != SegmentSelection::kNone && !isEditable(*ref.document, *ref.art))
      return kLockedErr;
    if (const AIErr e = injected("SetPathSegmentSelected")) return e;
    Art* art = ref.document->modifyArt(ref.art->id());
    return finishChange(ref, art->setSegmentSelection(i, wanted));
  });
}

AIErr getPathAllSegmentsSelected(AIArtHandle handle, AIBoolean* outAll) {
  return guarded([&] {
    const PathRef ref = findPath(handle);
    if (ref.error != kNoErr) return ref.error;
    if (outAll == nullptr) return kBadParameterErr;
    const auto states = ref.path().selections();
    const bool all = !states.empty() && std::all_of(states.begin(), states.end(), [](auto s) {
      return s == SegmentSelection::kAnchor;
    });
    *outAll = all ? 1 : 0;
    return kNoErr;
  });
}

AIErr getMaxPathSegments(int32_t* outMax) {
  return guarded([&] {
    if (outMax == nullptr) return kBadParameterErr;
    *outMax = static_cast<int32_t>(
        std::min<std::size_t>(PathGeometry::segmentLimit(),
                              static_cast<std::size_t>(std::numeric_limits<int32_t>::max())));
    return kNoErr;
  });
}

const AIPathSuite kPathSuite = {
    getPathSegmentCount, getPathSegments,        setPathSegments,        insertPathSegments,
    deletePathSegments,  getPathClosed,          setPathClosed,          reversePathSegments,
    getPathBezier,       getPathSegmentSelected, setPathSegmentSelected, getPathAllSegmentsSelected,
    getMaxPathSegments,
};

}  // namespace

void publishPathSuite(SuiteRegistry& registry) {
  registry.add(kAIPathSuite, kAIPathSuiteVersion, &kPathSuite);
}

}  // namespace sqhost
