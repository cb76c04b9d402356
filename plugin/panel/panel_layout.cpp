// The point editor panel's two layouts and its simple displays: status and mode lines, the
// redundant-points warning, the link mark, the first-point button, precision and units.
#include <string>

#include "panel/panel_items.hpp"
#include "panel/panel_status.hpp"
#include "shell/host_suites.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_basic.h"
#include "sqsdk/suites/adm_item.h"
#include "sqsdk/suites/adm_types.h"

namespace sq {

namespace {

// The fields that show lengths in the host's units, and the two handle angles in degrees.
constexpr int32_t kLengthFields[] = {kAnchorXField,   kAnchorYField,  kInXField,  kInYField,
                                     kInLengthField,  kOutXField,     kOutYField, kOutLengthField,
                                     kIncrementField, kSetLengthField};
constexpr int32_t kAngleFields[] = {kInAngleField, kOutAngleField};
// The picture items of the point group that show the standard cursor.
constexpr int32_t kPointPictures[] = {kInAngleMark, kOutAngleMark, kAnchorMark, kInMark, kOutMark};

}  // namespace

void SetStatusText(PluginState& s, const char* text) {
  setItemText(s, kStatusLine, text);
}

void SetModeText(PluginState& s, const char* text) {
  setItemText(s, kModeLine, text);
}

void ShowRotationMode(PluginState& s, bool withHint) {
  std::string text = s.settings.counterrotate ? "Counter-rotation mode" : "Normal rotation mode";
  if (withHint) text += " (press 'C' to toggle)";
  SetModeText(s, text.c_str());
}

void ShowRedundantWarning(PluginState& s, bool show) {
  showItem(s, kRedundantWarning, show);
}

void ShowLinkMark(PluginState& s, bool show) {
  showItem(s, kLinkMark, show);
}

void ShowFirstPointButton(PluginState& s, bool show) {
  showItem(s, kFirstPointButton, show);
  redrawItem(s, kFirstPointButton);
}

void ApplyPrecision(PluginState& s) {
  const auto* items = SuiteAs<ADMItemSuite>(SuiteId::ADMItem);
  for (const int32_t id : kLengthFields) {
    if (const ADMItemRef item = panelItem(s, id)) items->SetPrecision(item, s.settings.precision);
  }
}

AIErr ApplyPanelUnits(PluginState& s) {
  const auto* basic = SuiteAs<ADMBasicSuite>(SuiteId::ADMBasic);
  const auto* items = SuiteAs<ADMItemSuite>(SuiteId::ADMItem);
  if (basic == nullptr || items == nullptr) return kNoErr;
  int32_t units = kADMPointUnits;
  AIErr error = basic->GetAppUnits(kADMAppUnits1, &units);
  if (error != kNoErr) return error;
  for (const int32_t id : kLengthFields) {
    if (const ADMItemRef item = panelItem(s, id)) error = items->SetUnits(item, units);
  }
  for (const int32_t id : kAngleFields) {
    if (const ADMItemRef item = panelItem(s, id)) error = items->SetUnits(item, kADMDegreeUnits);
  }
  return error;
}

void HidePointGroup(PluginState& s) {
  if (itemVisible(s, kAnchorXLabel)) showItems(s, kIndexLine, kFirstPointButton, false);
}

void ShowPointGroup(PluginState& s) {
  if (itemVisible(s, kAnchorXLabel) && itemEnabled(s, kAnchorXLabel)) return;
  enableItems(s, kIndexLine, kNextPointButton, true);
  showItems(s, kIndexLine, kNextPointButton, true);
  const auto* items = SuiteAs<ADMItemSuite>(SuiteId::ADMItem);
  for (const int32_t id : kPointPictures) {
    if (const ADMItemRef item = panelItem(s, id)) {
      items->SetCursorID(item, nullptr, kADMStandardArrowCursorID);
      items->Update(item);
    }
  }
  showItem(s, kFirstPointButton, false);
}

void ShowSeveralPointsLayout(PluginState& s) {
  enableItems(s, kRetractButton, kSmartRemoveButton, true);
  showItems(s, kRetractButton, kSmartRemoveButton, true);
  enableItems(s, kAnchorXLabel, 31, false);
  showItems(s, kAnchorXLabel, 31, true);
  showItems(s, kPreviousPointButton, kNextPointButton, false);
  showItem(s, kIndexLine, true);
}

void DisablePointButtons(PluginState& s) {
  if (itemVisible(s, kRetractButton) && !itemEnabled(s, kRetractButton)) return;
  enableItems(s, kRetractButton, kSmartRemoveButton, false);
  showItems(s, kRetractButton, kSmartRemoveButton, true);
}

void DisablePointFields(PluginState& s) {
  if (itemVisible(s, kAnchorXLabel) && !itemEnabled(s, kAnchorXLabel)) return;
  enableItems(s, kAnchorXLabel, 31, false);
  showItems(s, kAnchorXLabel, 31, true);
  showItems(s, kPreviousPointButton, kNextPointButton, false);
  showItem(s, kIndexLine, true);
}

void EnterHandleMode(PluginState& s) {
  showItems(s, kIncrementButton, kModeLine, true);
  enableEntry(s, kEntrySelectHandles, false);
  enableEntry(s, kEntryCopyHandles, s.pointCount == 1);
  for (const int32_t entry :
       {kEntryPasteHandles, kEntryDeselectIn, kEntryDeselectOut, kEntrySelectOpposite}) {
    enableEntry(s, entry, true);
  }
  for (int32_t entry = kEntryClosePath; entry <= kEntryConnectors; ++entry) {
    enableEntry(s, entry, false);
  }
  showItem(s, kRedundantWarning, false);
}

void EnterPointMode(PluginState& s) {
  showItems(s, kIncrementButton, kModeLine, false);
  enableEntry(s, kEntrySelectHandles, true);
  enableEntry(s, kEntryCopyHandles, true);
  for (const int32_t entry : {kEntryDeselectIn, kEntryDeselectOut, kEntrySelectOpposite}) {
    enableEntry(s, entry, false);
  }
  for (int32_t entry = kEntryClosePath; entry <= kEntryConnectors; ++entry) {
    enableEntry(s, entry, true);
  }
}

}  // namespace sq
