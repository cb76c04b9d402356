// The annotator: registration and the draw and invalidate messages.
#include "tool/annotations.hpp"

#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_annotator.h"

namespace sq {

AIErr registerAnnotator(SPPluginRef plugin) {
  PluginState& s = *State();
  const auto* annotators = SuiteAs<AIAnnotatorSuite>(SuiteId::Annotator);
  AIErr error = annotators->AddAnnotator(plugin, kAnnotatorName, &s.annotatorHandle);
  if (error != kNoErr) return error;
  return annotators->SetAnnotatorActive(s.annotatorHandle, 0);
}

// Drawing comes with the tool's annotations; until then there is nothing to draw.
AIErr onDraw(void*) {
  return kNoErr;
}
AIErr onInvalidate(void*) {
  return kNoErr;
}

}  // namespace sq
