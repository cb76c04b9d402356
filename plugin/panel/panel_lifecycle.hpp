// The point editor panel's life: made when the application has started, placed and docked where
// it was last time, shown and hidden from the menu, and destroyed before the settings are saved.
#pragma once

#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

// Makes the panel (hidden) and keeps it in panelDialog. plugin is the plug-in itself.
AIErr CreatePanel(PluginState& s, SPPluginRef plugin);
// Destroys the floating panel when one exists and forgets it.
void DestroyPanel(PluginState& s);

// Whether the panel exists and is shown.
bool PanelVisible(const PluginState& s);
// Shows or hides the panel; nothing while there is none.
AIErr ShowPanel(const PluginState& s, bool show);

// Shows or hides the bottom strip of additional options: toggles `expanded` and makes the panel
// 30 pixels taller or shorter.
AIErr ToggleExpanded(PluginState& s);

// Creates the panel's items with their set-up and puts it into its empty state.
void BuildPanelItems(PluginState& s);

}  // namespace sq
