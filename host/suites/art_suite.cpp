// "AI Art Suite" over the document model, and the publishing of every art-side suite.
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_notifier.h"
#include "suites/art_support.hpp"
#include "suites/publish_parts.hpp"

namespace sqhost {
namespace {

// The position of art among its parent's children. Walking a long list of siblings one call at a
// time would search the list again on every call, so the last answer is remembered; it is only
// trusted after checking it against the live tree.
std::size_t siblingIndex(const Art& art) {
  static const Art* lastParent = nullptr;
  static std::size_t lastIndex = 0;
  const Art* parent = art.parent();
  if (parent == nullptr) return 0;
  std::size_t index;
  if (parent == lastParent && lastIndex < parent->childCount() &&
      &parent->child(lastIndex) == &art) {
    index = lastIndex;
  } else {
    index = art.indexInParent();
  }
  lastParent = parent;
  lastIndex = index + 1;
  return index;
}

AIErr getArtType(AIArtHandle handle, int32_t* outType) {
  return guarded([&] {
    const ResolvedArt r = resolveArt(handle);
    if (!r) return kBadHandleErr;
    if (outType == nullptr) return kBadParameterErr;
    *outType = static_cast<int32_t>(r.type);
    return kNoErr;
  });
}

AIErr getArtParent(AIArtHandle handle, AIArtHandle* outParent) {
  return guarded([&] {
    const ResolvedArt r = resolveArt(handle);
    if (!r) return kBadHandleErr;
    if (outParent == nullptr) return kBadParameterErr;
    const Art* parent = r.art->parent();
    *outParent = parent != nullptr ? toArtHandle(parent->id()) : nullptr;
    return kNoErr;
  });
}

AIErr getArtFirstChild(AIArtHandle handle, AIArtHandle* outChild) {
  return guarded([&] {
    const ResolvedArt r = resolveArt(handle);
    if (!r) return kBadHandleErr;
    if (outChild == nullptr) return kBadParameterErr;
    const Art& art = *r.art;
    *outChild =
        showsChildren(art) && art.childCount() > 0 ? toArtHandle(art.child(0).id()) : nullptr;
    return kNoErr;
  });
}

AIErr getArtSibling(AIArtHandle handle, AIArtHandle* outSibling) {
  return guarded([&] {
    const ResolvedArt r = resolveArt(handle);
    if (!r) return kBadHandleErr;
    if (outSibling == nullptr) return kBadParameterErr;
    const Art* parent = r.art->parent();
    *outSibling = nullptr;
    if (parent != nullptr && showsChildren(*parent)) {
      const std::size_t next = siblingIndex(*r.art) + 1;
      if (next < parent->childCount()) *outSibling = toArtHandle(parent->child(next).id());
    }
    return kNoErr;
  });
}

AIErr getLayerOfArt(AIArtHandle handle, AILayerHandle* outLayer) {
  return guarded([&] {
    const ResolvedArt r = resolveArt(handle);
    if (!r) return kBadHandleErr;
    if (outLayer == nullptr) return kBadParameterErr;
    const Layer* layer = r.document->layerOfArt(r.art->id());
    if (layer == nullptr) return kCantHappenErr;
    *outLayer = toLayerHandle(layer->id());
    return kNoErr;
  });
}

AIErr getArtUserAttr(AIArtHandle handle, int32_t whichAttr, int32_t* outAttr) {
  return guarded([&] {
    const ResolvedArt r = resolveArt(handle);
    if (!r) return kBadHandleErr;
    if (outAttr == nullptr) return kBadParameterErr;
    *outAttr = static_cast<int32_t>(reportedAttributes(*r.document, *r.art) &
                                    static_cast<std::uint32_t>(whichAttr));
    return kNoErr;
  });
}

// Sets the layer state behind a layer group's locked and hidden attributes.
bool setLayerState(Document& doc, const Art& group, std::uint32_t mask, bool locked, bool hidden) {
  const Layer* layer = doc.findLayer(group.layerGroupOf());
  if (layer == nullptr) return false;
  LayerProps props = layer->props();
  if ((mask & kArtLocked) != 0) props.locked = locked;
  if ((mask & kArtHidden) != 0) props.visible = !hidden;
  if (props == layer->props()) return false;
  doc.setLayerProps(layer->id(), std::move(props));
  host().postNotification(kAILayerOptionsNotifier);
  return true;
}

AIErr setArtUserAttr(AIArtHandle handle, int32_t whichAttr, int32_t attr) {
  return guarded([&] {
    const auto mask = static_cast<std::uint32_t>(whichAttr);
    const auto value = static_cast<std::uint32_t>(attr) & mask;
    if ((mask & ~kKnownArtAttributes) != 0) return kBadParameterErr;
    const ResolvedArt r = resolveArt(handle);
    if (!r) return kBadHandleErr;
    if (mask == 0) return kNoErr;
    if (const AIErr e = injected("SetArtUserAttr")) return e;
    Document& doc = *r.document;
    const Art& art = *r.art;

    const std::uint32_t before = reportedAttributes(doc, art);
    const std::uint32_t lockBits = kArtLocked | kArtHidden;
    const std::uint32_t after = (before & ~mask) | value;
    const bool select = (mask & kArtSelected) != 0 && (value & kArtSelected) != 0;
    // Selecting is refused up front when the art would not be editable once the call is done.
    if (select &&
        ((after & lockBits) != 0 || (art.parent() != nullptr && !isEditable(doc, *art.parent())))) {
      return kLockedErr;
    }

    bool changed = false;
    if ((mask & lockBits) != 0 && (before & lockBits) != (after & lockBits)) {
      if (isLayerGroup(art)) {
        changed =
            setLayerState(doc, art, mask, (after & kArtLocked) != 0, (after & kArtHidden) != 0);
      } else {
        Art* target = doc.modifyArt(art.id());
        target->setLocked((after & kArtLocked) != 0);
        target->setHidden((after & kArtHidden) != 0);
        changed = true;
      }
      // Locking or hiding art deselects it.
      if ((after & lockBits) != 0) clearSelection(doc, art);
    }
    if ((mask & kArtCenterPointHidden) != 0 &&
        (art.attributes() & kArtCenterPointHidden) != (value & kArtCenterPointHidden)) {
      ArtData data = art.data();
      data.attributes = (data.attributes & ~kArtCenterPointHidden) | value;
      doc.modifyArt(art.id())->restoreData(std::move(data));
      changed = true;
    }
    if ((mask & kArtSelected) != 0) {
      changed = (select ? selectTree(doc, art) : clearSelection(doc, art)) || changed;
    }
    if (changed) host().documentChanged();
    return kNoErr;
  });
}

AIErr getArtBounds(AIArtHandle handle, AIRealRect* outBounds) {
  return guarded([&] {
    const ResolvedArt r = resolveArt(handle);
    if (!r) return kBadHandleErr;
    if (outBounds == nullptr) return kBadParameterErr;
    if (r.type == ArtType::kPath) {  // the common case, without a copy
      const std::optional<AIRealRect>& bounds = r.art->path().curveBounds();
      if (!bounds) return static_cast<AIErr>(kNoGeometryErr);
      *outBounds = *bounds;
      return kNoErr;
    }
    const std::optional<AIRealRect> bounds = curveBounds(*r.art);
    if (!bounds) return static_cast<AIErr>(kNoGeometryErr);
    *outBounds = *bounds;
    return kNoErr;
  });
}

AIErr validArt(AIArtHandle handle, AIBoolean* outValid) {
  return guarded([&] {
    if (outValid == nullptr) return kBadParameterErr;
    *outValid = resolveArt(handle) ? 1 : 0;
    return kNoErr;
  });
}

AIErr newArt(int32_t type, int32_t paintOrder, AIArtHandle prep, AIArtHandle* outArt) {
  return guarded([&] {
    if (outArt == nullptr) return kBadParameterErr;
    if (type != kAIGroupArt && type != kAIPathArt && type != kAICompoundPathArt &&
        type != kAIPluginArt) {
      return kBadParameterErr;
    }
    const auto artType = static_cast<ArtType>(type);
    Document* doc = nullptr;
    const Art* parent = nullptr;
    std::size_t index = 0;
    if (prep == nullptr) {
      doc = host().currentDocument();
      if (doc == nullptr) return kNoDocumentErr;
      if (doc->layerCount() == 0) return kBadParameterErr;
      parent = &doc->layer(0).group();
    } else {
      const ResolvedArt r = resolveArt(prep);
      if (!r) return kBadHandleErr;
      doc = r.document;
      switch (paintOrder) {
        case kAIPlaceAbove:
        case kAIPlaceBelow:
          parent = r.art->parent();
          if (parent == nullptr) return kBadParameterErr;
          index = siblingIndex(*r.art) + (paintOrder == kAIPlaceBelow ? 1 : 0);
          break;
        case kAIPlaceInsideOnTop:
        case kAIPlaceInsideOnBottom:
          parent = r.art;
          // Groups (a plug-in art's result group among them) and compound paths only.
          if (!showsChildren(*parent)) return kBadParameterErr;
          index = paintOrder == kAIPlaceInsideOnTop ? 0 : parent->childCount();
          break;
        default:
          return kBadParameterErr;
      }
    }
    if (!parent->canHoldChild(artType)) return kBadParameterErr;
    if (!isEditable(*doc, *parent)) return kLockedErr;
    if (const AIErr e = injected("NewArt")) return e;
    std::unique_ptr<Art> art = Art::create(artType);
    if (artType == ArtType::kPath) {
      // New paths are neither filled nor stroked.
      PathStyle style;
      style.fill = false;
      style.stroke = false;
      art->setStyle(style);
    }
    const ArtId id = art->id();
    const AIErr error = doc->insertArt(parent->id(), index, std::move(art));
    if (error != kNoErr) return error;
    *outArt = toArtHandle(id);
    host().documentChanged();
    return kNoErr;
  });
}

AIErr disposeArt(AIArtHandle handle) {
  return guarded([&] {
    const ResolvedArt r = resolveArt(handle);
    if (!r) return kBadHandleErr;
    const Art* parent = r.art->parent();
    if (parent == nullptr || !showsChildren(*parent)) return kBadParameterErr;
    if (!isEditable(*r.document, *r.art)) return kLockedErr;
    if (const AIErr e = injected("DisposeArt")) return e;
    if (!r.document->removeArt(r.art->id())) return kCantHappenErr;
    host().documentChanged();
    return kNoErr;
  });
}

const AIArtSuite kArtSuite = {
    getArtType,     getArtParent, getArtFirstChild, getArtSibling, getLayerOfArt, getArtUserAttr,
    setArtUserAttr, getArtBounds, validArt,         newArt,        disposeArt,
};

}  // namespace

void publishArtSuites(SuiteRegistry& registry) {
  registry.add(kAIArtSuite, kAIArtSuiteVersion, &kArtSuite);
  publishArtSetSuite(registry);
  publishLayerAndUserSuites(registry);
  publishPathSuite(registry);
  publishArtKindSuites(registry);
}

}  // namespace sqhost
