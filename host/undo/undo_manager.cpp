// Undo and redo: document changes recorded in contexts that become undo entries.
//
// The manager observes every attached document and logs each change as a record that takes it
// back (undo_log.hpp), so an entry holds only what its context changed. Every change of a
// document lands in exactly one log: the open context's, or, for changes made with no context
// open or in a silent context, the document's loose log. That keeps the invariant the logs need:
// a log is only ever applied to the state it was recorded against.
//
// Loose changes are not part of the history: undo and redo restore a document as it was before
// or after an entry, without them. So user undo and redo first take back the document's loose
// log. A new entry takes the loose log as its prefix: the prefix stays applied when that entry is
// undone (it was there before the entry began) and is taken back when the entry before it is
// undone, then made again when the entry is redone.
#include "undo/undo_manager.hpp"

#include <map>
#include <utility>
#include <vector>

#include "sqsdk/errors.h"
#include "undo/undo_log.hpp"

namespace sqhost {

namespace {

// One document's part of an entry.
struct Part {
  UndoLog prefix;  // the loose changes made before the entry began
  bool prefixApplied = true;
  UndoLog changes;
};

struct Entry {
  std::string undoText;
  std::string redoText;
  std::map<DocumentId, Part> parts;
};

// What the manager keeps for each attached document.
struct Recording {
  UndoLog context;       // the open context's changes
  std::size_t mark = 0;  // context.size() when the gesture mark was set
  UndoLog loose;         // changes outside recorded contexts since the last history step
};

}  // namespace

struct UndoManager::Impl final : DocumentObserver {
  explicit Impl(DocumentList& d) : documents(d) {}

  DocumentList& documents;
  std::map<DocumentId, Recording> recordings;
  std::vector<Entry> undoStack;
  std::vector<Entry> redoStack;

  int depth = 0;  // begin/end nesting; the outermost pair is the context
  bool silent = false;
  bool marked = false;
  bool applying = false;  // changes made by the manager itself are not recorded
  std::string undoText;
  std::string redoText;

  // The log a change of the document goes to; nullptr while applying or when not attached.
  UndoLog* logFor(const Document& doc) {
    if (applying) return nullptr;
    auto it = recordings.find(doc.id());
    if (it == recordings.end()) return nullptr;
    return depth > 0 ? &it->second.context : &it->second.loose;
  }

  void artWillChange(const Document& doc, const Art& art) override {
    if (UndoLog* log = logFor(doc)) log->artWillChange(art);
  }
  void artInserted(const Document& doc, ArtId, std::size_t, const Art& art) override {
    if (UndoLog* log = logFor(doc)) log->artInserted(art);
  }
  void artRemoved(const Document& doc, ArtId parent, std::size_t index, const Art& art) override {
    if (UndoLog* log = logFor(doc)) log->artRemoved(parent, index, art);
  }
  void layerWillChange(const Document& doc, const Layer& layer) override {
    if (UndoLog* log = logFor(doc)) log->layerWillChange(layer);
  }
  void layerInserted(const Document& doc, std::size_t, const Layer& layer) override {
    if (UndoLog* log = logFor(doc)) log->layerInserted(layer);
  }
  void layerRemoved(const Document& doc, std::size_t index, const Layer& layer) override {
    if (UndoLog* log = logFor(doc)) log->layerRemoved(index, layer);
  }
  void documentWillChange(const Document& doc) override {
    if (UndoLog* log = logFor(doc)) log->pageWillChange(doc);
  }

  // Runs f(document, recording) for every attached document that is still open, with recording
  // switched off.
  template <class F>
  void forEachOpen(F f) {
    const bool was = std::exchange(applying, true);
    for (auto& [id, recording] : recordings) {
      if (Document* doc = documents.find(id)) f(*doc, recording);
    }
    applying = was;
  }

  // The nearest entry above the current position (on the redo stack) that changed the document.
  Part* nextPart(DocumentId id) {
    for (auto it = redoStack.rbegin(); it != redoStack.rend(); ++it) {
      auto part = it->parts.find(id);
      if (part != it->parts.end()) return &part->second;
    }
    return nullptr;
  }

  // Takes back a document's loose changes: they are not part of the history.
  void dropLoose(Document& doc) { recordings[doc.id()].loose.revertFrom(doc, 0); }

  void undoEntry(Entry& entry) {
    const bool was = std::exchange(applying, true);
    for (auto& [id, part] : entry.parts) {
      Document* doc = documents.find(id);
      if (doc == nullptr) continue;
      dropLoose(*doc);
      // The loose changes that came before the entry above belong to the state after this one.
      if (Part* above = nextPart(id); above != nullptr && above->prefixApplied) {
        above->prefix.undo(*doc);
        above->prefixApplied = false;
      }
      part.changes.undo(*doc);
    }
    applying = was;
  }

  void redoEntry(Entry& entry) {
    const bool was = std::exchange(applying, true);
    for (auto& [id, part] : entry.parts) {
      Document* doc = documents.find(id);
      if (doc == nullptr) continue;
      dropLoose(*doc);
      if (!part.prefixApplied) {
        part.prefix.redo(*doc);
        part.prefixApplied = true;
      }
      part.changes.redo(*doc);
    }
    applying = was;
  }

