// The panel's flyout menu: wording by modifier keys, and the entries that belong to the panel.
#include "panel/panel_flyout.hpp"

#include "panel/panel_callbacks.hpp"
#include "panel/panel_items.hpp"
#include "panel/panel_lifecycle.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/messages.h"
#include "sqsdk/suites/adm_entry.h"
#include "sqsdk/suites/adm_item.h"
#include "sqsdk/suites/adm_list.h"
#include "sqsdk/suites/adm_notifier.h"
#include "sqsdk/suites/adm_tracker.h"

namespace sq {

namespace {

// The entries whose text the tracker sets each time the menu opens.
constexpr int32_t kWordedEntries[] = {kEntrySelectHandles, kEntryClosePath, kEntryTangencies,
                                      kEntryRulers, kEntryOptions};

bool held(const ADMTrackerSuite* tracker, ADMTrackerRef ref, int32_t modifier) {
  AIBoolean down = 0;
  tracker->TestModifier(ref, modifier, &down);
  return down != 0;
}

// The index of the list's active entry, or -1.
int32_t activeEntryIndex(ADMItemRef item) {
  const auto* items = SuiteAs<ADMItemSuite>(SuiteId::ADMItem);
  const auto* lists = SuiteAs<ADMListSuite>(SuiteId::ADMList);
  ADMListRef list = nullptr;
  ADMEntryRef entry = nullptr;
  int32_t index = -1;
  if (items->GetList(item, &list) != kNoErr || list == nullptr ||
      lists->GetActiveEntry(list, &entry) != kNoErr || entry == nullptr) {
    return -1;
  }
  SuiteAs<ADMEntrySuite>(SuiteId::ADMEntry)->GetIndex(entry, &index);
  return index;
}

}  // namespace

const char* FlyoutEntryText(int32_t index, const FlyoutWording& w) {
  switch (index) {
    case kEntrySelectHandles:
      if (w.alt) return "Select in handles of selected points";
      if (w.ctrl) return "Select out handles of selected points";
      return "Select handles of selected points";
    case kEntryClosePath:
      if (w.alt) {
        return w.severalOpenPaths ? "Close paths (ignore endpoint handles)"
                                  : "Close path (ignore endpoint handles)";
      }
      return w.severalOpenPaths ? "Close paths" : "Close path";
    case kEntryTangencies:
      if (w.alt) {
        return w.shift ? "Move points to horizontal tangencies"
                       : "Add points at horizontal tangencies";
      }
      if (w.ctrl) {
        return w.shift ? "Move points to vertical tangencies" : "Add points at vertical tangencies";
      }
      return w.shift ? "Move points to tangencies" : "Add points at tangencies";
    case kEntryRulers:
      return w.artboardRulers ? "Use global rulers" : "Use artboard rulers";
    case kEntryOptions:
      return w.expanded ? "Hide additional options" : "Show additional options";
    default:
      return nullptr;
  }
}

AIBoolean TrackFlyout(ADMItemRef item, ADMTrackerRef tracker) {
  return RunPanelCallback<AIBoolean>(0, 0, [&](PluginState& s) -> AIBoolean {
    const auto* tracking = SuiteAs<ADMTrackerSuite>(SuiteId::ADMTracker);
    int32_t action = 0;
    tracking->GetAction(tracker, &action);
    if (action == kADMButtonDownAction) {
      s.flyoutAlt = held(tracking, tracker, kAIAltModifier) ? 1 : 0;
      s.flyoutCtrl = held(tracking, tracker, kAICtrlModifier) ? 1 : 0;
      s.flyoutShift = held(tracking, tracker, kAIShiftModifier) ? 1 : 0;
      if (flyoutList(s) != nullptr) {
        FlyoutWording wording;
        wording.alt = s.flyoutAlt != 0;
        wording.ctrl = s.flyoutCtrl != 0;
        wording.shift = s.flyoutShift != 0;
        wording.severalOpenPaths = s.severalOpenPaths != 0;
        wording.artboardRulers = s.artboardRulers != 0;
        wording.expanded = s.settings.expanded != 0;
        for (const int32_t entry : kWordedEntries) {
          setEntryText(s, entry, FlyoutEntryText(entry, wording));
        }
      }
    }
    AIBoolean handled = 0;
    SuiteAs<ADMItemSuite>(SuiteId::ADMItem)->DefaultTrack(item, tracker, &handled);
    return handled;
  });
}

AIErr FlyoutChosen(ADMItemRef item, ADMNotifierRef notifier) {
  return RunPanelCallback<AIErr>(kNoErr, kCantHappenErr, [&](PluginState& s) -> AIErr {
    AIBoolean chosen = 0;
    SuiteAs<ADMNotifierSuite>(SuiteId::ADMNotifier)
        ->IsNotifierType(notifier, kADMUserChangedNotifier, &chosen);
    if (!chosen) return kNoErr;
    switch (activeEntryIndex(item)) {
      case kEntryRulers:
        s.artboardRulers = s.artboardRulers ? 0 : 1;
        return RefreshPanel(s);
      case kEntryOptions:
        return ToggleExpanded(s);
      default:
        // The other entries run the path commands and the preferences dialog.
        return kNoErr;
    }
  });
}

}  // namespace sq
