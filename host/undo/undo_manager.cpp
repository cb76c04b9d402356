// Undo and redo: document changes recorded in contexts that become undo entries.
//
// Each context keeps a copy of every open document as it was when the context began (a Document
// copy keeps every id, so a copy restores the document exactly); when the context ends, the
// documents that differ from their copies make the entry, with their state before and after.
#include "undo/undo_manager.hpp"

#include <map>
#include <vector>

#include "sqsdk/errors.h"

namespace sqhost {

namespace {

using Snapshots = std::map<DocumentId, Document>;

struct Entry {
  std::string undoText;
  std::string redoText;
  Snapshots before;
  Snapshots after;
};

}  // namespace

struct UndoManager::Impl {
  explicit Impl(DocumentList& d) : documents(d) {}

  DocumentList& documents;
  std::vector<Entry> undoStack;
  std::vector<Entry> redoStack;

  int depth = 0;  // begin/end nesting; the outermost pair is the context
  bool silent = false;
  std::string undoText;
  std::string redoText;
  Snapshots atBegin;
  Snapshots atMark;
  bool marked = false;

  Snapshots snapshotAll() const {
    Snapshots s;
    for (std::size_t i = 0; i < documents.count(); ++i) {
      const Document& d = documents.at(i);
      s.emplace(d.id(), d);
    }
    return s;
  }

  // Puts each document back into the state the snapshot holds (documents since closed are
  // skipped).
  void restore(const Snapshots& s) {
    for (const auto& [id, copy] : s) {
      if (Document* d = documents.find(id)) {
        const std::string name = d->name();
        DocumentObserver* observer = d->observer();
        *d = copy;
        d->setName(name);
        d->setObserver(observer);
      }
    }
  }
};

UndoManager::UndoManager(DocumentList& documents) : impl_(std::make_unique<Impl>(documents)) {}
UndoManager::~UndoManager() = default;

void UndoManager::attach(Document& document) {
  // A document opened inside a context is part of it from now on: its state at opening is the
  // state the context started from.
  if (impl_->depth > 0) {
    impl_->atBegin.emplace(document.id(), document);
    if (impl_->marked) impl_->atMark.emplace(document.id(), document);
  }
}

void UndoManager::detach(Document& document) {
  const DocumentId id = document.id();
  auto drop = [id](std::vector<Entry>& stack) {
    for (Entry& e : stack) {
      e.before.erase(id);
      e.after.erase(id);
    }
    std::erase_if(stack, [](const Entry& e) { return e.before.empty(); });
  };
  drop(impl_->undoStack);
  drop(impl_->redoStack);
  impl_->atBegin.erase(id);
  impl_->atMark.erase(id);
}

void UndoManager::beginContext(const std::string& label) {
  if (impl_->depth++ > 0) return;
  impl_->silent = false;
  impl_->undoText = label;
  impl_->redoText = label;
  impl_->atBegin = impl_->snapshotAll();
  impl_->atMark.clear();
  impl_->marked = false;
}

void UndoManager::endContext() {
  if (impl_->depth == 0) return;
  if (--impl_->depth > 0) return;
  Entry entry;
  entry.undoText = impl_->undoText;
  entry.redoText = impl_->redoText;
  for (auto& [id, before] : impl_->atBegin) {
    const Document* now = impl_->documents.find(id);
    if (now == nullptr || *now == before) continue;
    entry.after.emplace(id, *now);
    entry.before.emplace(id, std::move(before));
  }
  impl_->atBegin.clear();
  impl_->atMark.clear();
  impl_->marked = false;
  if (entry.before.empty() || impl_->silent) return;
  impl_->undoStack.push_back(std::move(entry));
  impl_->redoStack.clear();
}

bool UndoManager::inContext() const {
  return impl_->depth > 0;
}

void UndoManager::markGestureStart() {
  if (impl_->depth == 0) return;
  impl_->atMark = impl_->snapshotAll();
  impl_->marked = true;
}

AIErr UndoManager::undoChanges() {
  if (impl_->depth == 0) return kNothingToUndoErr;
  impl_->restore(impl_->marked ? impl_->atMark : impl_->atBegin);
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
  impl_->restore(entry.before);
  impl_->redoStack.push_back(std::move(entry));
  return true;
}

bool UndoManager::redo() {
  if (impl_->depth > 0 || impl_->redoStack.empty()) return false;
  Entry entry = std::move(impl_->redoStack.back());
  impl_->redoStack.pop_back();
  impl_->restore(entry.after);
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

}  // namespace sqhost
