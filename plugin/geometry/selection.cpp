// Gathering the host selection into the working set, and finding the anchor or visible handle of
// a document path nearest to a position.
#include "geometry/selection.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "shell/host_suites.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_art_set.h"
#include "sqsdk/suites/ai_document_view.h"
#include "sqsdk/suites/ai_layer.h"
#include "sqsdk/suites/ai_path.h"
#include "sqsdk/suites/ai_plugin_group.h"
#include "sqsdk/suites/ai_text_frame.h"

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

// Calls add for the unlocked, visible paths below art: plug-in art adds its result's paths, every
// other container (locked or hidden ones included) is walked through its children.
template <typename Add>
void AddPathsOf(const Suites& h, AIArtHandle art, Add& add) {
  AIArtHandle child = nullptr;
  h.art->GetArtFirstChild(art, &child);
  while (child != nullptr) {
    const int32_t type = TypeOf(h, child);
    if (type == kAIPathArt) {
      if (Attributes(h, child, kAIArtLocked | kAIArtHidden) == 0) add(child);
    } else if (type == kAIPluginArt) {
      AIArtHandle result = nullptr;
      if (h.pluginGroup->GetPluginArtResultArt(child, &result) == kNoErr && result != nullptr) {
        AddPathsOf(h, result, add);
      }
    } else {
      AddPathsOf(h, child, add);
    }
    AIArtHandle next = nullptr;
    h.art->GetArtSibling(child, &next);
    child = next;
  }
}

// Calls add for the paths a matched object of this type brings into the working set: the paths of
// plug-in art's result, the path object of area and path text.
template <typename Add>
void AddPathsBroughtBy(const Suites& h, AIArtHandle art, int32_t type, Add& add) {
  if (type == kAIPluginArt) {
    AIArtHandle result = nullptr;
    if (h.pluginGroup->GetPluginArtResultArt(art, &result) == kNoErr && result != nullptr) {
      AddPathsOf(h, result, add);
    }
  } else if (type == kAITextFrameArt) {
    int32_t frameType = kAIPointTextType;
    AIArtHandle path = nullptr;
    h.text->GetTextFrameType(art, &frameType);
    if ((frameType == kAIInPathTextType || frameType == kAIOnPathTextType) &&
        h.text->GetTextFramePathObject(art, &path) == kNoErr && path != nullptr) {
      add(path);
    }
  }
}

