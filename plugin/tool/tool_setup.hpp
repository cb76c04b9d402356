// Registering the editing tool with the host, with its icon, Info variables and pictures.
#pragma once

#include "resources/resource_ids.hpp"
#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

inline constexpr const char* kToolName = "Spindlequiver Tool";
// The tool's options: cursor tracking (0x01) and the diameter keys (0x20).
inline constexpr int32_t kToolOptions = 0x21;

// Adds the tool in the pen tool's group and loads its pictures. Returns the last host status; a
// failing AddTool is returned at once.
AIErr registerTool(SPPluginRef plugin);

// Copies the host's anchor and handle display preferences, pick radius, snapping tolerance and
// constrain angle into the state; each field keeps its default when the host has no value. What
// the host hands back is made safe to compute with: the pick radii are clamped to 0..64 pixels, a
// handle mark type outside the host's styles 1..11 counts as the default 4, and a non-finite
// constrain angle as 0 (whole turns are dropped).
AIErr readHostPreferences(PluginState& s);

}  // namespace sq
