// The annotator: registration and the draw and invalidate messages.
#pragma once

#include "sqsdk/types.h"

namespace sq {

inline constexpr const char* kAnnotatorName = "Spindlequiver Annotator";

// Adds the annotator and makes it inactive until the tool is chosen.
AIErr registerAnnotator(SPPluginRef plugin);

AIErr onDraw(void* message);
AIErr onInvalidate(void* message);

}  // namespace sq
