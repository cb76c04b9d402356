// "AI Undo Suite": naming, taking back and silencing the current undo context.
#include "sqsdk/suites/ai_undo.h"
#include "suites/publish_parts.hpp"
#include "suites/suite_support.hpp"

namespace sqhost {
namespace {

AIErr setUndoText(const char* undoText, const char* redoText) {
  return guarded([&] { return host().undo().setUndoText(undoText, redoText); });
}

AIErr undoChanges() {
  return guarded([&] {
    const AIErr error = host().undo().undoChanges();
    if (error == kNoErr) host().documentChanged();
    return error;
  });
}

AIErr setSilent(AIBoolean silent) {
  return guarded([&] { return host().undo().setSilent(silent != 0); });
}

AIErr isSilent(AIBoolean* outSilent) {
  if (outSilent == nullptr) return kBadParameterErr;
  *outSilent = host().undo().silent() ? 1 : 0;
  return kNoErr;
}

const AIUndoSuite kUndo = {setUndoText, undoChanges, setSilent, isSilent};

}  // namespace

void publishUndoSuite(SuiteRegistry& registry) {
  registry.add(kAIUndoSuite, kAIUndoSuiteVersion, &kUndo);
}

}  // namespace sqhost
