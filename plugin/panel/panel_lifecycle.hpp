// The point editor panel's life: destroying it before the settings are saved.
#pragma once

#include "shell/plugin_state.hpp"

namespace sq {

// Destroys the floating panel when one exists and forgets it.
void DestroyPanel(PluginState& s);

}  // namespace sq
