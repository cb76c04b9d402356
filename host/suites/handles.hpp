// The SDK's opaque handles for art, layers and documents, and the one table that resolves them.
#pragma once

#include <cstdint>
#include <vector>

#include "document/document_list.hpp"
#include "suites/suite_support.hpp"

namespace sqhost {

// Art, layer and document handles carry the object's id; a stale id resolves to nothing.
inline AIArtHandle toArtHandle(ArtId id) {
  return reinterpret_cast<AIArtHandle>(static_cast<uintptr_t>(id));
}
inline ArtId artIdOf(AIArtHandle handle) {
  return static_cast<ArtId>(reinterpret_cast<uintptr_t>(handle));
}
inline AILayerHandle toLayerHandle(LayerId id) {
  return reinterpret_cast<AILayerHandle>(static_cast<uintptr_t>(id));
}
inline LayerId layerIdOf(AILayerHandle handle) {
  return static_cast<LayerId>(reinterpret_cast<uintptr_t>(handle));
}
inline AIDocumentHandle toDocumentHandle(DocumentId id) {
  return reinterpret_cast<AIDocumentHandle>(static_cast<uintptr_t>(id));
}
inline DocumentId documentIdOf(AIDocumentHandle handle) {
  return static_cast<DocumentId>(reinterpret_cast<uintptr_t>(handle));
}

// What a handle can name.
enum class HandleKind : std::uint8_t { kArt, kLayer, kDocument };

// Resolves ids of every kind to the object and the open document holding it, searching the front
// (current) document first, then the other open ones in order; a stale id resolves to nothing.
//
// Ids are handed out in sequence, so the objects of a document have ids close together: the table
// keeps, per id modulo its size, the last object resolved with the front document's change stamp
// at that time. While that stamp is unchanged the document's objects cannot have moved, so a
// matching slot answers without searching; any change to the document, or another document at
// the front, sends the next call to the search, which refills the slot. The table grows with the
// number of open objects, up to a fixed bound beyond which colliding ids just search more often.
class HandleTable {
 public:
  // The process-wide table (the host and the plug-in run on one thread).
  static HandleTable& instance() { return instance_; }

  struct Found {
    Document* document = nullptr;
    const void* object = nullptr;  // an Art, a Layer or the Document, as the kind says
    std::int32_t artType = 0;      // an Art's type, kept so that asking for it reads no Art
  };

  Found find(ObjectId id, HandleKind kind, DocumentList& documents) {
    const Slot& slot = slots_[id & mask_];
    if (slot.id == id && slot.kind == kind && id != kNoId) {
      Document* front = documents.front();
      if (front != nullptr && front->generation() == slot.stamp)
        return {front, slot.object, slot.artType};
    }
    return search(id, kind, documents);
  }

 private:
  struct Slot {
    ObjectId id = kNoId;
    std::uint64_t stamp = 0;  // the front document's change stamp when the slot was filled
    const void* object = nullptr;
    HandleKind kind = HandleKind::kArt;
    std::int8_t artType = 0;
  };

  Found search(ObjectId id, HandleKind kind, DocumentList& documents);
  void fitTo(const DocumentList& documents);

  static const Slot kNoSlot;
  static HandleTable instance_;

  std::vector<Slot> storage_;
  const Slot* slots_ = &kNoSlot;  // storage_.data() once sized
  ObjectId mask_ = 0;             // the number of slots less one, the number a power of two
};

inline constinit const HandleTable::Slot HandleTable::kNoSlot{};
inline constinit HandleTable HandleTable::instance_{};

inline HandleTable& handleTable() {
  return HandleTable::instance();
}

// An art object with the document that holds it; both null when the handle names no live art.
struct ResolvedArt {
  Document* document = nullptr;
  const Art* art = nullptr;
  ArtType type = ArtType::kGroup;  // art->type(), at hand without reading the art
  explicit operator bool() const { return art != nullptr; }
};

inline ResolvedArt resolveArt(AIArtHandle handle) {
  const HandleTable::Found f =
      handleTable().find(artIdOf(handle), HandleKind::kArt, host().documents());
  return {f.document, static_cast<const Art*>(f.object), static_cast<ArtType>(f.artType)};
}

// A layer with the document that holds it; both null when the handle names no live layer.
struct ResolvedLayer {
  Document* document = nullptr;
  const Layer* layer = nullptr;
  explicit operator bool() const { return layer != nullptr; }
};

inline ResolvedLayer resolveLayer(AILayerHandle handle) {
  const HandleTable::Found f =
      handleTable().find(layerIdOf(handle), HandleKind::kLayer, host().documents());
  return {f.document, static_cast<const Layer*>(f.object)};
}

// The open document a handle names, or nullptr.
inline Document* resolveDocument(AIDocumentHandle handle) {
  return handleTable()
      .find(documentIdOf(handle), HandleKind::kDocument, host().documents())
      .document;
}

}  // namespace sqhost
