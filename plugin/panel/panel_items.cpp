// Looking up the point editor panel's items and flyout entries and changing them.
#include "panel/panel_items.hpp"

#include "shell/host_suites.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_dialog.h"
#include "sqsdk/suites/adm_entry.h"
#include "sqsdk/suites/adm_item.h"
#include "sqsdk/suites/adm_list.h"

namespace sq {

namespace {

const ADMItemSuite* items() {
  return SuiteAs<ADMItemSuite>(SuiteId::ADMItem);
}

ADMEntryRef flyoutEntry(const PluginState& s, int32_t index) {
  const ADMListRef list = flyoutList(s);
  const auto* lists = SuiteAs<ADMListSuite>(SuiteId::ADMList);
  if (list == nullptr || lists == nullptr) return nullptr;
  ADMEntryRef entry = nullptr;
  if (lists->GetEntry(list, index, &entry) != kNoErr) return nullptr;
  return entry;
}

}  // namespace

ADMItemRef panelItem(const PluginState& s, int32_t id) {
  const auto* dialogs = SuiteAs<ADMDialogSuite>(SuiteId::ADMDialog);
  if (s.panelDialog == nullptr || dialogs == nullptr || items() == nullptr) return nullptr;
  ADMItemRef item = nullptr;
  if (dialogs->GetItem(s.panelDialog, id, &item) != kNoErr) return nullptr;
  return item;
}

bool itemVisible(const PluginState& s, int32_t id) {
  AIBoolean visible = 0;
  if (const ADMItemRef item = panelItem(s, id)) items()->IsVisible(item, &visible);
  return visible != 0;
}

bool itemEnabled(const PluginState& s, int32_t id) {
  AIBoolean enabled = 0;
  if (const ADMItemRef item = panelItem(s, id)) items()->IsEnabled(item, &enabled);
  return enabled != 0;
}

void showItem(const PluginState& s, int32_t id, bool show) {
  if (const ADMItemRef item = panelItem(s, id)) items()->Show(item, show ? 1 : 0);
}

void enableItem(const PluginState& s, int32_t id, bool enable) {
  if (const ADMItemRef item = panelItem(s, id)) items()->Enable(item, enable ? 1 : 0);
}

void showItems(const PluginState& s, int32_t first, int32_t last, bool show) {
  for (int32_t id = first; id <= last; ++id) showItem(s, id, show);
}

void enableItems(const PluginState& s, int32_t first, int32_t last, bool enable) {
  for (int32_t id = first; id <= last; ++id) enableItem(s, id, enable);
}

void setItemText(const PluginState& s, int32_t id, const char* text) {
  if (const ADMItemRef item = panelItem(s, id)) {
    items()->SetText(item, text);
    items()->Update(item);
  }
}

void setItemValue(const PluginState& s, int32_t id, double value) {
  if (const ADMItemRef item = panelItem(s, id)) {
    items()->SetFloatValue(item, static_cast<AIReal>(value));
    items()->Update(item);
  }
}

void setItemWidth(const PluginState& s, int32_t id, int32_t width) {
  if (const ADMItemRef item = panelItem(s, id)) {
    AIRect bounds{};
    if (items()->GetBoundsRect(item, &bounds) != kNoErr) return;
    bounds.right = bounds.left + width;
    items()->SetBoundsRect(item, &bounds);
  }
}

void redrawItem(const PluginState& s, int32_t id) {
  if (const ADMItemRef item = panelItem(s, id)) items()->Update(item);
}

ADMListRef flyoutList(const PluginState& s) {
  const ADMItemRef menu = panelItem(s, kADMMenuItemID);
  if (menu == nullptr) return nullptr;
  ADMListRef list = nullptr;
  if (items()->GetList(menu, &list) != kNoErr) return nullptr;
  return list;
}

void enableEntry(const PluginState& s, int32_t index, bool enable) {
  if (const ADMEntryRef entry = flyoutEntry(s, index)) {
    SuiteAs<ADMEntrySuite>(SuiteId::ADMEntry)->Enable(entry, enable ? 1 : 0);
  }
}

void setEntryText(const PluginState& s, int32_t index, const char* text) {
  if (const ADMEntryRef entry = flyoutEntry(s, index)) {
    SuiteAs<ADMEntrySuite>(SuiteId::ADMEntry)->SetText(entry, text);
  }
}

}  // namespace sq
