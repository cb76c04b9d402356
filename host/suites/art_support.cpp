// Rules the art-side suites share: editability, reported attributes, selection of subtrees, bounds.
#include "suites/art_support.hpp"

#include <algorithm>
#include <cmath>

namespace sqhost {

bool ownLockedOrHidden(const Document& doc, const Art& art) {
  if (art.locked() || art.hidden()) return true;
  if (isLayerGroup(art)) {
    const Layer* layer = doc.findLayer(art.layerGroupOf());
    return layer != nullptr && (layer->locked() || !layer->visible());
  }
  return false;
}

bool isEditable(const Document& doc, const Art& art) {
  for (const Art* a = &art; a != nullptr; a = a->parent()) {
    if (ownLockedOrHidden(doc, *a)) return false;
  }
  return true;
}

bool readsSelected(const Art& art) {
  switch (art.type()) {
    case ArtType::kPath:
      return art.path().selectedCount() > 0;
    case ArtType::kTextFrame:
      if (const Art* path = art.textPath()) return path->path().selectedCount() > 0;
      return art.selected();
    case ArtType::kPluginArt:
      return art.selected();
    case ArtType::kGroup:
    case ArtType::kCompoundPath:
      for (std::size_t i = 0; i < art.childCount(); ++i) {
        if (readsSelected(art.child(i))) return true;
      }
      return false;
  }
  return false;
}

std::uint32_t reportedAttributes(const Document& doc, const Art& art) {
  std::uint32_t attributes = art.attributes() & (kArtLocked | kArtHidden | kArtCenterPointHidden);
  if (isLayerGroup(art)) {
    attributes &= ~(kArtLocked | kArtHidden);
    if (const Layer* layer = doc.findLayer(art.layerGroupOf())) {
      if (layer->locked()) attributes |= kArtLocked;
      if (!layer->visible()) attributes |= kArtHidden;
    }
  }
  if (readsSelected(art)) attributes |= kArtSelected;
  return attributes;
}

void syncTextFrameSelection(Document& doc, const Art& path) {
  const Art* frame = path.parent();
  if (frame == nullptr || frame->type() != ArtType::kTextFrame) return;
  const bool selected = path.path().selectedCount() > 0;
  if (frame->selected() != selected) doc.modifyArt(frame->id())->setSelected(selected);
}

bool clearSelection(Document& doc, const Art& art) {
  bool changed = false;
  switch (art.type()) {
    case ArtType::kPath:
      if (art.path().selectedCount() > 0 || art.selected()) {
        doc.modifyArt(art.id())->setSelected(false);
        syncTextFrameSelection(doc, art);
        changed = true;
      }
      return changed;
    case ArtType::kTextFrame:
      if (const Art* path = art.textPath()) changed = clearSelection(doc, *path);
      break;
    case ArtType::kPluginArt:
      break;
    case ArtType::kGroup:
    case ArtType::kCompoundPath:
      for (std::size_t i = 0; i < art.childCount(); ++i) {
        changed = clearSelection(doc, art.child(i)) || changed;
      }
      break;
  }
  // A stale own attribute (a container's, say, as read from a file) goes too.
  if (art.selected()) {
    doc.modifyArt(art.id())->setSelected(false);
    changed = true;
  }
  return changed;
}

bool selectTree(Document& doc, const Art& art) {
  switch (art.type()) {
    case ArtType::kPath:
      if (art.path().empty() || art.path().selectedCount() > 0) return false;
      doc.modifyArt(art.id())->setSelected(true);
      syncTextFrameSelection(doc, art);
      return true;
    case ArtType::kTextFrame:
      if (const Art* path = art.textPath()) {
        return !ownLockedOrHidden(doc, *path) && selectTree(doc, *path);
      }
      [[fallthrough]];
    case ArtType::kPluginArt:
      if (art.selected()) return false;
      doc.modifyArt(art.id())->setSelected(true);
      return true;
    case ArtType::kGroup:
    case ArtType::kCompoundPath: {
      bool changed = false;
      for (std::size_t i = 0; i < art.childCount(); ++i) {
        const Art& child = art.child(i);
        if (!ownLockedOrHidden(doc, child)) changed = selectTree(doc, child) || changed;
      }
      return changed;
    }
  }
  return false;
}

namespace {

// Grows the rectangle round the curves found so far by the curves of art.
void addArt(std::optional<AIRealRect>& r, const Art& art) {
  if (art.type() == ArtType::kPath) {
    const std::optional<AIRealRect>& b = art.path().curveBounds();
    if (!b) return;
    if (!r) {
      r = b;
      return;
    }
    r->left = std::min(r->left, b->left);
    r->right = std::max(r->right, b->right);
    r->top = std::max(r->top, b->top);
    r->bottom = std::min(r->bottom, b->bottom);
    return;
  }
  // Text paths and result groups are the model's children too, so every kind recurses the same way.
  for (std::size_t i = 0; i < art.childCount(); ++i) addArt(r, art.child(i));
}

}  // namespace

std::optional<AIRealRect> curveBounds(const Art& art) {
  std::optional<AIRealRect> r;
  addArt(r, art);
  return r;
}

AIErr injected(const char* op) {
  return host().injectedFailure(op);
}

}  // namespace sqhost
