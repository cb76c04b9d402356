// The preferences dialog, opened by the tool's edit-options message.
#pragma once

#include "sqsdk/types.h"

namespace sq {

AIErr onEditOptions(void* message);

}  // namespace sq
