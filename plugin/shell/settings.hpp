// The user's settings: defaults, loading with clamping, the first start, and saving.
#pragma once

#include "shell/plugin_state.hpp"

namespace sq {

inline constexpr const char* kSettingsSection = "Spindlequiver";

// Writes every default into the state, the derived angle, the clipboard's and marquee colour's
// start values, and copies the host preference "isRulerIn4thQuad".
void SetDefaultSettings(PluginState& s);

// Reads the stored settings (clamping ranged values), or on the first start writes the defaults to
// the store. Returns the result of the last store operation.
AIErr LoadSettings(PluginState& s);

// Destroys the panel if it exists, then writes the settings back in their fixed order.
void SaveSettings(PluginState& s);

// angle_threshhold in radians.
double AngleThresholdRadians(double degrees);

}  // namespace sq
