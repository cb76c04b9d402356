// The notifiers and the menu item: registration at start-up and their messages.
#pragma once

#include "sqsdk/types.h"

namespace sq {

inline constexpr const char* kMenuItemName = "Spindlequiver";

// Adds the fourteen notifiers in their fixed order, keeping their references; stops at the first
// error. The view-changed and layer-options notifiers start inactive.
AIErr registerNotifiers(SPPluginRef plugin);
// Adds the menu item that shows and hides the point editor panel.
AIErr registerMenuItem(SPPluginRef plugin);

AIErr onNotify(void* message);
AIErr onMenuGo(void* message);
AIErr onMenuUpdate(void* message);

}  // namespace sq
