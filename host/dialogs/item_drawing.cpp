// Drawing dialogs and items: draw procs, and the standard look of every item type.
#include <algorithm>

#include "dialogs/dialog_manager.hpp"
#include "render/font_metrics.hpp"
#include "sqsdk/suites/adm_item.h"

namespace sqhost {
namespace {

constexpr int32_t kBoxSize = 12;     // check boxes and radio buttons
constexpr int32_t kTextInset = 3;    // text inside fields, popups and list boxes
constexpr int32_t kArrowWidth = 12;  // the arrow part of popups and spin edits
constexpr uint32_t kWhiteRGBA = 0xFFFFFFFF;
constexpr uint32_t kButtonFaceRGBA = 0xF2F2F2FF;
constexpr uint32_t kDimEdgeRGBA = 0xB4B4B4FF;
constexpr uint32_t kDimmingRGBA = 0xE6E6E6A0;  // the face colour, partly transparent

int32_t baselineFor(int32_t font, int32_t height) {
  return (height + fontAscent(font) - fontDescent(font)) / 2;
}

void drawArrow(Drawer& drawer, int32_t width, int32_t height) {
  const int32_t left = width - kArrowWidth;
  drawer.frameRect(AIRect{left, 0, width, height});
  const int32_t cx = left + kArrowWidth / 2;
  const int32_t cy = height / 2;
  for (int32_t row = 0; row < 3; ++row) {
    drawer.line(AIPoint{cx - 3 + row, cy - 1 + row}, AIPoint{cx + 3 - row, cy - 1 + row});
  }
}

}  // namespace

DisplayList DialogManager::draw(Dialog& dialog) {
  DisplayList list;
  const AIRect local = dialog.localRect();
  Drawer drawer(list, local, local, AIPoint{0, 0}, dialog.font, kFaceRGBA);
  if (dialog.drawProc != nullptr) {
    callDialogDraw(dialog, drawer);
  } else {
    defaultDraw(dialog, drawer);
  }
  return list;
}

void DialogManager::defaultDraw(Dialog& dialog, Drawer& drawer) {
  drawer.clearRect(dialog.localRect());
  std::vector<Handle> items;
  for (const auto& item : dialog.items) items.push_back(item->handle);
  for (Handle h : items) {
    const auto found = itemRefs_.find(h);
    if (found == itemRefs_.end()) continue;
    Item& item = *found->second;
    // The flyout menu button belongs to the panel's frame, not to its content.
    if (!item.visible || item.dying || item.type == ItemType::PopupMenu) continue;
    drawItem(item, drawer);
  }
}

void DialogManager::drawItem(Item& item, Drawer& parent) {
  const int32_t width = item.bounds.right - item.bounds.left;
  const int32_t height = item.bounds.bottom - item.bounds.top;
  const AIRect local{0, 0, width, height};
  const AIPoint origin{parent.origin().h + item.bounds.left, parent.origin().v + item.bounds.top};
  const int32_t font = item.font == kADMDefaultFont ? item.dialog->font : item.font;
  Drawer drawer(parent.list(), local, local, origin, font, kFaceRGBA);
  item.invalid = false;
  if (item.drawProc != nullptr) {
    callItemDraw(item, drawer);
  } else {
    defaultDraw(item, drawer);
  }
}

void DialogManager::updateItem(Item& item) {
  if (!item.dialog->visible || !item.visible) {
    item.invalid = true;
    return;
  }
  const Handle handle = item.handle;
  DisplayList list;
  const AIRect local = item.dialog->localRect();
  Drawer parent(list, local, local, AIPoint{0, 0}, item.dialog->font, kFaceRGBA);
  drawItem(item, parent);
  const auto again = itemRefs_.find(handle);
  if (again != itemRefs_.end()) again->second->lastDrawing = std::move(list);
}

void DialogManager::defaultDraw(Item& item, Drawer& drawer) {
  const AIRect local = drawer.bounds();
  const int32_t width = local.right;
  const int32_t height = local.bottom;
  const uint32_t ink = item.enabled ? kTextRGBA : kDisabledRGBA;
  const int32_t baseline = baselineFor(drawer.font(), height);
  const std::string label = shownText(item.text);
  drawer.setColor(ink);
  switch (item.type) {
    case ItemType::TextStatic:
      drawer.text(label, AIPoint{0, baseline});
      break;
    case ItemType::TextPushButton:
      drawer.frameRect(local);
      drawer.text(label, AIPoint{(width - drawer.textWidth(label)) / 2, baseline});
      break;
    case ItemType::PicturePushButton:
      // A raised face with a grey edge.
      drawer.setColor(kButtonFaceRGBA);
      drawer.fillRect(local);
      drawer.setColor(item.enabled ? kDisabledRGBA : kDimEdgeRGBA);
      drawer.frameRect(local);
      [[fallthrough]];
    case ItemType::PictureStatic: {
      const bool ownDisabled = !item.enabled && item.disabledPicture;
      const auto& image = ownDisabled ? item.disabledPicture : item.picture;
      if (!image) break;
      const AIPoint at = item.style == kADMPictureTopLeftStyle
                             ? AIPoint{0, 0}
                             : AIPoint{(width - image->width) / 2, (height - image->height) / 2};
      drawer.icon(image, at);
      if (!item.enabled && !ownDisabled) {
        // Without a picture of its own for the disabled state, the picture shows dimmed.
        drawer.setColor(kDimmingRGBA);
        drawer.fillRect(AIRect{at.h, at.v, at.h + image->width, at.v + image->height});
      }
      break;
    }
    case ItemType::TextCheckBox:
    case ItemType::TextRadioButton: {
      const int32_t top = (height - kBoxSize) / 2;
      const AIRect box{0, top, kBoxSize, top + kBoxSize};
      drawer.setColor(kWhiteRGBA);
      const bool round = item.type == ItemType::TextRadioButton;
      round ? drawer.fillOval(box) : drawer.fillRect(box);
      drawer.setColor(ink);
      round ? drawer.frameOval(box) : drawer.frameRect(box);
      if (item.checked && round) {
        drawer.fillOval(AIRect{3, top + 3, kBoxSize - 3, top + kBoxSize - 3});
      } else if (item.checked) {
        drawer.line(AIPoint{3, top + 6}, AIPoint{5, top + 8});
        drawer.line(AIPoint{5, top + 8}, AIPoint{9, top + 3});
      }
      drawer.text(label, AIPoint{kBoxSize + 4, baseline});
      break;
    }
    case ItemType::TextEdit:
    case ItemType::SpinEditPopup:
    case ItemType::PopupList: {
      drawer.setColor(kWhiteRGBA);
      drawer.fillRect(local);
      drawer.setColor(ink);
      drawer.frameRect(local);
      const bool arrow = item.type != ItemType::TextEdit;
      drawer.setClip(AIRect{1, 1, arrow ? width - kArrowWidth : width - 1, height - 1});
      drawer.text(itemText(item), AIPoint{kTextInset, baseline});
      drawer.setClip(local);
      if (arrow) drawArrow(drawer, width, height);
      break;
    }
    case ItemType::ListBox: {
      drawer.setColor(kWhiteRGBA);
      drawer.fillRect(local);
      drawer.setColor(ink);
      drawer.frameRect(local);
      const int32_t row = fontAscent(drawer.font()) + fontDescent(drawer.font()) + 2;
      drawer.setClip(AIRect{1, 1, width - 1, height - 1});
      int32_t top = 1;
      for (const auto& entry : item.list->entries) {
        if (top >= height) break;
        if (item.list->active == entry.get()) {
          drawer.setColor(kHiliteRGBA);
          drawer.fillRect(AIRect{1, top, width - 1, top + row});
        }
        drawer.setColor(entry->enabled ? ink : kDisabledRGBA);
        drawer.text(entry->text, AIPoint{kTextInset, top + 1 + fontAscent(drawer.font())});
        top += row;
      }
      drawer.setClip(local);
      break;
    }
    case ItemType::Frame:
      if (width <= 2 || height <= 2) {
        // A rule: one line along the item's long side.
        if (width <= 2) {
          drawer.line(AIPoint{0, 0}, AIPoint{0, std::max(0, height - 1)});
        } else {
          drawer.line(AIPoint{0, 0}, AIPoint{std::max(0, width - 1), 0});
        }
        break;
      } else {
        const int32_t ascent = fontAscent(drawer.font());
        const int32_t titleTop = label.empty() ? 0 : ascent / 2;
        drawer.frameRect(AIRect{0, titleTop, width, height});
        if (!label.empty()) {
          const int32_t titleWidth = drawer.textWidth(label);
          drawer.clearRect(AIRect{6, 0, 10 + titleWidth, ascent});
          drawer.text(label, AIPoint{8, ascent - 1});
        }
      }
      break;
    case ItemType::PopupMenu:
      drawArrow(drawer, width, height);
      break;
    case ItemType::User:
      break;
  }
}

}  // namespace sqhost
