// The hook through which an undo recorder (or anything else) learns of every document change.
#pragma once

#include <cstddef>

#include "document/ids.hpp"

namespace sqhost {

class Art;
class Document;
class Layer;

// Told of every change a Document makes, so that a recorder can keep before-images:
//   - artWillChange before the own state (ArtData) of an object changes: keep art.data();
//     undo with Document::modifyArt(id)->restoreData(image);
//   - artInserted after an object (with its subtree) was inserted: undo with removeAnyArt(id);
//   - artRemoved after an object was taken out: keep art.clone() and undo with
//     insertArt(parent, index, clone), which restores it with its ids;
//   - layerWillChange before a layer's properties change: keep layer.props();
//   - layerInserted / layerRemoved likewise for layers (Layer::clone keeps ids);
//   - documentWillChange before artboards, the active artboard or the canvas bounds change: keep
//     Document::pageState().
// A document has any number of observers (the undo manager is one), told in the order they were
// added. The callbacks must not change the document.
class DocumentObserver {
 public:
  virtual ~DocumentObserver() = default;
  virtual void artWillChange(const Document&, const Art&) {}
  virtual void artInserted(const Document&, ArtId /*parent*/, std::size_t /*index*/, const Art&) {}
  virtual void artRemoved(const Document&, ArtId /*parent*/, std::size_t /*index*/, const Art&) {}
  virtual void layerWillChange(const Document&, const Layer&) {}
  virtual void layerInserted(const Document&, std::size_t /*index*/, const Layer&) {}
  virtual void layerRemoved(const Document&, std::size_t /*index*/, const Layer&) {}
  virtual void documentWillChange(const Document&) {}
};

}  // namespace sqhost
