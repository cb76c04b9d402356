// Suites not yet backed by the document: every operation answers that no document is open.
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_art_set.h"
#include "sqsdk/suites/ai_layer.h"
#include "sqsdk/suites/ai_path.h"
#include "sqsdk/suites/ai_path_style.h"
#include "sqsdk/suites/ai_plugin_group.h"
#include "sqsdk/suites/ai_text_frame.h"
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
const AITextFrameSuite kTextFrameSuite = {
    NoDocument<decltype(AITextFrameSuite::GetTextFrameType)>::call,
    NoDocument<decltype(AITextFrameSuite::GetTextFramePathObject)>::call,
};
const AIPluginGroupSuite kPluginGroupSuite = {
    NoDocument<decltype(AIPluginGroupSuite::GetPluginArtResultArt)>::call,
};

}  // namespace

void publishArtSuites(SuiteRegistry& registry) {
  registry.add(kAIArtSuite, kAIArtSuiteVersion, &kArtSuite);
  registry.add(kAIArtSetSuite, kAIArtSetSuiteVersion, &kArtSetSuite);
  registry.add(kAILayerSuite, kAILayerSuiteVersion, &kLayerSuite);
  registry.add(kAIUserSuite, kAIUserSuiteVersion, &kUserSuite);
  registry.add(kAIPathSuite, kAIPathSuiteVersion, &kPathSuite);
  registry.add(kAIPathStyleSuite, kAIPathStyleSuiteVersion, &kPathStyleSuite);
  registry.add(kAITextFrameSuite, kAITextFrameSuiteVersion, &kTextFrameSuite);
  registry.add(kAIPluginGroupSuite, kAIPluginGroupSuiteVersion, &kPluginGroupSuite);
}

}  // namespace sqhost
