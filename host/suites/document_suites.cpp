// Document, document list, artboard and hard-soft suites over the host's open documents.
#include <cmath>
#include <map>

#include "sqsdk/suites/ai_artboard.h"
#include "sqsdk/suites/ai_document.h"
#include "sqsdk/suites/ai_document_list.h"
#include "sqsdk/suites/ai_hard_soft.h"
#include "sqsdk/suites/ai_notifier.h"
#include "suites/document_suite_parts.hpp"
#include "suites/handles.hpp"
#include "suites/publish_parts.hpp"
#include "suites/suite_support.hpp"

namespace sqhost {
namespace {

bool finite(const AIRealPoint& p) {
  return std::isfinite(p.h) && std::isfinite(p.v);
}

// ---- Document ---------------------------------------------------------------------------------

// Ruler units are a display setting of each open document, kept beside the document content so
// that they take no part in undo. Ids are never reused, so entries of closed documents are
// harmless; they are dropped whenever units are set.
std::map<DocumentId, int32_t>& rulerUnits() {
  static std::map<DocumentId, int32_t> units;
  return units;
}

AIErr getDocument(AIDocumentHandle* outDocument) {
  return guarded([&] {
    if (outDocument == nullptr) return kBadParameterErr;
    const Document* doc = host().currentDocument();
    if (doc == nullptr) return kNoDocumentErr;
    *outDocument = toDocumentHandle(doc->id());
    return kNoErr;
  });
}

AIErr getDocumentMaxArtboardBounds(AIRealRect* outBounds) {
  return guarded([&] {
    if (outBounds == nullptr) return kBadParameterErr;
    const Document* doc = host().currentDocument();
    if (doc == nullptr) return kNoDocumentErr;
    *outBounds = doc->canvasBounds();
    return kNoErr;
  });
}

AIErr getDocumentRulerUnits(int32_t* outUnits) {
  return guarded([&] {
    if (outUnits == nullptr) return kBadParameterErr;
    const Document* doc = host().currentDocument();
    if (doc == nullptr) return kNoDocumentErr;
    auto it = rulerUnits().find(doc->id());
    *outUnits = it == rulerUnits().end() ? kAIPointUnits : it->second;
    return kNoErr;
  });
}

AIErr setDocumentRulerUnits(int32_t units) {
  return guarded([&] {
    const Document* doc = host().currentDocument();
    if (doc == nullptr) return kNoDocumentErr;
    if (units < kAIPointUnits || units > kAIPixelUnits) return kBadParameterErr;
    auto& all = rulerUnits();
    std::erase_if(
        all, [](const auto& entry) { return host().documents().find(entry.first) == nullptr; });
    auto it = all.find(doc->id());
    const int32_t old = it == all.end() ? kAIPointUnits : it->second;
    if (old == units) return kNoErr;
    all[doc->id()] = units;
    host().postNotification(kAIDocumentRulerUnitChangedNotifier);
    return kNoErr;
  });
}

// ---- Document list ----------------------------------------------------------------------------

AIErr countDocuments(int32_t* outCount) {
  return guarded([&] {
    if (outCount == nullptr) return kBadParameterErr;
    *outCount = static_cast<int32_t>(host().documents().count());
    return kNoErr;
  });
}

AIErr getNthDocument(int32_t n, AIDocumentHandle* outDocument) {
  return guarded([&] {
    if (outDocument == nullptr) return kBadParameterErr;
    DocumentList& documents = host().documents();
    if (n < 0 || static_cast<std::size_t>(n) >= documents.count()) return kOutOfRangeErr;
    *outDocument = toDocumentHandle(documents.at(static_cast<std::size_t>(n)).id());
    return kNoErr;
  });
}

ObjectId frontViewId() {
  const View* view = host().currentView();
  return view == nullptr ? kNoId : view->id;
}

AIErr activateDocument(AIDocumentHandle document) {
  return guarded([&] {
    const Document* target = resolveDocument(document);
    if (target == nullptr) return kBadHandleErr;
    const ObjectId before = frontViewId();
    const AIErr error = host().documents().activate(target->id());
    if (error != kNoErr) return error;
    if (frontViewId() != before) {
      // Another view is shown now: it is painted whole at the next paint.
      if (View* view = host().currentView()) view->needsFullRepaint = true;
      host().postNotification(kAIDocumentViewChangedNotifier);
    }
    return kNoErr;
  });
}

// ---- Artboards --------------------------------------------------------------------------------

// The current document and a checked artboard index, or the error to return.
struct BoardRef {
  Document* doc = nullptr;
  std::size_t index = 0;
  AIErr error = kNoErr;
};

BoardRef board(int32_t index) {
  Document* doc = host().currentDocument();
  if (doc == nullptr) return {nullptr, 0, kNoDocumentErr};
  if (index < 0 || static_cast<std::size_t>(index) >= doc->artboardCount()) {
    return {nullptr, 0, kOutOfRangeErr};
  }
  return {doc, static_cast<std::size_t>(index), kNoErr};
}

AIErr countArtboards(int32_t* outCount) {
  return guarded([&] {
    if (outCount == nullptr) return kBadParameterErr;
    const Document* doc = host().currentDocument();
    if (doc == nullptr) return kNoDocumentErr;
    *outCount = static_cast<int32_t>(doc->artboardCount());
    return kNoErr;
  });
}

AIErr getActiveArtboardIndex(int32_t* outIndex) {
  return guarded([&] {
    if (outIndex == nullptr) return kBadParameterErr;
    const Document* doc = host().currentDocument();
    if (doc == nullptr) return kNoDocumentErr;
    *outIndex = static_cast<int32_t>(doc->activeArtboard());
    return kNoErr;
  });
}

AIErr setActiveArtboardIndex(int32_t index) {
  return guarded([&] {
    const BoardRef ref = board(index);
    if (ref.error != kNoErr) return ref.error;
    if (ref.doc->activeArtboard() == ref.index) return kNoErr;
    const AIErr error = ref.doc->setActiveArtboard(ref.index);
    if (error == kNoErr) host().documentChanged();
    return error;
  });
}

AIErr getArtboardBounds(int32_t index, AIRealRect* outBounds) {
  return guarded([&] {
    if (outBounds == nullptr) return kBadParameterErr;
    const BoardRef ref = board(index);
    if (ref.error != kNoErr) return ref.error;
    *outBounds = ref.doc->artboard(ref.index).bounds;
    return kNoErr;
  });
}

AIErr getArtboardRulerOrigin(int32_t index, AIRealPoint* outOrigin) {
  return guarded([&] {
    if (outOrigin == nullptr) return kBadParameterErr;
    const BoardRef ref = board(index);
    if (ref.error != kNoErr) return ref.error;
    *outOrigin = ref.doc->artboard(ref.index).rulerOrigin;
    return kNoErr;
  });
}

AIErr setArtboardRulerOrigin(int32_t index, const AIRealPoint* origin) {
  return guarded([&] {
    if (origin == nullptr) return kBadParameterErr;
    const BoardRef ref = board(index);
    if (ref.error != kNoErr) return ref.error;
    if (!finite(*origin)) return kNonFiniteErr;
    Artboard changed = ref.doc->artboard(ref.index);
    if (changed.rulerOrigin.h == origin->h && changed.rulerOrigin.v == origin->v) return kNoErr;
    changed.rulerOrigin = *origin;
    const AIErr error = ref.doc->setArtboard(ref.index, std::move(changed));
    if (error != kNoErr) return error;
    host().postNotification(kAIDocumentRulerOriginChangedNotifier);
    host().documentChanged();
    return kNoErr;
  });
}

// ---- Hard and soft coordinates ----------------------------------------------------------------

// Converts between artwork and active-artboard ruler coordinates: sign +1 hardens, -1 softens.
AIErr convert(const AIRealPoint* in, AIRealPoint* out, double sign) {
  return guarded([&] {
    if (in == nullptr || out == nullptr) return kBadParameterErr;
    const Document* doc = host().currentDocument();
    if (doc == nullptr) return kNoDocumentErr;
    if (!finite(*in)) return kNonFiniteErr;
    const Artboard& active = doc->artboard(doc->activeArtboard());
    // soft = hard - offset, with offset = (left + origin.h, top - origin.v).
    const double offsetH = static_cast<double>(active.bounds.left) + active.rulerOrigin.h;
    const double offsetV = static_cast<double>(active.bounds.top) - active.rulerOrigin.v;
    AIRealPoint result{};
    if (!roundToReal(in->h + sign * offsetH, result.h) ||
        !roundToReal(in->v + sign * offsetV, result.v)) {
      return kNonFiniteErr;
    }
    *out = result;
    return kNoErr;
  });
}

AIErr hardenPoint(const AIRealPoint* soft, AIRealPoint* outHard) {
  return convert(soft, outHard, 1);
}

AIErr softenPoint(const AIRealPoint* hard, AIRealPoint* outSoft) {
  return convert(hard, outSoft, -1);
}

const AIDocumentSuite kDocumentSuite = {
    getDocument,
    getDocumentMaxArtboardBounds,
    getDocumentRulerUnits,
    setDocumentRulerUnits,
};

const AIDocumentListSuite kDocumentListSuite = {
    countDocuments,
    getNthDocument,
    activateDocument,
};

const AIArtboardSuite kArtboardSuite = {
    countArtboards,    getActiveArtboardIndex, setActiveArtboardIndex,
    getArtboardBounds, getArtboardRulerOrigin, setArtboardRulerOrigin,
};

const AIHardSoftSuite kHardSoftSuite = {
    hardenPoint,
    softenPoint,
};

}  // namespace

void publishDocumentSuites(SuiteRegistry& registry) {
  registry.add(kAIDocumentSuite, kAIDocumentSuiteVersion, &kDocumentSuite);
  registry.add(kAIDocumentListSuite, kAIDocumentListSuiteVersion, &kDocumentListSuite);
  registry.add(kAIArtboardSuite, kAIArtboardSuiteVersion, &kArtboardSuite);
  registry.add(kAIHardSoftSuite, kAIHardSoftSuiteVersion, &kHardSoftSuite);
  publishMathSuites(registry);
  publishUnicodeStringSuite(registry);
}

}  // namespace sqhost
