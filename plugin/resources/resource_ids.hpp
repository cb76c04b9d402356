// Ids of the plug-in's resources.
#pragma once

#include <cstdint>

#include "sqsdk/resources.h"

namespace sq {

inline constexpr int32_t kErrorStringList = 16050;
inline constexpr int32_t kAboutDialogID = 16050;
inline constexpr int32_t kErrorDialogID = 16051;
inline constexpr int32_t kPreferencesDialogID = 16052;
inline constexpr int32_t kPrecisionMenuID = 800;
inline constexpr int32_t kSmoothingMenuID = 900;
inline constexpr int32_t kShiftMultiplierMenuID = 901;
inline constexpr int32_t kSlowDragMenuID = 902;
inline constexpr int32_t kConnectorAngleMenuID = 903;

inline constexpr const char* kProductName = "Spindlequiver";
inline constexpr const char* kProductVersionText = "Spindlequiver 1.4";

// The resource table's entries, defined with the resources themselves.
extern const SPResourceEntry kResourceEntries[];
extern const int32_t kResourceEntryCount;

}  // namespace sq
