// The stand-in host application: loads the plug-in, publishes the suites, runs the event loop.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/events.hpp"
#include "app/observer.hpp"
#include "app/plugin_library.hpp"
#include "app/registrations.hpp"
#include "app/suite_registry.hpp"
#include "dialogs/dialog_manager.hpp"
#include "document/document_list.hpp"
#include "prefs/preference_store.hpp"
#include "sqsdk/basic.h"
#include "sqsdk/messages.h"
#include "undo/undo_manager.hpp"
#include "views/view_list.hpp"

namespace sqhost {

namespace render {
struct CursorPicture;
}

struct HostOptions {
  std::string pluginPath;
  std::filesystem::path preferenceFile;  // resolved by the caller
  // Unload and reload the plug-in library after every top-level message (tests of the globals).
  bool unloadAfterEveryMessage = false;
};

// One host at a time: the suites' C functions reach it through Host::current().
class Host {
 public:
  explicit Host(HostOptions options);
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  static Host* current();

  // Loads the plug-in, sends "SP Interface"/"Startup" and then tells the application started.
  // False with a message when the library cannot be loaded; a failing start-up is noted and
  // reported by the plug-in but the host runs on (as a real host would, without the plug-in's
  // registrations that did not happen).
  bool start(std::string& error);
  // Sends "Shutdown", drops the plug-in's registrations, unloads the library and saves the
  // preferences. Safe to call twice.
  void shutDown();
  bool started() const { return started_; }

  // Sends a message to the plug-in. message points at a record that starts with SPMessageData; the
  // header is filled in here. Notifications caused by the message are delivered after it returns.
  AIErr send(const char* caller, const char* selector, void* message);
  // Message depth: 0 while no plug-in call is running.
  int depth() const { return depth_; }

  // Unloads the library (with the "SP Access" "Unload" message) and loads it again ("Reload").
  bool unloadPlugin(std::string& error);
  bool reloadPlugin(std::string& error);

  // Processes events from the event source until it has none left (a waiting source: until it is
  // closed). An event that cannot be handled is noted; from a script's source it also stops the
  // run, drops what is left queued and makes the result false.
  bool runEvents();
  // Handles one event, then does what the host does when idle.
  bool handleEvent(const Event& e);
  // What the host does when idle: delivers pending notifications, paints the current view and
  // saves changed preferences.
  void idle();

  // Notifications: queued while plug-in calls run, coalesced per type, delivered when idle to the
  // notifiers active at that moment.
  void postNotification(std::string_view type);
  // Delivers pending notifications when the host is idle. A nested event loop (a modal dialog)
  // passes nested = true: it is idle although a plug-in message is still running below it.
  void deliverNotifications(bool nested = false);

  Observer& observer() { return observer_; }
  // Where events come from: the host's own queue (for scripts and tests), unless a front-end
  // gave its own source.
  EventSource& events() { return *events_; }
  // Takes events from source from now on (null: the host's own queue again). The source
  // outlives its use.
  void useEventSource(EventSource* source) { events_ = source != nullptr ? source : &ownEvents_; }
  SuiteRegistry& suites() { return suites_; }
  Registrations& registrations() { return registrations_; }
  PreferenceStore& preferences() { return preferences_; }
  DialogManager& dialogs() { return dialogs_; }
  // Open documents (front = current), their views, and the undo history over them.
  DocumentList& documents() { return documents_; }
  ViewList& views() { return views_; }
  UndoManager& undo() { return undo_; }
  // The current document (front), or null.
  Document* currentDocument() { return documents_.front(); }
  // The front view of the current document, or null.
  View* currentView();
  // Opens a document as the new current one, with one view; starts recording its changes.
  Document& openDocument(Document document);
  // Closes a document with its views and undo history.
  AIErr closeDocument(DocumentId id);
  // True between a mouse-down and its mouse-up.
  bool buttonDown() const { return buttonDown_; }
  // Something in the current document changed (geometry, selection, attributes): the selection
  // notification goes out when the host is next idle, and its views are repainted whole at the next
  // paint. Safe while a plug-in message runs: it sends nothing itself.
  void documentChanged();
  // The selection changed without a change to the artwork.
  void selectionChanged();
  PluginLibrary* library() { return library_.get(); }
  SPPluginRef pluginRef() const;
  SPBasicSuite* basicSuite() { return &basic_; }
  const HostOptions& options() const { return options_; }

  // Memory blocks handed out by "SP Blocks Suite" and the memory suites.
  void* allocateBlock(std::size_t size, const std::string& name);
  bool freeBlock(void* block);
  void* reallocateBlock(void* block, std::size_t size, const std::string& name);
  std::size_t liveBlockCount() const { return blocks_.size(); }
  std::optional<std::size_t> blockSize(const void* block) const;

  // Application contexts pushed by plug-in code that runs outside a message (panel callbacks).
  AIAppContextHandle pushContext();
  // Pops the innermost context; false when handle is not the innermost one.
  bool popContext(AIAppContextHandle handle);
  std::size_t contextDepth() const { return contexts_.size(); }

  // Makes the host operation named op (for example "AddNotifier") fail with error on its n-th
  // call from now (1 = the next call). For tests of the plug-in's failure handling.
  void injectFailure(const std::string& op, int n, AIErr error);
  // The injected error for this call of op, or 0.
  AIErr injectedFailure(const std::string& op);

  // The cursor the plug-in set last (null before any): the one shown over the views.
  const std::optional<CursorChoice>& cursor() const { return cursor_; }
  void setCursor(CursorChoice cursor) { cursor_ = cursor; }
  // The cursor picture to draw over an image of the view: the plug-in cursor last set, its hotspot
  // at the last mouse position. Empty when there is none to show.
  render::CursorPicture cursorPicture(const View& view);

