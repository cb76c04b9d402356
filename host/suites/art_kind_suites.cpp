// "AI Path Style Suite", "AI Text Frame Suite" and "AI Plugin Group Suite": what belongs to one
// kind of art (the paint of paths, the path object of text, the result art of plug-in art).
#include <cmath>

#include "sqsdk/suites/ai_path_style.h"
#include "sqsdk/suites/ai_plugin_group.h"
#include "sqsdk/suites/ai_text_frame.h"
#include "suites/art_support.hpp"

namespace sqhost {
namespace {

// ---- Path style -------------------------------------------------------------------------------

// The object whose style a path or compound path is painted with: a path inside a compound path
// is painted with the compound path's. The model keeps the style on paths, so a compound path's
// style is that of its first path (and writing it writes every path inside it).
const Art* styleOwner(const Art& art) {
  const Art* parent = art.parent();
  if (art.type() == ArtType::kPath && parent != nullptr &&
      parent->type() == ArtType::kCompoundPath) {
    return parent;
  }
  return &art;
}

AIPathStyle toSdk(const PathStyle& s) {
  return AIPathStyle{s.fill ? 1 : 0, s.fillColor, s.stroke ? 1 : 0, s.strokeColor, s.strokeWidth};
}

AIErr getPathStyle(AIArtHandle handle, AIPathStyle* outStyle) {
  return guarded([&] {
    const ResolvedArt r = resolveArt(handle);
    if (!r) return kBadHandleErr;
    if (r.type != ArtType::kPath && r.type != ArtType::kCompoundPath) {
      return kBadParameterErr;
    }
    if (outStyle == nullptr) return kBadParameterErr;
    const Art* owner = styleOwner(*r.art);
    if (owner->type() == ArtType::kPath) {
      *outStyle = toSdk(owner->style());
    } else if (owner->childCount() > 0) {
      *outStyle = toSdk(owner->child(0).style());
    } else {
      // An empty compound path paints nothing.
      *outStyle = AIPathStyle{0, {0, 0, 0}, 0, {0, 0, 0}, 1};
    }
    return kNoErr;
  });
}

AIErr setPathStyle(AIArtHandle handle, const AIPathStyle* style) {
  return guarded([&] {
    const ResolvedArt r = resolveArt(handle);
    if (!r) return kBadHandleErr;
    if (r.type != ArtType::kPath && r.type != ArtType::kCompoundPath) {
      return kBadParameterErr;
    }
    if (style == nullptr) return kBadParameterErr;
    if (!std::isfinite(style->strokeWidth)) return kNonFiniteErr;
    if (style->strokeWidth < 0) return kBadParameterErr;
    const Art* owner = styleOwner(*r.art);
    // An empty compound path has nowhere to keep a style.
    if (owner->type() == ArtType::kCompoundPath && owner->childCount() == 0) {
      return kBadParameterErr;
    }
    if (!isEditable(*r.document, *r.art)) return kLockedErr;
    if (const AIErr e = injected("SetPathStyle")) return e;
    auto apply = [&](const Art& path) {
      PathStyle value = path.style();  // keeps what the suite does not say, such as the fill rule
      value.fill = style->fillPaint != 0;
      value.fillColor = style->fillColor;
      value.stroke = style->strokePaint != 0;
      value.strokeColor = style->strokeColor;
      value.strokeWidth = style->strokeWidth;
      if (value == path.style()) return false;
      return r.document->modifyArt(path.id())->setStyle(value) == kNoErr;
    };
    bool changed = false;
    if (owner->type() == ArtType::kPath) {
      changed = apply(*owner);
    } else {
      for (std::size_t i = 0; i < owner->childCount(); ++i)
        changed = apply(owner->child(i)) || changed;
    }
    if (changed) host().documentChanged();
    return kNoErr;
  });
}

const AIPathStyleSuite kPathStyleSuite = {getPathStyle, setPathStyle};

// ---- Text frames ------------------------------------------------------------------------------

AIErr findTextFrame(AIArtHandle handle, const void* out, const Art*& frame) {
  const ResolvedArt r = resolveArt(handle);
  if (!r) return kBadHandleErr;
  if (r.type != ArtType::kTextFrame || out == nullptr) return kBadParameterErr;
  frame = r.art;
  return kNoErr;
}

AIErr getTextFrameType(AIArtHandle handle, int32_t* outType) {
  return guarded([&] {
    const Art* frame = nullptr;
    if (const AIErr e = findTextFrame(handle, outType, frame)) return e;
    *outType = static_cast<int32_t>(frame->text().type);
    return kNoErr;
  });
}

AIErr getTextFramePathObject(AIArtHandle handle, AIArtHandle* outPath) {
  return guarded([&] {
    const Art* frame = nullptr;
    if (const AIErr e = findTextFrame(handle, outPath, frame)) return e;
    const Art* path = frame->textPath();
    if (path == nullptr) return kBadParameterErr;
    *outPath = toArtHandle(path->id());
    return kNoErr;
  });
}

const AITextFrameSuite kTextFrameSuite = {getTextFrameType, getTextFramePathObject};

// ---- Plug-in groups ---------------------------------------------------------------------------

AIErr getPluginArtResultArt(AIArtHandle handle, AIArtHandle* outResult) {
  return guarded([&] {
    const ResolvedArt r = resolveArt(handle);
    if (!r) return kBadHandleErr;
    if (r.type != ArtType::kPluginArt || outResult == nullptr) return kBadParameterErr;
    const Art* result = r.art->pluginResult();
    if (result == nullptr) return kCantHappenErr;
    *outResult = toArtHandle(result->id());
    return kNoErr;
  });
}

const AIPluginGroupSuite kPluginGroupSuite = {getPluginArtResultArt};

}  // namespace

void publishArtKindSuites(SuiteRegistry& registry) {
  registry.add(kAIPathStyleSuite, kAIPathStyleSuiteVersion, &kPathStyleSuite);
  registry.add(kAITextFrameSuite, kAITextFrameSuiteVersion, &kTextFrameSuite);
  registry.add(kAIPluginGroupSuite, kAIPluginGroupSuiteVersion, &kPluginGroupSuite);
}

}  // namespace sqhost
