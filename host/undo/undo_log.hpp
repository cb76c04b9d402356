// A log of one document's changes, each kept as the small record that takes it back.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <unordered_set>
#include <variant>
#include <vector>

#include "document/document.hpp"

namespace sqhost {

// The records, one per kind of change. Each holds what takes its change back; applying one to the
// document as it was right after the change gives the document as it was right before, and turns
// the record into the one that makes the change again (see UndoLog::undo).
namespace undo_record {
struct ArtChanged {  // an object's own state changed: its state before
  ArtId id;
  ArtData data;
};
struct ArtInserted {  // an object (with its subtree) was inserted
  ArtId id;
};
struct ArtRemoved {  // an object was taken out: its subtree with its ids, and where it was
  ArtId parent;
  std::size_t index;
  std::unique_ptr<Art> tree;
};
struct LayerChanged {
  LayerId id;
  LayerProps props;
};
struct LayerInserted {
  LayerId id;
};
struct LayerRemoved {
  std::size_t index;
  std::unique_ptr<Layer> layer;
};
struct PageChanged {
  PageState page;
};
}  // namespace undo_record

using UndoRecord =
    std::variant<undo_record::ArtChanged, undo_record::ArtInserted, undo_record::ArtRemoved,
                 undo_record::LayerChanged, undo_record::LayerInserted, undo_record::LayerRemoved,
                 undo_record::PageChanged>;

// The changes of one document in recording order. Recording keeps only the first before-image of
// an object's own state (and of a layer's properties, and of the page state) after the last
// barrier(): what a later change of the same object overwrites is already restored by that first
// image, so repeated edits of one path cost one record. Structural records (insertions and
// removals) are always kept. The path arrays inside before-images and removed subtrees are shared
// with the document until it writes them (PathGeometry copies on write), so a record costs memory
// in proportion to what changed.
//
// undo() and redo() require the document to be exactly in the state the log leaves it in (undo) or
// starts from (redo); the undo manager keeps every change of a recorded document in some log, so
// this always holds.
class UndoLog {
 public:
  bool empty() const { return records_.empty(); }
  std::size_t size() const { return records_.size(); }

  // Recording, as the document's observer is told.
  void artWillChange(const Art& art);
  void artInserted(const Art& art);
  void artRemoved(ArtId parent, std::size_t index, const Art& art);
  void layerWillChange(const Layer& layer);
  void layerInserted(const Layer& layer);
  void layerRemoved(std::size_t index, const Layer& layer);
  void pageWillChange(const Document& document);
  // From here on, the next change of every object is recorded again (a gesture's mark).
  void barrier();

  // Takes back the records from index `from` on, last first, and forgets them.
  void revertFrom(Document& document, std::size_t from);
  // Takes back every record, last first, leaving the records that make the changes again; redo()
  // makes them again, first first, leaving the records that take them back.
  void undo(Document& document);
  void redo(Document& document);

  // Adds the records of a later log (recording state starts afresh, as after barrier()).
  void append(UndoLog&& later);

  // Drops what changes nothing, for a log that has just been recorded and whose document is in the
  // state it leaves: an object inserted and later removed with nothing else in between (but changes
  // inside it), and, when no insertion or removal is left, every before-image equal to the current
  // state and every image after the first of the same object. An empty log changed nothing.
  void compact(const Document& document);

 private:
  void record(UndoRecord record);
  void dropInsertedThenRemoved();
  // Drops the removal at index j with its insertion when they cancel; the index to go on from.
  std::optional<std::size_t> dropWithItsInsertion(std::size_t j);
  void dropUnchanged(const Document& document);

  std::vector<UndoRecord> records_;
  std::unordered_set<ObjectId> imaged_;  // objects and layers with a before-image since barrier()
  bool pageImaged_ = false;
};

}  // namespace sqhost
