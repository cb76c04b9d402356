// The About dialog.
#pragma once

#include "sqsdk/types.h"

namespace sq {

inline constexpr const char* kAboutDialogName = "SpindlequiverAboutDialog";

// Shows the About dialog modally; always returns 0.
AIErr ShowAbout(void* message);

// Opens the About dialog for a plug-in reference (also from the preferences dialog).
void OpenAboutDialog(SPPluginRef plugin);

}  // namespace sq
