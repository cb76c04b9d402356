// "AI Layer Suite" over the current document's layers, and "AI User Suite" (alerts, unit names).
#include <functional>

#include "sqsdk/suites/ai_document.h"
#include "sqsdk/suites/ai_layer.h"
#include "sqsdk/suites/ai_notifier.h"
#include "sqsdk/suites/ai_user.h"
#include "suites/art_support.hpp"

namespace sqhost {
namespace {

// ---- Layers -----------------------------------------------------------------------------------

AIErr countLayers(int32_t* outCount) {
  return guarded([&] {
    if (outCount == nullptr) return kBadParameterErr;
    const Document* doc = host().currentDocument();
    if (doc == nullptr) return kNoDocumentErr;
    *outCount = static_cast<int32_t>(doc->layerCount());
    return kNoErr;
  });
}

AIErr getNthLayer(int32_t n, AILayerHandle* outLayer) {
  return guarded([&] {
    if (outLayer == nullptr) return kBadParameterErr;
    const Document* doc = host().currentDocument();
    if (doc == nullptr) return kNoDocumentErr;
    if (n < 0 || static_cast<std::size_t>(n) >= doc->layerCount()) return kOutOfRangeErr;
    *outLayer = toLayerHandle(doc->layer(static_cast<std::size_t>(n)).id());
    return kNoErr;
  });
}

// Runs read on the layer a handle names (kNoDocumentErr / kBadHandleErr when there is none).
template <class F>
AIErr withLayer(AILayerHandle handle, const void* out, F read) {
  return guarded([&]() -> AIErr {
    if (host().currentDocument() == nullptr) return kNoDocumentErr;
    const ResolvedLayer r = resolveLayer(handle);
    if (!r) return kBadHandleErr;
    if (out == nullptr) return kBadParameterErr;
    return read(*r.layer);
  });
}

// Changes the properties of the layer a handle names through change (which returns false when
// nothing is to change). Hiding or locking a layer deselects its art.
AIErr changeLayer(AILayerHandle handle, const std::function<bool(LayerProps&)>& change) {
  return guarded([&]() -> AIErr {
    if (host().currentDocument() == nullptr) return kNoDocumentErr;
    const ResolvedLayer r = resolveLayer(handle);
    if (!r) return kBadHandleErr;
    LayerProps props = r.layer->props();
    if (!change(props)) return kNoErr;
    if (const AIErr e = injected("SetLayerProps")) return e;
    const bool reachable = props.visible && !props.locked;
    const LayerId id = r.layer->id();
    const AIErr error = r.document->setLayerProps(id, std::move(props));
    if (error != kNoErr) return error;
    if (!reachable) clearSelection(*r.document, r.document->findLayer(id)->group());
    host().postNotification(kAILayerOptionsNotifier);
    host().documentChanged();
    return kNoErr;
  });
}

AIErr getFirstArtOfLayer(AILayerHandle layer, AIArtHandle* outGroup) {
  return withLayer(layer, outGroup, [&](const Layer& l) {
    *outGroup = toArtHandle(l.group().id());
    return kNoErr;
  });
}

AIErr getLayerColor(AILayerHandle layer, AIRGBColor* outColor) {
  return withLayer(layer, outColor, [&](const Layer& l) {
    *outColor = l.color();
    return kNoErr;
  });
}

AIErr setLayerColor(AILayerHandle layer, const AIRGBColor* color) {
  if (color == nullptr) return kBadParameterErr;
  const AIRGBColor value = *color;
  return changeLayer(layer, [&](LayerProps& p) {
    if (sameColor(p.color, value)) return false;
    p.color = value;
    return true;
  });
}

AIErr getLayerVisible(AILayerHandle layer, AIBoolean* outVisible) {
  return withLayer(layer, outVisible, [&](const Layer& l) {
    *outVisible = l.visible() ? 1 : 0;
    return kNoErr;
  });
}

AIErr setLayerVisible(AILayerHandle layer, AIBoolean visible) {
  return changeLayer(layer, [&](LayerProps& p) {
    if (p.visible == (visible != 0)) return false;
    p.visible = visible != 0;
    return true;
  });
}

AIErr getLayerEditable(AILayerHandle layer, AIBoolean* outEditable) {
  return withLayer(layer, outEditable, [&](const Layer& l) {
    *outEditable = l.editable() ? 1 : 0;
    return kNoErr;
  });
}

AIErr setLayerEditable(AILayerHandle layer, AIBoolean editable) {
  return changeLayer(layer, [&](LayerProps& p) {
    if (p.locked == (editable == 0)) return false;
    p.locked = editable == 0;
    return true;
  });
}

AIErr getLayerTitle(AILayerHandle layer, char* buffer, int32_t capacity) {
  return withLayer(layer, buffer,
                   [&](const Layer& l) { return copyString(l.name(), buffer, capacity); });
}

AIErr setLayerTitle(AILayerHandle layer, const char* title) {
  // The title is saved into a file declared UTF-8: anything else is refused.
  if (title == nullptr || !isValidUtf8(title)) return kBadParameterErr;
  return changeLayer(layer, [&](LayerProps& p) {
    if (p.name == title) return false;
    p.name = title;
    return true;
  });
}

const AILayerSuite kLayerSuite = {
    countLayers,      getNthLayer,     getFirstArtOfLayer, getLayerColor,
    setLayerColor,    getLayerVisible, setLayerVisible,    getLayerEditable,
    setLayerEditable, getLayerTitle,   setLayerTitle,
};

// ---- User -------------------------------------------------------------------------------------

AIErr messageAlert(const char* message) {
  return guarded([&] {
    if (message == nullptr) return kBadParameterErr;
    if (const AIErr e = injected("MessageAlert")) return e;
    host().dialogs().showAlert(AlertRecord::Kind::Message, message);
    return kNoErr;
  });
}

AIErr getUnitsString(int32_t units, char* buffer, int32_t capacity) {
  return guarded([&] {
    static const char* const kNames[] = {"pt", "in", "mm", "cm", "pc", "px"};
    if (units < kAIPointUnits || units > kAIPixelUnits) return kBadParameterErr;
    return copyString(kNames[units], buffer, capacity);
  });
}

const AIUserSuite kUserSuite = {messageAlert, getUnitsString};

}  // namespace

void publishLayerAndUserSuites(SuiteRegistry& registry) {
  registry.add(kAILayerSuite, kAILayerSuiteVersion, &kLayerSuite);
  registry.add(kAIUserSuite, kAIUserSuiteVersion, &kUserSuite);
}

}  // namespace sqhost
