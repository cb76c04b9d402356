// The dialog manager: modal dialogs, alerts, panels, the nested loop, drawers and trackers.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dialogs/dialog_model.hpp"
#include "dialogs/dialog_services.hpp"
#include "render/display_list.hpp"
#include "render/drawer.hpp"
#include "sqsdk/suites/adm_types.h"
#include "sqsdk/types.h"

namespace sqhost {

// An alert shown to the user, in the order shown.
struct AlertRecord {
  enum class Kind { Error, Message };
  Kind kind = Kind::Message;
  std::string text;
};

// One item of a dialog as it was when the dialog opened.
struct ItemSnapshot {
  int32_t id = 0;
  ItemType type = ItemType::User;
  std::string text;             // as GetText reads it (a popup: its chosen entry)
  std::optional<double> value;  // number fields: the value, in the units the plug-in uses
  bool checked = false;
  bool visible = true;
  bool enabled = true;
};

// A modal dialog that was shown: what it showed and how it closed.
struct DialogRecord {
  std::string name;
  std::string title;
  int32_t dialogID = 0;
  std::vector<ItemSnapshot> items;  // after its init proc ran, in creation order
  bool closed = false;
  int32_t closedWith = 0;  // the id Modal returned
  bool cancelled = false;  // by Escape or because no queued action answered it
};

// A mouse or key event tracked by an item (adm_tracker.h actions and keys).
struct TrackEvent {
  int32_t action = 0;
  AIPoint point{};  // item-local pixels
  int32_t modifiers = 0;
  int32_t key = 0;  // key strokes: a kADM...Key value or a code point
};

struct Tracker {
  Handle handle = 0;
  TrackEvent event;
};

struct Notifier {
  Handle handle = 0;
  std::string type;
};

// A drawing port handed to an annotator for one "AI Draw" message.
struct Port {
  Handle handle = 0;
  DisplayList* list = nullptr;
  AIRect bounds{};
};

class DialogManager {
 public:
  explicit DialogManager(DialogServices& services);
  ~DialogManager();
  DialogManager(const DialogManager&) = delete;
  DialogManager& operator=(const DialogManager&) = delete;

  // ---- The host's side --------------------------------------------------------------------

  // Destroys every floating panel, running its destroy procs (the host is quitting).
  void closeAll();
  // True while any dialog exists: the plug-in's library must stay loaded.
  bool hasDialogs() const { return !dialogs_.empty(); }

  // Applies a dialog action to the named floating panel outside any modal loop; false with a
  // message naming the dialog and item when it cannot. Pending notifications are delivered after.
  bool applyAction(const DialogAction& action, std::string& error);
  // A mouse or key event on one item of a shown panel or of the front modal dialog (empty name).
  bool trackItem(const std::string& dialogName, int32_t itemID, const TrackEvent& event,
                 std::string& error);
  // A key pressed in a dialog: the item with the focus tracks it first; Enter and Return press
  // the default item, Escape cancels (modal) or presses the cancel item (panel).
  bool pressKey(const std::string& dialogName, int32_t key, int32_t modifiers, std::string& error);
  // The user shows, hides or moves a panel; its notify proc hears of it.
  bool userShow(const std::string& dialogName, bool show, std::string& error);
  bool userSetBounds(const std::string& dialogName, const AIRect& bounds, std::string& error);

  // The visible floating panel shown last, or null.
  Dialog* frontPanel() const;
  // The user opens the front panel's flyout menu with modifiers held: its menu button tracks a
  // button-down (the plug-in's track proc may reword entries), and the menu stays open until an
  // entry is chosen or closeFlyout. False with a message when there is no menu to open.
  bool openFlyout(int32_t modifiers, std::string& error);
  // The user chooses entry index of the open flyout menu, which then closes; false with a message
  // when no menu is open or it has no such entry. A disabled entry or separator is noted and
  // nothing else happens.
  bool chooseFlyout(std::size_t index, std::string& error);
  // Closes the open flyout menu without a choice (the user did something else).
  void closeFlyout();
  // The menu button whose flyout menu is open, or null.
  Item* openFlyoutItem() const;

  // Draws a dialog as the screen shows it, in dialog-local pixels; draw procs run.
  DisplayList draw(Dialog& dialog);

  // The modifiers of the event being handled (kAIShiftModifier ...); also sets the platform
  // keyboard state of Shift, Ctrl and Alt to match. The host calls this for every event.
  void setEventModifiers(int32_t modifiers);
  int32_t eventModifiers() const { return modifiers_; }

  // The host's general measurement units (kADMPointUnits .. kADMPixelUnits); a change posts
  // "AI Preference Changed Notifier".
  void setAppUnits(int32_t units);
  int32_t appUnits() const { return appUnits_; }