// Walks the set as matched, adding the paths of plug-in art and of area and path text frames.
void ExpandSet(const Suites& h, AIArtSet set) {
  auto add = [&](AIArtHandle path) { h.sets->AddArtToArtSet(set, path); };
  int32_t count = 0;
  h.sets->CountArtSet(set, &count);
  for (int32_t i = 0; i < count; ++i) {
    AIArtHandle art = nullptr;
    if (h.sets->IndexArtSet(set, i, &art) != kNoErr || art == nullptr) continue;
    AddPathsBroughtBy(h, art, TypeOf(h, art), add);
  }
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

const AIArtMatchRule kSelectedRule{kAIAnyArt, kAIArtSelected, kAIArtSelected};

// The paths of the working set in its order, as gatherSelectedPaths would leave it, without
// keeping the set: the matched selected paths, then the paths the matched plug-in art and text
// frames bring. Sets workingArtCount and workingPathCount.
std::vector<AIArtHandle> SelectedPaths(const Suites& h, PluginState& s) {
  std::vector<AIArtHandle> paths;
  std::vector<AIArtHandle> brought;
  AIArtSet set = nullptr;
  int32_t count = 0;
  if (h.sets->NewArtSet(&set) == kNoErr) {
    h.sets->MatchingArtSet(set, &kSelectedRule, 1);
    h.sets->CountArtSet(set, &count);
    auto add = [&](AIArtHandle path) { brought.push_back(path); };
    for (int32_t i = 0; i < count; ++i) {
      AIArtHandle art = nullptr;
      if (h.sets->IndexArtSet(set, i, &art) != kNoErr || art == nullptr) continue;
      const int32_t type = TypeOf(h, art);
      if (type == kAIPathArt) {
        paths.push_back(art);
      } else {
        AddPathsBroughtBy(h, art, type, add);
      }
    }
    h.sets->DisposeArtSet(set);
  }
  // Matching never takes result art or text paths, and each is brought by one object only, so
  // the two lists hold no path twice, as the set would not.
  paths.insert(paths.end(), brought.begin(), brought.end());
  s.workingArtCount = count + static_cast<int32_t>(brought.size());
  s.workingPathCount = static_cast<int32_t>(paths.size());
  return paths;
}

bool Overlaps(const AIRealRect& a, const AIRealRect& b) {
  // Artwork rectangles: top is the larger v.
  return a.left <= b.right && b.left <= a.right && a.bottom <= b.top && b.bottom <= a.top;
}

bool Inside(const AIRealPoint& p, const AIRealRect& r) {
  return p.h >= r.left && p.h <= r.right && p.v >= r.bottom && p.v <= r.top;
}

bool Retracted(const AIRealPoint& handle, const AIRealPoint& anchor) {
  return handle.h == anchor.h && handle.v == anchor.v;
}

// The nearest point offered so far, by squared distance; of equal distances the first offered.
struct Best {
  float distance = 99999.0f;
  std::optional<NearestPathPoint> point;
  void offer(const AIRealPoint& p, const AIRealPoint& at, int part, AIArtHandle art, int index) {
    const float dh = p.h - at.h;
    const float dv = p.v - at.v;
    const float d = dh * dh + dv * dv;
    if (d < distance) {
      distance = d;
      point = NearestPathPoint{kAIPathArt, part, art, index, p};
    }
  }
};

// One search: the pick rectangle around the position, and one segment buffer for every path read.
// Bounds are read before segments, and segments before selection states, so a path far from the
// position costs one or two host calls.
class NearestSearch {
 public:
  NearestSearch(const Suites& h, const AIRealRect& pick, const AIRealPoint& position)
      : h_(h), pick_(pick), position_(position) {}

  // The anchors (into anchors) and the visible handles (into handles) of the selected paths. A
  // path selected as a whole is read only when its bounds meet the pick rectangle, another one's
  // selection states only when one of its handles lies inside.
  void searchSelected(const std::vector<AIArtHandle>& paths, Best& anchors, Best& handles) {
    for (AIArtHandle art : paths) {
      if (showsNoHandle(art)) {
        if (boundsOverlap(art) && readPathSegments(art, segments_)) offerAnchors(art, anchors);
        continue;
      }
      if (!readPathSegments(art, segments_)) continue;
      const bool anchorInside =
          std::any_of(segments_.begin(), segments_.end(),
                      [&](const AIPathSegment& seg) { return inPick(seg.p); });
      // Anchors count only on a path whose bounds meet the pick rectangle (a path of one
      // segment may have no bounds), so the bounds are read only when an anchor lies inside.
      if (anchorInside && boundsOverlap(art)) offerAnchors(art, anchors);
      if (std::any_of(segments_.begin(), segments_.end(), [&](const AIPathSegment& seg) {
            return handleInPick(seg.in, seg.p) || handleInPick(seg.out, seg.p);
          })) {
        offerVisibleHandles(art, handles);
      }
    }
  }

  // The anchors of every visible, unlocked path, in the order of the document's art (layer by
  // layer from the top, each from its topmost object down), then those of the paths that plug-in
  // art and text frames bring. Whatever lies in art whose bounds miss the pick rectangle (a
  // container's bounds hold its contents', plug-in art's its result's, a text frame's its path's)
  // or below locked or hidden art is passed over without being read.
  void searchAll(Best& best) {
    std::vector<AIArtHandle> bringers;
    int32_t layers = 0;
    h_.layer->CountLayers(&layers);
    for (int32_t n = 0; n < layers; ++n) {
      AILayerHandle layer = nullptr;
      AIArtHandle root = nullptr;
      if (h_.layer->GetNthLayer(n, &layer) != kNoErr ||
          h_.layer->GetFirstArtOfLayer(layer, &root) != kNoErr || root == nullptr) {
        continue;
      }
      // A layer's root group reads locked or hidden with its layer.
      if (Attributes(h_, root, kAIArtLocked | kAIArtHidden) != 0 || !boundsOverlap(root)) continue;
      searchChildren(root, best, bringers);
    }
    auto offer = [&](AIArtHandle path) {
      if (boundsOverlap(path) && !lockedOrHiddenAbove(path) && readPathSegments(path, segments_)) {
        offerAnchors(path, best);
      }
    };
    for (AIArtHandle art : bringers) AddPathsBroughtBy(h_, art, TypeOf(h_, art), offer);
  }

 private:
  bool inPick(const AIRealPoint& p) const { return Inside(p, pick_); }
  bool handleInPick(const AIRealPoint& handle, const AIRealPoint& anchor) const {
    return !Retracted(handle, anchor) && inPick(handle);
  }
  // True for a path of two or more segments that are all point-selected (a path selected as a
  // whole): the host shows none of its handles.
  bool showsNoHandle(AIArtHandle art) const {
    AIBoolean all = 0;
    int32_t count = 0;
    return h_.path->GetPathAllSegmentsSelected(art, &all) == kNoErr && all != 0 &&
           h_.path->GetPathSegmentCount(art, &count) == kNoErr && count >= 2;
  }
  bool boundsOverlap(AIArtHandle art) const {
    AIRealRect bounds{};
    return h_.art->GetArtBounds(art, &bounds) == kNoErr && Overlaps(bounds, pick_);
  }

  // The anchors of the path in segments_ that lie in the pick rectangle.
  void offerAnchors(AIArtHandle art, Best& best) const {
    for (std::size_t i = 0; i < segments_.size(); ++i) {
      if (inPick(segments_[i].p)) {
        best.offer(segments_[i].p, position_, kHitAnchor, art, static_cast<int>(i));
      }
    }
  }

  // The handles of the path in segments_ that the host shows (by the segments' selection states)
  // and that lie in the pick rectangle.
  void offerVisibleHandles(AIArtHandle art, Best& best) {
    const std::size_t count = segments_.size();
    states_.assign(count, 0);
    int single = -1;
    int pointSelected = 0;
    for (std::size_t i = 0; i < count; ++i) {
      h_.path->GetPathSegmentSelected(art, static_cast<int32_t>(i), &states_[i]);
      if (states_[i] == kAISegmentPointSelected) {
        single = static_cast<int>(i);
        ++pointSelected;
      }
    }
    if (pointSelected != 1) single = -1;
    for (std::size_t i = 0; i < count; ++i) {
      const int32_t state = static_cast<int>(i) == single ? kAISegmentInOutSelected : states_[i];
      const AIPathSegment& seg = segments_[i];
      const bool inShown = state == kAISegmentInSelected || state == kAISegmentInOutSelected;
      const bool outShown = state == kAISegmentOutSelected || state == kAISegmentInOutSelected;
      if (inShown && handleInPick(seg.in, seg.p)) {
        best.offer(seg.in, position_, kHitInHandle, art, static_cast<int>(i));
      }
      if (outShown && handleInPick(seg.out, seg.p)) {
        best.offer(seg.out, position_, kHitOutHandle, art, static_cast<int>(i));
      }
    }
  }

  // Depth first through the children of a container, keeping plug-in art and text frames for
  // after the walk, as the working set keeps the paths they bring for after the matched ones.
  void searchChildren(AIArtHandle container, Best& best, std::vector<AIArtHandle>& bringers) {
    AIArtHandle child = nullptr;
    h_.art->GetArtFirstChild(container, &child);
    while (child != nullptr) {
      if (boundsOverlap(child)) {
        const int32_t type = TypeOf(h_, child);
        if (type == kAIPathArt) {
          if (!lockedOrHiddenAbove(child) && readPathSegments(child, segments_)) {
            offerAnchors(child, best);
          }
        } else if (Attributes(h_, child, kAIArtLocked | kAIArtHidden) == 0) {
          if (type == kAIPluginArt || type == kAITextFrameArt) {
            bringers.push_back(child);
          } else {
            searchChildren(child, best, bringers);
          }
        }
      }
      AIArtHandle next = nullptr;
      h_.art->GetArtSibling(child, &next);
      child = next;
    }
  }

  const Suites& h_;
  AIRealRect pick_;
  AIRealPoint position_;
  std::vector<AIPathSegment> segments_;
  std::vector<int32_t> states_;
};

}  // namespace

