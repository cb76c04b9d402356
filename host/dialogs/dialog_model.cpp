// Item types by name, look-ups within dialogs and lists, and template unit conversion.
#include "dialogs/dialog_model.hpp"

#include <array>

#include "sqsdk/suites/adm_item.h"

namespace sqhost {
namespace {

struct TypeName {
  ItemType type;
  const char* name;
};

constexpr std::array<TypeName, 13> kTypeNames = {{
    {ItemType::TextStatic, kADMTextStaticType},
    {ItemType::TextEdit, kADMTextEditType},
    {ItemType::SpinEditPopup, kADMSpinEditPopupType},
    {ItemType::PopupList, kADMPopupListType},
    {ItemType::ListBox, kADMListBoxType},
    {ItemType::TextPushButton, kADMTextPushButtonType},
    {ItemType::PicturePushButton, kADMPicturePushButtonType},
    {ItemType::PictureStatic, kADMPictureStaticType},
    {ItemType::TextCheckBox, kADMTextCheckBoxType},
    {ItemType::TextRadioButton, kADMTextRadioButtonType},
    {ItemType::Frame, kADMFrameType},
    {ItemType::User, kADMUserType},
    {ItemType::PopupMenu, kADMPopupMenuType},
}};

}  // namespace

std::optional<ItemType> itemTypeFromName(std::string_view name) {
  for (const TypeName& t : kTypeNames) {
    if (name == t.name) return t.type;
  }
  return std::nullopt;
}

const char* itemTypeName(ItemType type) {
  for (const TypeName& t : kTypeNames) {
    if (t.type == type) return t.name;
  }
  return "";
}

bool isPushButton(ItemType type) {
  return type == ItemType::TextPushButton || type == ItemType::PicturePushButton;
}

bool isEditField(ItemType type) {
  return type == ItemType::TextEdit || type == ItemType::SpinEditPopup;
}

bool hasEntryList(ItemType type) {
  return type == ItemType::PopupList || type == ItemType::SpinEditPopup ||
         type == ItemType::ListBox || type == ItemType::PopupMenu;
}

int32_t List::indexOf(const Entry& entry) const {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].get() == &entry) return static_cast<int32_t>(i);
  }
  return -1;
}

Item* Dialog::findItem(int32_t id) const {
  for (const auto& item : items) {
    if (item->id == id && !item->dying) return item.get();
  }
  return nullptr;
}

int32_t dialogUnitsToPixels(int32_t units) {
  const int64_t twice = static_cast<int64_t>(units) * 3;
  // Round down, also for negative positions.
  return static_cast<int32_t>(twice >= 0 ? twice / 2 : -((-twice + 1) / 2));
}

std::string shownText(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') {
        shown += '&';
        ++i;
      }
      continue;
    }
    shown += text[i];
  }
  return shown;
}

}  // namespace sqhost
