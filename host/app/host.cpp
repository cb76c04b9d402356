// The stand-in host application: loads the plug-in, publishes the suites, runs the event loop.
#include "app/host.hpp"

#include <algorithm>
#include <cstring>
#include <new>

#include "prefs/host_preferences.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_preference.h"
#include "suites/publish.hpp"

namespace sqhost {

namespace {

Host* gCurrent = nullptr;

AIErr basicAcquire(const char* name, int32_t version, const void** outSuite) {
  if (outSuite != nullptr) *outSuite = nullptr;
  Host* host = Host::current();
  if (host == nullptr || name == nullptr || outSuite == nullptr) return kBadParameterErr;
  return host->suites().acquire(name, version, outSuite);
}

AIErr basicRelease(const char* name, int32_t version) {
  Host* host = Host::current();
  if (host == nullptr || name == nullptr) return kBadParameterErr;
  return host->suites().release(name, version);
}

AIBoolean basicIsEqual(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return std::strcmp(a, b) == 0;
}

// The plug-in's reference: the host has one plug-in, so any stable non-null value serves.
int gPluginIdentity = 0;

}  // namespace

std::string errorText(AIErr error) {
  const auto code = static_cast<uint32_t>(error);
  bool printable = (code >> 16) != 0 && (code >> 16) != 0xFFFF;
  for (int shift = 0; printable && shift < 32; shift += 8) {
    const auto c = static_cast<unsigned char>((code >> shift) & 0xFF);
    printable = c >= 0x20 && c < 0x7F;
  }
  if (printable) {
    // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on "'" + a temporary.
    std::string quoted = "'";
    quoted += fourCCText(code);
    quoted += '\'';
    return quoted;
  }
  return std::to_string(error);
}

// The host as the dialog manager sees it, and the host's event source as modal dialogs read it.
class Host::DialogLink final : public DialogServices, public DialogInput {
 public:
  explicit DialogLink(Host& host) : host_(host) {}

  void note(const std::string& line) override { host_.observer_.note(line); }
  std::string errorText(AIErr error) const override { return sqhost::errorText(error); }
  void postNotification(const std::string& type) override { host_.postNotification(type); }
  void deliverNotifications(bool nested) override { host_.deliverNotifications(nested); }
  const PluginResources* pluginResources() const override {
    return host_.library_ ? &host_.library_->resources() : nullptr;
  }
  // Every user action on a dialog is one undo context.
  void beginUserAction() override { host_.undo_.beginContext("Dialog Edit"); }
  void endUserAction() override { host_.undo_.endContext(); }
  DialogInput& input() override { return *this; }

  WaitPolicy waitPolicy() const override {
    return host_.events().waits() ? WaitPolicy::WaitForUser : WaitPolicy::CancelUnanswered;
  }
  Next peek() override {
    const std::optional<Event> e = host_.events().peek();
    if (!e) return {};
    if (std::optional<DialogAction> action = e->dialogAction()) {
      return {Next::Kind::Action, std::move(*action)};
    }
    return {Next::Kind::Other, {}};
  }
  void take() override { host_.events().take(); }
  void actionFailed() override {
    if (host_.runningScript_) host_.events().clear();
  }

