// The notifiers and the menu item: registration at start-up and their messages.
#include "shell/notifications.hpp"

#include "geometry/point_table.hpp"
#include "panel/panel_lifecycle.hpp"
#include "panel/panel_status.hpp"
#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "shell/settings.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/messages.h"
#include "sqsdk/suites/ai_document_list.h"
#include "sqsdk/suites/ai_menu.h"
#include "sqsdk/suites/ai_notifier.h"
#include "sqsdk/suites/ai_preference.h"
#include "tool/tool_setup.hpp"

namespace sq {

namespace {

struct NotifierEntry {
  const char* name;
  const char* type;
  bool startsActive;
};

constexpr NotifierEntry kNotifiers[kNotifierCount] = {
    {"Spindlequiver - DocViewChanged", kAIDocumentViewChangedNotifier, false},
    {"Spindlequiver - SelectionChanged", kAIArtSelectionChangedNotifier, true},
    {"Spindlequiver - AppStarted", kAIApplicationStartedNotifier, true},
    {"Spindlequiver - LayerOptions", kAILayerOptionsNotifier, false},
    {"Spindlequiver - PreferenceChanged", kAIPreferenceChangedNotifier, true},
    {"Spindlequiver - HideEdges", kAICommandNotifierAfterShowHideEdges, true},
    {"Spindlequiver - SelectAll", kAICommandNotifierAfterSelectAll, true},
    {"Spindlequiver - RulerUnitChanged", kAIDocumentRulerUnitChangedNotifier, true},
    {"Spindlequiver - SuspendedByCmdKey", kAIToolSuspendedByCmdKeyNotifier, true},
    {"Spindlequiver - ResumedByCmdKey", kAIToolResumedByCmdKeyNotifier, true},
    {"Spindlequiver - SuspendedBySpacebar", kAIToolSuspendedBySpacebarNotifier, true},
    {"Spindlequiver - ResumedBySpacebar", kAIToolResumedBySpacebarNotifier, true},
    {"Spindlequiver - CoordinateSystemChanged", kAICurrentCoordinateSystemChangedNotifier, true},
    {"Spindlequiver - RulerOriginChanged", kAIDocumentRulerOriginChangedNotifier, true},
};

}  // namespace

AIErr registerNotifiers(SPPluginRef plugin) {
  PluginState& s = *State();
  const auto* notifiers = SuiteAs<AINotifierSuite>(SuiteId::Notifier);
  for (int i = 0; i < kNotifierCount; ++i) {
    const NotifierEntry& entry = kNotifiers[i];
    AIErr error = notifiers->AddNotifier(plugin, entry.name, entry.type, &s.notifierHandles[i]);
    if (error != kNoErr) return error;
    if (!entry.startsActive) {
      error = notifiers->SetNotifierActive(s.notifierHandles[i], 0);
      if (error != kNoErr) return error;
    }
  }
  return kNoErr;
}

AIErr registerMenuItem(SPPluginRef plugin) {
  const auto* menus = SuiteAs<AIMenuSuite>(SuiteId::Menu);
  AIMenuItemHandle item = nullptr;
  return menus->AddMenuItem(plugin, kMenuItemName, kAIToolPalettesMenuGroup, kMenuItemName,
                            kAIMenuItemWantsUpdateOption, &item);
}

namespace {

// Positions in notifierHandles, in registration order.
enum NotifierIndex {
  kDocViewChanged = 0,
  kSelectionChanged = 1,
  kAppStarted = 2,
  kLayerOptions = 3,
  kPreferenceChanged = 4,
  kHideEdges = 5,
  kSelectAll = 6,
  kRulerUnitChanged = 7,
  kSuspendedByCmdKey = 8,
  kResumedByCmdKey = 9,
  kSuspendedBySpacebar = 10,
  kResumedBySpacebar = 11,
  kCoordinateSystemChanged = 12,
  kRulerOriginChanged = 13,
};

// Another view (or none) in front: the kept points belonged to the old one.
AIErr onViewChanged(PluginState& s) {
  int32_t documents = 0;
  AIErr error = SuiteAs<AIDocumentListSuite>(SuiteId::DocumentList)->Count(&documents);
  if (error != kNoErr) return error;
  if (documents == 0) {
    emptyTable(s);
    s.currentView = nullptr;
    return kNoErr;
  }
  const AIDocumentViewHandle view = frontView();
  if (view == nullptr) return kNoDocumentErr;
  if (view != s.currentView) {
    emptyTable(s);
    s.currentView = view;
  }
  return invalidateAllViews(s);
}

// The application has started: the point editor panel appears, or stays hidden when it was hidden
// at the end of the last run.
AIErr onAppStarted(PluginState& s, SPPluginRef plugin) {
  AIErr error = CreatePanel(s, plugin);
  if (error != kNoErr) return error;
  AIBoolean visible = 1;
  error = SuiteAs<AIPreferenceSuite>(SuiteId::Preference)
              ->GetBooleanPreference(kSettingsSection, "PVisible", &visible);
  // A damaged value is the host's to report; the panel then shows, as on a first start.
  if (error == kNoSuchPreferenceErr) error = kNoErr;
  const AIErr shown = ShowPanel(s, visible != 0);
  // The panel opens showing the selection as it is, with the entries that apply to it.
  const AIErr refreshed = RefreshPanel(s);
  if (error != kNoErr) return error;
  return shown != kNoErr ? shown : refreshed;
}

// The tool is suspended (another tool borrowed by a held key) or resumed: redraw its marks.
AIErr onSuspension(PluginState& s, bool suspended) {
  s.toolSuspended = suspended ? 1 : 0;
  return invalidateView(s, s.currentView);
}

}  // namespace

AIErr onNotify(void* message) {
  PluginState& s = *State();
  const auto& notification = *static_cast<const AINotifierMessage*>(message);
  int which = -1;
  for (int i = 0; i < kNotifierCount; ++i) {
    if (s.notifierHandles[i] == notification.notifier) which = i;
  }
  AIErr error = kNoErr;
  switch (which) {
    case kDocViewChanged:
      return onViewChanged(s);
    case kSelectionChanged:
    case kSelectAll:
      return refreshTable(s);
    case kLayerOptions:
      return readLayerColors(s);
    case kPreferenceChanged:
    case kRulerUnitChanged:
    case kRulerOriginChanged:
      error = ApplyPanelUnits(s);
      error = readHostPreferences(s);
      error = RefreshPanel(s);
      return error;
    case kHideEdges:
      s.hideEdges = s.hideEdges ? 0 : 1;
      return invalidateAllViews(s);
    case kSuspendedByCmdKey:
    case kSuspendedBySpacebar:
      return onSuspension(s, true);
    case kResumedByCmdKey:
    case kResumedBySpacebar:
      return onSuspension(s, false);
    case kCoordinateSystemChanged:
      s.artboardRulers = s.artboardRulers ? 0 : 1;
      return RefreshPanel(s);
    case kAppStarted:
      return onAppStarted(s, notification.d.self);
    default:
      return kNoErr;
  }
}

AIErr onMenuGo(void*) {
  const PluginState& s = *State();
  return ShowPanel(s, !PanelVisible(s));
}

AIErr onMenuUpdate(void* message) {
  const auto& menu = *static_cast<const AIMenuMessage*>(message);
  return SuiteAs<AIMenuSuite>(SuiteId::Menu)->CheckItem(menu.menuItem, PanelVisible(*State()));
}

}  // namespace sq
