// Calling the plug-in's dialog callbacks, and the records of what modal dialogs showed.
#include <string>

#include "dialogs/dialog_manager.hpp"
#include "sqsdk/errors.h"

namespace sqhost {

DialogManager::CallbackScope::CallbackScope(DialogManager& manager, Dialog& dialog, Item* item)
    : manager_(manager), dialog_(dialog.handle), item_(item != nullptr ? item->handle : 0) {
  ++dialog.busy;
  if (item != nullptr) ++item->busy;
}

DialogManager::CallbackScope::~CallbackScope() {
  manager_.endCallback(dialog_, item_);
}

void DialogManager::endCallback(Handle dialogHandle, Handle itemHandle) {
  if (itemHandle != 0) {
    const auto found = itemRefs_.find(itemHandle);
    if (found != itemRefs_.end()) {
      Item& item = *found->second;
      --item.busy;
      if (item.busy == 0 && item.destroyPending && !item.dying) destroyNow(item);
    }
  }
  const auto found = dialogRefs_.find(dialogHandle);
  if (found != dialogRefs_.end()) {
    Dialog& dialog = *found->second;
    --dialog.busy;
    if (dialog.busy == 0 && dialog.destroyPending && !dialog.dying && !dialog.running) {
      destroyNow(dialog);
    }
  }
}

void DialogManager::noteResult(const Dialog& dialog, const Item* item, const char* what,
                               AIErr result) const {
  if (result == kNoErr) return;
  std::string line = "dialog \"" + dialog.name + "\"";
  if (item != nullptr) line += " item " + std::to_string(item->id);
  note(line + ": " + what + " proc returned error " + services_.errorText(result));
}

AIErr DialogManager::callInit(Dialog& dialog, ADMDialogInitProc init) {
  if (init == nullptr) return kNoErr;
  CallbackScope scope(*this, dialog, nullptr);
  const AIErr result = init(refOf<ADMDialogRef>(dialog.handle));
  noteResult(dialog, nullptr, "init", result);
  return result;
}

void DialogManager::callDialogNotify(Dialog& dialog, const std::string& type) {
  if (dialog.notifyProc == nullptr) return;
  Notifier notifier{nextHandle(), type};
  notifierRefs_[notifier.handle] = &notifier;
  {
    CallbackScope scope(*this, dialog, nullptr);
    const AIErr result = dialog.notifyProc(refOf<ADMDialogRef>(dialog.handle),
                                           refOf<ADMNotifierRef>(notifier.handle));
    noteResult(dialog, nullptr, "notify", result);
  }
  notifierRefs_.erase(notifier.handle);
}

void DialogManager::callDialogDraw(Dialog& dialog, Drawer& drawer) {
  const Handle drawerHandle = registerDrawer(drawer);
  {
    CallbackScope scope(*this, dialog, nullptr);
    const AIErr result =
        dialog.drawProc(refOf<ADMDialogRef>(dialog.handle), refOf<ADMDrawerRef>(drawerHandle));
    noteResult(dialog, nullptr, "draw", result);
  }
  unregisterDrawer(drawerHandle);
}

void DialogManager::callDialogDestroy(Dialog& dialog) {
  if (dialog.destroyProc == nullptr) return;
  CallbackScope scope(*this, dialog, nullptr);
  const AIErr result = dialog.destroyProc(refOf<ADMDialogRef>(dialog.handle));
  noteResult(dialog, nullptr, "destroy", result);
}

void DialogManager::callItemNotify(Item& item, const std::string& type) {
  Notifier notifier{nextHandle(), type};
  notifierRefs_[notifier.handle] = &notifier;
  {
    // Neither the item nor its dialog goes away while the scope lasts.
    CallbackScope scope(*this, *item.dialog, &item);
    const AIErr result =
        item.notifyProc(refOf<ADMItemRef>(item.handle), refOf<ADMNotifierRef>(notifier.handle));
    noteResult(*item.dialog, &item, "notify", result);
  }
  notifierRefs_.erase(notifier.handle);
}

void DialogManager::callItemDraw(Item& item, Drawer& drawer) {
  const Handle drawerHandle = registerDrawer(drawer);
  {
    CallbackScope scope(*this, *item.dialog, &item);
    const AIErr result =
        item.drawProc(refOf<ADMItemRef>(item.handle), refOf<ADMDrawerRef>(drawerHandle));
    noteResult(*item.dialog, &item, "draw", result);
  }
  unregisterDrawer(drawerHandle);
}

bool DialogManager::callItemTrack(Item& item, const TrackEvent& event) {
  Tracker tracker{nextHandle(), event};
  trackerRefs_[tracker.handle] = &tracker;
  AIBoolean consumed = 0;
  {
    CallbackScope scope(*this, *item.dialog, &item);
    consumed = item.trackProc(refOf<ADMItemRef>(item.handle), refOf<ADMTrackerRef>(tracker.handle));
  }
  trackerRefs_.erase(tracker.handle);
  return consumed != 0;
}

void DialogManager::callItemDestroy(Item& item) {
  if (item.destroyProc == nullptr) return;
  CallbackScope scope(*this, *item.dialog, &item);
  const AIErr result = item.destroyProc(refOf<ADMItemRef>(item.handle));
  noteResult(*item.dialog, &item, "destroy", result);
}

// ---- Records of modal dialogs -------------------------------------------------------------------

std::vector<ItemSnapshot> DialogManager::snapshot(const Dialog& dialog) const {
  std::vector<ItemSnapshot> items;
  for (const auto& item : dialog.items) {
    std::optional<double> value;
    if (item->number.numeric) value = item->number.value;
    items.push_back(ItemSnapshot{item->id, item->type, itemText(*item), value, item->checked,
                                 item->visible, item->enabled});
  }
  return items;
}

// "dialog "N" opened: "Title" — item 2 "Spindlequiver 1.4", item 16 checked "Shift-..."": the
// texts a user reads: labels, fields, popups and check boxes, as shown.
std::string DialogManager::describeOpened(const Dialog& dialog) const {
  std::string line = "dialog \"" + dialog.name + "\" opened: \"" + dialog.title + "\"";
  const char* separator = " \xE2\x80\x94 ";
  for (const auto& item : dialog.items) {
    if (!item->visible) continue;
    std::string part;
    switch (item->type) {
      case ItemType::TextStatic:
        if (item->text.empty()) continue;
        part = "\"" + shownText(item->text) + "\"";
        break;
      case ItemType::TextEdit:
      case ItemType::SpinEditPopup:
      case ItemType::PopupList:
        part = "\"" + itemText(*item) + "\"";
        break;
      case ItemType::TextCheckBox:
      case ItemType::TextRadioButton:
        part = std::string(item->checked ? "checked" : "unchecked") + " \"" +
               shownText(item->text) + "\"";
        break;
      default:
        continue;
    }
    if (!item->enabled) part += " (disabled)";
    line += separator + ("item " + std::to_string(item->id) + " " + part);
    separator = ", ";
  }
  return line;
}

void DialogManager::closeRecord(Dialog& dialog, bool cancelled) {
  if (dialog.recordIndex >= records_.size()) return;
  DialogRecord& record = records_[dialog.recordIndex];
  record.closed = true;
  record.closedWith = dialog.endItemID;
  record.cancelled = cancelled;
}

}  // namespace sqhost
