// Suites not yet backed by the document: every operation answers that no document is open.
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_cursor_snap.h"
#include "sqsdk/suites/ai_document_view.h"
#include "sqsdk/suites/ai_hit_test.h"
#include "suites/publish_parts.hpp"

namespace sqhost {
namespace {

template <typename F>
struct NoDocument;
template <typename R, typename... A>
struct NoDocument<R (*)(A...)> {
  static R call(A...) { return kNoDocumentErr; }
};

const AIDocumentViewSuite kDocumentViewSuite = {
    NoDocument<decltype(AIDocumentViewSuite::GetNthDocumentView)>::call,
    NoDocument<decltype(AIDocumentViewSuite::CountDocumentViews)>::call,
    NoDocument<decltype(AIDocumentViewSuite::GetDocumentViewBounds)>::call,
    NoDocument<decltype(AIDocumentViewSuite::GetDocumentViewZoom)>::call,
    NoDocument<decltype(AIDocumentViewSuite::SetDocumentViewZoom)>::call,
    NoDocument<decltype(AIDocumentViewSuite::GetDocumentViewCenter)>::call,
    NoDocument<decltype(AIDocumentViewSuite::SetDocumentViewCenter)>::call,
    NoDocument<decltype(AIDocumentViewSuite::ArtworkPointToViewPoint)>::call,
    NoDocument<decltype(AIDocumentViewSuite::ViewPointToArtworkPoint)>::call,
    NoDocument<decltype(AIDocumentViewSuite::GetDocumentViewGridOptions)>::call,
    NoDocument<decltype(AIDocumentViewSuite::SetDocumentViewGridOptions)>::call,
};
const AIHitTestSuite kHitTestSuite = {
    NoDocument<decltype(AIHitTestSuite::HitTest)>::call,
    NoDocument<decltype(AIHitTestSuite::IsHit)>::call,
    NoDocument<decltype(AIHitTestSuite::GetHitType)>::call,
    NoDocument<decltype(AIHitTestSuite::GetHitArt)>::call,
    NoDocument<decltype(AIHitTestSuite::GetHitPoint)>::call,
    NoDocument<decltype(AIHitTestSuite::GetHitSegmentIndex)>::call,
    NoDocument<decltype(AIHitTestSuite::GetHitParameter)>::call,
    NoDocument<decltype(AIHitTestSuite::ReleaseHit)>::call,
};
const AICursorSnapSuite kCursorSnapSuite = {
    NoDocument<decltype(AICursorSnapSuite::Track)>::call,
    NoDocument<decltype(AICursorSnapSuite::UseSmartTargeting)>::call,
    NoDocument<decltype(AICursorSnapSuite::SetSmartTargeting)>::call,
    NoDocument<decltype(AICursorSnapSuite::SetCustomConstraints)>::call,
    NoDocument<decltype(AICursorSnapSuite::ClearCustomConstraints)>::call,
};

}  // namespace

void publishViewSuites(SuiteRegistry& registry) {
  registry.add(kAIDocumentViewSuite, kAIDocumentViewSuiteVersion, &kDocumentViewSuite);
  registry.add(kAIHitTestSuite, kAIHitTestSuiteVersion, &kHitTestSuite);
  registry.add(kAICursorSnapSuite, kAICursorSnapSuiteVersion, &kCursorSnapSuite);
}

}  // namespace sqhost
