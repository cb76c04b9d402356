// The list of open documents, front (current) document first.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "document/document.hpp"

namespace sqhost {

class DocumentList {
 public:
  std::size_t count() const { return documents_.size(); }
  // The i-th document, 0 being the front one.
  Document& at(std::size_t i) { return *documents_[i]; }
  const Document& at(std::size_t i) const { return *documents_[i]; }
  // The front document, or nullptr when none is open.
  Document* front() { return documents_.empty() ? nullptr : documents_.front().get(); }
  Document* find(DocumentId id);
  const Document* find(DocumentId id) const;
  // Adds a document as the new front document and returns it (it stays at the same address until
  // closed).
  Document& open(Document document);
  // Brings a document to the front.
  AIErr activate(DocumentId id);
  // Closes a document; kBadHandleErr when it is not open.
  AIErr close(DocumentId id);

 private:
  std::vector<std::unique_ptr<Document>> documents_;
};

}  // namespace sqhost
