// Modal dialogs and alerts answered from the user's input, and user actions on floating panels.
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

bool anyAction(const DialogAction&) {
  return true;
}

// Pressing OK (item 1) or Escape answers an alert.
bool answersAlert(const DialogAction& a) {
  return (a.kind == DialogAction::Kind::Press && a.item == 1) ||
         a.kind == DialogAction::Kind::Cancel;
}

}  // namespace

std::optional<DialogAction> DialogManager::nextAnswer(const std::string& name, Wanted wanted) {
  DialogInput& input = services_.input();
  for (;;) {
    const DialogInput::Next next = input.peek();
    if (next.kind == DialogInput::Next::Kind::None) return std::nullopt;
    const DialogAction& action = next.action;
    if (next.kind == DialogInput::Next::Kind::Action &&
        (action.dialog.empty() || action.dialog == name) && wanted(action)) {
      input.take();
      setEventModifiers(action.modifiers);
      return action;
    }
    // Not for this dialog: a script's input stays for the outer loop and the dialog closes; a
    // user's is refused while the dialog is open.
    if (input.waitPolicy() == DialogInput::WaitPolicy::CancelUnanswered) return std::nullopt;
    input.take();
    note("input refused while \"" + name + "\" is open");
  }
}

void DialogManager::deliverPending() {
  services_.deliverNotifications(true);
}

void DialogManager::beginAction() {
  services_.beginUserAction();
}

void DialogManager::endAction() {
  services_.endUserAction();
}

void DialogManager::noteActionError(const DialogAction& action, const std::string& error) {
  const std::string line =
      action.line > 0 ? "line " + std::to_string(action.line) + ": " + error : std::string(error);
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

  bool cancelled = false;
  bool unanswered = false;
  while (!dialog.endRequested) {
    deliverPending();
    if (dialog.endRequested) break;
    const std::optional<DialogAction> action = nextAnswer(dialog.name, anyAction);
    if (!action) {
      // Nothing answers the dialog: cancel it.
      dialog.endItemID = dialog.cancelItemID;
      cancelled = true;
      unanswered = true;
      break;
    }
    std::string actionError;
    beginAction();
    const bool applied = applyToDialog(dialog, *action, actionError);
    endAction();
    if (!applied) {
      noteActionError(*action, actionError);
      services_.input().actionFailed();
    }
    if (dialog.endRequested && action->kind == DialogAction::Kind::Cancel) cancelled = true;
  }
  deliverPending();

  outItemID = dialog.endItemID;
  dialog.running = false;
  closeRecord(dialog, cancelled);
  if (unanswered) {
    note("dialog \"" + dialog.name + "\" cancelled: " +
         (services_.input().waitPolicy() == DialogInput::WaitPolicy::CancelUnanswered
              ? "no queued action answered it"
              : "the input closed"));
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
  // An alert shown while another waits (from a notification) is answered first.
  const std::optional<std::size_t> outer = waitingAlert_;
  waitingAlert_ = alerts_.size() - 1;
  deliverPending();
  // A script's alert that the next line does not answer is dismissed at once.
  nextAnswer(kAlertName, answersAlert);
  waitingAlert_ = outer;
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

bool DialogManager::applyAction(const DialogAction& e, std::string& error) {
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
  services_.deliverNotifications(false);
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
  services_.deliverNotifications(false);
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
  services_.deliverNotifications(false);
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
  services_.deliverNotifications(false);
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
  services_.deliverNotifications(false);
  return true;
}

}  // namespace sqhost
