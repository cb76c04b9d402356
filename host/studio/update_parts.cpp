// The studio's updates: pictures as data URLs, drawing operations, panels, dialogs and tools.
#include "studio/update_parts.hpp"

#include <algorithm>
#include <cstdio>

#include "dialogs/number_field.hpp"
#include "session/report_panels.hpp"
#include "sqsdk/suites/adm_drawer.h"

namespace sqhost::studio {
namespace {

using nlohmann::json;

json rectJson(const AIRect& r) {
  return json::array({r.left, r.top, r.right, r.bottom});
}

const char* opName(DrawOp::Kind kind) {
  switch (kind) {
    case DrawOp::Kind::Line:
      return "line";
    case DrawOp::Kind::FillRect:
      return "fillRect";
    case DrawOp::Kind::FrameRect:
      return "frameRect";
    case DrawOp::Kind::ClearRect:
      return "clearRect";
    case DrawOp::Kind::FillOval:
      return "fillOval";
    case DrawOp::Kind::FrameOval:
      return "frameOval";
    case DrawOp::Kind::Icon:
      return "icon";
    case DrawOp::Kind::Text:
      return "text";
  }
  return "fillRect";
}

const char* itemType(ItemType type) {
  switch (type) {
    case ItemType::TextStatic:
      return "textStatic";
    case ItemType::TextEdit:
      return "textEdit";
    case ItemType::SpinEditPopup:
      return "spinEdit";
    case ItemType::PopupList:
      return "popupList";
    case ItemType::ListBox:
      return "listBox";
    case ItemType::TextPushButton:
      return "pushButton";
    case ItemType::PicturePushButton:
      return "picturePushButton";
    case ItemType::PictureStatic:
      return "pictureStatic";
    case ItemType::TextCheckBox:
      return "checkBox";
    case ItemType::TextRadioButton:
      return "radioButton";
    case ItemType::Frame:
      return "frame";
    case ItemType::User:
      return "user";
    case ItemType::PopupMenu:
      return "popupMenu";
  }
  return "user";
}

json entriesJson(const List& list) {
  json entries = json::array();
  for (const auto& entry : list.entries) {
    entries.push_back({{"text", entry->text},
                       {"enabled", entry->enabled},
                       {"separator", entry->separator},
                       {"active", list.active == entry.get()}});
  }
  return entries;
}

json itemJson(const DialogManager& manager, const Dialog& dialog, const Item& item,
              PictureCache& pictures) {
  json j = {{"id", item.id},
            {"type", itemType(item.type)},
            {"bounds", rectJson(item.bounds)},
            {"text", shownText(manager.itemText(item))},
            {"enabled", item.enabled},
            {"visible", item.visible},
            {"tip", item.tip},
            {"default", isPushButton(item.type) && item.id == dialog.defaultItemID},
            {"focus", dialog.focus != 0 && dialog.focus == item.handle}};
  if (isEditField(item.type) && item.number.numeric) {
    j["value"] = item.number.value;
    j["units"] = unitsName(item.number.units);
  }
  if (item.type == ItemType::TextCheckBox || item.type == ItemType::TextRadioButton) {
    j["checked"] = item.checked;
  }
  // A disabled item shows its disabled picture when it has one.
  const auto& picture = !item.enabled && item.disabledPicture ? item.disabledPicture : item.picture;
  if (picture) j["picture"] = pictures.url(picture);
  if (item.list) j["entries"] = entriesJson(*item.list);
  if (item.drawProc != nullptr) j["drawing"] = opsJson(item.lastDrawing, pictures);
  return j;
}

json dialogJson(const DialogManager& manager, const Dialog& d, bool front, PictureCache& pictures) {
  json items = json::array();
  for (const auto& item : d.items) {
    if (!item->dying) items.push_back(itemJson(manager, d, *item, pictures));
  }
  return {{"name", d.name},       {"title", d.title}, {"bounds", rectJson(d.bounds)},
          {"visible", d.visible}, {"front", front},   {"items", std::move(items)}};
}

// Base64 of bytes (RFC 4648, with padding).
std::string base64(const std::vector<unsigned char>& bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const uint32_t n = (uint32_t{bytes[i]} << 16) | (uint32_t{bytes[i + 1]} << 8) | bytes[i + 2];
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += kDigits[(n >> 6) & 63];
    out += kDigits[n & 63];
  }
  if (i + 1 == bytes.size()) {
    const uint32_t n = uint32_t{bytes[i]} << 16;
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += "==";
  } else if (i + 2 == bytes.size()) {
    const uint32_t n = (uint32_t{bytes[i]} << 16) | (uint32_t{bytes[i + 1]} << 8);
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += kDigits[(n >> 6) & 63];
    out += '=';
  }
  return out;
}

}  // namespace

