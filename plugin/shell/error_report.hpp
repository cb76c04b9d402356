// Showing a handler's error to the user in the plug-in's error dialog.
#pragma once

#include <optional>
#include <string>

#include "sqsdk/types.h"

namespace sq {

inline constexpr const char* kErrorDialogName = "Error Dialog";

// Shows the error dialog for a non-zero error code, unless the code is a user cancel or the
// dialog manager is not available.
void ReportError(AIErr error, SPPluginRef plugin);

// The code of one entry of the error text table: a decimal number (optionally negative), truncated
// toward zero and narrowed to 16 bits, or a four-character code with its first character in the
// lowest byte.
int32_t ParseErrorCode(const std::string& entry);

// The code as the dialog shows it: decimal when its upper 16 bits are 0 or all ones, otherwise its
// four bytes as characters, lowest byte first.
std::string ErrorCodeText(AIErr error);

}  // namespace sq