 private:
  Host& host_;
};

Host::Host(HostOptions options)
    : options_(std::move(options)),
      preferences_(options_.preferenceFile),
      dialogLink_(std::make_unique<DialogLink>(*this)),
      dialogs_(*dialogLink_) {
  gCurrent = this;
  basic_.AcquireSuite = basicAcquire;
  basic_.ReleaseSuite = basicRelease;
  basic_.IsEqual = basicIsEqual;
  publishSuites();
  preferences_.setWriteObserver([this](const PreferenceWrite& w) {
    observer_.note("preference write: " + w.text());
    if (w.section.empty() && w.key == kAIPrefGeneralUnits) applyUnitsPreference();
  });
}

Host::~Host() {
  shutDown();
  if (gCurrent == this) gCurrent = nullptr;
}

Host* Host::current() {
  return gCurrent;
}

View* Host::currentView() {
  Document* doc = currentDocument();
  return doc == nullptr ? nullptr : views_.front(doc->id());
}

Document& Host::openDocument(Document document) {
  Document& opened = documents_.open(std::move(document));
  views_.open(opened).needsFullRepaint = true;
  undo_.attach(opened);
  postNotification("AI Document View Changed Notifier");
  return opened;
}

AIErr Host::closeDocument(DocumentId id) {
  Document* doc = documents_.find(id);
  if (doc == nullptr) return kBadHandleErr;
  undo_.detach(*doc);
  for (const View* view : views_.of(id)) {
    lastAnnotations_.erase(view->id);
    paints_.erase(view->id);
  }
  views_.closeDocument(id);
  const AIErr error = documents_.close(id);
  // The view of the document that is current now comes to the front.
  if (View* view = currentView()) view->needsFullRepaint = true;
  postNotification("AI Document View Changed Notifier");
  return error;
}

void Host::documentChanged() {
  selectionChanged();
  if (const Document* doc = currentDocument()) {
    views_.forEachOf(doc->id(), [](View& view) { view.needsFullRepaint = true; });
  }
}

void Host::selectionChanged() {
  postNotification("AI Art Selection Changed Notifier");
}

SPPluginRef Host::pluginRef() const {
  return reinterpret_cast<SPPluginRef>(&gPluginIdentity);
}

void Host::publishSuites() {
  publishAllSuites(suites_);
}

bool Host::start(std::string& error) {
  shuttingDown_ = false;
  const PreferenceLoadResult loaded = preferences_.load();
  if (!loaded.ok()) observer_.warn(loaded.message);
  // Host values that do not fit their type and range never reach a plug-in.
  for (const std::string& problem : enforceHostPreferenceTable(preferences_)) {
    observer_.warn(problem);
  }
  applyUnitsPreference();

  library_ = PluginLibrary::open(options_.pluginPath, error);
  if (!library_) return false;
  observer_.note("loaded plug-in \"" + library_->properties().name + "\" from " + library_->path() +
                 ", entry point " + library_->properties().entryName);

  SPInterfaceMessage startup{};
  const AIErr result = send(kSPInterfaceCaller, kSPInterfaceStartupSelector, &startup);
  started_ = true;
  observer_.note(result == kNoErr ? "plug-in started"
                                  : "plug-in start-up failed with error " + errorText(result));
  // The application has finished starting: tell the notifiers that asked.
  postNotification("AI Application Started Notifier");
  deliverNotifications();
  return true;
}

void Host::shutDown() {
  if (!started_) return;
  started_ = false;
  if (library_ && !library_->loaded()) {
    std::string error;
    if (!reloadPlugin(error)) observer_.note(error);
  }
  dialogs_.closeAll();
  // What is pending reaches the plug-in while it still runs; nothing is delivered after its
  // "Shutdown" (its state is gone by then).
  deliverNotifications();
  shuttingDown_ = true;
  SPInterfaceMessage shutdown{};
  const AIErr result = send(kSPInterfaceCaller, kSPInterfaceShutdownSelector, &shutdown);
  observer_.note(result == kNoErr ? "plug-in shut down"
                                  : "plug-in shut-down failed with error " + errorText(result));
  registrations_.dropPluginRegistrations();
  if (library_) library_->unload();
  library_.reset();
  const int64_t held = suites_.totalUseCount();
  if (held != 0) observer_.note("suites still acquired after shut-down: " + std::to_string(held));
  if (!blocks_.empty()) {
    for (const auto& [block, info] : blocks_) {
      observer_.note("memory block \"" + info.name + "\" (" + std::to_string(info.size) +
                     " bytes) was never freed");
    }
  }
  // The one write of the preference file in a run, and only when a value changed.
  savePreferencesIfChanged();
}

void Host::callPlugin(const char* caller, const char* selector, void* message) {
  auto* header = static_cast<SPMessageData*>(message);
  header->SPCheck = kSPValidSPMessageData;
  header->self = pluginRef();
  header->globals = globals_;
  header->basic = &basic_;
  ++depth_;
  const AIErr result = library_->entry()(caller, selector, message);
  --depth_;
  globals_ = header->globals;
  results_.push_back({caller, selector, result});
}

AIErr Host::send(const char* caller, const char* selector, void* message) {
  if (!library_ || !library_->loaded()) return kCantHappenErr;
  callPlugin(caller, selector, message);
  const AIErr result = results_.back().error;
  if (depth_ == 0) afterTopLevelMessage();
  return result;
}

void Host::afterTopLevelMessage() {
  if (options_.unloadAfterEveryMessage && started_ && library_ && library_->loaded() &&
      !dialogs_.hasDialogs()) {
    std::string error;
    if (!unloadPlugin(error) || !reloadPlugin(error)) observer_.note(error);
  }
  if (!delivering_) deliverNotifications();
}

void Host::savePreferencesIfChanged() {
  if (!preferences_.hasUnsavedChanges()) return;
  const PreferenceSaveResult saved = preferences_.save();
  if (!saved.ok()) observer_.note(saved.error);
}

bool Host::unloadPlugin(std::string& error) {
  if (!library_ || !library_->loaded()) {
    error = "the plug-in is not loaded";
    return false;
  }
  if (depth_ != 0) {
    error = "the plug-in cannot be unloaded while it handles a message";
    return false;
  }
  if (dialogs_.hasDialogs()) {
    error = "the plug-in cannot be unloaded while one of its dialogs is open";
    return false;
  }
  SPAccessMessage unload{};
  callPlugin(kSPAccessCaller, kSPAccessUnloadSelector, &unload);
  library_->unload();
  return true;
}

bool Host::reloadPlugin(std::string& error) {
  if (!library_) {
    error = "no plug-in to reload";
    return false;
  }
  if (library_->loaded()) return true;
  if (!library_->reload(error)) return false;
  SPAccessMessage reload{};
  callPlugin(kSPAccessCaller, kSPAccessReloadSelector, &reload);
  return true;
}

void Host::postNotification(std::string_view type) {
  // Compared before anything is made: a burst of edits posts the same type many times over.
  for (const auto& pending : pendingNotifications_) {
    if (pending == type) return;
  }
  pendingNotifications_.emplace_back(type);
}

void Host::deliverNotifications(bool nested) {
  if (shuttingDown_) {
    pendingNotifications_.clear();
    return;
  }
  if (delivering_ || (depth_ != 0 && !nested)) return;
  delivering_ = true;
  while (!pendingNotifications_.empty() && library_ && library_->loaded()) {
    const std::string type = pendingNotifications_.front();
    pendingNotifications_.erase(pendingNotifications_.begin());
    // Deliver to the notifiers active now; a notifier may change activity of the others.
    std::vector<AINotifierHandle> targets;
    for (const auto& n : registrations_.notifiers()) {
      if (n->active && n->type == type) targets.push_back(Registrations::handleOf(*n));
    }
    for (AINotifierHandle handle : targets) {
      NotifierRecord* record = registrations_.notifier(handle);
      if (record == nullptr || !record->active) continue;
      AINotifierMessage message{};
      message.notifier = handle;
      message.type = record->type.c_str();
      callPlugin(kCallerAINotify, kSelectorAINotify, &message);
      if (options_.unloadAfterEveryMessage && depth_ == 0 && !dialogs_.hasDialogs()) {
        std::string error;
        if (!unloadPlugin(error) || !reloadPlugin(error)) observer_.note(error);
      }
    }
  }
  pendingNotifications_.clear();
  delivering_ = false;
}

bool Host::runEvents() {
  bool ok = true;
  const bool script = !events_->waits();
  runningScript_ = script;
  while (auto e = events_->take()) {
    // A dialog action that fails inside a modal dialog the event opened fails the event too.
    const std::size_t failedBefore = dialogs_.actionErrors().size();
    const bool handled = handleEvent(*e) && dialogs_.actionErrors().size() == failedBefore;
    if (!handled && script) {
      // A script's line that fails stops the run; what it left queued is dropped.
      events_->clear();
      ok = false;
    }
  }
  runningScript_ = false;
  return ok;
}

void Host::idle() {
  deliverNotifications();
  paintWhenIdle();
}

void* Host::allocateBlock(std::size_t size, const std::string& name) {
  // Zero-filled; new[] aligns for any fundamental type, as the plug-in's records need.
  std::unique_ptr<std::byte[]> data(new (std::nothrow) std::byte[size == 0 ? 1 : size]());
  if (!data) return nullptr;
  void* block = data.get();
  blocks_[block] = Block{std::move(data), size, name};
  return block;
}

void Host::injectFailure(const std::string& op, int n, AIErr error) {
  injections_[op] = Injection{n, error};
}

AIErr Host::injectedFailure(const std::string& op) {
  auto it = injections_.find(op);
  if (it == injections_.end()) return kNoErr;
  if (--it->second.remaining > 0) return kNoErr;
  const AIErr error = it->second.error;
  injections_.erase(it);
  return error;
}

void Host::selectTool(ToolRecord& tool) {
  ToolRecord* previous = registrations_.currentTool();
  if (previous == &tool) return;
  registrations_.setCurrentTool(&tool);
  observer_.note("tool \"" + tool.name + "\" chosen");
  if (previous != nullptr && !previous->builtIn) {
    AIToolMessage deselect{};
    deselect.tool = Registrations::handleOf(*previous);
    send(kCallerAITool, kSelectorAIDeselectTool, &deselect);
  }
  if (!tool.builtIn) {
    AIToolMessage select{};
    select.tool = Registrations::handleOf(tool);
    send(kCallerAITool, kSelectorAISelectTool, &select);
  }
}

std::optional<std::size_t> Host::blockSize(const void* block) const {
  auto it = blocks_.find(const_cast<void*>(block));
  if (it == blocks_.end()) return std::nullopt;
  return it->second.size;
}

AIAppContextHandle Host::pushContext() {
  // The outermost push opens an undo context when none is open; inside one it joins it.
  if (contexts_.empty()) {
    contextOpenedUndo_ = !undo_.inContext();
    if (contextOpenedUndo_) undo_.beginContext("Panel Command");
  }
  contexts_.push_back(nextContext_++);
  return reinterpret_cast<AIAppContextHandle>(contexts_.back());
}

bool Host::popContext(AIAppContextHandle handle) {
  if (contexts_.empty() || reinterpret_cast<AIAppContextHandle>(contexts_.back()) != handle) {
    return false;
  }
  contexts_.pop_back();
  if (contexts_.empty()) {
    if (contextOpenedUndo_) undo_.endContext();
    contextOpenedUndo_ = false;
    if (depth_ == 0) deliverNotifications();
  }
  return true;
}

bool Host::freeBlock(void* block) {
  return blocks_.erase(block) == 1;
}

void* Host::reallocateBlock(void* block, std::size_t size, const std::string& name) {
  auto it = blocks_.find(block);
  if (it == blocks_.end()) return nullptr;
  void* fresh = allocateBlock(size, name);
  if (fresh == nullptr) return nullptr;
  std::memcpy(fresh, block, std::min(size, it->second.size));
  blocks_.erase(block);
  return fresh;
}

}  // namespace sqhost