  // Resources of the plug-in: the loaded library's, unless replaced (tests).
  void useResources(const PluginResources* resources) { resourceOverride_ = resources; }
  const PluginResources* resources() const;

  // A port for one "AI Draw" message; closing it destroys (and notes) drawers left on it.
  AIPortRef openPort(DisplayList& list, const AIRect& bounds);
  void closePort(AIPortRef port);

  // Records for reports and tests.
  const std::vector<AlertRecord>& alerts() const { return alerts_; }
  // The alert waiting for the user's answer now, or null.
  const AlertRecord* waitingAlert() const {
    return waitingAlert_ ? &alerts_[*waitingAlert_] : nullptr;
  }
  const std::vector<DialogRecord>& dialogsShown() const { return records_; }
  // Actions taken by modal loops that could not be applied (also noted by the observer).
  const std::vector<std::string>& actionErrors() const { return actionErrors_; }

  // Dialogs alive, in creation order; the first of this name, or null.
  const std::vector<std::unique_ptr<Dialog>>& dialogs() const { return dialogs_; }
  Dialog* findDialog(std::string_view name) const;

  // ---- References handed to the plug-in: null for anything not alive ----------------------

  Dialog* dialog(ADMDialogRef ref) const;
  Item* item(ADMItemRef ref) const;
  List* list(ADMListRef ref) const;
  Entry* entry(ADMEntryRef ref) const;
  Drawer* drawer(ADMDrawerRef ref) const;
  bool isHostDrawer(ADMDrawerRef ref) const;
  const Tracker* tracker(ADMTrackerRef ref) const;
  const Notifier* notifier(ADMNotifierRef ref) const;
  std::shared_ptr<const IconImage> icon(ADMIconRef ref) const;
  Port* port(AIPortRef ref) const;

  // ---- Operations behind the suites -----------------------------------------------------

  // Builds a floating panel and runs its init proc; destroys it again when that fails.
  AIErr createDialog(int32_t dialogID, const std::string& name, int32_t style,
                     ADMDialogInitProc init, ADMUserData userData, Dialog*& out);
  // Builds a modal dialog, runs its init proc and its nested loop, then destroys it.
  AIErr runModal(int32_t dialogID, const std::string& name, int32_t style, ADMDialogInitProc init,
                 ADMUserData userData, int32_t& outItemID);
  // Destroys now, or when the running callbacks of the dialog (or item) return.
  void requestDestroy(Dialog& dialog);
  void requestDestroy(Item& item);
  // Shows or hides a panel for the plug-in (no notification).
  void setVisible(Dialog& dialog, bool visible);

  Item& createItem(Dialog& dialog, int32_t id, ItemType type, const AIRect& bounds,
                   ADMUserData userData);
  // Replaces a list's entries ("-" makes a separator); no entry is active afterwards.
  void replaceEntries(List& list, const std::vector<std::string>& texts);
  Entry& insertEntry(List& list, std::size_t index);
  void removeEntry(List& list, std::size_t index);

  // Shows an alert and runs its loop until it is answered or dismissed.
  void showAlert(AlertRecord::Kind kind, const std::string& text);

  ADMIconRef addIcon(std::shared_ptr<const IconImage> image);
  bool removeIcon(ADMIconRef ref);
  // Loads a PNG resource: kResourceNotFoundErr or kBadParameterErr (not a PNG) in error.
  std::shared_ptr<const IconImage> loadImage(int32_t id, int32_t index, AIErr& error) const;

  ADMDrawerRef createDrawer(Port& port, const AIRect& bounds, int32_t font);
  bool destroyDrawer(ADMDrawerRef ref);

  // Standard behaviour, for the suites' Default... operations and for the host itself.
  void notifyItem(Item& item, const std::string& type);
  void defaultNotify(Item& item, const std::string& type);
  bool track(Item& item, const TrackEvent& event);  // true when consumed
  bool defaultTrack(Item& item, const TrackEvent& event);
  void defaultDraw(Dialog& dialog, Drawer& drawer);
  void defaultDraw(Item& item, Drawer& drawer);
  void updateItem(Item& item);
  // Reformats a number field's text from its value.
  void showNumber(Item& item);
  // Makes a text edit a number field, reading its text as the first value.
  void makeNumeric(Item& item);
  // Reads text into a number field without notification (SetText): false when not a number.
  bool setNumberText(Item& item, const std::string& text);
  // The text an item shows: a popup its active entry, others their text.
  std::string itemText(const Item& item) const;

  void dock(Dialog& dialog, const std::string& group, int32_t code);
  int32_t dockCode(const Dialog& dialog) const;

  // Callbacks into the plug-in, counted so destruction waits for them (callbacks.cpp).
  AIErr callInit(Dialog& dialog, ADMDialogInitProc init);
  void callDialogNotify(Dialog& dialog, const std::string& type);

