// The hit test suite: hit references over the model's hit test of the current document.
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>

#include "hittest/hit_test.hpp"
#include "suites/handles.hpp"
#include "suites/view_suites.hpp"

namespace sqhost {
namespace {

// Live hit references by number; a reference that hit nothing holds no result.
struct HitTable {
  std::map<uintptr_t, std::optional<HitResult>> hits;
  uintptr_t next = 1;
};

HitTable& hitTable() {
  static HitTable table;
  return table;
}

AIHitRef addHit(std::optional<HitResult> hit) {
  HitTable& t = hitTable();
  const uintptr_t key = t.next++;
  t.hits.emplace(key, hit);
  return reinterpret_cast<AIHitRef>(key);
}

// Runs f with the result of a live reference that hit something.
template <typename F>
AIErr withHit(AIHitRef ref, F&& f) {
  return guarded([&] {
    auto& hits = hitTable().hits;
    auto it = hits.find(reinterpret_cast<uintptr_t>(ref));
    if (it == hits.end()) return kBadHandleErr;
    if (!it->second) return kBadParameterErr;
    return f(*it->second);
  });
}

AIErr hitTest(AIArtHandle art, const AIRealPoint* point, int32_t request, AIHitRef* outHit) {
  return guarded([&] {
    if (outHit == nullptr) return kBadParameterErr;
    *outHit = nullptr;
    Document* doc = host().currentDocument();
    View* view = host().currentView();
    if (doc == nullptr || view == nullptr) return kNoDocumentErr;
    if (point == nullptr) return kBadParameterErr;
    if (request != kAIHitRequestAll && request != kAIHitRequestArt) return kBadParameterErr;
    if (!isFinite(*point)) return kNonFiniteErr;
    HitRequest query;
    query.point = *point;
    query.tolerancePixels = tolerancePreference("selectionTolerance");
    if (request == kAIHitRequestArt && art != nullptr) {
      const ResolvedArt resolved = resolveArt(art);
      if (!resolved) return kBadHandleErr;
      // Art of another open document lies outside the tested document: nothing to hit.
      if (resolved.document != doc) {
        *outHit = addHit(std::nullopt);
        return kNoErr;
      }
      query.within = resolved.art->id();
    }
    *outHit = addHit(sqhost::hitTest(*doc, *view, query));
    return kNoErr;
  });
}

AIErr isHit(AIHitRef ref, AIBoolean* outIsHit) {
  return guarded([&] {
    auto& hits = hitTable().hits;
    auto it = hits.find(reinterpret_cast<uintptr_t>(ref));
    if (it == hits.end()) return kBadHandleErr;
    if (outIsHit == nullptr) return kBadParameterErr;
    *outIsHit = it->second ? 1 : 0;
    return kNoErr;
  });
}

AIErr getHitType(AIHitRef ref, int32_t* outType) {
  return withHit(ref, [&](const HitResult& h) {
    if (outType == nullptr) return kBadParameterErr;
    *outType = static_cast<int32_t>(h.part);
    return kNoErr;
  });
}

AIErr getHitArt(AIHitRef ref, AIArtHandle* outArt) {
  return withHit(ref, [&](const HitResult& h) {
    if (outArt == nullptr) return kBadParameterErr;
    *outArt = toArtHandle(h.art);
    return kNoErr;
  });
}

AIErr getHitPoint(AIHitRef ref, AIRealPoint* outPoint) {
  return withHit(ref, [&](const HitResult& h) {
    if (outPoint == nullptr) return kBadParameterErr;
    *outPoint = h.point;
    return kNoErr;
  });
}

AIErr getHitSegmentIndex(AIHitRef ref, int32_t* outIndex) {
  return withHit(ref, [&](const HitResult& h) {
    if (outIndex == nullptr) return kBadParameterErr;
    *outIndex = static_cast<int32_t>(h.segment);
    return kNoErr;
  });
}

AIErr getHitParameter(AIHitRef ref, AIReal* outParameter) {
  return withHit(ref, [&](const HitResult& h) {
    if (outParameter == nullptr) return kBadParameterErr;
    *outParameter = h.parameter;
    return kNoErr;
  });
}

AIErr releaseHit(AIHitRef ref) {
  return guarded([&] {
    if (ref == nullptr) return kNoErr;
    return hitTable().hits.erase(reinterpret_cast<uintptr_t>(ref)) == 1 ? kNoErr : kBadHandleErr;
  });
}

}  // namespace

const AIHitTestSuite kHitTestSuiteTable = {
    hitTest,         isHit,      getHitType, getHitArt, getHitPoint, getHitSegmentIndex,
    getHitParameter, releaseHit,
};

}  // namespace sqhost
