// The views of the open documents, front view first for each document.
#pragma once

#include <memory>
#include <vector>

#include "document/document.hpp"
#include "views/view.hpp"

namespace sqhost {

class ViewList {
 public:
  // Adds a view of a document in front of its other views, zoomed so the active artboard fits
  // a width x height window with a margin. Returns it.
  View& open(const Document& document, int32_t width = 800, int32_t height = 600);
  // Closes every view of a document.
  void closeDocument(DocumentId document);

  // The views of a document, front first.
  std::vector<View*> of(DocumentId document) const;
  // Calls f with each view of a document, front first, without making a list of them.
  template <class F>
  void forEachOf(DocumentId document, F&& f) const {
    for (const auto& v : views_) {
      if (v->document == document) f(*v);
    }
  }
  // The front view of a document, or null.
  View* front(DocumentId document) const;
  // A view by id (its handle), or null when it is not open.
  View* find(ObjectId id) const;
  // Brings a view to the front of its document's views.
  void bringToFront(View& view);

  static AIDocumentViewHandle handleOf(const View& v) {
    return reinterpret_cast<AIDocumentViewHandle>(static_cast<uintptr_t>(v.id));
  }
  View* fromHandle(AIDocumentViewHandle h) const {
    return find(static_cast<ObjectId>(reinterpret_cast<uintptr_t>(h)));
  }

 private:
  std::vector<std::unique_ptr<View>> views_;  // front views first, per document in any order
};

}  // namespace sqhost
