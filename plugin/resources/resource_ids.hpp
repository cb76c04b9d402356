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

// The point editor panel: its (empty) dialog template and its flyout menu.
inline constexpr int32_t kPanelDialogID = 16058;
inline constexpr int32_t kFlyoutMenuID = 700;

// Pictures: the tool's icon, the hover ring, the ring with each label (indices 0 .. 5), the
// arrowheads (indices 0 .. 35, one per 10 degrees) and the tangency dot.
inline constexpr int32_t kToolIconID = 16051;
inline constexpr int32_t kRingIconID = 16056;
inline constexpr int32_t kLabelIconID = 16082;
inline constexpr int32_t kArrowheadIconID = 16091;
inline constexpr int32_t kDotIconID = 16127;

// Pictures of the point editor panel, each the size of the item that shows it. A picture shown
// while its item is disabled follows the normal one in the comments.
inline constexpr int32_t kAngleMarkPicture = 16052;   // / kAngleMarkDisabledPicture
inline constexpr int32_t kAnchorMarkPicture = 16053;  // / kAnchorMarkDisabledPicture
inline constexpr int32_t kInMarkPicture = 16054;      // / kInMarkDisabledPicture
inline constexpr int32_t kOutMarkPicture = 16055;     // / kOutMarkDisabledPicture
inline constexpr int32_t kRetractPicture = 16059;     // the five point buttons, then their
inline constexpr int32_t kSmoothPicture = 16060;      // disabled looks 16073 .. 16077
inline constexpr int32_t kCornerPicture = 16061;
inline constexpr int32_t kSplitPicture = 16062;
inline constexpr int32_t kSmartRemovePicture = 16063;
inline constexpr int32_t kAnchorMarkDisabledPicture = 16064;
inline constexpr int32_t kInMarkDisabledPicture = 16065;
inline constexpr int32_t kOutMarkDisabledPicture = 16066;
inline constexpr int32_t kAngleMarkDisabledPicture = 16067;
inline constexpr int32_t kIncrementWordsPicture = 16068;  // the words on the adjustment buttons
inline constexpr int32_t kScaleWordsPicture = 16069;
inline constexpr int32_t kRotateWordsPicture = 16070;
inline constexpr int32_t kSetLengthWordsPicture = 16071;
inline constexpr int32_t kSetAngleWordsPicture = 16072;
inline constexpr int32_t kRetractDisabledPicture = 16073;
inline constexpr int32_t kSmoothDisabledPicture = 16074;
inline constexpr int32_t kCornerDisabledPicture = 16075;
inline constexpr int32_t kSplitDisabledPicture = 16076;
inline constexpr int32_t kSmartRemoveDisabledPicture = 16077;
inline constexpr int32_t kPreviousPointPicture = 16078;
inline constexpr int32_t kNextPointPicture = 16079;
inline constexpr int32_t kPreviousPointDisabledPicture = 16080;
inline constexpr int32_t kNextPointDisabledPicture = 16081;
inline constexpr int32_t kPanelIconID = 16088;
inline constexpr int32_t kLinkMarkPicture = 16089;
inline constexpr int32_t kFirstPointWordsPicture = 16090;  // the words "Select point 0"

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
