// Modal dialogs and alerts on the host's event queue, and user actions on floating panels.
#include "app/host.hpp"
#include "dialogs/dialog_manager.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_notifier.h"
#include "sqsdk/suites/adm_tracker.h"

namespace sqhost {
namespace {

// The name under which scripts may address an alert (an empty name addresses it too).
constexpr const char* kAlertName = "alert";

std::string itemLabel(const Dialog& dialog, int32_t id) {
  const Item* item = dialog.findItem(id);
  if (item == nullptr || item->text.empty()) return "item " + std::to_string(id);
  return "item " + std::to_string(id) + " (\"" + shownText(item->text) + "\")";
}

}  // namespace

bool DialogManager::addressed(const Event& e, const Dialog& dialog) const {
  return e.isDialogAction() && (e.dialog.empty() || e.dialog == dialog.name);
}

void DialogManager::deliverPending() {
  if (Host* host = Host::current()) host->deliverNotifications(true);
}

void DialogManager::beginAction() {
  if (beginAction_) beginAction_();
}

void DialogManager::endAction() {
  if (endAction_) endAction_();
}

void DialogManager::noteActionError(const Event& e, const std::string& error) {
  const std::string line =
      e.line > 0 ? "line " + std::to_string(e.line) + ": " + error : std::string(error);
  actionErrors_.push_back(line);
  note(line);
}

AIErr DialogManager::runModal(int32_t dialogID, const std::string& name, int32_t style,
                              ADMDialogInitProc init, ADMUserData userData, int32_t& outItemID) {
  outItemID = 0;
  Dialog* built = nullptr;
  const AIErr error = buildDialog(dialogID, name, style, userData, built);
  if (error != kNoErr) return error;
  Dialog& dialog = *built;
  const AIErr initResult = callInit(dialog, init);
  if (initResult != kNoErr) {
    destroyNow(dialog);
    return initResult;
  }

  dialog.visible = true;
  dialog.running = true;
  dialog.recordIndex = records_.size();
  records_.push_back(DialogRecord{dialog.name, dialog.title, dialog.dialogID, snapshot(dialog)});
  note(describeOpened(dialog));

  EventQueue* queue = Host::current() != nullptr ? &Host::current()->events() : nullptr;
  bool cancelled = false;
  bool unanswered = false;
  while (!dialog.endRequested) {
    deliverPending();
    if (dialog.endRequested) break;
    const Event* next = queue != nullptr ? queue->peek() : nullptr;
    if (next == nullptr || !addressed(*next, dialog)) {
      // Nothing left to answer the dialog: cancel it; the event stays for the outer loop.
      dialog.endItemID = dialog.cancelItemID;
      cancelled = true;
      unanswered = true;
      break;
    }
    const Event e = *queue->take();
    setEventModifiers(e.modifiers);
    std::string actionError;
    beginAction();
    const bool applied = applyToDialog(dialog, e, actionError);
    endAction();
    if (!applied) noteActionError(e, actionError);
    if (dialog.endRequested && e.kind == Event::Kind::DialogCancel) cancelled = true;
  }
  deliverPending();

  outItemID = dialog.endItemID;
  dialog.running = false;
  closeRecord(dialog, cancelled);
  if (unanswered) {
    note("dialog \"" + dialog.name + "\" cancelled: no queued action answered it");
  } else if (cancelled) {
    note("dialog \"" + dialog.name + "\" cancelled (Esc)");
  } else {
    note("dialog \"" + dialog.name + "\" closed with " + itemLabel(dialog, outItemID));
  }
  destroyNow(dialog);
  return kNoErr;
}

void DialogManager::cancelModal(Dialog& dialog) {
  dialog.endRequested = true;
  dialog.endItemID = dialog.cancelItemID;
}

void DialogManager::showAlert(AlertRecord::Kind kind, const std::string& text) {
  alerts_.push_back(AlertRecord{kind, text});
  note(std::string("alert: ") + text);
  Host* host = Host::current();
  if (host == nullptr) return;
  deliverPending();
  // Pressing OK (item 1) or Escape answers the alert; anything else leaves it dismissed at once.
  const Event* next = host->events().peek();
  if (next != nullptr && next->isDialogAction() &&
      (next->dialog.empty() || next->dialog == kAlertName) &&
      ((next->kind == Event::Kind::DialogPress && next->item == 1) ||
       next->kind == Event::Kind::DialogCancel)) {
    setEventModifiers(next->modifiers);
    host->events().take();
  }
  deliverPending();
}

// ---- Actions from the host's loop -----------------------------------------------------------

Dialog* DialogManager::actionTarget(const std::string& name, std::string& error) {
  if (name.empty()) {
    for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it) {
      if ((*it)->running && !(*it)->dying) return it->get();
    }
    error = "no dialog is open to take this dialog action";
    return nullptr;
  }
  Dialog* dialog = findDialog(name);
  if (dialog == nullptr) {
    error = "there is no dialog \"" + name + "\"";
    return nullptr;
  }
  if (dialog->modal() && !dialog->running) {
    error = "dialog \"" + name + "\" is not open";
    return nullptr;
  }
  if (!dialog->visible) {
    error = "dialog \"" + name + "\" is hidden";
    return nullptr;
  }
  return dialog;
}

