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

struct Extent {
  double minH = INFINITY, maxH = -INFINITY, minV = INFINITY, maxV = -INFINITY;
  void add(double h, double v) {
    minH = std::min(minH, h);
    maxH = std::max(maxH, h);
    minV = std::min(minV, v);
    maxV = std::max(maxV, v);
  }
  bool empty() const { return minH > maxH; }
};

// The extremes of one coordinate of a cubic (a, b, c, d its control values) over 0 < t < 1, added
// through add(t) when a control value lies outside the span of the end values.
template <class Add>
void cubicExtremes(double a, double b, double c, double d, Add add) {
  const double lo = std::min(a, d), hi = std::max(a, d);
  if (b >= lo && b <= hi && c >= lo && c <= hi) return;
  // The derivative over 3: (p - 2q + r) t^2 + 2 (q - p) t + p.
  const double p = b - a, q = c - b, r = d - c;
  const double qa = p - 2 * q + r, qb = 2 * (q - p), qc = p;
  auto take = [&](double t) {
    if (t > 0 && t < 1) add(t);
  };
  if (std::abs(qa) < 1e-12) {
    if (qb != 0) take(-qc / qb);
    return;
  }
  const double disc = qb * qb - 4 * qa * qc;
  if (disc < 0) return;
  const double root = std::sqrt(disc);
  take((-qb + root) / (2 * qa));
  take((-qb - root) / (2 * qa));
}

void addBezier(Extent& e, const AIRealBezier& b) {
  e.add(b.p0.h, b.p0.v);
  e.add(b.p3.h, b.p3.v);
  auto at = [&](double t) {
    const double s = 1 - t;
    const double w0 = s * s * s, w1 = 3 * s * s * t, w2 = 3 * s * t * t, w3 = t * t * t;
    e.add(w0 * b.p0.h + w1 * b.p1.h + w2 * b.p2.h + w3 * b.p3.h,
          w0 * b.p0.v + w1 * b.p1.v + w2 * b.p2.v + w3 * b.p3.v);
  };
  cubicExtremes(b.p0.h, b.p1.h, b.p2.h, b.p3.h, at);
  cubicExtremes(b.p0.v, b.p1.v, b.p2.v, b.p3.v, at);
}

void addArt(Extent& e, const Art& art) {
  if (art.type() == ArtType::kPath) {
    const PathGeometry& path = art.path();
    if (path.empty()) return;
    e.add(path.segment(0).p.h, path.segment(0).p.v);
    for (std::size_t k = 0; k < path.bezierCount(); ++k) addBezier(e, path.bezier(k));
    return;
  }
  // Text paths and result groups are the model's children too, so every kind recurses the same way.
  for (std::size_t i = 0; i < art.childCount(); ++i) addArt(e, art.child(i));
}

}  // namespace

std::optional<AIRealRect> curveBounds(const Art& art) {
  Extent e;
  addArt(e, art);
  if (e.empty()) return std::nullopt;
  return AIRealRect{static_cast<float>(e.minH), static_cast<float>(e.maxV),
                    static_cast<float>(e.maxH), static_cast<float>(e.minV)};
}

AIErr injected(const char* op) {
  return host().injectedFailure(op);
}

}  // namespace sqhost
