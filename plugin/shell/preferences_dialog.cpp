// The preferences dialog, opened by the tool's edit-options message. The dialog's items and their
// handlers come with the preferences work; until then the message is accepted and does nothing.
#include "shell/preferences_dialog.hpp"

#include "sqsdk/errors.h"

namespace sq {

AIErr onEditOptions(void*) {
  return kNoErr;
}

}  // namespace sq