std::string pngDataUrl(const std::vector<unsigned char>& png) {
  return "data:image/png;base64," + base64(png);
}

json PictureCache::url(const std::shared_ptr<const IconImage>& icon) {
  if (!icon || icon->png.empty()) return nullptr;
  const auto key = std::pair{icon->resourceID, icon->resourceIndex};
  auto found = pictures_.find(key);
  if (found == pictures_.end()) found = pictures_.emplace(key, pngDataUrl(icon->png)).first;
  return found->second;
}

json PictureCache::cursorUrl(int32_t id, const CursorImage& cursor) {
  if (cursor.png.empty()) return nullptr;
  auto found = cursors_.find(id);
  if (found == cursors_.end()) found = cursors_.emplace(id, pngDataUrl(cursor.png)).first;
  return found->second;
}

json opsJson(const DisplayList& list, PictureCache& pictures) {
  json ops = json::array();
  for (const DrawOp& op : list.ops) {
    char colour[16];
    std::snprintf(colour, sizeof colour, "#%08X", static_cast<unsigned>(op.rgba));
    json j = {{"op", opName(op.kind)},
              {"rect", rectJson(op.rect)},
              {"color", colour},
              {"xor", op.mode == kADMXorMode}};
    if (op.kind == DrawOp::Kind::Line) {
      j["from"] = json::array({op.from.h, op.from.v});
      j["to"] = json::array({op.to.h, op.to.v});
    }
    if (op.kind == DrawOp::Kind::Icon || op.kind == DrawOp::Kind::Text) {
      j["at"] = json::array({op.from.h, op.from.v});
    }
    if (op.kind == DrawOp::Kind::Icon) j["picture"] = pictures.url(op.icon);
    if (op.kind == DrawOp::Kind::Text) {
      j["text"] = op.text;
      j["font"] = op.font;
    }
    json clip = json::array();
    for (const AIRect& r : op.clip) clip.push_back(rectJson(r));
    j["clip"] = std::move(clip);
    ops.push_back(std::move(j));
  }
  return ops;
}

json panelsJson(Host& host, PictureCache& pictures) {
  const DialogManager& manager = host.dialogs();
  std::vector<const Dialog*> panels;
  for (const auto& d : manager.dialogs()) {
    if (!d->modal() && !d->dying) panels.push_back(d.get());
  }
  const Dialog* front = manager.frontPanel();
  std::stable_partition(panels.begin(), panels.end(), [&](const Dialog* d) { return d == front; });
  json out = json::array();
  for (const Dialog* d : panels) out.push_back(dialogJson(manager, *d, d == front, pictures));
  return out;
}

json modalJson(Host& host, PictureCache& pictures) {
  const auto& dialogs = host.dialogs().dialogs();
  for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
    const Dialog& d = **it;
    if (d.modal() && d.running && !d.dying) {
      return dialogJson(host.dialogs(), d, true, pictures);
    }
  }
  return nullptr;
}

json alertJson(Host& host) {
  const AlertRecord* alert = host.dialogs().waitingAlert();
  if (alert == nullptr) return nullptr;
  return {{"kind", alert->kind == AlertRecord::Kind::Error ? "error" : "message"},
          {"text", alert->text}};
}

json flyoutJson(Host& host) {
  const Item* menu = host.dialogs().openFlyoutItem();
  if (menu == nullptr || !menu->list) return nullptr;
  json entries = json::array();
  for (const auto& entry : menu->list->entries) {
    entries.push_back(
        {{"text", entry->text}, {"enabled", entry->enabled}, {"separator", entry->separator}});
  }
  return {{"dialog", menu->dialog->name}, {"entries", std::move(entries)}};
}

json toolsJson(Host& host, PictureCache& pictures) {
  std::vector<const ToolRecord*> tools;
  for (const auto& tool : host.registrations().tools()) tools.push_back(tool.get());
  // The tool box shows a group's tools together, in the order the groups were made.
  std::stable_sort(tools.begin(), tools.end(),
                   [](const ToolRecord* a, const ToolRecord* b) { return a->group < b->group; });
  const ToolRecord* current = host.registrations().currentTool();
  json out = json::array();
  for (const ToolRecord* tool : tools) {
    out.push_back({{"name", tool->name},
                   {"title", tool->title},
                   {"tooltip", tool->tooltip},
                   {"group", tool->group},
                   {"icon", pictures.url(tool->icon)},
                   {"current", tool == current}});
  }
  return out;
}

}  // namespace sqhost::studio
