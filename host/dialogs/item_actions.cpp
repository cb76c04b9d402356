// User actions on items: presses, checks, choices, typing, and standard tracking and notices.
#include <cmath>

#include "dialogs/dialog_manager.hpp"
#include "sqsdk/suites/adm_notifier.h"
#include "sqsdk/suites/adm_tracker.h"

namespace sqhost {
namespace {

uint32_t maskOf(int32_t action) {
  switch (action) {
    case kADMMouseMoveAction:
      return kADMMouseMoveMask;
    case kADMButtonDownAction:
      return kADMButtonDownMask;
    case kADMMouseDragAction:
      return kADMMouseDragMask;
    case kADMButtonUpAction:
      return kADMButtonUpMask;
    case kADMKeyStrokeAction:
      return kADMKeyStrokeMask;
    default:
      return 0;
  }
}

AIPoint centreOf(const Item& item) {
  return AIPoint{(item.bounds.right - item.bounds.left) / 2,
                 (item.bounds.bottom - item.bounds.top) / 2};
}

bool pressable(ItemType type) {
  return isPushButton(type) || isEditField(type) || type == ItemType::TextCheckBox ||
         type == ItemType::TextRadioButton || type == ItemType::User;
}

void appendUtf8(std::string& text, uint32_t cp) {
  if (cp < 0x80) {
    text += static_cast<char>(cp);
  } else if (cp < 0x800) {
    text += static_cast<char>(0xC0 | (cp >> 6));
    text += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    text += static_cast<char>(0xE0 | (cp >> 12));
    text += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (cp >> 18));
    text += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The code points of UTF-8 text; bytes that do not decode stand for themselves.
std::vector<uint32_t> codePoints(const std::string& text) {
  std::vector<uint32_t> points;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (lead >= 0x80 && (lead < 0xC0 || lead >= 0xF8 || i + length > text.size())) {
      points.push_back(lead);
      ++i;
      continue;
    }
    uint32_t cp = length == 1 ? lead : lead & (0x7Fu >> length);
    for (int k = 1; k < length; ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
    points.push_back(cp);
    i += static_cast<std::size_t>(length);
  }
  return points;
}

void removeLastCodePoint(std::string& text) {
  while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) {
    text.pop_back();
  }
  if (!text.empty()) text.pop_back();
}

std::string itemName(const Item& item) {
  return "item " + std::to_string(item.id) + " of dialog \"" + item.dialog->name + "\"";
}

}  // namespace

// ---- Applying a user action to a dialog
// --------------------------------------------------------------

bool DialogManager::applyToDialog(Dialog& dialog, const DialogAction& e, std::string& error) {
  using K = DialogAction::Kind;
  if (e.kind == K::Cancel) {
    if (dialog.running) {
      cancelModal(dialog);
      return true;
    }
    Item* cancel = dialog.findItem(dialog.cancelItemID);
    if (cancel == nullptr || !isPushButton(cancel->type) || !cancel->visible || !cancel->enabled) {
      error = "dialog \"" + dialog.name + "\" has no cancel button to press";
      return false;
    }
    pressItem(*cancel);
    return true;
  }
  Item* item = dialog.findItem(e.item);
  if (item == nullptr) {
    error = "dialog \"" + dialog.name + "\" has no item " + std::to_string(e.item);
    return false;
  }
  if (!item->visible || !item->enabled) {
    error = itemName(*item) + (item->visible ? " is disabled" : " is hidden");
    return false;
  }
  const std::string kind = itemTypeName(item->type);
  switch (e.kind) {
    case K::Key: {
      // The field takes the focus and the key goes to it, then to the dialog (Enter presses the
      // default button when the field's tracker does not consume it).
      if (!isEditField(item->type)) {
        error = itemName(*item) + " (" + kind + ") takes no keys";
        return false;
      }
      const Handle dialogHandle = dialog.handle;
      moveFocus(dialog, item);
      const auto alive = dialogRefs_.find(dialogHandle);
      if (alive != dialogRefs_.end() && !alive->second->dying) {
        keyInDialog(*alive->second, static_cast<int32_t>(e.number), modifiers_);
      }
      return true;
    }
    case K::Press:
      if (!pressable(item->type)) {
        error = itemName(*item) + " (" + kind + ") cannot be pressed";
        return false;
      }
      return pressItem(*item);
    case K::Check:
      if (item->type != ItemType::TextCheckBox && item->type != ItemType::TextRadioButton) {
        error = itemName(*item) + " (" + kind + ") is not a check box or radio button";
        return false;
      }
      setChecked(*item, e.number != 0);
      return true;
    case K::Value:
      if (!isEditField(item->type)) {
        error = itemName(*item) + " (" + kind + ") takes no typed value";
        return false;
      }
      if (!std::isfinite(e.number)) {
        error = "the value for " + itemName(*item) + " is not a number";
        return false;
      }
      return typeInto(*item, shortestDecimal(e.number));
    case K::Text:
      if (!isEditField(item->type)) {
        error = itemName(*item) + " (" + kind + ") takes no typed text";
        return false;
      }
      return typeInto(*item, e.text);
    case K::Choose: {
      if (!hasEntryList(item->type)) {
        error = itemName(*item) + " (" + kind + ") has no entries to choose from";
        return false;
      }
      const std::size_t count = item->list->entries.size();
      if (!(e.number >= 0) || e.number != std::floor(e.number) ||
          e.number >= static_cast<double>(count)) {
        error = itemName(*item) + " has no entry " + shortestDecimal(e.number) + " (it has " +
                std::to_string(count) + ")";
        return false;
      }
      chooseEntry(*item, static_cast<std::size_t>(e.number));
      return true;
    }
    default:
      error = "not a dialog action";
      return false;
  }
}

bool DialogManager::pressItem(Item& item) {
  const Handle handle = item.handle;
  const AIPoint centre = centreOf(item);
  track(item, TrackEvent{kADMButtonDownAction, centre, modifiers_, 0});
  const auto again = itemRefs_.find(handle);
  if (again == itemRefs_.end() || !again->second->visible || !again->second->enabled) return true;
  track(*again->second, TrackEvent{kADMButtonUpAction, centre, modifiers_, 0});
  return true;
}

bool DialogManager::typeInto(Item& item, const std::string& text) {
  const Handle handle = item.handle;
  moveFocus(*item.dialog, &item);
  auto usable = [&]() -> Item* {
    const auto found = itemRefs_.find(handle);
    if (found == itemRefs_.end() || !found->second->visible || !found->second->enabled) {
      return nullptr;
    }
    return found->second;
  };
  if (Item* field = usable()) field->selectAll = true;
  // Typing replaces the selected text; typing nothing is erasing it.
  std::vector<uint32_t> keys = codePoints(text);
  std::erase_if(keys, [](uint32_t cp) { return cp < 0x20 || cp == 0x7F; });
  if (keys.empty()) keys.push_back(kADMBackspaceKey);
  keys.push_back(kADMTabKey);
  for (uint32_t key : keys) {
    Item* field = usable();
    if (field == nullptr) break;
    track(*field, TrackEvent{kADMKeyStrokeAction, {}, modifiers_, static_cast<int32_t>(key)});
  }
  return true;
}

void DialogManager::chooseEntry(Item& chosen, std::size_t index) {
  const Handle handle = chosen.handle;
  Item* item = &chosen;
  if (item->type == ItemType::PopupMenu) {
    // The menu opens on the button-down (its track proc may reword entries first).
    track(*item, TrackEvent{kADMButtonDownAction, centreOf(*item), modifiers_, 0});
    const auto again = itemRefs_.find(handle);
    if (again == itemRefs_.end()) return;
    item = again->second;
    if (!item->menuOpen) {
      note(itemName(*item) + ": the menu did not open; nothing was chosen");
      return;
    }
    item->menuOpen = false;
  }
  selectEntry(*item, index);
}

void DialogManager::selectEntry(Item& chosen, std::size_t index) {
  const Handle handle = chosen.handle;
  Item* item = &chosen;
  List& list = *item->list;
  if (index >= list.entries.size()) return;
  Entry& entry = *list.entries[index];
  if (!entry.enabled || entry.separator) {
    note(itemName(*item) + ": entry " + std::to_string(index) +
         " is disabled; the choice is ignored");
    return;
  }
  list.active = &entry;
  if (item->type == ItemType::SpinEditPopup) {
    NumberField preset = item->number;
    preset.allowMath = false;
    const std::optional<double> value = parseNumberText(preset, entry.text);
    if (!value) return;
    const ClampResult clamped = clampToLimits(item->number, *value);
    item->number.value = clamped.value;
    item->edited = false;
    showNumber(*item);
    if (clamped.clamped) {
      notifyItem(*item, kADMNumberOutOfBoundsNotifier);
      const auto again = itemRefs_.find(handle);
      if (again == itemRefs_.end()) return;
      item = again->second;
    }
  }
  notifyItem(*item, kADMUserChangedNotifier);
}

void DialogManager::setChecked(Item& item, bool checked) {
  item.checked = checked;
  if (item.type == ItemType::TextRadioButton && checked) {
    for (const auto& other : item.dialog->items) {
      if (other.get() != &item && other->type == ItemType::TextRadioButton) {
        other->checked = false;
      }
    }
  }
  notifyItem(item, kADMUserChangedNotifier);
}

// ---- Fields -------------------------------------------------------------------------------------

void DialogManager::showNumber(Item& item) {
  item.text = formatNumber(item.number);
}

void DialogManager::makeNumeric(Item& item) {
  if (item.number.numeric) return;
  item.number.numeric = true;
  if (const auto value = parseNumberText(item.number, item.text)) {
    item.number.value = clampToLimits(item.number, *value).value;
  }
  showNumber(item);
}

bool DialogManager::setNumberText(Item& item, const std::string& text) {
  item.edited = false;
  item.selectAll = false;
  const std::optional<double> value = parseNumberText(item.number, text);
  if (value) item.number.value = clampToLimits(item.number, *value).value;
  showNumber(item);
  return value.has_value();
}

void DialogManager::commitField(Item& item) {
  if (!item.edited) return;
  item.edited = false;
  item.selectAll = false;
  const Handle handle = item.handle;
  if (item.number.numeric) {
    const std::optional<double> value = parseNumberText(item.number, item.text);
    if (!value) {
      // Not a number: the previous value comes back, and nobody is told.
      showNumber(item);
      return;
    }
    const ClampResult clamped = clampToLimits(item.number, *value);
    item.number.value = clamped.value;
    showNumber(item);
    if (clamped.clamped) {
      notifyItem(item, kADMNumberOutOfBoundsNotifier);
      if (itemRefs_.count(handle) == 0) return;
    }
  }
  notifyItem(*itemRefs_.at(handle), kADMUserChangedNotifier);
}

void DialogManager::moveFocus(Dialog& dialog, Item* to) {
  const Handle target = to != nullptr ? to->handle : 0;
  if (dialog.focus == target) return;
  const Handle dialogHandle = dialog.handle;
  const auto current = itemRefs_.find(dialog.focus);
  if (current != itemRefs_.end() && current->second->edited) commitField(*current->second);
  const auto alive = dialogRefs_.find(dialogHandle);
  if (alive == dialogRefs_.end()) return;
  alive->second->focus = itemRefs_.count(target) != 0 ? target : 0;
}

void DialogManager::focusNextField(Dialog& dialog, const Item& from) {
  const auto& items = dialog.items;
  std::size_t start = 0;
  while (start < items.size() && items[start].get() != &from) ++start;
  for (std::size_t step = 1; step <= items.size(); ++step) {
    Item& next = *items[(start + step) % items.size()];
    if (isEditField(next.type) && next.visible && next.enabled && !next.dying) {
      dialog.focus = next.handle;
      next.selectAll = true;
      return;
    }
  }
}

bool DialogManager::typeKey(Item& item, int32_t key) {
  const Handle handle = item.handle;
  switch (key) {
    case kADMEnterKey:
    case kADMReturnKey:
      // Committed, and passed on: the dialog's default button is pressed too.
      commitField(item);
      return false;
    case kADMTabKey: {
      commitField(item);
      const auto again = itemRefs_.find(handle);
      if (again != itemRefs_.end()) focusNextField(*again->second->dialog, *again->second);
      return true;
    }
    case kADMEscapeKey:
      return false;
    case kADMUpArrowKey:
    case kADMDownArrowKey: {
      if (!item.number.numeric) return true;
      const double step = key == kADMUpArrowKey ? item.number.step : -item.number.step;
      const auto stepped = static_cast<double>(static_cast<float>(item.number.value + step));
      const ClampResult clamped = clampToLimits(item.number, stepped);
      item.number.value = clamped.value;
      item.edited = false;
      showNumber(item);
      if (clamped.clamped) {
        notifyItem(item, kADMNumberOutOfBoundsNotifier);
        if (itemRefs_.count(handle) == 0) return true;
      }
      notifyItem(*itemRefs_.at(handle), kADMUserChangedNotifier);
      return true;
    }
    case kADMBackspaceKey:
      if (item.selectAll) {
        item.text.clear();
      } else {
        removeLastCodePoint(item.text);
      }
      item.selectAll = false;
      item.edited = true;
      return true;
    default:
      if (key < 0x20 || key == 0x7F || key > 0x10FFFF) return false;
      if (item.selectAll) item.text.clear();
      appendUtf8(item.text, static_cast<uint32_t>(key));
      item.selectAll = false;
      item.edited = true;
      return true;
  }
}

// ---- Standard tracking and notification ---------------------------------------------------------

bool DialogManager::track(Item& item, const TrackEvent& event) {
  if (item.trackProc != nullptr && (item.trackMask & maskOf(event.action)) != 0) {
    return callItemTrack(item, event);
  }
  return defaultTrack(item, event);
}

bool DialogManager::defaultTrack(Item& item, const TrackEvent& event) {
  switch (event.action) {
    case kADMButtonDownAction:
      if (item.type == ItemType::PopupMenu) {
        item.menuOpen = true;
        return true;
      }
      if (isEditField(item.type)) {
        moveFocus(*item.dialog, &item);
        return true;
      }
      return pressable(item.type);
    case kADMButtonUpAction: {
      const bool inside = event.point.h >= 0 && event.point.v >= 0 &&
                          event.point.h < item.bounds.right - item.bounds.left &&
                          event.point.v < item.bounds.bottom - item.bounds.top;
      if (!inside) return false;
      if (isPushButton(item.type)) {
        notifyItem(item, kADMUserChangedNotifier);
        return true;
      }
      if (item.type == ItemType::TextCheckBox) {
        setChecked(item, !item.checked);
        return true;
      }
      if (item.type == ItemType::TextRadioButton) {
        setChecked(item, true);
        return true;
      }
      return false;
    }
    case kADMKeyStrokeAction:
      return isEditField(item.type) && typeKey(item, event.key);
    default:
      return false;
  }
}

void DialogManager::notifyItem(Item& item, const std::string& type) {
  if (item.notifyProc != nullptr) {
    callItemNotify(item, type);
  } else {
    defaultNotify(item, type);
  }
}

void DialogManager::defaultNotify(Item& item, const std::string& type) {
  if (type != kADMUserChangedNotifier || !isPushButton(item.type)) return;
  Dialog& dialog = *item.dialog;
  if (!dialog.running) return;
  if (item.id == dialog.defaultItemID || item.id == dialog.cancelItemID || item.defaultButton) {
    dialog.endRequested = true;
    dialog.endItemID = item.id;
  }
}

}  // namespace sqhost
