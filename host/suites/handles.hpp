// Conversions between the SDK's opaque handles and document ids, and resolving them to objects.
#pragma once

#include <cstdint>

#include "document/document.hpp"
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

// An art object with the document that holds it; both null when the handle names no live art.
struct ResolvedArt {
  Document* document = nullptr;
  const Art* art = nullptr;
  explicit operator bool() const { return art != nullptr; }
};

// Finds the art a handle names: in the current document first, then in the other open documents.
inline ResolvedArt resolveArt(AIArtHandle handle) {
  const ArtId id = artIdOf(handle);
  if (id == kNoId) return {};
  DocumentList& documents = host().documents();
  if (Document* front = documents.front()) {
    if (const Art* art = front->findArt(id)) return {front, art};
  }
  for (std::size_t i = 1; i < documents.count(); ++i) {
    Document& doc = documents.at(i);
    if (const Art* art = doc.findArt(id)) return {&doc, art};
  }
  return {};
}

// A layer with the document that holds it; both null when the handle names no live layer.
struct ResolvedLayer {
  Document* document = nullptr;
  const Layer* layer = nullptr;
  explicit operator bool() const { return layer != nullptr; }
};

// Finds the layer a handle names: in the current document first, then in the other open ones.
inline ResolvedLayer resolveLayer(AILayerHandle handle) {
  const LayerId id = layerIdOf(handle);
  if (id == kNoId) return {};
  DocumentList& documents = host().documents();
  for (std::size_t i = 0; i < documents.count(); ++i) {
    Document& doc = documents.at(i);
    if (const Layer* layer = doc.findLayer(id)) return {&doc, layer};
  }
  return {};
}

}  // namespace sqhost
