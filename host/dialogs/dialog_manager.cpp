// Dialog manager objects: dialogs from templates, items, lists, icons, drawers, docking.
#include "dialogs/dialog_manager.hpp"

#include <algorithm>

#include "sqsdk/errors.h"
#include "sqsdk/keyboard.h"
#include "sqsdk/messages.h"
#include "sqsdk/resources.h"
#include "sqsdk/suites/adm_dialog.h"
#include "sqsdk/suites/adm_tracker.h"

namespace sqhost {
namespace {

// The host's screen, on which modal dialogs open centred.
constexpr int32_t kScreenWidth = 1280;
constexpr int32_t kScreenHeight = 800;
// A panel's flyout menu button sits in its top-right corner.
constexpr int32_t kMenuButtonSize = 14;

// Small template fonts ("...Sm") are the palette font; the rest the dialog font.
int32_t fontOfTemplate(const std::string& name) {
  return name.size() >= 2 && name.ends_with("Sm") ? kADMPaletteFont : kADMDialogFont;
}

ItemType typeOfTemplateKind(int32_t kind) {
  switch (kind) {
    case kADMDefaultButtonItem:
    case kADMButtonItem:
      return ItemType::TextPushButton;
    case kADMTextLabelItem:
      return ItemType::TextStatic;
    case kADMTextEditItem:
    case kADMNumberEditItem:
      return ItemType::TextEdit;
    case kADMSpinEditPopupItem:
      return ItemType::SpinEditPopup;
    case kADMPopupListItem:
      return ItemType::PopupList;
    case kADMCheckBoxItem:
      return ItemType::TextCheckBox;
    case kADMRadioButtonItem:
      return ItemType::TextRadioButton;
    case kADMGroupFrameItem:
    case kADMVerticalRuleItem:
    case kADMHorizontalRuleItem:
      return ItemType::Frame;
    case kADMPictureItem:
      return ItemType::PictureStatic;
    case kADMPictureButtonItem:
      return ItemType::PicturePushButton;
    case kADMListBoxItem:
      return ItemType::ListBox;
    default:
      return ItemType::User;
  }
}

template <typename T>
T* lookup(const std::unordered_map<Handle, T*>& map, Handle handle) {
  const auto it = map.find(handle);
  return it == map.end() ? nullptr : it->second;
}

}  // namespace

DialogManager::DialogManager(DialogServices& services) : services_(services) {}

// No callbacks run here: the plug-in's library may be gone already.
DialogManager::~DialogManager() = default;

void DialogManager::note(const std::string& line) const {
  services_.note(line);
}

const PluginResources* DialogManager::resources() const {
  if (resourceOverride_ != nullptr) return resourceOverride_;
  return services_.pluginResources();
}

void DialogManager::setEventModifiers(int32_t modifiers) {
  modifiers_ = modifiers;
  SQSetKeyState(kVKShift, (modifiers & kAIShiftModifier) != 0);
  SQSetKeyState(kVKControl, (modifiers & kAICtrlModifier) != 0);
  SQSetKeyState(kVKAlt, (modifiers & kAIAltModifier) != 0);
}

void DialogManager::setAppUnits(int32_t units) {
  if (units == appUnits_) return;
  appUnits_ = units;
  services_.postNotification("AI Preference Changed Notifier");
}

// ---- Look-ups ---------------------------------------------------------------------------------

Dialog* DialogManager::findDialog(std::string_view name) const {
  for (const auto& d : dialogs_) {
    if (d->name == name && !d->dying) return d.get();
  }
  return nullptr;
}

Dialog* DialogManager::dialog(ADMDialogRef ref) const {
  return lookup(dialogRefs_, handleOf(ref));
}
Item* DialogManager::item(ADMItemRef ref) const {
  return lookup(itemRefs_, handleOf(ref));
}
List* DialogManager::list(ADMListRef ref) const {
  return lookup(listRefs_, handleOf(ref));
}
Entry* DialogManager::entry(ADMEntryRef ref) const {
  return lookup(entryRefs_, handleOf(ref));
}
Drawer* DialogManager::drawer(ADMDrawerRef ref) const {
  const Handle h = handleOf(ref);
  if (lastDrawer_ != nullptr && h == lastDrawerHandle_) return lastDrawer_;
  Drawer* found = lookup(drawerRefs_, h);
  if (found != nullptr) {
    lastDrawerHandle_ = h;
    lastDrawer_ = found;
  }
  return found;
}
bool DialogManager::isHostDrawer(ADMDrawerRef ref) const {
  return drawer(ref) != nullptr && ownedDrawers_.count(handleOf(ref)) == 0;
}
const Tracker* DialogManager::tracker(ADMTrackerRef ref) const {
  return lookup(trackerRefs_, handleOf(ref));
}
const Notifier* DialogManager::notifier(ADMNotifierRef ref) const {
  return lookup(notifierRefs_, handleOf(ref));
}
std::shared_ptr<const IconImage> DialogManager::icon(ADMIconRef ref) const {
  const auto it = icons_.find(handleOf(ref));
  return it == icons_.end() ? nullptr : it->second;
}
Port* DialogManager::port(AIPortRef ref) const {
  const auto it = ports_.find(handleOf(ref));
  return it == ports_.end() ? nullptr : it->second.get();
}

// ---- Dialogs ----------------------------------------------------------------------------------

AIErr DialogManager::buildDialog(int32_t dialogID, const std::string& name, int32_t style,
                                 ADMUserData userData, Dialog*& out) {
  out = nullptr;
  const PluginResources* res = resources();
  if (res == nullptr) return kResourceNotFoundErr;
  const auto found = res->dialogs.find(dialogID);
  if (found == res->dialogs.end()) return kResourceNotFoundErr;
  const DialogTemplate& t = found->second;

  auto d = std::make_unique<Dialog>();
  d->handle = nextHandle();
  d->name = name;
  d->dialogID = dialogID;
  d->style = style;
  d->title = t.title;
  d->font = fontOfTemplate(t.font);
  d->userData = userData;
  const int32_t width = std::max(0, dialogUnitsToPixels(t.width));
  const int32_t height = std::max(0, dialogUnitsToPixels(t.height));
  const int32_t left = d->modal() ? std::max(0, (kScreenWidth - width) / 2) : 0;
  const int32_t top = d->modal() ? std::max(0, (kScreenHeight - height) / 2) : 0;
  d->bounds = AIRect{left, top, left + width, top + height};
  Dialog& dialog = *d;
  dialogRefs_[d->handle] = d.get();
  dialogs_.push_back(std::move(d));

  for (const ItemTemplate& item : t.items) addTemplateItem(dialog, item);
  if (!dialog.modal()) {
    const AIRect menuBounds{width - kMenuButtonSize - 2, 2, width - 2, 2 + kMenuButtonSize};
    createItem(dialog, kADMMenuItemID, ItemType::PopupMenu, menuBounds, nullptr);
  }
  out = &dialog;
  return kNoErr;
}

void DialogManager::addTemplateItem(Dialog& dialog, const ItemTemplate& t) {
  const AIRect bounds{dialogUnitsToPixels(t.x), dialogUnitsToPixels(t.y),
                      dialogUnitsToPixels(t.x + t.width), dialogUnitsToPixels(t.y + t.height)};
  Item& item = createItem(dialog, t.id, typeOfTemplateKind(t.kind), bounds, nullptr);
  item.defaultButton = t.kind == kADMDefaultButtonItem;
  if (t.kind == kADMNumberEditItem || t.kind == kADMSpinEditPopupItem) {
    item.number.numeric = true;
    if (t.text.empty() || !setNumberText(item, t.text)) showNumber(item);
  } else {
    item.text = t.text;
  }
  if (t.pictureID != 0) {
    AIErr error = kNoErr;
    item.picture = loadImage(t.pictureID, 0, error);
    if (item.picture) item.pictureID = t.pictureID;
  }
}

AIErr DialogManager::createDialog(int32_t dialogID, const std::string& name, int32_t style,
                                  ADMDialogInitProc init, ADMUserData userData, Dialog*& out) {
  Dialog* d = nullptr;
  const AIErr built = buildDialog(dialogID, name, style, userData, d);
  if (built != kNoErr) return built;
  const Handle handle = d->handle;
  const AIErr result = callInit(*d, init);
  if (dialogRefs_.count(handle) == 0) return result != kNoErr ? result : kCantHappenErr;
  if (result != kNoErr) {
    destroyNow(*d);
    return result;
  }
  note("panel \"" + name + "\" created: \"" + d->title + "\"");
  out = d;
  return kNoErr;
}

void DialogManager::setVisible(Dialog& dialog, bool visible) {
  if (dialog.visible == visible) return;
  dialog.visible = visible;
  if (visible) dialog.raisedAt = ++raiseClock_;
  if (!visible) {
    if (const Item* menu = openFlyoutItem(); menu != nullptr && menu->dialog == &dialog) {
      closeFlyout();
    }
  }
  if (!dialog.modal()) note("panel \"" + dialog.name + "\" " + (visible ? "shown" : "hidden"));
}

void DialogManager::requestDestroy(Dialog& dialog) {
  if (dialog.dying) return;
  if (dialog.busy > 0 || dialog.running) {
    dialog.destroyPending = true;
    return;
  }
  destroyNow(dialog);
}

void DialogManager::destroyNow(Dialog& dialog) {
  dialog.dying = true;
  callDialogDestroy(dialog);
  std::vector<Handle> items;
  for (const auto& item : dialog.items) items.push_back(item->handle);
  for (Handle h : items) {
    if (Item* item = lookup(itemRefs_, h)) destroyNow(*item);
  }
  dock(dialog, "", 0);
  if (!dialog.modal()) note("panel \"" + dialog.name + "\" destroyed");
  dialogRefs_.erase(dialog.handle);
  std::erase_if(dialogs_, [&](const auto& d) { return d.get() == &dialog; });
}

void DialogManager::closeAll() {
  std::vector<Handle> panels;
  for (const auto& d : dialogs_) {
    if (!d->modal()) panels.push_back(d->handle);
  }
  for (Handle h : panels) {
    if (Dialog* d = lookup(dialogRefs_, h)) requestDestroy(*d);
  }
}

// ---- Items, lists and entries ----------------------------------------------------------------

Item& DialogManager::createItem(Dialog& dialog, int32_t id, ItemType type, const AIRect& bounds,
                                ADMUserData userData) {
  auto item = std::make_unique<Item>();
  item->handle = nextHandle();
  item->dialog = &dialog;
  item->id = id;
  item->type = type;
  item->bounds = bounds;
  item->userData = userData;
  item->trackMask = kADMDefaultTrackMask;
  item->font = kADMDefaultFont;
  if (type == ItemType::SpinEditPopup) item->number.numeric = true;
  if (hasEntryList(type)) {
    item->list = std::make_unique<List>();
    item->list->handle = nextHandle();
    item->list->item = item.get();
    listRefs_[item->list->handle] = item->list.get();
  }
  Item& created = *item;
  itemRefs_[item->handle] = item.get();
  dialog.items.push_back(std::move(item));
  return created;
}

void DialogManager::requestDestroy(Item& item) {
  if (item.dying) return;
  if (item.busy > 0) {
    item.destroyPending = true;
    return;
  }
  destroyNow(item);
}

void DialogManager::destroyNow(Item& item) {
  item.dying = true;
  callItemDestroy(item);
  Dialog& dialog = *item.dialog;
  if (dialog.focus == item.handle) dialog.focus = 0;
  if (item.list) unregisterList(*item.list);
  itemRefs_.erase(item.handle);
  std::erase_if(dialog.items, [&](const auto& i) { return i.get() == &item; });
}

void DialogManager::unregisterList(List& list) {
  for (const auto& e : list.entries) entryRefs_.erase(e->handle);
  listRefs_.erase(list.handle);
}

void DialogManager::replaceEntries(List& list, const std::vector<std::string>& texts) {
  for (const auto& e : list.entries) entryRefs_.erase(e->handle);
  list.entries.clear();
  list.active = nullptr;
  for (const std::string& text : texts) {
    Entry& e = insertEntry(list, list.entries.size());
    e.text = text;
    e.separator = text == "-";
    e.enabled = !e.separator;
  }
}

Entry& DialogManager::insertEntry(List& list, std::size_t index) {
  auto e = std::make_unique<Entry>();
  e->handle = nextHandle();
  e->list = &list;
  Entry& inserted = *e;
  entryRefs_[e->handle] = e.get();
  list.entries.insert(list.entries.begin() + static_cast<std::ptrdiff_t>(index), std::move(e));
  return inserted;
}

void DialogManager::removeEntry(List& list, std::size_t index) {
  Entry* e = list.entries[index].get();
  if (list.active == e) list.active = nullptr;
  entryRefs_.erase(e->handle);
  list.entries.erase(list.entries.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string DialogManager::itemText(const Item& item) const {
  if (item.type == ItemType::PopupList || item.type == ItemType::ListBox) {
    return item.list && item.list->active ? item.list->active->text : std::string();
  }
  return item.text;
}

// ---- Icons, drawers and ports -----------------------------------------------------------------

std::shared_ptr<const IconImage> DialogManager::loadImage(int32_t id, int32_t index,
                                                          AIErr& error) const {
  const PluginResources* res = resources();
  if (res == nullptr) {
    error = kResourceNotFoundErr;
    return nullptr;
  }
  const auto found = res->images.find({id, index});
  if (found == res->images.end()) {
    error = kResourceNotFoundErr;
    return nullptr;
  }
  auto image = decodeIcon(found->second, id, index);
  error = image ? kNoErr : kBadParameterErr;
  return image;
}

ADMIconRef DialogManager::addIcon(std::shared_ptr<const IconImage> image) {
  const Handle h = nextHandle();
  icons_[h] = std::move(image);
  return refOf<ADMIconRef>(h);
}

bool DialogManager::removeIcon(ADMIconRef ref) {
  return icons_.erase(handleOf(ref)) == 1;
}

void DialogManager::unregisterDrawer(Handle handle) {
  drawerRefs_.erase(handle);
  if (handle == lastDrawerHandle_) lastDrawer_ = nullptr;
}

Handle DialogManager::registerDrawer(Drawer& drawer) {
  const Handle h = nextHandle();
  drawerRefs_[h] = &drawer;
  if (h == lastDrawerHandle_) lastDrawer_ = nullptr;
  return h;
}

ADMDrawerRef DialogManager::createDrawer(Port& port, const AIRect& bounds, int32_t font) {
  auto drawer = std::make_unique<Drawer>(*port.list, bounds, port.bounds, AIPoint{0, 0}, font,
                                         kTransparentRGBA);
  const Handle h = registerDrawer(*drawer);
  ownedDrawers_[h] = OwnedDrawer{std::move(drawer), port.handle};
  return refOf<ADMDrawerRef>(h);
}

bool DialogManager::destroyDrawer(ADMDrawerRef ref) {
  const Handle h = handleOf(ref);
  if (ownedDrawers_.erase(h) == 0) return false;
  unregisterDrawer(h);
  return true;
}

AIPortRef DialogManager::openPort(DisplayList& list, const AIRect& bounds) {
  auto port = std::make_unique<Port>();
  port->handle = nextHandle();
  port->list = &list;
  port->bounds = bounds;
  const Handle h = port->handle;
  ports_[h] = std::move(port);
  return refOf<AIPortRef>(h);
}

void DialogManager::closePort(AIPortRef ref) {
  const Handle h = handleOf(ref);
  std::vector<Handle> leftOver;
  for (const auto& [handle, owned] : ownedDrawers_) {
    if (owned.port == h) leftOver.push_back(handle);
  }
  for (Handle d : leftOver) {
    ownedDrawers_.erase(d);
    unregisterDrawer(d);
  }
  if (!leftOver.empty()) {
    note(std::to_string(leftOver.size()) +
         " drawer(s) still alive after the annotator's drawing were destroyed by the host");
  }
  ports_.erase(h);
}

// ---- Docking ------------------------------------------------------------------------------------

int32_t DialogManager::dockCode(const Dialog& dialog) const {
  if (dialog.group.empty()) return 0;
  const auto found = groups_.find(dialog.group);
  if (found == groups_.end()) return 0;
  const auto& tabs = found->second;
  const auto it = std::find(tabs.begin(), tabs.end(), dialog.handle);
  return it == tabs.end() ? 0 : static_cast<int32_t>(it - tabs.begin());
}

void DialogManager::dock(Dialog& dialog, const std::string& group, int32_t code) {
  if (!dialog.group.empty()) {
    auto found = groups_.find(dialog.group);
    if (found != groups_.end()) {
      std::erase(found->second, dialog.handle);
      if (found->second.empty()) groups_.erase(found);
    }
    dialog.group.clear();
  }
  if (group.empty()) return;
  auto& tabs = groups_[group];
  if (!tabs.empty()) {
    // A panel joining a group moves into the group's frame, keeping its size.
    if (const Dialog* front = lookup(dialogRefs_, tabs.front())) {
      const int32_t width = dialog.bounds.right - dialog.bounds.left;
      const int32_t height = dialog.bounds.bottom - dialog.bounds.top;
      dialog.bounds = AIRect{front->bounds.left, front->bounds.top, front->bounds.left + width,
                             front->bounds.top + height};
    }
  }
  const auto position = std::min<std::size_t>(static_cast<std::size_t>(code), tabs.size());
  tabs.insert(tabs.begin() + static_cast<std::ptrdiff_t>(position), dialog.handle);
  dialog.group = group;
}

}  // namespace sqhost
