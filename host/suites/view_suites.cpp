// The document view suite (zoom, scroll, conversions, grid flags) and the publishing of the view,
// hit test and cursor snap suites.
#include "suites/view_suites.hpp"

#include <algorithm>
#include <cmath>

#include "prefs/host_preferences.hpp"
#include "sqsdk/suites/ai_document_view.h"
#include "sqsdk/suites/ai_notifier.h"
#include "suites/publish_parts.hpp"

namespace sqhost {
namespace {

// Runs f with the live view a handle names, after the checks every view operation shares.
template <typename F>
AIErr withView(AIDocumentViewHandle handle, F&& f) {
  return guarded([&] {
    if (host().currentDocument() == nullptr) return kNoDocumentErr;
    View* view = host().views().fromHandle(handle);
    if (view == nullptr) return kBadHandleErr;
    return f(*view);
  });
}

// A zoom or scroll: plug-ins hear of it when the host is idle, and the next paint redraws the
// whole view (after telling the annotators to invalidate what they drew).
void viewChanged(View& view) {
  view.needsFullRepaint = true;
  host().postNotification(kAIDocumentViewChangedNotifier);
}

AIErr getNthDocumentView(int32_t n, AIDocumentViewHandle* outView) {
  return guarded([&] {
    Document* doc = host().currentDocument();
    if (doc == nullptr) return kNoDocumentErr;
    if (outView == nullptr) return kBadParameterErr;
    const std::vector<View*> views = host().views().of(doc->id());
    const int32_t index = n == 0 ? 0 : n - 1;
    if (n < 0 || index >= static_cast<int32_t>(views.size())) return kOutOfRangeErr;
    *outView = ViewList::handleOf(*views[static_cast<std::size_t>(index)]);
    return kNoErr;
  });
}

AIErr countDocumentViews(int32_t* outCount) {
  return guarded([&] {
    Document* doc = host().currentDocument();
    if (doc == nullptr) return kNoDocumentErr;
    if (outCount == nullptr) return kBadParameterErr;
    *outCount = static_cast<int32_t>(host().views().of(doc->id()).size());
    return kNoErr;
  });
}

AIErr getDocumentViewBounds(AIDocumentViewHandle handle, AIRealRect* outBounds) {
  return withView(handle, [&](View& view) {
    if (outBounds == nullptr) return kBadParameterErr;
    *outBounds = view.bounds();
    return kNoErr;
  });
}

AIErr getDocumentViewZoom(AIDocumentViewHandle handle, AIReal* outZoom) {
  return withView(handle, [&](View& view) {
    if (outZoom == nullptr) return kBadParameterErr;
    *outZoom = view.zoom;
    return kNoErr;
  });
}

AIErr setDocumentViewZoom(AIDocumentViewHandle handle, AIReal zoom) {
  return withView(handle, [&](View& view) {
    if (!std::isfinite(zoom)) return kNonFiniteErr;
    if (zoom < kAIMinViewZoom || zoom > kAIMaxViewZoom) return kBadParameterErr;
    if (zoom != view.zoom) {
      view.zoom = zoom;
      viewChanged(view);
    }
    return kNoErr;
  });
}

AIErr getDocumentViewCenter(AIDocumentViewHandle handle, AIRealPoint* outCenter) {
  return withView(handle, [&](View& view) {
    if (outCenter == nullptr) return kBadParameterErr;
    *outCenter = view.center;
    return kNoErr;
  });
}

AIErr setDocumentViewCenter(AIDocumentViewHandle handle, const AIRealPoint* center) {
  return withView(handle, [&](View& view) {
    if (center == nullptr) return kBadParameterErr;
    if (!isFinite(*center)) return kNonFiniteErr;
    if (!samePoint(*center, view.center)) {
      view.center = *center;
      viewChanged(view);
    }
    return kNoErr;
  });
}

AIErr artworkPointToViewPoint(AIDocumentViewHandle handle, const AIRealPoint* artworkPoint,
                              AIPoint* outViewPoint) {
  return withView(handle, [&](View& view) {
    if (artworkPoint == nullptr || outViewPoint == nullptr) return kBadParameterErr;
    if (!isFinite(*artworkPoint)) return kNonFiniteErr;
    const std::optional<AIPoint> p = view.toView(*artworkPoint);
    if (!p) return kBadParameterErr;
    *outViewPoint = *p;
    return kNoErr;
  });
}

AIErr viewPointToArtworkPoint(AIDocumentViewHandle handle, const AIPoint* viewPoint,
                              AIRealPoint* outArtworkPoint) {
  return withView(handle, [&](View& view) {
    if (viewPoint == nullptr || outArtworkPoint == nullptr) return kBadParameterErr;
    *outArtworkPoint = view.toArtwork(*viewPoint);
    return kNoErr;
  });
}

AIErr getDocumentViewGridOptions(AIDocumentViewHandle handle, AIBoolean* outShowGrid,
                                 AIBoolean* outSnapToGrid) {
  return withView(handle, [&](View& view) {
    if (outShowGrid == nullptr || outSnapToGrid == nullptr) return kBadParameterErr;
    *outShowGrid = view.showGrid ? 1 : 0;
    *outSnapToGrid = view.snapToGrid ? 1 : 0;
    return kNoErr;
  });
}

AIErr setDocumentViewGridOptions(AIDocumentViewHandle handle, AIBoolean showGrid,
                                 AIBoolean snapToGrid) {
  return withView(handle, [&](View& view) {
    view.showGrid = showGrid != 0;
    view.snapToGrid = snapToGrid != 0;
    return kNoErr;
  });
}

const AIDocumentViewSuite kDocumentViewSuite = {
    getNthDocumentView,         countDocumentViews,         getDocumentViewBounds,
    getDocumentViewZoom,        setDocumentViewZoom,        getDocumentViewCenter,
    setDocumentViewCenter,      artworkPointToViewPoint,    viewPointToArtworkPoint,
    getDocumentViewGridOptions, setDocumentViewGridOptions,
};

}  // namespace

float tolerancePreference(std::string_view key) {
  // The table bounds the tolerances, so a stored value can never make a pick area overflow.
  return static_cast<float>(hostPreferenceNumber(host().preferences(), key).value_or(6.0));
}

void publishViewSuites(SuiteRegistry& registry) {
  registry.add(kAIDocumentViewSuite, kAIDocumentViewSuiteVersion, &kDocumentViewSuite);
  registry.add(kAIHitTestSuite, kAIHitTestSuiteVersion, &kHitTestSuiteTable);
  registry.add(kAICursorSnapSuite, kAICursorSnapSuiteVersion, &kCursorSnapSuiteTable);
}

}  // namespace sqhost