  // A preference read with another type than it is stored with: the get fails, and the first time
  // in a run for each key the host tells the user on its warning channel (stderr unless replaced),
  // naming the preference file, the section and the key.
  void warnPreferenceType(const std::string& section, const std::string& key,
                          const std::string& storedType, const std::string& askedType);
  // Where the host's warnings to the user go; the default writes lines to stderr.
  void setWarningSink(std::function<void(const std::string&)> sink) { warn_ = std::move(sink); }

  // Gives the dialog manager the general measurement units of the host preference
  // kAIPrefGeneralUnits: points when it is not stored; a value of another type or out of range is
  // reported and counts as points.
  void applyUnitsPreference();

  // Sends "AI Update" to the menu items that asked for it, as before the host shows its menus or
  // reports their state.
  void updateMenus();
  // Whether the host shows the selection's edges (the Show/Hide Edges command toggles them).
  bool edgesShown() const { return edgesShown_; }

  // Makes tool the current tool: "AI Deselect" to the previous plug-in tool, "AI Select" to the new
  // one (nothing when it already is current).
  void selectTool(ToolRecord& tool);

  // Sends "AI Draw" to the active annotators for the view's dirty region (the whole view when
  // whole is set), collecting what they draw; clears the region.
  DisplayList paintAnnotations(View& view, bool whole = false);
  // When the view waits for a full repaint (View::needsFullRepaint), sends "AI Invalidate" to every
  // active annotator, clears the flag and invalidates the whole view. Nothing while the plug-in
  // library is unloaded: the repaint stays pending.
  void invalidateAnnotatorsIfPending(View& view);
  // What the host does when idle: paints the current document's front view, after a pending full
  // repaint's "AI Invalidate", when its dirty region is not empty. Never while a plug-in message
  // runs (a modal dialog's nested loop does not paint either).
  void paintWhenIdle();
  // The last annotation display list painted for each view.
  const DisplayList* lastAnnotations(ObjectId view) const;
  // What the paints of a view covered, for a front-end that redraws only that: how many paints
  // there were, and the region the last one painted (view pixels), with whether it was the whole
  // view. Null before the view's first paint.
  struct PaintRecord {
    uint64_t count = 0;
    std::vector<AIRect> region;
    bool whole = false;
  };
  const PaintRecord* paintRecord(ObjectId view) const;
  // Empties the invalidation log of every open view (View::invalidationLog).
  void clearInvalidationLogs();

  // The most recent error the plug-in returned for a message, with its caller and selector.
  struct MessageResult {
    std::string caller;
    std::string selector;
    AIErr error = 0;
  };
  const std::vector<MessageResult>& messageResults() const { return results_; }

 private:
  // paintAnnotations without a copy: the list kept as the view's last annotations, or null when
  // nothing was dirty.
  const DisplayList* paintDirty(View& view, bool whole);
  class DialogLink;

  void publishSuites();
  void callPlugin(const char* caller, const char* selector, void* message);
  void afterTopLevelMessage();
  void savePreferencesIfChanged();
  bool handleViewEvent(const Event& e, std::string& error);
  bool handleUndoEvent(const Event& e, std::string& error);
  bool handleToolEvent(const Event& e, std::string& error);
  // Menus, the flyout menu of the front panel and the Show/Hide Edges command (host_menus.cpp).
  bool handleMenuEvent(const Event& e, std::string& error);
  AIErr sendToolMessage(const char* selector, const Event& e, int32_t what);
  // The active annotators now; a plug-in may register more while one is handling a message.
  std::vector<AIAnnotatorHandle> activeAnnotators() const;

  HostOptions options_;
  Observer observer_;
  EventQueue ownEvents_;
  EventSource* events_ = &ownEvents_;
  SuiteRegistry suites_;
  Registrations registrations_;
  PreferenceStore preferences_;
  std::unique_ptr<DialogLink> dialogLink_;  // what the dialog manager reaches the host through
  DialogManager dialogs_;
  DocumentList documents_;
  ViewList views_;
  UndoManager undo_{documents_};
  std::unique_ptr<PluginLibrary> library_;
  SPBasicSuite basic_{};
  void* globals_ = nullptr;
  int depth_ = 0;
  bool started_ = false;
  bool delivering_ = false;
  bool runningScript_ = false;  // runEvents is taking a script's events
  bool shuttingDown_ = false;   // "Shutdown" has been sent: notifications are dropped
  std::vector<std::string> pendingNotifications_;
  struct Block {
    std::unique_ptr<std::byte[]> data;
    std::size_t size;
    std::string name;
  };
  std::map<void*, Block> blocks_;
  std::vector<MessageResult> results_;
  std::vector<uintptr_t> contexts_;
  uintptr_t nextContext_ = 1;
  bool contextOpenedUndo_ = false;
  struct Injection {
    int remaining;
    AIErr error;
  };
  std::map<std::string, Injection> injections_;
  bool buttonDown_ = false;
  bool edgesShown_ = true;
  std::function<void(const std::string&)> warn_;
  std::set<std::pair<std::string, std::string>> warnedPreferences_;
  std::optional<CursorChoice> cursor_;
  uint32_t eventClock_ = 0;
  std::map<ObjectId, DisplayList> lastAnnotations_;
  std::map<ObjectId, PaintRecord> paints_;
};

// Text of an error code for messages: a decimal number, or its four characters when printable.
std::string errorText(AIErr error);

}  // namespace sqhost
