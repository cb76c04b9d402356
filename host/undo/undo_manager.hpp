// Undo and redo: document changes recorded in contexts that become undo entries.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "document/document_list.hpp"
#include "sqsdk/types.h"

namespace sqhost {

// Records every change of the attached documents (as one of their DocumentObservers) inside the
// current context. A context that changed something becomes one undo entry when it ends, unless it
// is silent; changes made with no context open are kept in the documents but recorded silently.
// User undo restores the documents exactly as they were before the entry, redo exactly as they
// were after it (silent changes made since are taken back first). Contexts do not nest:
// beginContext while one is open joins it (counted, so the matching endContext closes only the
// outermost).
//
// An entry keeps only before-images of what its context changed (an object's own state, removed
// subtrees, layer properties, the page state), sharing unchanged path arrays with the document,
// so it costs memory in proportion to the change; undoChanges takes back only the records made
// since the mark. A context whose changes cancel out (states set back, an object created and
// removed again) makes no entry.
class UndoManager {
 public:
  explicit UndoManager(DocumentList& documents);
  ~UndoManager();
  UndoManager(const UndoManager&) = delete;
  UndoManager& operator=(const UndoManager&) = delete;

  // Starts recording a document (when it is opened or created) and stops (when it is closed; its
  // entries are dropped).
  void attach(Document& document);
  void detach(Document& document);

  void beginContext(const std::string& label);
  void endContext();
  bool inContext() const;

  // Marks the point UndoChanges goes back to: the host calls it when a gesture's mouse-down
  // handler has returned. Without a mark, UndoChanges goes back to the start of the context.
  void markGestureStart();
  // Takes back the changes of the open context since the mark; kNothingToUndoErr when no context
  // is open.
  AIErr undoChanges();

  AIErr setSilent(bool silent);
  bool silent() const;  // true when no context is open
  AIErr setUndoText(const char* undoText, const char* redoText);

  // User undo and redo; false when there is nothing to undo or redo (or a context is open).
  bool undo();
  bool redo();
  std::size_t undoCount() const;
  std::size_t redoCount() const;
  // The text of the entry the next undo (redo) takes back, "" when none.
  std::string undoText() const;
  std::string redoText() const;

  // The number of records held (history, open context and silent changes): a measure of the
  // memory undo keeps, for tests.
  std::size_t recordCount() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sqhost
