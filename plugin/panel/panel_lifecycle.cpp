// The point editor panel's life: creation, its initialisation with docking and place, the draw
// handler, showing and hiding, expanding, and the destroy handler that keeps its docking state.
#include "panel/panel_lifecycle.hpp"

#include <cstring>

#include "panel/panel_callbacks.hpp"
#include "panel/panel_flyout.hpp"
#include "panel/panel_items.hpp"
#include "resources/resource_ids.hpp"
#include "shell/settings.hpp"
#include "sqsdk/suites/adm_dialog.h"
#include "sqsdk/suites/adm_dialog_group.h"
#include "sqsdk/suites/adm_entry.h"
#include "sqsdk/suites/adm_icon.h"
#include "sqsdk/suites/adm_item.h"
#include "sqsdk/suites/adm_list.h"
#include "sqsdk/suites/ai_preference.h"
#include "sqsdk/suites/sp_access.h"

namespace sq {

namespace {

constexpr const char* kDefaultDockGroup = "Ferncliff Dialogs";
constexpr AIPoint kDefaultLocation{94, 119};
constexpr int32_t kDockGroupCapacity = 64;

const ADMDialogSuite* dialogs() {
  return SuiteAs<ADMDialogSuite>(SuiteId::ADMDialog);
}

// Attaches the flyout's tracker and notifier and fills it from its menu resource.
void setUpFlyout(PluginState& s) {
  const ADMItemRef menu = panelItem(s, kADMMenuItemID);
  if (menu == nullptr) return;
  const auto* items = SuiteAs<ADMItemSuite>(SuiteId::ADMItem);
  items->SetNotifyProc(menu, FlyoutChosen);
  items->SetTrackProc(menu, TrackFlyout);
  if (const ADMListRef list = flyoutList(s)) {
    SuiteAs<ADMListSuite>(SuiteId::ADMList)->SetMenuID(list, kFlyoutMenuID);
  }
  enableEntry(s, kEntrySelectHandles, false);
}

// Puts the panel where it was last time, at its size for `expanded`, in its docking group.
void placePanel(PluginState& s, ADMDialogRef dialog) {
  const auto* prefs = SuiteAs<AIPreferenceSuite>(SuiteId::Preference);
  char group[kDockGroupCapacity] = {};
  std::strncpy(group, kDefaultDockGroup, sizeof group - 1);
  int32_t code = 0;
  AIPoint location = kDefaultLocation;
  // A key that is missing or stored with another type leaves its default.
  prefs->GetStringPreference(kSettingsSection, "DockGroup", group, sizeof group);
  prefs->GetIntegerPreference(kSettingsSection, "DockCode", &code);
  prefs->GetPointPreference(kSettingsSection, "PLocation", &location);
  if (code < 0) code = 0;  // no tab position comes before the first

  AIRect bounds{};
  dialogs()->GetLocalRect(dialog, &bounds);
  bounds.left += location.h;
  bounds.top += location.v;
  bounds.right = bounds.left + kPanelWidth;
  bounds.bottom += location.v - kPanelTemplateTrim;
  if (s.settings.expanded) bounds.bottom += kOptionsStripHeight;
  dialogs()->SetBoundsRect(dialog, &bounds);
  SuiteAs<ADMDialogGroupSuite>(SuiteId::ADMDialogGroup)->SetDialogGroupInfo(dialog, group, code);
}

void setPanelIcon(const PluginState& s, ADMDialogRef dialog) {
  const auto* icons = SuiteAs<ADMIconSuite>(SuiteId::ADMIcon);
  ADMIconRef icon = nullptr;
  if (icons->GetFromResource(s.pluginRef, kPanelIconID, 0, &icon) != kNoErr) return;
  dialogs()->SetIcon(dialog, kADMDialogNormalIcon, icon);
  dialogs()->SetIcon(dialog, kADMDialogRolloverIcon, icon);
  icons->Destroy(icon);  // the panel keeps its own reference
}

AIErr drawPanel(ADMDialogRef dialog, ADMDrawerRef drawer) {
  return RunPanelCallback<AIErr>(kNoErr, kCantHappenErr, [&](PluginState& s) {
    // The scale amount shows the value last used, whatever was typed and not applied.
    if (const ADMItemRef scale = panelItem(s, kScaleField)) {
      SuiteAs<ADMItemSuite>(SuiteId::ADMItem)->SetFloatValue(scale, static_cast<AIReal>(s.MHScale));
    }
    return dialogs()->DefaultDraw(dialog, drawer);
  });
}

// Keeps the panel's docking, place and visibility for the next run, then lets go of what the
// panel held.
AIErr destroyPanel(ADMDialogRef dialog) {
  PluginState* state = State();
  if (state == nullptr) return kNoErr;
  const AIErr result = RunPanelCallback<AIErr>(kNoErr, kCantHappenErr, [&](PluginState&) {
    const auto* prefs = SuiteAs<AIPreferenceSuite>(SuiteId::Preference);
    char group[kDockGroupCapacity] = {};
    int32_t code = 0;
    SuiteAs<ADMDialogGroupSuite>(SuiteId::ADMDialogGroup)
        ->GetDialogGroupInfo(dialog, group, sizeof group, &code);
    AIRect bounds{};
    dialogs()->GetBoundsRect(dialog, &bounds);
    AIBoolean visible = 0;
    dialogs()->IsVisible(dialog, &visible);
    const AIPoint location{bounds.left, bounds.top};
    prefs->PutIntegerPreference(kSettingsSection, "DockCode", code);
    prefs->PutStringPreference(kSettingsSection, "DockGroup", group);
    prefs->PutPointPreference(kSettingsSection, "PLocation", &location);
    prefs->PutBooleanPreference(kSettingsSection, "PVisible", visible);
    return kNoErr;
  });
  state->panelDialog = nullptr;
  state->panelAccessRef = nullptr;
  ReleaseSuites(state->basic);
  return result;
}

AIErr initPanel(ADMDialogRef dialog) {
  PluginState* state = State();
  if (state == nullptr) return kNoErr;
  // The panel's callbacks run outside any message: the suites stay acquired while it exists.
  SuiteAs<SPAccessSuite>(SuiteId::SPAccess)
      ->GetPluginAccess(state->pluginRef, &state->panelAccessRef);
  AcquireSuites(state->basic);
  return RunPanelCallback<AIErr>(kNoErr, kCantHappenErr, [&](PluginState& s) {
    s.panelDialog = dialog;
    BuildPanelItems(s);
    dialogs()->SetDestroyProc(dialog, destroyPanel);
    dialogs()->SetDrawProc(dialog, drawPanel);
    setUpFlyout(s);
    placePanel(s, dialog);
    setPanelIcon(s, dialog);
    return kNoErr;
  });
}

}  // namespace

AIErr CreatePanel(PluginState& s, SPPluginRef plugin) {
  if (s.panelDialog != nullptr) return kNoErr;
  s.pluginRef = plugin;
  ADMDialogRef dialog = nullptr;
  const AIErr error =
      dialogs()->Create(plugin, kPanelName, kPanelDialogID, kADMTabbedFloatingDialogStyle,
                        initPanel, nullptr, 0, &dialog);
  s.panelDialog = error == kNoErr ? dialog : nullptr;
  return error;
}

void DestroyPanel(PluginState& s) {
  if (s.panelDialog == nullptr) return;
  if (const auto* d = dialogs()) d->Destroy(s.panelDialog);
  s.panelDialog = nullptr;
}

bool PanelVisible(const PluginState& s) {
  AIBoolean visible = 0;
  if (s.panelDialog != nullptr) dialogs()->IsVisible(s.panelDialog, &visible);
  return visible != 0;
}

AIErr ShowPanel(const PluginState& s, bool show) {
  if (s.panelDialog == nullptr) return kNoErr;
  return dialogs()->Show(s.panelDialog, show ? 1 : 0);
}

AIErr ToggleExpanded(PluginState& s) {
  s.settings.expanded = s.settings.expanded ? 0 : 1;
  if (s.panelDialog == nullptr) return kNoErr;
  AIRect bounds{};
  AIErr error = dialogs()->GetBoundsRect(s.panelDialog, &bounds);
  if (error != kNoErr) return error;
  bounds.bottom += s.settings.expanded ? kOptionsStripHeight : -kOptionsStripHeight;
  return dialogs()->SetBoundsRect(s.panelDialog, &bounds);
}

}  // namespace sq