bool lockedOrHiddenAbove(AIArtHandle art) {
  const Suites h;
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

AIErr gatherSelectedPaths(PluginState& s) {
  const Suites h;
  AIErr error = h.sets->NewArtSet(&s.workingArtSet);
  if (error != kNoErr) return error;
  error = h.sets->MatchingArtSet(s.workingArtSet, &kSelectedRule, 1);
  ExpandSet(h, s.workingArtSet);
  h.sets->CountArtSet(s.workingArtSet, &s.workingArtCount);
  s.workingPathCount = 0;
  ForEachInSet(h, s.workingArtSet, [&](AIArtHandle art) {
    if (TypeOf(h, art) == kAIPathArt) ++s.workingPathCount;
  });
  return error;
}

std::optional<NearestPathPoint> findNearestPoint(PluginState& s, AIDocumentViewHandle view,
                                                 int pickRadius, const AIRealPoint& position) {
  const Suites h;
  AIPoint centre{};
  if (h.views->ArtworkPointToViewPoint(view, &position, &centre) != kNoErr) return std::nullopt;
  // Computed wide and saturated: a point near the edge of the view coordinate range, or a radius
  // the host handed back unchecked, must not overflow.
  const auto offset = [](int32_t coordinate, int64_t by) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(int64_t{coordinate} + by, INT32_MIN, INT32_MAX));
  };
  const int64_t radius = std::abs(int64_t{pickRadius});
  const AIPoint corner1{offset(centre.h, -radius), offset(centre.v, -radius)};
  const AIPoint corner2{offset(centre.h, radius), offset(centre.v, radius)};
  AIRealPoint a{};
  AIRealPoint b{};
  h.views->ViewPointToArtworkPoint(view, &corner1, &a);
  h.views->ViewPointToArtworkPoint(view, &corner2, &b);
  const AIRealRect pick{std::min(a.h, b.h), std::max(a.v, b.v), std::max(a.h, b.h),
                        std::min(a.v, b.v)};

  NearestSearch search(h, pick, position);
  // Anchors of the selected paths win over any handle, and their handles over other paths.
  Best anchors;
  Best handles;
  search.searchSelected(SelectedPaths(h, s), anchors, handles);
  s.workingArtSet = nullptr;
  if (anchors.point) return anchors.point;
  if (handles.point) return handles.point;
  Best others;
  search.searchAll(others);
  return others.point;
}

}  // namespace sq
