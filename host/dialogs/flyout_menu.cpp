// A panel's flyout menu as the user works it: opened with modifier keys held, then an entry chosen.
#include "dialogs/dialog_manager.hpp"
#include "sqsdk/suites/adm_dialog.h"
#include "sqsdk/suites/adm_tracker.h"

namespace sqhost {

Dialog* DialogManager::frontPanel() const {
  Dialog* front = nullptr;
  for (const auto& d : dialogs_) {
    if (d->modal() || d->dying || !d->visible) continue;
    if (front == nullptr || d->raisedAt > front->raisedAt) front = d.get();
  }
  return front;
}

Item* DialogManager::openFlyoutItem() const {
  const auto found = itemRefs_.find(openFlyout_);
  if (found == itemRefs_.end() || !found->second->menuOpen || found->second->dying) return nullptr;
  return found->second;
}

void DialogManager::closeFlyout() {
  if (Item* menu = openFlyoutItem()) menu->menuOpen = false;
  openFlyout_ = 0;
}

bool DialogManager::openFlyout(int32_t modifiers, std::string& error) {
  closeFlyout();
  Dialog* panel = frontPanel();
  if (panel == nullptr) {
    error = "no panel is shown, so there is no flyout menu to open";
    return false;
  }
  Item* menu = panel->findItem(kADMMenuItemID);
  if (menu == nullptr || menu->type != ItemType::PopupMenu || !menu->visible || !menu->enabled) {
    error = "panel \"" + panel->name + "\" has no flyout menu to open";
    return false;
  }
  const std::string name = panel->name;
  const Handle handle = menu->handle;
  const AIPoint centre{(menu->bounds.right - menu->bounds.left) / 2,
                       (menu->bounds.bottom - menu->bounds.top) / 2};
  setEventModifiers(modifiers);
  beginAction();
  track(*menu, TrackEvent{kADMButtonDownAction, centre, modifiers, 0});
  endAction();
  services_.deliverNotifications(false);
  const auto again = itemRefs_.find(handle);
  if (again == itemRefs_.end() || !again->second->menuOpen) {
    error = "the flyout menu of panel \"" + name + "\" did not open";
    return false;
  }
  openFlyout_ = handle;
  note("flyout menu of panel \"" + name + "\" opened");
  return true;
}

bool DialogManager::chooseFlyout(std::size_t index, std::string& error) {
  Item* menu = openFlyoutItem();
  if (menu == nullptr) {
    error = "no flyout menu is open (use flyout first)";
    return false;
  }
  const std::size_t count = menu->list ? menu->list->entries.size() : 0;
  if (index >= count) {
    error = "the flyout menu of panel \"" + menu->dialog->name + "\" has " + std::to_string(count) +
            " entries; there is no entry " + std::to_string(index);
    return false;
  }
  closeFlyout();
  beginAction();
  selectEntry(*menu, index);
  endAction();
  services_.deliverNotifications(false);
  return true;
}

}  // namespace sqhost
