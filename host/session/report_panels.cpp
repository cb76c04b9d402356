// The report's view of the user interface around the documents: floating panels, menus, flyouts.
#include "session/report_panels.hpp"

#include <algorithm>

#include "app/host.hpp"
#include "dialogs/number_field.hpp"

namespace sqhost {
namespace {

using nlohmann::json;

json rectJson(const AIRect& r) {
  return json::array({r.left, r.top, r.right, r.bottom});
}

json entriesJson(const List& list) {
  json entries = json::array();
  for (std::size_t i = 0; i < list.entries.size(); ++i) {
    const Entry& e = *list.entries[i];
    json j = {{"index", i}, {"text", e.text}, {"enabled", e.enabled}};
    if (e.separator) j["separator"] = true;
    if (list.active == &e) j["active"] = true;
    entries.push_back(std::move(j));
  }
  return entries;
}

json itemJson(const DialogManager& manager, const Item& item) {
  json j = {{"id", item.id},
            {"type", itemTypeName(item.type)},
            {"text", shownText(manager.itemText(item))},
            {"enabled", item.enabled},
            {"visible", item.visible},
            {"tooltip", item.tip},
            {"bounds", rectJson(item.bounds)}};
  if (item.font != kADMDefaultFont) j["font"] = item.font;
  if (isEditField(item.type) && item.number.numeric) {
    // The text above is what the field shows, in its units; the value is what the plug-in reads.
    j["value"] = item.number.value;
    j["units"] = unitsName(item.number.units);
    j["precision"] = item.number.precision;
  }
  if (item.type == ItemType::TextCheckBox || item.type == ItemType::TextRadioButton) {
    j["checked"] = item.checked;
  }
  if (item.pictureID != 0) j["picture"] = item.pictureID;
  if (item.disabledPictureID != 0) j["disabledPicture"] = item.disabledPictureID;
  if (item.drawProc != nullptr) j["customDraw"] = true;
  if (item.list) j["entries"] = entriesJson(*item.list);
  return j;
}

}  // namespace

json panelsJson(Host& host) {
  const DialogManager& manager = host.dialogs();
  std::vector<const Dialog*> panels;
  for (const auto& d : manager.dialogs()) {
    if (!d->modal() && !d->dying) panels.push_back(d.get());
  }
  const Dialog* front = manager.frontPanel();
  std::stable_partition(panels.begin(), panels.end(), [&](const Dialog* d) { return d == front; });
  json out = json::array();
  for (const Dialog* d : panels) {
    json items = json::array();
    for (const auto& item : d->items) {
      if (!item->dying) items.push_back(itemJson(manager, *item));
    }
    const auto& icon = d->icons[0];
    out.push_back({{"name", d->name},
                   {"title", d->title},
                   {"visible", d->visible},
                   {"front", d == front},
                   {"bounds", rectJson(d->bounds)},
                   {"dockGroup", d->group},
                   {"dockCode", manager.dockCode(*d)},
                   {"icon", icon ? json::array({icon->width, icon->height}) : json(nullptr)},
                   {"items", std::move(items)}});
  }
  return out;
}

json flyoutJson(Host& host) {
  const Item* menu = host.dialogs().openFlyoutItem();
  if (menu == nullptr || !menu->list) return nullptr;
  return {{"panel", menu->dialog->name}, {"entries", entriesJson(*menu->list)}};
}

json menusJson(Host& host) {
  host.updateMenus();
  json out = json::array();
  for (const auto& item : host.registrations().menuItems()) {
    out.push_back({{"name", item->name},
                   {"text", item->text},
                   {"group", item->group},
                   {"checked", item->checked},
                   {"enabled", item->enabled}});
  }
  return out;
}

// The name the report and the studio give a number field's units.
const char* unitsName(int32_t units) {
  switch (units) {
    case kADMPointUnits:
      return "points";
    case kADMInchUnits:
      return "inches";
    case kADMMillimeterUnits:
      return "millimeters";
    case kADMCentimeterUnits:
      return "centimeters";
    case kADMPicaUnits:
      return "picas";
    case kADMPercentUnits:
      return "percent";
    case kADMDegreeUnits:
      return "degrees";
    case kADMPixelUnits:
      return "pixels";
    default:
      return "none";
  }
}

}  // namespace sqhost
