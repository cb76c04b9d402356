// The notifiers and the menu item: registration at start-up and their messages.
#include "shell/notifications.hpp"

#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_menu.h"
#include "sqsdk/suites/ai_notifier.h"

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

// The notifications and the menu item act on the panel and the point table, which come later;
// until then they are accepted and change nothing.
AIErr onNotify(void*) {
  return kNoErr;
}
AIErr onMenuGo(void*) {
  return kNoErr;
}
AIErr onMenuUpdate(void*) {
  return kNoErr;
}

}  // namespace sq
