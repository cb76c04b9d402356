// What the point editor panel shows: its status lines, fields, marks and the two layouts. These,
// with RefreshPanel and ShowHandleSelection (shared_operations.hpp), are the only way the rest of
// the plug-in changes the panel; each does nothing while there is no panel.
#pragma once

#include <cstdint>
#include <string>

#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

// Item 1: the selection summary.
void SetStatusText(PluginState& s, const char* text);
// Item 53: the mode line, where the tool writes its drag and marquee messages.
void SetModeText(PluginState& s, const char* text);
// Item 53 := the rotation mode, with the hint to press 'C' when withHint.
void ShowRotationMode(PluginState& s, bool withHint);

// The path summary for paths paths, of which singlePoint have one point and closed are closed,
// as in "2 paths (1 closed, 1 open)".
std::string PathSummaryText(int32_t paths, int32_t singlePoint, int32_t closed);
// Item 2 := the path summary, 108 pixels wide beside the first-point button, else 190.
void ShowPathSummary(PluginState& s, int32_t paths, int32_t singlePoint, int32_t closed,
                     bool firstPointButtonShown);

// Fills the point fields and the index line from currentPoint, in the panel's coordinates.
void ShowPointFields(PluginState& s);
// Gives the length fields and the increment and set-length amounts `precision` decimals.
void ApplyPrecision(PluginState& s);
// Gives the length fields the host's general units and the angle fields degrees.
AIErr ApplyPanelUnits(PluginState& s);

// Adds the selected anchors of path to count; the first one found while count was 0 becomes
// currentPoint (not for a path selected whole).
void CountSelectedPoints(PluginState& s, AIArtHandle path, int32_t& count);

void ShowRedundantWarning(PluginState& s, bool show);
void ShowLinkMark(PluginState& s, bool show);
void ShowFirstPointButton(PluginState& s, bool show);

// The layout switches between the point group (items 2 to 39) and the adjustment group (40 to 53).
void HidePointGroup(PluginState& s);
void ShowPointGroup(PluginState& s);
void ShowSeveralPointsLayout(PluginState& s);
void DisablePointButtons(PluginState& s);
void DisablePointFields(PluginState& s);
void EnterHandleMode(PluginState& s);
void EnterPointMode(PluginState& s);

}  // namespace sq