bool DialogManager::applyAction(const Event& e, std::string& error) {
  if (!e.isDialogAction()) {
    error = "not a dialog action";
    return false;
  }
  Dialog* dialog = actionTarget(e.dialog, error);
  if (dialog == nullptr) return false;
  if (dialog->modal()) {
    error = "dialog \"" + dialog->name + "\" takes its actions from its own loop";
    return false;
  }
  setEventModifiers(e.modifiers);
  beginAction();
  const bool applied = applyToDialog(*dialog, e, error);
  endAction();
  if (Host* host = Host::current()) host->deliverNotifications();
  return applied;
}

bool DialogManager::trackItem(const std::string& dialogName, int32_t itemID,
                              const TrackEvent& event, std::string& error) {
  Dialog* dialog = actionTarget(dialogName, error);
  if (dialog == nullptr) return false;
  Item* item = dialog->findItem(itemID);
  if (item == nullptr || !item->visible || !item->enabled) {
    error = "dialog \"" + dialog->name + "\" has no " +
            (item == nullptr ? "" : "visible, enabled ") + "item " + std::to_string(itemID);
    return false;
  }
  setEventModifiers(event.modifiers);
  beginAction();
  track(*item, event);
  endAction();
  if (Host* host = Host::current()) host->deliverNotifications();
  return true;
}

bool DialogManager::pressKey(const std::string& dialogName, int32_t key, int32_t modifiers,
                             std::string& error) {
  Dialog* dialog = actionTarget(dialogName, error);
  if (dialog == nullptr) return false;
  setEventModifiers(modifiers);
  beginAction();
  keyInDialog(*dialog, key, modifiers);
  endAction();
  if (Host* host = Host::current()) host->deliverNotifications();
  return true;
}

bool DialogManager::keyInDialog(Dialog& dialog, int32_t key, int32_t modifiers) {
  const Handle dialogHandle = dialog.handle;
  const auto focused = itemRefs_.find(dialog.focus);
  bool consumed = false;
  if (focused != itemRefs_.end() && focused->second->visible && focused->second->enabled) {
    consumed = track(*focused->second, TrackEvent{kADMKeyStrokeAction, {}, modifiers, key});
  }
  if (consumed) return true;
  const auto alive = dialogRefs_.find(dialogHandle);
  if (alive == dialogRefs_.end() || alive->second->dying) return true;
  Dialog& d = *alive->second;
  if (key == kADMEnterKey || key == kADMReturnKey) {
    Item* item = d.findItem(d.defaultItemID);
    if (item != nullptr && item->visible && item->enabled && isPushButton(item->type)) {
      pressItem(*item);
    }
  } else if (key == kADMEscapeKey) {
    if (d.running) {
      cancelModal(d);
    } else if (Item* item = d.findItem(d.cancelItemID);
               item != nullptr && item->visible && item->enabled && isPushButton(item->type)) {
      pressItem(*item);
    }
  }
  return true;
}

bool DialogManager::userShow(const std::string& dialogName, bool show, std::string& error) {
  Dialog* dialog = findDialog(dialogName);
  if (dialog == nullptr || dialog->modal()) {
    error = "there is no panel \"" + dialogName + "\"";
    return false;
  }
  if (dialog->visible == show) return true;
  setVisible(*dialog, show);
  beginAction();
  callDialogNotify(*dialog, show ? kADMWindowShowNotifier : kADMWindowHideNotifier);
  endAction();
  if (Host* host = Host::current()) host->deliverNotifications();
  return true;
}

bool DialogManager::userSetBounds(const std::string& dialogName, const AIRect& bounds,
                                  std::string& error) {
  Dialog* dialog = findDialog(dialogName);
  if (dialog == nullptr || dialog->modal()) {
    error = "there is no panel \"" + dialogName + "\"";
    return false;
  }
  if (bounds.right < bounds.left || bounds.bottom < bounds.top) {
    error = "the bounds of panel \"" + dialogName + "\" would be inverted";
    return false;
  }
  dialog->bounds = bounds;
  beginAction();
  callDialogNotify(*dialog, kADMBoundsChangedNotifier);
  endAction();
  if (Host* host = Host::current()) host->deliverNotifications();
  return true;
}

}  // namespace sqhost