  // A new entry ends the redo history. The prefix of the next entry a document would redo may be
  // in the document now; it becomes loose again, before the document's later loose changes.
  void clearRedo() {
    for (auto& [id, recording] : recordings) {
      Part* next = nextPart(id);
      if (next == nullptr || !next->prefixApplied) continue;
      next->prefix.append(std::move(recording.loose));
      recording.loose = std::move(next->prefix);
    }
    redoStack.clear();
  }

  void endOutermost() {
    Entry entry;
    entry.undoText = undoText;
    entry.redoText = redoText;
    std::vector<DocumentId> changed;
    forEachOpen([&](Document& doc, Recording& recording) {
      if (silent) {
        recording.loose.append(std::move(recording.context));
        return;
      }
      recording.context.compact(doc);
      if (!recording.context.empty()) changed.push_back(doc.id());
    });
    if (!changed.empty()) {
      clearRedo();
      for (DocumentId id : changed) {
        Recording& recording = recordings[id];
        Part& part = entry.parts[id];
        part.prefix = std::move(recording.loose);
        part.changes = std::move(recording.context);
        recording.loose = UndoLog();
      }
      undoStack.push_back(std::move(entry));
    }
    for (auto& [id, recording] : recordings) {
      recording.context = UndoLog();
      recording.mark = 0;
    }
    marked = false;
  }
};

UndoManager::UndoManager(DocumentList& documents) : impl_(std::make_unique<Impl>(documents)) {}

UndoManager::~UndoManager() {
  for (const auto& [id, recording] : impl_->recordings) {
    if (Document* doc = impl_->documents.find(id)) doc->removeObserver(impl_.get());
  }
}

void UndoManager::attach(Document& document) {
  // A document opened inside a context is part of it from now on: its state at opening is the
  // state the context (and its gesture mark) started from.
  impl_->recordings.try_emplace(document.id());
  document.addObserver(impl_.get());
}

void UndoManager::detach(Document& document) {
  const DocumentId id = document.id();
  document.removeObserver(impl_.get());
  impl_->recordings.erase(id);
  for (auto* stack : {&impl_->undoStack, &impl_->redoStack}) {
    for (Entry& e : *stack) e.parts.erase(id);
    std::erase_if(*stack, [](const Entry& e) { return e.parts.empty(); });
  }
}

void UndoManager::beginContext(const std::string& label) {
  if (impl_->depth++ > 0) return;
  impl_->silent = false;
  impl_->undoText = label;
  impl_->redoText = label;
  impl_->marked = false;
  for (auto& [id, recording] : impl_->recordings) {
    recording.context = UndoLog();
    recording.mark = 0;
  }
}

void UndoManager::endContext() {
  if (impl_->depth == 0) return;
  if (--impl_->depth > 0) return;
  impl_->endOutermost();
}

bool UndoManager::inContext() const {
  return impl_->depth > 0;
}

void UndoManager::markGestureStart() {
  if (impl_->depth == 0) return;
  for (auto& [id, recording] : impl_->recordings) {
    recording.mark = recording.context.size();
    recording.context.barrier();
  }
  impl_->marked = true;
}

AIErr UndoManager::undoChanges() {
  if (impl_->depth == 0) return kNothingToUndoErr;
  const bool marked = impl_->marked;
  impl_->forEachOpen([marked](Document& doc, Recording& recording) {
    recording.context.revertFrom(doc, marked ? recording.mark : 0);
  });
  return kNoErr;
}

AIErr UndoManager::setSilent(bool silent) {
  if (impl_->depth == 0) return kNothingToUndoErr;
  impl_->silent = silent;
  return kNoErr;
}

bool UndoManager::silent() const {
  return impl_->depth == 0 || impl_->silent;
}

AIErr UndoManager::setUndoText(const char* undoText, const char* redoText) {
  if (impl_->depth == 0) return kNothingToUndoErr;
  if (undoText != nullptr) impl_->undoText = undoText;
  if (redoText != nullptr) impl_->redoText = redoText;
  return kNoErr;
}

bool UndoManager::undo() {
  if (impl_->depth > 0 || impl_->undoStack.empty()) return false;
  Entry entry = std::move(impl_->undoStack.back());
  impl_->undoStack.pop_back();
  impl_->undoEntry(entry);
  impl_->redoStack.push_back(std::move(entry));
  return true;
}

bool UndoManager::redo() {
  if (impl_->depth > 0 || impl_->redoStack.empty()) return false;
  Entry entry = std::move(impl_->redoStack.back());
  impl_->redoStack.pop_back();
  impl_->redoEntry(entry);
  impl_->undoStack.push_back(std::move(entry));
  return true;
}

std::size_t UndoManager::undoCount() const {
  return impl_->undoStack.size();
}
std::size_t UndoManager::redoCount() const {
  return impl_->redoStack.size();
}
std::string UndoManager::undoText() const {
  return impl_->undoStack.empty() ? "" : impl_->undoStack.back().undoText;
}
std::string UndoManager::redoText() const {
  return impl_->redoStack.empty() ? "" : impl_->redoStack.back().redoText;
}

std::size_t UndoManager::recordCount() const {
  std::size_t n = 0;
  for (const auto* stack : {&impl_->undoStack, &impl_->redoStack}) {
    for (const Entry& e : *stack) {
      for (const auto& [id, part] : e.parts) n += part.prefix.size() + part.changes.size();
    }
  }
  for (const auto& [id, recording] : impl_->recordings) {
    n += recording.context.size() + recording.loose.size();
  }
  return n;
}

}  // namespace sqhost
