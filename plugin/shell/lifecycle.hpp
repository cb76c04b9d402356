// Start-up, shut-down, unload and reload: the life of the state record.
#pragma once

#include "sqsdk/types.h"

namespace sq {

// Allocates the state record, sets the settings' defaults, registers the tool, the annotator, the
// menu item and the notifiers (stopping at the first failure), then loads the stored settings.
AIErr StartUp(void* message);
// Saves the settings and frees the state record; clears the message's globals slot.
AIErr ShutDown(void* message);
// Parks the state pointer in the message's globals slot before the host unloads the library.
AIErr Unload(void* message);
// Takes the state pointer back after the host reloaded the library; resets the nesting counter.
AIErr Reload(void* message);

}  // namespace sq
