// Gathering the host selection into the working set, finding points near a position, and keeping
// the point table in line with the document.
#include "geometry/selection.hpp"

#include <vector>

#include "panel/panel_refresh.hpp"
#include "shell/host_suites.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_art_set.h"
#include "sqsdk/suites/ai_document_list.h"
#include "sqsdk/suites/ai_document_view.h"
#include "sqsdk/suites/ai_layer.h"
#include "sqsdk/suites/ai_path.h"
#include "sqsdk/suites/ai_plugin_group.h"
#include "sqsdk/suites/ai_text_frame.h"
#include "tool/annotations.hpp"

namespace sq {

namespace {

struct Suites {
  const AIArtSuite* art = SuiteAs<AIArtSuite>(SuiteId::Art);
  const AIArtSetSuite* sets = SuiteAs<AIArtSetSuite>(SuiteId::ArtSet);
  const AIPathSuite* path = SuiteAs<AIPathSuite>(SuiteId::Path);
  const AILayerSuite* layer = SuiteAs<AILayerSuite>(SuiteId::Layer);
  const AIPluginGroupSuite* pluginGroup = SuiteAs<AIPluginGroupSuite>(SuiteId::PluginGroup);
  const AITextFrameSuite* text = SuiteAs<AITextFrameSuite>(SuiteId::TextFrame);
  const AIDocumentViewSuite* views = SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView);
};

int32_t TypeOf(const Suites& h, AIArtHandle art) {
  int32_t type = kAIUnknownArt;
  h.art->GetArtType(art, &type);
  return type;
}

int32_t Attributes(const Suites& h, AIArtHandle art, int32_t which) {
  int32_t attr = 0;
  h.art->GetArtUserAttr(art, which, &attr);
  return attr;
}

// Adds the unlocked, visible paths below art: plug-in art adds its result's paths, every other
// container (locked or hidden ones included) is walked through its children.
void AddPathsOf(const Suites& h, AIArtSet set, AIArtHandle art) {
  AIArtHandle child = nullptr;
  h.art->GetArtFirstChild(art, &child);
  while (child != nullptr) {
    const int32_t type = TypeOf(h, child);
    if (type == kAIPathArt) {
      if (Attributes(h, child, kAIArtLocked | kAIArtHidden) == 0)
        h.sets->AddArtToArtSet(set, child);
    } else if (type == kAIPluginArt) {
      AIArtHandle result = nullptr;
      if (h.pluginGroup->GetPluginArtResultArt(child, &result) == kNoErr && result != nullptr) {
        AddPathsOf(h, set, result);
      }
    } else {
      AddPathsOf(h, set, child);
    }
    AIArtHandle next = nullptr;
    h.art->GetArtSibling(child, &next);
    child = next;
  }
}

// Walks the set as matched, adding the paths of plug-in art and of area and path text frames.
void ExpandSet(const Suites& h, AIArtSet set) {
  int32_t count = 0;
  h.sets->CountArtSet(set, &count);
  for (int32_t i = 0; i < count; ++i) {
    AIArtHandle art = nullptr;
    if (h.sets->IndexArtSet(set, i, &art) != kNoErr || art == nullptr) continue;
    const int32_t type = TypeOf(h, art);
    if (type == kAIPluginArt) {
      AIArtHandle result = nullptr;
      if (h.pluginGroup->GetPluginArtResultArt(art, &result) == kNoErr && result != nullptr) {
        AddPathsOf(h, set, result);
      }
    } else if (type == kAITextFrameArt) {
      int32_t frameType = kAIPointTextType;
      AIArtHandle path = nullptr;
      h.text->GetTextFrameType(art, &frameType);
      if ((frameType == kAIInPathTextType || frameType == kAIOnPathTextType) &&
          h.text->GetTextFramePathObject(art, &path) == kNoErr && path != nullptr) {
        h.sets->AddArtToArtSet(set, path);
      }
    }
  }
}

bool Overlaps(const AIRealRect& a, const AIRealRect& b) {
  // Artwork rectangles: top is the larger v.
  return a.left <= b.right && b.left <= a.right && a.bottom <= b.top && b.bottom <= a.top;
}

bool Inside(const AIRealPoint& p, const AIRealRect& r) {
  return p.h >= r.left && p.h <= r.right && p.v >= r.bottom && p.v <= r.top;
}

std::vector<AIPathSegment> Segments(const Suites& h, AIArtHandle path) {
  int32_t count = 0;
  h.path->GetPathSegmentCount(path, &count);
  std::vector<AIPathSegment> segments(static_cast<std::size_t>(count > 0 ? count : 0));
  if (count > 0 && h.path->GetPathSegments(path, 0, count, segments.data()) != kNoErr) {
    segments.clear();
  }
  return segments;
}

struct Best {
  float distance = 99999.0f;
  std::optional<NearestPoint> point;
  void offer(const AIRealPoint& p, const AIRealPoint& at, int part, AIArtHandle art, int index) {
    const float dh = p.h - at.h;
    const float dv = p.v - at.v;
    const float d = dh * dh + dv * dv;
    if (d < distance) {
      distance = d;
      point = NearestPoint{kAIPathArt, part, art, index, p};
    }
  }
};

// True when art, one of its ancestors or its layer is locked or hidden.
bool LockedOrHiddenAbove(const Suites& h, AIArtHandle art) {
  for (AIArtHandle a = art; a != nullptr;) {
    if (Attributes(h, a, kAIArtLocked | kAIArtHidden) != 0) return true;
    AIArtHandle parent = nullptr;
    if (h.art->GetArtParent(a, &parent) != kNoErr) break;
    a = parent;
  }
  AILayerHandle layer = nullptr;
  if (h.art->GetLayerOfArt(art, &layer) == kNoErr && layer != nullptr) {
    AIBoolean visible = 1;
    AIBoolean editable = 1;
    h.layer->GetLayerVisible(layer, &visible);
    h.layer->GetLayerEditable(layer, &editable);
    if (!visible || !editable) return true;
  }
  return false;
}

template <typename F>
void ForEachInSet(const Suites& h, AIArtSet set, F f) {
  int32_t count = 0;
  h.sets->CountArtSet(set, &count);
  for (int32_t i = 0; i < count; ++i) {
    AIArtHandle art = nullptr;
    if (h.sets->IndexArtSet(set, i, &art) == kNoErr && art != nullptr) f(art);
  }
}

}  // namespace

