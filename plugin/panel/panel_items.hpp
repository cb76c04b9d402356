// The point editor panel's item ids and flyout entries, and the small item operations that every
// panel routine uses to look items up through the panel and change them.
#pragma once

#include <cstdint>

#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

// Items of the panel, by their fixed ids.
enum PanelItem : int32_t {
  kStatusLine = 1,  // the selection summary
  kIndexLine = 2,   // the point index or the path summary
  kAnchorXLabel = 3,
  kAnchorXField = 4,
  kAnchorYLabel = 5,
  kAnchorYField = 6,
  kInXLabel = 7,
  kInXField = 8,
  kInYLabel = 9,
  kInYField = 10,
  kInLengthLabel = 11,
  kInLengthField = 12,
  kInAngleMark = 13,
  kInAngleField = 14,
  kOutXLabel = 15,
  kOutXField = 16,
  kOutYLabel = 17,
  kOutYField = 18,
  kOutLengthLabel = 19,
  kOutLengthField = 20,
  kOutAngleMark = 21,
  kOutAngleField = 22,
  kAnchorMark = 23,
  kInMark = 24,
  kInLabel = 25,
  kOutMark = 26,
  kOutLabel = 27,
  kRetractButton = 32,
  kSmoothButton = 33,
  kCornerButton = 34,
  kSplitButton = 35,
  kSmartRemoveButton = 36,
  kPreviousPointButton = 37,
  kNextPointButton = 38,
  kFirstPointButton = 39,
  kIncrementButton = 40,
  kIncrementField = 41,
  kScaleButton = 42,
  kScaleField = 43,
  kPercentLabel = 44,
  kRotateButton = 45,
  kRotateField = 46,
  kSetLengthButton = 47,
  kSetLengthField = 48,
  kSetAngleButton = 49,
  kSetAngleField = 50,
  kRelativeFrame = 51,
  kAbsoluteFrame = 52,
  kModeLine = 53,
  kRedundantWarning = 54,
  kLinkMark = 55,
};

// Entries of the flyout menu, by index; 1, 4, 8, 14 and 17 are separators.
enum FlyoutEntry : int32_t {
  kEntrySelectHandles = 0,
  kEntryCopyHandles = 2,
  kEntryPasteHandles = 3,
  kEntryDeselectIn = 5,
  kEntryDeselectOut = 6,
  kEntrySelectOpposite = 7,
  kEntryClosePath = 9,
  kEntryReverse = 10,
  kEntryRemoveRedundant = 11,
  kEntryTangencies = 12,
  kEntryConnectors = 13,
  kEntryRulers = 15,
  kEntryOptions = 16,
  kEntryPreferences = 18,
};

// The panel's name with the host and its size rules.
inline constexpr const char* kPanelName = "SpindlequiverInfoDialog";
inline constexpr int32_t kPanelWidth = 210;
inline constexpr int32_t kPanelTemplateTrim = 39;   // the template is this much taller than needed
inline constexpr int32_t kOptionsStripHeight = 30;  // the bottom strip of additional options

// The item with this id, or null while there is no panel or no such item.
ADMItemRef panelItem(const PluginState& s, int32_t id);

bool itemVisible(const PluginState& s, int32_t id);
bool itemEnabled(const PluginState& s, int32_t id);
void showItem(const PluginState& s, int32_t id, bool show);
void enableItem(const PluginState& s, int32_t id, bool enable);
// The same for every id from first to last, both included.
void showItems(const PluginState& s, int32_t first, int32_t last, bool show);
void enableItems(const PluginState& s, int32_t first, int32_t last, bool enable);
// Sets an item's text and redraws it.
void setItemText(const PluginState& s, int32_t id, const char* text);
// Sets a number field's value (points for lengths) and redraws it.
void setItemValue(const PluginState& s, int32_t id, double value);
// Moves an item's right edge to left + width.
void setItemWidth(const PluginState& s, int32_t id, int32_t width);
void redrawItem(const PluginState& s, int32_t id);

// The flyout menu's entry list, or null while there is none.
ADMListRef flyoutList(const PluginState& s);
void enableEntry(const PluginState& s, int32_t index, bool enable);
void setEntryText(const PluginState& s, int32_t index, const char* text);

}  // namespace sq
