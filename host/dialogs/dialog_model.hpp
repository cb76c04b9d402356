// The dialog manager's objects: dialogs, their items, the items' lists and the lists' entries.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/number_field.hpp"
#include "render/display_list.hpp"
#include "render/icon_image.hpp"
#include "sqsdk/suites/adm_types.h"
#include "sqsdk/types.h"

namespace sqhost {

// The value behind an opaque reference handed to the plug-in. Handles are never reused, so a
// stale reference is refused rather than mistaken for a newer object.
using Handle = std::uintptr_t;

template <typename Ref>
Ref refOf(Handle handle) {
  return reinterpret_cast<Ref>(handle);
}
template <typename Ref>
Handle handleOf(Ref ref) {
  return reinterpret_cast<Handle>(ref);
}

enum class ItemType {
  TextStatic,
  TextEdit,
  SpinEditPopup,
  PopupList,
  ListBox,
  TextPushButton,
  PicturePushButton,
  PictureStatic,
  TextCheckBox,
  TextRadioButton,
  Frame,
  User,
  PopupMenu,
};

// "ADM Text Static Type" and the others; nullopt for an unknown name.
std::optional<ItemType> itemTypeFromName(std::string_view name);
const char* itemTypeName(ItemType type);
bool isPushButton(ItemType type);
bool isEditField(ItemType type);
bool hasEntryList(ItemType type);

// A cursor chosen by the plug-in: a standard one (negative id) or its resource.
struct CursorChoice {
  int32_t id = 0;
  bool standard() const { return id < 0; }
};

struct Item;
struct Dialog;
struct List;

struct Entry {
  Handle handle = 0;
  List* list = nullptr;
  std::string text;
  bool enabled = true;
  bool separator = false;
};

struct List {
  Handle handle = 0;
  Item* item = nullptr;
  std::vector<std::unique_ptr<Entry>> entries;
  Entry* active = nullptr;

  // The entry's position, or -1 when it is not in this list.
  int32_t indexOf(const Entry& entry) const;
};

struct Item {
  Handle handle = 0;
  Dialog* dialog = nullptr;
  int32_t id = 0;
  ItemType type = ItemType::User;
  bool defaultButton = false;  // made from a template's default button
  AIRect bounds{};             // dialog-local pixels
  ADMUserData userData = nullptr;

  ADMItemNotifyProc notifyProc = nullptr;
  ADMItemDrawProc drawProc = nullptr;
  ADMItemTrackProc trackProc = nullptr;
  ADMItemDestroyProc destroyProc = nullptr;
  uint32_t trackMask = 0;

  bool visible = true;
  bool enabled = true;
  std::string text;
  std::string tip;
  int32_t font = kADMDefaultFont;
  int32_t style = 0;
  int32_t pictureID = 0;
  int32_t disabledPictureID = 0;
  std::shared_ptr<const IconImage> picture;
  std::shared_ptr<const IconImage> disabledPicture;
  std::optional<CursorChoice> cursor;
  NumberField number;
  bool checked = false;
  std::unique_ptr<List> list;

  bool edited = false;      // typed into since the last commit
  bool selectAll = false;   // the next character typed replaces the text
  bool menuOpen = false;    // a flyout menu opened by the last button-down
  bool invalid = true;      // to be drawn again
  DisplayList lastDrawing;  // what the last Update drew, in dialog coordinates

  int busy = 0;  // callbacks of this item running
  bool destroyPending = false;
  bool dying = false;
};

struct Dialog {
  Handle handle = 0;
  std::string name;
  int32_t dialogID = 0;
  int32_t style = 0;
  std::string title;
  int32_t font = kADMDialogFont;  // what kADMDefaultFont means in this dialog
  AIRect bounds{};                // screen pixels
  bool visible = false;
  ADMUserData userData = nullptr;

  ADMDialogDrawProc drawProc = nullptr;
  ADMDialogNotifyProc notifyProc = nullptr;
  ADMDialogDestroyProc destroyProc = nullptr;

  int32_t defaultItemID = 1;
  int32_t cancelItemID = 2;
  std::vector<std::unique_ptr<Item>> items;  // in creation order, which is drawing order
  Handle focus = 0;                          // the item with the keyboard focus
  std::array<std::shared_ptr<const IconImage>, 2> icons;
  std::string group;      // docking group; empty when not docked
  uint64_t raisedAt = 0;  // when the panel was last shown: the latest shown is in front

  // Modal dialogs.
  bool running = false;
  bool endRequested = false;
  int32_t endItemID = 0;
  std::size_t recordIndex = 0;

  int busy = 0;  // callbacks of this dialog or its items running
  bool destroyPending = false;
  bool dying = false;

  bool modal() const { return style == 0 || style == 1; }
  Item* findItem(int32_t id) const;
  AIRect localRect() const {
    return AIRect{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
  }
};

// Dialog units of a template to pixels: 3/2 pixel per unit, rounded down.
int32_t dialogUnitsToPixels(int32_t units);

// An item's text as the user sees it: "&" marks the next letter as a shortcut and is not shown;
// "&&" shows one "&".
std::string shownText(std::string_view text);

}  // namespace sqhost
