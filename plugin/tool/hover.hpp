// What lies under the cursor while no button is pressed, and the Info panel values.
#pragma once

#include "resources/resource_ids.hpp"
#include "shell/plugin_state.hpp"
#include "sqsdk/messages.h"
#include "sqsdk/types.h"

namespace sq {

// Text and cursor codes of the hover state.
inline constexpr int32_t kLabelSmoothPoint = 0;
inline constexpr int32_t kLabelCornerPoint = 1;
inline constexpr int32_t kLabelInHandle = 2;
inline constexpr int32_t kLabelOutHandle = 3;
inline constexpr int32_t kLabelOpenPath = 4;
inline constexpr int32_t kLabelClosedPath = 5;
inline constexpr int32_t kLabelNone = 6;

// The label texts, in the order of the label kinds above.
inline constexpr const char* kLabelTexts[] = {
    "Smooth point", "Corner point", "In handle", "Out handle", "Open path", "Closed path", ""};

// Finds the anchor, handle or segment under the message's cursor and rebuilds the hover state:
// label, ring, arrow direction, add-point preview and tangency snap. Invalidates what changed on
// screen and sets the cursor.
void hoverHitTest(PluginState& s, const AIToolMessage& message);

// Shows the cursor position in the Info panel, with the width, height, distance and angle of the
// handle, anchor move or marquee being dragged.
AIErr updateInfoPanel(PluginState& s);

// Shows the cursor of this code (resource kCursorBaseID + code).
AIErr setCursor(SPPluginRef plugin, int32_t code);

}  // namespace sq
