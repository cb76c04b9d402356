// The handle table's search and sizing.
#include "suites/handles.hpp"

#include <algorithm>
#include <bit>

namespace sqhost {

namespace {

// The table never takes more than this many slots (32 MiB); beyond it ids share slots.
constexpr std::size_t kMaxSlots = std::size_t{1} << 20;

const void* findIn(Document& doc, ObjectId id, HandleKind kind) {
  switch (kind) {
    case HandleKind::kArt:
      return doc.findArt(id);
    case HandleKind::kLayer:
      return doc.findLayer(id);
    case HandleKind::kDocument:
      return doc.id() == id ? &doc : nullptr;
  }
  return nullptr;
}

}  // namespace

HandleTable::Found HandleTable::search(ObjectId id, HandleKind kind, DocumentList& documents) {
  if (id == kNoId) return {};
  for (std::size_t i = 0; i < documents.count(); ++i) {
    Document& doc = documents.at(i);
    const void* object = findIn(doc, id, kind);
    if (object == nullptr) continue;
    // Only the front document's objects are remembered: the fast path checks its stamp alone.
    const std::int32_t type =
        kind == HandleKind::kArt
            ? static_cast<std::int32_t>(static_cast<const Art*>(object)->type())
            : 0;
    if (i == 0) {
      fitTo(documents);
      storage_[id & mask_] =
          Slot{id, doc.generation(), object, kind, static_cast<std::int8_t>(type)};
    }
    return {&doc, object, type};
  }
  return {};
}

// Sizes the table to about twice the number of objects the open documents hold, so that the
// objects of a document made in one go (ids in sequence) each get a slot of their own.
void HandleTable::fitTo(const DocumentList& documents) {
  std::size_t objects = 0;
  for (std::size_t i = 0; i < documents.count(); ++i) {
    const Document& doc = documents.at(i);
    objects += doc.artCount() + doc.layerCount() + 1;
  }
  const std::size_t wanted = std::min(kMaxSlots, std::bit_ceil(2 * objects));
  // Grow at once; shrink only when far too large, so that a table does not flap in size.
  if (wanted > storage_.size() || wanted * 8 < storage_.size()) {
    storage_.assign(wanted, Slot{});
    slots_ = storage_.data();
    mask_ = wanted - 1;
  }
}

}  // namespace sqhost
