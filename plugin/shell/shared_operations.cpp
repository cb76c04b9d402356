// The operations every part of the plug-in calls: invalidating the views, the front view and
// reading a whole path (the panel defines its own two).
#include "shell/shared_operations.hpp"

#include "shell/host_suites.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_annotator.h"
#include "sqsdk/suites/ai_document_list.h"
#include "sqsdk/suites/ai_document_view.h"
#include "sqsdk/suites/ai_path.h"

namespace sq {

AIDocumentViewHandle frontView() {
  AIDocumentViewHandle view = nullptr;
  if (SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView)->GetNthDocumentView(0, &view) != kNoErr) {
    return nullptr;
  }
  return view;
}

AIErr computeViewRect(PluginState& s, AIDocumentViewHandle view) {
  const auto* views = SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView);
  AIRealRect bounds{};
  AIErr error = views->GetDocumentViewBounds(view, &bounds);
  if (error != kNoErr) return error;
  const AIRealPoint corner{bounds.right, bounds.bottom};
  AIPoint far{};
  error = views->ArtworkPointToViewPoint(view, &corner, &far);
  if (error == kNoErr) s.viewRect = AIRect{0, 0, far.h, far.v};
  return error;
}

AIErr invalidateView(PluginState& s, AIDocumentViewHandle view) {
  if (view == nullptr) return kNoErr;
  AIErr error = computeViewRect(s, view);
  if (error == kNoErr) {
    error = SuiteAs<AIAnnotatorSuite>(SuiteId::Annotator)->InvalAnnotationRect(view, &s.viewRect);
  }
  return error;
}

AIErr invalidateAllViews(PluginState& s) {
  s.fullRedrawPending = 1;
  const auto* documents = SuiteAs<AIDocumentListSuite>(SuiteId::DocumentList);
  const auto* views = SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView);
  int32_t documentCount = 0;
  AIErr error = documents->Count(&documentCount);
  if (error != kNoErr || documentCount == 0) return error;
  int32_t viewCount = 0;
  error = views->CountDocumentViews(&viewCount);
  for (int32_t n = 1; n <= viewCount; ++n) {
    AIDocumentViewHandle view = nullptr;
    error = views->GetNthDocumentView(n, &view);
    if (error != kNoErr) continue;
    error = invalidateView(s, view);
  }
  return error;
}

bool readPathSegments(AIArtHandle path, std::vector<AIPathSegment>& segments) {
  const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
  segments.clear();
  int32_t count = 0;
  if (paths->GetPathSegmentCount(path, &count) != kNoErr || count <= 0) return false;
  segments.resize(static_cast<std::size_t>(count));
  if (paths->GetPathSegments(path, 0, count, segments.data()) != kNoErr) {
    segments.clear();
    return false;
  }
  return true;
}

WholePath readWholePath(AIArtHandle path) {
  WholePath whole;
  AIBoolean closed = 0;
  SuiteAs<AIPathSuite>(SuiteId::Path)->GetPathClosed(path, &closed);
  whole.closed = closed != 0;
  readPathSegments(path, whole.segments);
  return whole;
}

}  // namespace sq