 private:
  // Counts a running callback of a dialog (and one of its items) while it lives; a destruction
  // requested meanwhile happens when the last one ends.
  class CallbackScope {
   public:
    CallbackScope(DialogManager& manager, Dialog& dialog, Item* item);
    ~CallbackScope();
    CallbackScope(const CallbackScope&) = delete;
    CallbackScope& operator=(const CallbackScope&) = delete;

   private:
    DialogManager& manager_;
    Handle dialog_;
    Handle item_;
  };

  void callDialogDraw(Dialog& dialog, Drawer& drawer);
  void callDialogDestroy(Dialog& dialog);
  void callItemNotify(Item& item, const std::string& type);
  void callItemDraw(Item& item, Drawer& drawer);
  bool callItemTrack(Item& item, const TrackEvent& event);
  void callItemDestroy(Item& item);
  void noteResult(const Dialog& dialog, const Item* item, const char* what, AIErr result) const;
  Handle registerDrawer(Drawer& drawer);
  void unregisterDrawer(Handle handle);

  Handle nextHandle() { return nextHandle_ += 16; }
  AIErr buildDialog(int32_t dialogID, const std::string& name, int32_t style, ADMUserData userData,
                    Dialog*& out);
  void addTemplateItem(Dialog& dialog, const ItemTemplate& t);
  void destroyNow(Dialog& dialog);
  void destroyNow(Item& item);
  void unregisterList(List& list);
  void endCallback(Handle dialogHandle, Handle itemHandle);
  void drawItem(Item& item, Drawer& parent);
  std::string describeOpened(const Dialog& dialog) const;
  std::vector<ItemSnapshot> snapshot(const Dialog& dialog) const;
  void closeRecord(Dialog& dialog, bool cancelled);

  // The modal loop and user actions (modal_loop.cpp, item_actions.cpp).
  // The next action from the input that wanted accepts, for the modal dialog or alert named name;
  // nothing when it is to close unanswered (see DialogInput::WaitPolicy).
  using Wanted = bool (*)(const DialogAction&);
  std::optional<DialogAction> nextAnswer(const std::string& name, Wanted wanted);
  void deliverPending();
  bool applyToDialog(Dialog& dialog, const DialogAction& action, std::string& error);
  bool pressItem(Item& item);
  bool typeInto(Item& item, const std::string& text);
  void chooseEntry(Item& item, std::size_t index);
  // Makes entry index of an open menu or a list the active one and notifies the item.
  void selectEntry(Item& item, std::size_t index);
  void setChecked(Item& item, bool checked);
  void commitField(Item& item);
  bool typeKey(Item& item, int32_t key);  // true when consumed
  void moveFocus(Dialog& dialog, Item* to);
  void focusNextField(Dialog& dialog, const Item& from);
  void cancelModal(Dialog& dialog);
  bool keyInDialog(Dialog& dialog, int32_t key, int32_t modifiers);
  Dialog* actionTarget(const std::string& name, std::string& error);
  void noteActionError(const DialogAction& action, const std::string& error);
  void beginAction();
  void endAction();
  void note(const std::string& line) const;

  DialogServices& services_;
  std::vector<std::unique_ptr<Dialog>> dialogs_;
  std::unordered_map<Handle, Dialog*> dialogRefs_;
  std::unordered_map<Handle, Item*> itemRefs_;
  std::unordered_map<Handle, List*> listRefs_;
  std::unordered_map<Handle, Entry*> entryRefs_;
  std::unordered_map<Handle, Drawer*> drawerRefs_;
  // The drawer found last: an annotation paint makes thousands of calls on the same one.
  mutable Handle lastDrawerHandle_{};
  mutable Drawer* lastDrawer_ = nullptr;
  struct OwnedDrawer {
    std::unique_ptr<Drawer> drawer;
    Handle port = 0;
  };
  std::unordered_map<Handle, OwnedDrawer> ownedDrawers_;
  std::unordered_map<Handle, const Tracker*> trackerRefs_;
  std::unordered_map<Handle, const Notifier*> notifierRefs_;
  std::unordered_map<Handle, std::shared_ptr<const IconImage>> icons_;
  std::unordered_map<Handle, std::unique_ptr<Port>> ports_;
  std::map<std::string, std::vector<Handle>> groups_;  // docking groups: tabs in order
  Handle nextHandle_ = 0x10000;

  std::vector<AlertRecord> alerts_;
  std::vector<DialogRecord> records_;
  std::vector<std::string> actionErrors_;
  const PluginResources* resourceOverride_ = nullptr;
  int32_t modifiers_ = 0;
  int32_t appUnits_ = kADMPointUnits;
  uint64_t raiseClock_ = 0;
  Handle openFlyout_ = 0;                    // the menu button of the open flyout menu
  std::optional<std::size_t> waitingAlert_;  // index in alerts_ of the alert being answered
};

}  // namespace sqhost
