// The editing tool's message handlers.
#pragma once

#include "sqsdk/types.h"

namespace sq {

AIErr onTrackCursor(void* message);
AIErr onMouseDown(void* message);
AIErr onMouseDrag(void* message);
AIErr onMouseUp(void* message);
AIErr onSelect(void* message);
AIErr onDeselect(void* message);
AIErr onIncreaseDiameter(void* message);

}  // namespace sq
