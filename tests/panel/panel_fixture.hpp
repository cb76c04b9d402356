// The fixture of the point editor panel's scenario tests: the real plug-in in a host, and what a
// user reads off the panel (texts, values, what is shown and enabled, the flyout's entries).
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "dialogs/dialog_manager.hpp"
#include "sqsdk/messages.h"
#include "sqsdk/suites/adm_dialog.h"
#include "sqsdk/suites/adm_tracker.h"
#include "support/host_fixture.hpp"

namespace sqtest {

inline constexpr const char* kPanel = "SpindlequiverInfoDialog";

class PanelTest : public HostTest {
 protected:
  sqhost::DialogManager& manager() { return host().dialogs(); }

  sqhost::Dialog& panel() {
    sqhost::Dialog* d = manager().findDialog(kPanel);
    if (d == nullptr) throw std::runtime_error("no panel");
    return *d;
  }
  sqhost::Item& item(int32_t id) {
    sqhost::Item* i = panel().findItem(id);
    if (i == nullptr) throw std::runtime_error("no item " + std::to_string(id));
    return *i;
  }
  std::string text(int32_t id) { return manager().itemText(item(id)); }
  double value(int32_t id) { return item(id).number.value; }
  bool visible(int32_t id) { return item(id).visible; }
  bool enabled(int32_t id) { return item(id).enabled; }
  int32_t width(int32_t id) { return item(id).bounds.right - item(id).bounds.left; }
  AIRect bounds() { return panel().bounds; }
  int32_t height() { return panel().bounds.bottom - panel().bounds.top; }

  // The ids from first to last (both included) that are shown, or enabled.
  std::set<int32_t> shownOf(int32_t first, int32_t last) {
    std::set<int32_t> ids;
    for (int32_t id = first; id <= last; ++id) {
      if (visible(id)) ids.insert(id);
    }
    return ids;
  }
  std::set<int32_t> enabledOf(int32_t first, int32_t last) {
    std::set<int32_t> ids;
    for (int32_t id = first; id <= last; ++id) {
      if (enabled(id)) ids.insert(id);
    }
    return ids;
  }

  // The flyout menu's entries.
  sqhost::List& flyout() { return *item(kADMMenuItemID).list; }
  std::string entryText(std::size_t index) { return flyout().entries.at(index)->text; }
  std::set<int32_t> enabledEntries() {
    std::set<int32_t> indices;
    const auto& entries = flyout().entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i]->enabled) indices.insert(static_cast<int32_t>(i));
    }
    return indices;
  }

  // The user presses the flyout button with these keys held: the menu opens with its wording.
  void openFlyout(int32_t modifiers) {
    std::string error;
    sqhost::TrackEvent press;
    press.action = kADMButtonDownAction;
    press.modifiers = modifiers;
    ASSERT_TRUE(manager().trackItem(kPanel, kADMMenuItemID, press, error)) << error;
  }
  // The user opens the flyout with these keys and chooses an entry.
  void choose(int32_t entry, int32_t modifiers = 0) {
    sqhost::DialogAction action;
    action.kind = sqhost::DialogAction::Kind::Choose;
    action.dialog = kPanel;
    action.item = kADMMenuItemID;
    action.number = entry;
    action.modifiers = modifiers;
    std::string error;
    ASSERT_TRUE(manager().applyAction(action, error)) << error;
  }
  // The user types text into a field of the panel and commits it.
  void type(int32_t id, const std::string& typed) {
    sqhost::DialogAction action;
    action.kind = sqhost::DialogAction::Kind::Text;
    action.dialog = kPanel;
    action.item = id;
    action.text = typed;
    std::string error;
    ASSERT_TRUE(manager().applyAction(action, error)) << error;
  }

  // The menu item "Spindlequiver" in "Tool Palettes": chosen, or brought up to date to be shown.
  sqhost::MenuItemRecord& menuItem() { return *host().registrations().menuItems().at(0); }
  AIErr sendMenu(const char* selector) {
    AIMenuMessage message{};
    message.menuItem = sqhost::Registrations::handleOf(menuItem());
    const AIErr error = host().send(kCallerAIMenu, selector, &message);
    host().idle();
    return error;
  }

  // A host notification, delivered as when the host is next idle.
  void notify(const std::string& type) {
    host().postNotification(type);
    host().idle();
  }

  // Runs session script lines (select, move-point ...), then the host is idle.
  void run(const std::string& lines) { ASSERT_TRUE(driver().run(lines)); }
};

}  // namespace sqtest
