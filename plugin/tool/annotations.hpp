// The annotator: registration and the draw and invalidate messages.
#pragma once

#include <span>

#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

inline constexpr const char* kAnnotatorName = "Spindlequiver Annotator";

// Adds the annotator and makes it inactive until the tool is chosen.
AIErr registerAnnotator(SPPluginRef plugin);

// "AI Draw": draws the kept points' handles and anchors, the hover ring with its label and
// arrowhead, the add-point preview's tangencies and the marquee, clipped to the invalidated area.
AIErr onDraw(void* message);
// "AI Invalidate": the host is about to repaint a view; invalidates what the annotator drew there.
AIErr onInvalidate(void* message);

// Draws one point's handle lines, handle marks and anchor mark, with a "C" when connectorMark.
// With clip (view rectangles), a point whose marks lie wholly outside it draws nothing.
AIErr drawPointMarks(PluginState& s, const PointRecord& point, AIDocumentViewHandle view,
                     ADMDrawerRef drawer, bool connectorMark, std::span<const AIRect> clip = {});
// Draws hoverLabel in a white box framed in red beside the view point at; sets labelRect.
AIErr drawBoxedLabel(PluginState& s, ADMDrawerRef drawer, AIPoint at);

// The rectangle spanned by two view points, grown by margin on every side.
AIRect spannedRect(const AIPoint& a, const AIPoint& b, int32_t margin);
// The arrowhead picture nearest to a direction in radians; -1 outside [0, 2π) (no arrow).
int32_t arrowheadIndex(double arrowAngle);
// Whether a draw message is to draw anything, with Ctrl held or not.
bool shouldDraw(const PluginState& s, bool ctrlHeld);

}  // namespace sq
