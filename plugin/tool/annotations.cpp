// The annotator: registration and the draw and invalidate messages.
#include "tool/annotations.hpp"

#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_annotator.h"
#include "sqsdk/suites/ai_document_list.h"
#include "sqsdk/suites/ai_document_view.h"

namespace sq {

AIErr registerAnnotator(SPPluginRef plugin) {
  PluginState& s = *State();
  const auto* annotators = SuiteAs<AIAnnotatorSuite>(SuiteId::Annotator);
  AIErr error = annotators->AddAnnotator(plugin, kAnnotatorName, &s.annotatorHandle);
  if (error != kNoErr) return error;
  return annotators->SetAnnotatorActive(s.annotatorHandle, 0);
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

AIErr invalidateAllViews(PluginState& s) {
  s.fullRedrawPending = 1;
  const auto* documents = SuiteAs<AIDocumentListSuite>(SuiteId::DocumentList);
  const auto* views = SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView);
  const auto* annotators = SuiteAs<AIAnnotatorSuite>(SuiteId::Annotator);
  int32_t documentCount = 0;
  AIErr error = documents->Count(&documentCount);
  if (error != kNoErr || documentCount == 0) return error;
  int32_t viewCount = 0;
  error = views->CountDocumentViews(&viewCount);
  for (int32_t n = 1; n <= viewCount; ++n) {
    AIDocumentViewHandle view = nullptr;
    error = views->GetNthDocumentView(n, &view);
    if (error != kNoErr) continue;
    error = computeViewRect(s, view);
    if (error == kNoErr) error = annotators->InvalAnnotationRect(view, &s.viewRect);
  }
  return error;
}

// Drawing comes with the tool's annotations; until then there is nothing to draw.
AIErr onDraw(void*) {
  return kNoErr;
}
AIErr onInvalidate(void*) {
  return kNoErr;
}

}  // namespace sq
