// The list of open documents.
#include "document/document_list.hpp"

#include <algorithm>

namespace sqhost {

Document* DocumentList::find(DocumentId id) {
  for (auto& doc : documents_) {
    if (doc->id() == id) return doc.get();
  }
  return nullptr;
}

const Document* DocumentList::find(DocumentId id) const {
  for (const auto& doc : documents_) {
    if (doc->id() == id) return doc.get();
  }
  return nullptr;
}

Document& DocumentList::open(Document document) {
  documents_.insert(documents_.begin(), std::make_unique<Document>(std::move(document)));
  return *documents_.front();
}

AIErr DocumentList::activate(DocumentId id) {
  auto it = std::find_if(documents_.begin(), documents_.end(),
                         [id](const std::unique_ptr<Document>& d) { return d->id() == id; });
  if (it == documents_.end()) return kBadHandleErr;
  std::rotate(documents_.begin(), it, it + 1);
  return kNoErr;
}

AIErr DocumentList::close(DocumentId id) {
  auto it = std::find_if(documents_.begin(), documents_.end(),
                         [id](const std::unique_ptr<Document>& d) { return d->id() == id; });
  if (it == documents_.end()) return kBadHandleErr;
  documents_.erase(it);
  return kNoErr;
}

}  // namespace sqhost
