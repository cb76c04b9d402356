// Ids of the plug-in's resources: every id the plug-in, its resource table and the tests use.
#pragma once

#include <cstdint>

#include "sqsdk/resources.h"

namespace sq {

// Dialogs and their string list.
inline constexpr int32_t kErrorStringList = 16050;
inline constexpr int32_t kAboutDialogID = 16050;
inline constexpr int32_t kErrorDialogID = 16051;
inline constexpr int32_t kPreferencesDialogID = 16052;

// Menus of the preferences dialog's popups.
inline constexpr int32_t kPrecisionMenuID = 800;
inline constexpr int32_t kSmoothingMenuID = 900;
inline constexpr int32_t kShiftMultiplierMenuID = 901;
inline constexpr int32_t kSlowDragMenuID = 902;
inline constexpr int32_t kConnectorAngleMenuID = 903;

// Pictures: the tool's icon, the hover ring, the ring with each label (indices 0 .. 5), the
// arrowheads (indices 0 .. 35, one per 10 degrees) and the tangency dot.
inline constexpr int32_t kToolIconID = 16051;
inline constexpr int32_t kRingIconID = 16056;
inline constexpr int32_t kLabelIconID = 16082;
inline constexpr int32_t kArrowheadIconID = 16091;
inline constexpr int32_t kDotIconID = 16127;

// Cursors: the cursor of code c is resource kCursorBaseID + c.
inline constexpr int32_t kCursorBaseID = 16000;
enum CursorCode : int32_t {
  kCursorArrow = 0,
  kCursorDragging = 1,
  kCursorHandle = 2,
  kCursorSmoothPoint = 3,
  kCursorCornerPoint = 4,
  kCursorSegment = 5,
  kCursorMarquee = 6,
  kCursorTableArrow = 7,
  kCursorSelectedHandle = 8,
  kCursorSlowDrag = 9,
  kCursorAddPoint = 10,
};
inline constexpr int32_t kCursorCount = 11;

// The resource id of a cursor code.
constexpr int32_t CursorResourceID(int32_t code) {
  return kCursorBaseID + code;
}

inline constexpr const char* kProductName = "Spindlequiver";
inline constexpr const char* kProductVersionText = "Spindlequiver 1.4";

// The resource table's entries, defined with the resources themselves.
extern const SPResourceEntry kResourceEntries[];
extern const int32_t kResourceEntryCount;

}  // namespace sq