AIErr gatherSelectedPaths(PluginState& s) {
  const Suites h;
  AIErr error = h.sets->NewArtSet(&s.workingArtSet);
  if (error != kNoErr) return error;
  const AIArtMatchRule selected{kAIAnyArt, kAIArtSelected, kAIArtSelected};
  error = h.sets->MatchingArtSet(s.workingArtSet, &selected, 1);
  ExpandSet(h, s.workingArtSet);
  h.sets->CountArtSet(s.workingArtSet, &s.workingArtCount);
  s.workingPathCount = 0;
  ForEachInSet(h, s.workingArtSet, [&](AIArtHandle art) {
    if (TypeOf(h, art) == kAIPathArt) ++s.workingPathCount;
  });
  return error;
}

std::optional<NearestPoint> findNearestPoint(PluginState& s, AIDocumentViewHandle view,
                                             int pickRadius, const AIRealPoint& position) {
  const Suites h;
  AIPoint centre{};
  if (h.views->ArtworkPointToViewPoint(view, &position, &centre) != kNoErr) return std::nullopt;
  const AIPoint corner1{centre.h - pickRadius, centre.v - pickRadius};
  const AIPoint corner2{centre.h + pickRadius, centre.v + pickRadius};
  AIRealPoint a{};
  AIRealPoint b{};
  h.views->ViewPointToArtworkPoint(view, &corner1, &a);
  h.views->ViewPointToArtworkPoint(view, &corner2, &b);
  const AIRealRect pick{std::min(a.h, b.h), std::max(a.v, b.v), std::max(a.h, b.h),
                        std::min(a.v, b.v)};

  auto boundsOverlap = [&](AIArtHandle art) {
    AIRealRect bounds{};
    return h.art->GetArtBounds(art, &bounds) == kNoErr && Overlaps(bounds, pick);
  };
  auto anchorsOf = [&](AIArtHandle art, Best& best) {
    const auto segments = Segments(h, art);
    for (std::size_t i = 0; i < segments.size(); ++i) {
      if (Inside(segments[i].p, pick)) {
        best.offer(segments[i].p, position, kHitAnchor, art, static_cast<int>(i));
      }
    }
  };

  Best best;
  gatherSelectedPaths(s);
  // Anchors of the selected paths win over any handle.
  ForEachInSet(h, s.workingArtSet, [&](AIArtHandle art) {
    if (TypeOf(h, art) == kAIPathArt && boundsOverlap(art)) anchorsOf(art, best);
  });
  if (best.point) {
    h.sets->DisposeArtSet(s.workingArtSet);
    s.workingArtSet = nullptr;
    return best.point;
  }
  // Visible handles of the selected paths.
  ForEachInSet(h, s.workingArtSet, [&](AIArtHandle art) {
    if (TypeOf(h, art) != kAIPathArt) return;
    const auto segments = Segments(h, art);
    std::vector<int32_t> states(segments.size(), 0);
    int single = -1;
    int pointSelected = 0;
    for (std::size_t i = 0; i < segments.size(); ++i) {
      h.path->GetPathSegmentSelected(art, static_cast<int32_t>(i), &states[i]);
      if (states[i] == kAISegmentPointSelected) {
        single = static_cast<int>(i);
        ++pointSelected;
      }
    }
    if (pointSelected != 1) single = -1;
    for (std::size_t i = 0; i < segments.size(); ++i) {
      const int32_t state = static_cast<int>(i) == single ? kAISegmentInOutSelected : states[i];
      const AIPathSegment& seg = segments[i];
      const bool inShown = state == kAISegmentInSelected || state == kAISegmentInOutSelected;
      const bool outShown = state == kAISegmentOutSelected || state == kAISegmentInOutSelected;
      if (inShown && !(seg.in.h == seg.p.h && seg.in.v == seg.p.v) && Inside(seg.in, pick)) {
        best.offer(seg.in, position, kHitInHandle, art, static_cast<int>(i));
      }
      if (outShown && !(seg.out.h == seg.p.h && seg.out.v == seg.p.v) && Inside(seg.out, pick)) {
        best.offer(seg.out, position, kHitOutHandle, art, static_cast<int>(i));
      }
    }
  });
  h.sets->DisposeArtSet(s.workingArtSet);
  s.workingArtSet = nullptr;
  if (best.point) return best.point;

  // Anchors of every visible, unlocked path.
  AIArtSet all = nullptr;
  if (h.sets->NewArtSet(&all) != kNoErr) return std::nullopt;
  const AIArtMatchRule unlocked{kAIAnyArt, kAIArtLocked, 0};
  h.sets->MatchingArtSet(all, &unlocked, 1);
  ExpandSet(h, all);
  ForEachInSet(h, all, [&](AIArtHandle art) {
    if (TypeOf(h, art) == kAIPathArt && boundsOverlap(art) && !LockedOrHiddenAbove(h, art)) {
      anchorsOf(art, best);
    }
  });
  h.sets->DisposeArtSet(all);
  return best.point;
}

