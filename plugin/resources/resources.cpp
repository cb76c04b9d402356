// The plug-in's resources: property list, error texts, dialogs, menus, cursors and pictures.
#include "resources/property_list.hpp"
#include "resources/resource_ids.hpp"

namespace sq {
namespace {

constexpr auto kPropertyList = MakePropertyList();

// Error texts: entry 0 is a comment; then pairs of code and message; an empty entry ends the list.
constexpr const char* kErrorStrings[] = {
    "Error codes and the messages shown for them",
    "-108",
    "The filter cannot complete because there isn't enough memory (RAM) available.",
    "271",
    "The filter cannot complete because there isn't enough memory (RAM) available.",
    "<Others>",
    "The filter cannot complete because of an unknown error.",
    "",
};
constexpr SPStringList kErrorTexts{static_cast<int32_t>(std::size(kErrorStrings)), kErrorStrings};

constexpr ADMItemTemplate kAboutItems[] = {
    {1, kADMDefaultButtonItem, "OK", 132, 76, 46, 14, 0},
    {2, kADMTextLabelItem, "Spindlequiver 1.4", 12, 12, 286, 12, 0},
    {3, kADMTextLabelItem,
     "A precise tool for creating and editing the direction handles of Bezier curves.", 12, 34, 286,
     24, 0},
};
constexpr ADMDialogTemplate kAboutDialog{"About Spindlequiver",
                                         "Tahoma",
                                         310,
                                         98,
                                         static_cast<int32_t>(std::size(kAboutItems)),
                                         kAboutItems};

constexpr ADMItemTemplate kErrorItems[] = {
    {1, kADMDefaultButtonItem, "OK", 214, 70, 46, 14, 0},
    {2, kADMTextLabelItem, "", 44, 10, 216, 40, 0},
    {3, kADMTextLabelItem, "", 44, 52, 216, 10, 0},
    {4, kADMPictureItem, nullptr, 10, 10, 24, 24, 0},
};
constexpr ADMDialogTemplate kErrorDialog{
    "Plug-in Error", "Tahoma", 270, 92, static_cast<int32_t>(std::size(kErrorItems)), kErrorItems};

constexpr ADMItemTemplate kPreferenceItems[] = {
    {1, kADMDefaultButtonItem, "&OK", 148, 254, 46, 14, 0},
    {2, kADMButtonItem, "Cancel", 9, 254, 46, 14, 0},
    {3, kADMButtonItem, "A&bout...", 289, 254, 46, 14, 0},
    {4, kADMTextLabelItem, "Precision:", 21, 25, 29, 8, 0},
    {5, kADMPopupListItem, nullptr, 54, 23, 26, 30, 0},
    {6, kADMTextLabelItem, "digits", 83, 25, 29, 8, 0},
    {7, kADMTextLabelItem, "Shift multiplier:", 186, 25, 46, 8, 0},
    {8, kADMSpinEditPopupItem, nullptr, 235, 23, 42, 12, 0},
    {9, kADMTextLabelItem, "Smoothing ratio:", 21, 220, 51, 8, 0},
    {10, kADMSpinEditPopupItem, nullptr, 75, 218, 42, 12, 0},
    {11, kADMTextLabelItem, "Slow-drag divider:", 184, 110, 56, 8, 0},
    {12, kADMSpinEditPopupItem, nullptr, 242, 108, 42, 12, 0},
    {13, kADMTextLabelItem, "Angle threshhold:", 201, 221, 54, 8, 0},
    {14, kADMSpinEditPopupItem, nullptr, 256, 219, 38, 12, 0},
    {15, kADMTextLabelItem, "degrees", 298, 221, 26, 8, 0},
    {16, kADMCheckBoxItem, "&Shift-clicking equalizes handle lengths", 21, 70, 128, 8, 0},
    {17, kADMCheckBoxItem, "Show &all handles on selected paths", 21, 136, 136, 8, 0},
    {18, kADMCheckBoxItem, "&Don't extend multi-handles proportionally", 21, 156, 142, 8, 0},
    {19, kADMCheckBoxItem, "&Handles stop at zero length", 38, 169, 106, 8, 0},
    {20, kADMCheckBoxItem, "&Convert smooth points to corner points", 21, 189, 138, 8, 0},
    {21, kADMTextLabelItem, "when dragging path segments", 32, 199, 100, 8, 0},
    {22, kADMCheckBoxItem, "S&low-drag is default", 184, 70, 75, 8, 0},
    {23, kADMCheckBoxItem, "&Use Ctrl key to toggle slow-drag", 184, 90, 119, 8, 0},
    {24, kADMCheckBoxItem, "&Enable anchor point dragging", 184, 130, 102, 8, 0},
    {25, kADMCheckBoxItem, "H&ighlight cursor when snapping", 184, 150, 116, 8, 0},
    {26, kADMCheckBoxItem, "Highlight over &path segments too", 201, 163, 112, 8, 0},
    {27, kADMCheckBoxItem, "Sho&w text annotations", 201, 176, 90, 8, 0},
    {28, kADMCheckBoxItem, "Alt-clicking adds &new point to path", 21, 90, 128, 8, 0},
    {29, kADMCheckBoxItem, "Snap to &tangencies", 38, 103, 72, 8, 0},
    {30, kADMCheckBoxItem, "&Highlight tangencies", 55, 116, 76, 8, 0},
    {31, kADMCheckBoxItem, "Recogni&ze connector points", 184, 209, 100, 8, 0},
    {32, kADMCheckBoxItem, "Bo&xed style", 218, 189, 60, 8, 0},
    {36, kADMGroupFrameItem, "Palette Preferences:", 8, 6, 327, 41, 0},
    {37, kADMGroupFrameItem, "Tool Preferences:", 8, 52, 327, 191, 0},
    {38, kADMVerticalRuleItem, nullptr, 171, 67, 2, 165, 0},
};
constexpr ADMDialogTemplate kPreferencesDialog{"Spindlequiver Preferences",
                                               "Tahoma",
                                               343,
                                               278,
                                               static_cast<int32_t>(std::size(kPreferenceItems)),
                                               kPreferenceItems};

constexpr const char* kPrecisionEntries[] = {"2", "3", "4"};
constexpr const char* kSmoothingEntries[] = {"0.25", "0.333", "0.5"};
constexpr const char* kShiftMultiplierEntries[] = {"2", "5", "10"};
constexpr const char* kSlowDragEntries[] = {"2", "3", "4", "5", "10"};
constexpr const char* kConnectorAngleEntries[] = {"5", "10", "15", "20", "25", "30"};

constexpr ADMMenuTemplate kPrecisionMenu{"PrecisionPopup", 3, kPrecisionEntries};
constexpr ADMMenuTemplate kSmoothingMenu{"SmoothingFactorSpinEdit", 3, kSmoothingEntries};
constexpr ADMMenuTemplate kShiftMultiplierMenu{"ShiftMultiplierSpinEditPopup", 3,
                                               kShiftMultiplierEntries};
constexpr ADMMenuTemplate kSlowDragMenu{"SlowDragSpinEditPopup", 5, kSlowDragEntries};
constexpr ADMMenuTemplate kConnectorAngleMenu{"ConnectorAngleSpinEditPopup", 6,
                                              kConnectorAngleEntries};

// The point editor panel: an empty template that gives only the title, font and first size; the
// panel makes its items itself.
constexpr ADMDialogTemplate kPanelDialog{"Spindlequiver", "ADMUI3Sm", 140, 173, 0, nullptr};

// The panel's flyout menu; "-" entries are separators.
constexpr const char* kFlyoutEntries[] = {
    "Select handles of selected points",
    "-",
    "Copy handles",
    "Paste handles",
    "-",
    "Deselect in handles",
    "Deselect out handles",
    "Select opposite handles",
    "-",
    "Close path",
    "Reverse path direction",
    "Remove redundant points",
    "Add points at tangencies",
    "Detect and adjust connector points",
    "-",
    "Use artboard rulers",
    "Show additional options",
    "-",
    "Spindlequiver Preferences...",
};
constexpr ADMMenuTemplate kFlyoutMenu{
    "SpindlequiverFlyout", static_cast<int32_t>(std::size(kFlyoutEntries)), kFlyoutEntries};

// Cursors and pictures, made by tools/resgen (scripts/make-resources).
#include "resources/generated/image_data.inc"

template <typename T>
constexpr SPResourceEntry Structured(AIFourCC type, int32_t id, const T& record) {
  return SPResourceEntry{type, id, 0, &record, static_cast<uint32_t>(sizeof(T))};
}

}  // namespace

const SPResourceEntry kResourceEntries[] = {
    {kSPPropertyListResourceType, kSPPropertyListResourceID, 0, kPropertyList.data(),
     static_cast<uint32_t>(kPropertyList.size())},
    Structured(kSPStringListResourceType, kErrorStringList, kErrorTexts),
    Structured(kSPDialogResourceType, kAboutDialogID, kAboutDialog),
    Structured(kSPDialogResourceType, kErrorDialogID, kErrorDialog),
    Structured(kSPDialogResourceType, kPreferencesDialogID, kPreferencesDialog),
    Structured(kSPDialogResourceType, kPanelDialogID, kPanelDialog),
    Structured(kSPMenuResourceType, kPrecisionMenuID, kPrecisionMenu),
    Structured(kSPMenuResourceType, kSmoothingMenuID, kSmoothingMenu),
    Structured(kSPMenuResourceType, kShiftMultiplierMenuID, kShiftMultiplierMenu),
    Structured(kSPMenuResourceType, kSlowDragMenuID, kSlowDragMenu),
    Structured(kSPMenuResourceType, kConnectorAngleMenuID, kConnectorAngleMenu),
    Structured(kSPMenuResourceType, kFlyoutMenuID, kFlyoutMenu),
#include "resources/generated/image_entries.inc"
};
const int32_t kResourceEntryCount = static_cast<int32_t>(std::size(kResourceEntries));

}  // namespace sq
