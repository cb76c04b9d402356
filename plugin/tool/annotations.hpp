// The annotator: registration and the draw and invalidate messages.
#pragma once

#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

inline constexpr const char* kAnnotatorName = "Spindlequiver Annotator";

// Adds the annotator and makes it inactive until the tool is chosen.
AIErr registerAnnotator(SPPluginRef plugin);

// Fills viewRect with the whole of one view: (0, 0) to the view position of its bounds' far corner.
AIErr computeViewRect(PluginState& s, AIDocumentViewHandle view);
// Asks every view of the current document to redraw all annotations; marks a full redraw pending.
AIErr invalidateAllViews(PluginState& s);

AIErr onDraw(void* message);
AIErr onInvalidate(void* message);

}  // namespace sq