AIErr readLayerColor(PointRecord& record) {
  const Suites h;
  AILayerHandle layer = nullptr;
  AIErr error = h.art->GetLayerOfArt(record.art, &layer);
  if (error == kNoErr) error = h.layer->GetLayerColor(layer, &record.layerColor);
  return error;
}

std::optional<int> addEntry(PluginState& s, AIArtHandle art, int segmentIndex,
                            const AIPathSegment& segment, bool inHandle, bool outHandle,
                            bool asBothSides) {
  const auto index = appendEntry(s, art, segmentIndex, segment, inHandle, outHandle);
  if (!index) return index;
  PointRecord& r = s.pointTable[*index];
  readLayerColor(r);
  const Suites h;
  if (asBothSides) {
    r.selectionState = kAISegmentInOutSelected;
    h.path->SetPathSegmentSelected(art, segmentIndex, kAISegmentInOutSelected);
  } else {
    int32_t state = 0;
    h.path->GetPathSegmentSelected(art, segmentIndex, &state);
    r.selectionState = static_cast<int16_t>(state);
  }
  return index;
}

AIErr reapplySelection(PluginState& s, int index) {
  const Suites h;
  PointRecord& r = s.pointTable[index];
  if (r.selectionState == kAISegmentPointSelected) {
    int32_t count = 0;
    h.path->GetPathSegmentCount(r.art, &count);
    int pointSelected = 0;
    for (int32_t i = 0; i < count; ++i) {
      int32_t state = 0;
      h.path->GetPathSegmentSelected(r.art, i, &state);
      if (state == kAISegmentPointSelected) ++pointSelected;
    }
    if (pointSelected >= 2) r.selectionState = kAISegmentInOutSelected;
  }
  return h.path->SetPathSegmentSelected(r.art, r.segmentIndex, r.selectionState);
}

AIErr refreshTable(PluginState& s) {
  AIErr result = kNoErr;
  if (s.pointCount == 0) {
    result = RefreshPanel(s);
  } else if (s.othersEdited) {
    s.othersEdited = 0;
  } else {
    const Suites h;
    for (int i = s.pointCount - 1; i >= 0; --i) {
      PointRecord& r = s.pointTable[i];
      AIBoolean valid = 0;
      h.art->ValidArt(r.art, &valid);
      int32_t count = 0;
      if (valid) h.path->GetPathSegmentCount(r.art, &count);
      const bool stale = !valid || LockedOrHiddenAbove(h, r.art) || r.segmentIndex > count - 1;
      if (stale) {
        if (r.handleFlags.test(kInHandleFlag)) {
          --s.selectedHandleCount;
          --s.selectedInHandleCount;
        }
        if (r.handleFlags.test(kOutHandleFlag)) --s.selectedHandleCount;
        removeEntry(s, i);
      } else {
        result = h.path->GetPathSegments(r.art, r.segmentIndex, 1, &r.segment);
        r.savedSegment = r.segment;
        readLayerColor(r);
        result = reapplySelection(s, i);
      }
      result = s.selectedHandleCount <= 0 ? RefreshPanel(s) : ShowHandleSelection(s);
    }
  }
  invalidateAllViews(s);
  return result;
}

}  // namespace sq
