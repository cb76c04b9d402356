// Bringing the point editor panel up to date.
#pragma once

#include "shell/plugin_state.hpp"

namespace sq {

// Shows the current selection in the panel. Does nothing while no panel exists.
AIErr RefreshPanel(PluginState& s);
// Shows the handle selection of the point table in the panel. Does nothing while no panel exists.
AIErr ShowHandleSelection(PluginState& s);

}  // namespace sq
