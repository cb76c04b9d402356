// Suites whose document work is not in this host yet: every operation answers that no document is
// open.
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_art_set.h"
#include "sqsdk/suites/ai_artboard.h"
#include "sqsdk/suites/ai_cursor_snap.h"
#include "sqsdk/suites/ai_document.h"
#include "sqsdk/suites/ai_document_list.h"
#include "sqsdk/suites/ai_document_view.h"
#include "sqsdk/suites/ai_hard_soft.h"
#include "sqsdk/suites/ai_hit_test.h"
#include "sqsdk/suites/ai_layer.h"
#include "sqsdk/suites/ai_path.h"
#include "sqsdk/suites/ai_path_style.h"
#include "sqsdk/suites/ai_plugin_group.h"
#include "sqsdk/suites/ai_real_bezier.h"
#include "sqsdk/suites/ai_real_math.h"
#include "sqsdk/suites/ai_text_frame.h"
#include "sqsdk/suites/ai_undo.h"
#include "sqsdk/suites/ai_unicode_string.h"
#include "sqsdk/suites/ai_user.h"
#include "suites/publish_parts.hpp"

namespace sqhost {
namespace {

template <typename F>
struct NoDocument;
template <typename R, typename... A>
struct NoDocument<R (*)(A...)> {
  static R call(A...) { return kNoDocumentErr; }
};

const AIArtSuite kArtSuite = {
    NoDocument<decltype(AIArtSuite::GetArtType)>::call,
    NoDocument<decltype(AIArtSuite::GetArtParent)>::call,
    NoDocument<decltype(AIArtSuite::GetArtFirstChild)>::call,
    NoDocument<decltype(AIArtSuite::GetArtSibling)>::call,
    NoDocument<decltype(AIArtSuite::GetLayerOfArt)>::call,
    NoDocument<decltype(AIArtSuite::GetArtUserAttr)>::call,
    NoDocument<decltype(AIArtSuite::SetArtUserAttr)>::call,
    NoDocument<decltype(AIArtSuite::GetArtBounds)>::call,
    NoDocument<decltype(AIArtSuite::ValidArt)>::call,
    NoDocument<decltype(AIArtSuite::NewArt)>::call,
    NoDocument<decltype(AIArtSuite::DisposeArt)>::call,
};
const AIArtSetSuite kArtSetSuite = {
    NoDocument<decltype(AIArtSetSuite::NewArtSet)>::call,
    NoDocument<decltype(AIArtSetSuite::DisposeArtSet)>::call,
    NoDocument<decltype(AIArtSetSuite::MatchingArtSet)>::call,
    NoDocument<decltype(AIArtSetSuite::CountArtSet)>::call,
    NoDocument<decltype(AIArtSetSuite::IndexArtSet)>::call,
    NoDocument<decltype(AIArtSetSuite::AddArtToArtSet)>::call,
    NoDocument<decltype(AIArtSetSuite::RemoveArtFromArtSet)>::call,
    NoDocument<decltype(AIArtSetSuite::ReplaceArtInArtSet)>::call,
};
const AILayerSuite kLayerSuite = {
    NoDocument<decltype(AILayerSuite::CountLayers)>::call,
    NoDocument<decltype(AILayerSuite::GetNthLayer)>::call,
    NoDocument<decltype(AILayerSuite::GetFirstArtOfLayer)>::call,
    NoDocument<decltype(AILayerSuite::GetLayerColor)>::call,
    NoDocument<decltype(AILayerSuite::SetLayerColor)>::call,
    NoDocument<decltype(AILayerSuite::GetLayerVisible)>::call,
    NoDocument<decltype(AILayerSuite::SetLayerVisible)>::call,
    NoDocument<decltype(AILayerSuite::GetLayerEditable)>::call,
    NoDocument<decltype(AILayerSuite::SetLayerEditable)>::call,
    NoDocument<decltype(AILayerSuite::GetLayerTitle)>::call,
    NoDocument<decltype(AILayerSuite::SetLayerTitle)>::call,
};
const AIUserSuite kUserSuite = {
    NoDocument<decltype(AIUserSuite::MessageAlert)>::call,
    NoDocument<decltype(AIUserSuite::GetUnitsString)>::call,
};
const AIPathSuite kPathSuite = {
    NoDocument<decltype(AIPathSuite::GetPathSegmentCount)>::call,
    NoDocument<decltype(AIPathSuite::GetPathSegments)>::call,
    NoDocument<decltype(AIPathSuite::SetPathSegments)>::call,
    NoDocument<decltype(AIPathSuite::InsertPathSegments)>::call,
    NoDocument<decltype(AIPathSuite::DeletePathSegments)>::call,
    NoDocument<decltype(AIPathSuite::GetPathClosed)>::call,
    NoDocument<decltype(AIPathSuite::SetPathClosed)>::call,
    NoDocument<decltype(AIPathSuite::ReversePathSegments)>::call,
    NoDocument<decltype(AIPathSuite::GetPathBezier)>::call,
    NoDocument<decltype(AIPathSuite::GetPathSegmentSelected)>::call,
    NoDocument<decltype(AIPathSuite::SetPathSegmentSelected)>::call,
    NoDocument<decltype(AIPathSuite::GetPathAllSegmentsSelected)>::call,
    NoDocument<decltype(AIPathSuite::GetMaxPathSegments)>::call,
};
const AIPathStyleSuite kPathStyleSuite = {
    NoDocument<decltype(AIPathStyleSuite::GetPathStyle)>::call,
    NoDocument<decltype(AIPathStyleSuite::SetPathStyle)>::call,
};
const AIDocumentSuite kDocumentSuite = {
    NoDocument<decltype(AIDocumentSuite::GetDocument)>::call,
    NoDocument<decltype(AIDocumentSuite::GetDocumentMaxArtboardBounds)>::call,
    NoDocument<decltype(AIDocumentSuite::GetDocumentRulerUnits)>::call,
    NoDocument<decltype(AIDocumentSuite::SetDocumentRulerUnits)>::call,
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
const AIDocumentListSuite kDocumentListSuite = {
    NoDocument<decltype(AIDocumentListSuite::Count)>::call,
    NoDocument<decltype(AIDocumentListSuite::GetNthDocument)>::call,
    NoDocument<decltype(AIDocumentListSuite::Activate)>::call,
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
const AIUndoSuite kUndoSuite = {
    NoDocument<decltype(AIUndoSuite::SetUndoText)>::call,
    NoDocument<decltype(AIUndoSuite::UndoChanges)>::call,
    NoDocument<decltype(AIUndoSuite::SetSilent)>::call,
    NoDocument<decltype(AIUndoSuite::IsSilent)>::call,
};
const AITextFrameSuite kTextFrameSuite = {
    NoDocument<decltype(AITextFrameSuite::GetTextFrameType)>::call,
    NoDocument<decltype(AITextFrameSuite::GetTextFramePathObject)>::call,
};
const AIArtboardSuite kArtboardSuite = {
    NoDocument<decltype(AIArtboardSuite::CountArtboards)>::call,
    NoDocument<decltype(AIArtboardSuite::GetActiveArtboardIndex)>::call,
    NoDocument<decltype(AIArtboardSuite::SetActiveArtboardIndex)>::call,
    NoDocument<decltype(AIArtboardSuite::GetArtboardBounds)>::call,
    NoDocument<decltype(AIArtboardSuite::GetArtboardRulerOrigin)>::call,
    NoDocument<decltype(AIArtboardSuite::SetArtboardRulerOrigin)>::call,
};
const AIPluginGroupSuite kPluginGroupSuite = {
    NoDocument<decltype(AIPluginGroupSuite::GetPluginArtResultArt)>::call,
};
const AIHardSoftSuite kHardSoftSuite = {
    NoDocument<decltype(AIHardSoftSuite::HardenPoint)>::call,
    NoDocument<decltype(AIHardSoftSuite::SoftenPoint)>::call,
};
const AIRealMathSuite kRealMathSuite = {
    NoDocument<decltype(AIRealMathSuite::RealPointAngle)>::call,
    NoDocument<decltype(AIRealMathSuite::RealPointLength)>::call,
    NoDocument<decltype(AIRealMathSuite::RealPointLengthAngle)>::call,
    NoDocument<decltype(AIRealMathSuite::RealPointEqual)>::call,
    NoDocument<decltype(AIRealMathSuite::RealPointClose)>::call,
    NoDocument<decltype(AIRealMathSuite::AlmostEqual)>::call,
    NoDocument<decltype(AIRealMathSuite::RealPointInRealRect)>::call,
    NoDocument<decltype(AIRealMathSuite::RealRectInRealRect)>::call,
    NoDocument<decltype(AIRealMathSuite::RealRectOverlap)>::call,
};
const AIRealBezierSuite kRealBezierSuite = {
    NoDocument<decltype(AIRealBezierSuite::EvaluateBezier)>::call,
    NoDocument<decltype(AIRealBezierSuite::DivideBezier)>::call,
    NoDocument<decltype(AIRealBezierSuite::AdjustBezierThroughPoint)>::call,
};
const AIUnicodeStringSuite kUnicodeStringSuite = {
    NoDocument<decltype(AIUnicodeStringSuite::NewUnicodeStringFromUTF8)>::call,
    NoDocument<decltype(AIUnicodeStringSuite::DisposeUnicodeString)>::call,
    NoDocument<decltype(AIUnicodeStringSuite::GetUTF8)>::call,
    NoDocument<decltype(AIUnicodeStringSuite::GetLength)>::call,
};

}  // namespace

void publishPendingSuites(SuiteRegistry& registry) {
  registry.add(kAIArtSuite, kAIArtSuiteVersion, &kArtSuite);
  registry.add(kAIArtSetSuite, kAIArtSetSuiteVersion, &kArtSetSuite);
  registry.add(kAILayerSuite, kAILayerSuiteVersion, &kLayerSuite);
  registry.add(kAIUserSuite, kAIUserSuiteVersion, &kUserSuite);
  registry.add(kAIPathSuite, kAIPathSuiteVersion, &kPathSuite);
  registry.add(kAIPathStyleSuite, kAIPathStyleSuiteVersion, &kPathStyleSuite);
  registry.add(kAIDocumentSuite, kAIDocumentSuiteVersion, &kDocumentSuite);
  registry.add(kAIDocumentViewSuite, kAIDocumentViewSuiteVersion, &kDocumentViewSuite);
  registry.add(kAIDocumentListSuite, kAIDocumentListSuiteVersion, &kDocumentListSuite);
  registry.add(kAIHitTestSuite, kAIHitTestSuiteVersion, &kHitTestSuite);
  registry.add(kAICursorSnapSuite, kAICursorSnapSuiteVersion, &kCursorSnapSuite);
  registry.add(kAIUndoSuite, kAIUndoSuiteVersion, &kUndoSuite);
  registry.add(kAITextFrameSuite, kAITextFrameSuiteVersion, &kTextFrameSuite);
  registry.add(kAIArtboardSuite, kAIArtboardSuiteVersion, &kArtboardSuite);
  registry.add(kAIPluginGroupSuite, kAIPluginGroupSuiteVersion, &kPluginGroupSuite);
  registry.add(kAIHardSoftSuite, kAIHardSoftSuiteVersion, &kHardSoftSuite);
  registry.add(kAIRealMathSuite, kAIRealMathSuiteVersion, &kRealMathSuite);
  registry.add(kAIRealBezierSuite, kAIRealBezierSuiteVersion, &kRealBezierSuite);
  registry.add(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, &kUnicodeStringSuite);
}

}  // namespace sqhost
