// Selecting what lies inside a rectangle: kept handles, or anchors and segments.
#include "tool/rect_select.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "geometry/point_table.hpp"
#include "geometry/selection.hpp"
#include "geometry/tangents.hpp"
#include "panel/panel_status.hpp"
#include "shell/host_suites.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_art_set.h"
#include "sqsdk/suites/ai_document_view.h"
#include "sqsdk/suites/ai_path.h"
#include "sqsdk/suites/ai_plugin_group.h"
#include "sqsdk/suites/ai_real_bezier.h"
#include "sqsdk/suites/ai_real_math.h"
#include "sqsdk/suites/ai_text_frame.h"
#include "tool/gesture.hpp"

namespace sq {

const std::array<int16_t, 6> toggleEnd = {2, 3, 0, 4, 3, 0};
const std::array<int16_t, 6> toggleStart = {3, 2, 4, 0, 2, 0};

namespace {

// Splitting stops here even if the pieces are still larger than half a pixel; the pieces of a
// finite curve are far below any pixel long before.
constexpr int kMaxTouchDepth = 48;

int16_t toggled(const std::array<int16_t, 6>& table, int32_t state) {
  return table[static_cast<std::size_t>(std::clamp(state, 0, 5))];
}

bool inside(const AIRealPoint& p, const AIRealRect& r) {
  AIBoolean yes = 0;
  SuiteAs<AIRealMathSuite>(SuiteId::RealMath)->RealPointInRealRect(&p, &r, &yes);
  return yes != 0;
}

AIRealRect boxOf(const AIRealBezier& b) {
  return {std::min({b.p0.h, b.p1.h, b.p2.h, b.p3.h}), std::max({b.p0.v, b.p1.v, b.p2.v, b.p3.v}),
          std::max({b.p0.h, b.p1.h, b.p2.h, b.p3.h}), std::min({b.p0.v, b.p1.v, b.p2.v, b.p3.v})};
}

bool rectInRect(const AIRealRect& inner, const AIRealRect& outer) {
  AIBoolean yes = 0;
  SuiteAs<AIRealMathSuite>(SuiteId::RealMath)->RealRectInRealRect(&inner, &outer, &yes);
  return yes != 0;
}

bool rectsOverlap(const AIRealRect& a, const AIRealRect& b) {
  AIBoolean yes = 0;
  SuiteAs<AIRealMathSuite>(SuiteId::RealMath)->RealRectOverlap(&a, &b, &yes);
  return yes != 0;
}

bool pieceTouches(const AIRealBezier& piece, const AIRealRect& rect, float halfPixel, int depth) {
  const AIRealRect box = boxOf(piece);
  if (rectInRect(box, rect)) return true;
  if (!rectsOverlap(box, rect)) return false;
  if (box.right - box.left <= halfPixel && box.top - box.bottom <= halfPixel) return false;
  if (depth >= kMaxTouchDepth) return false;
  AIRealBezier first{};
  AIRealBezier second{};
  if (SuiteAs<AIRealBezierSuite>(SuiteId::RealBezier)
          ->DivideBezier(&piece, 0.5f, &first, &second) != kNoErr) {
    return false;
  }
  if (rectInRect(boxOf(second), rect)) return true;
  return pieceTouches(first, rect, halfPixel, depth + 1) ||
         pieceTouches(second, rect, halfPixel, depth + 1);
}

double frontZoom() {
  AIReal zoom = 1;
  AIDocumentViewHandle view = frontView();
  if (view != nullptr) {
    SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView)->GetDocumentViewZoom(view, &zoom);
  }
  return zoom;
}

int32_t artType(AIArtHandle art) {
  int32_t type = kAIUnknownArt;
  SuiteAs<AIArtSuite>(SuiteId::Art)->GetArtType(art, &type);
  return type;
}

int32_t attributes(AIArtHandle art, int32_t which) {
  int32_t attr = 0;
  SuiteAs<AIArtSuite>(SuiteId::Art)->GetArtUserAttr(art, which, &attr);
  return attr;
}

void deselect(AIArtHandle art) {
  SuiteAs<AIArtSuite>(SuiteId::Art)->SetArtUserAttr(art, kAIArtSelected, 0);
}

// The unlocked, visible paths below a container (plug-in art's result group): plug-in art inside
// gives its own result's paths, every other container is walked through its children.
void addPathsBelow(AIArtHandle container, std::vector<AIArtHandle>& out) {
  const auto* arts = SuiteAs<AIArtSuite>(SuiteId::Art);
  AIArtHandle child = nullptr;
  arts->GetArtFirstChild(container, &child);
  while (child != nullptr) {
    const int32_t type = artType(child);
    if (type == kAIPathArt) {
      if (attributes(child, kAIArtLocked | kAIArtHidden) == 0) out.push_back(child);
    } else if (type == kAIPluginArt) {
      AIArtHandle result = nullptr;
      if (SuiteAs<AIPluginGroupSuite>(SuiteId::PluginGroup)
                  ->GetPluginArtResultArt(child, &result) == kNoErr &&
          result != nullptr) {
        addPathsBelow(result, out);
      }
    } else {
      addPathsBelow(child, out);
    }
    AIArtHandle next = nullptr;
    arts->GetArtSibling(child, &next);
    child = next;
  }
}

// The objects the anchor and segment selection looks at: selectionArt alone or every object
// whose own locked attribute is clear; plug-in art stands for the paths of its result, and area
// and path text frames bring their path object.
std::vector<AIArtHandle> objectsToSelect(const PluginState& s) {
  const auto* sets = SuiteAs<AIArtSetSuite>(SuiteId::ArtSet);
  std::vector<AIArtHandle> matched;
  if (s.selectionArt != nullptr) {
    matched.push_back(s.selectionArt);
  } else {
    AIArtSet set = nullptr;
    if (sets->NewArtSet(&set) == kNoErr) {
      const AIArtMatchRule unlocked{kAIAnyArt, kAIArtLocked, 0};
      sets->MatchingArtSet(set, &unlocked, 1);
      int32_t count = 0;
      sets->CountArtSet(set, &count);
      for (int32_t i = 0; i < count; ++i) {
        AIArtHandle art = nullptr;
        if (sets->IndexArtSet(set, i, &art) == kNoErr && art != nullptr) matched.push_back(art);
      }
      sets->DisposeArtSet(set);
    }
  }
  std::vector<AIArtHandle> objects;
  std::vector<AIArtHandle> brought;
  for (AIArtHandle art : matched) {
    const int32_t type = artType(art);
    if (type == kAIPluginArt) {
      AIArtHandle result = nullptr;
      if (SuiteAs<AIPluginGroupSuite>(SuiteId::PluginGroup)->GetPluginArtResultArt(art, &result) ==
              kNoErr &&
          result != nullptr) {
        addPathsBelow(result, brought);
      }
      continue;
    }
    objects.push_back(art);
    if (type == kAITextFrameArt) {
      const auto* text = SuiteAs<AITextFrameSuite>(SuiteId::TextFrame);
      int32_t frameType = kAIPointTextType;
      AIArtHandle path = nullptr;
      text->GetTextFrameType(art, &frameType);
      if ((frameType == kAIInPathTextType || frameType == kAIOnPathTextType) &&
          text->GetTextFramePathObject(art, &path) == kNoErr && path != nullptr) {
        brought.push_back(path);
      }
    }
  }
  objects.insert(objects.end(), brought.begin(), brought.end());
  return objects;
}

// The neighbour rule: a point's state from whether its in side and its out side are shown.
int32_t stateShowing(bool in, bool out) {
  if (in && out) return kAISegmentInOutSelected;
  if (in) return kAISegmentInSelected;
  if (out) return kAISegmentOutSelected;
  return kAISegmentNotSelected;
}

// One path of the anchor and segment selection, read once.
class PathSelection {
 public:
  PathSelection(AIArtHandle art, const AIRealRect& rect, double zoom)
      : art_(art), rect_(rect), zoom_(zoom) {
    const WholePath whole = readWholePath(art);
    points_ = whole.segments;
    closed_ = whole.closed;
    n_ = points_.size();
    original_.assign(n_, 0);
    for (std::size_t i = 0; i < n_; ++i) {
      SuiteAs<AIPathSuite>(SuiteId::Path)
          ->GetPathSegmentSelected(art, static_cast<int32_t>(i), &original_[i]);
      inside_.push_back(inside(points_[i].p, rect));
    }
    state_ = original_;
    touch_.assign(n_, -1);
  }

  bool anyInside() const {
    return std::find(inside_.begin(), inside_.end(), true) != inside_.end();
  }
  bool anySelected() const {
    return std::any_of(original_.begin(), original_.end(), [](int32_t v) { return v != 0; });
  }
  bool anySegmentTouches() {
    for (std::size_t i = 0; i < n_; ++i) {
      if (hasNext(i) && segmentTouches(i)) return true;
    }
    return false;
  }

  // Every segment in state `state`.
  void setAll(int32_t state) { std::fill(state_.begin(), state_.end(), state); }

  void applyPointRules(bool extend, bool allHandles) {
    std::vector<bool> fully(n_, false);
    if (extend) {
      for (std::size_t i = 0; i < n_; ++i) {
        fully[i] = hasNext(i) && (state_[i] == 3 || state_[i] == 4) &&
                   (state_[next(i)] == 2 || state_[next(i)] == 4);
      }
    } else {
      setAll(kAISegmentInOutSelected);
    }

    std::vector<std::size_t> crossing;
    for (std::size_t i = 0; i < n_; ++i) {
      const int32_t was = state_[i];
      if (inside_[i]) {
        if (!extend || was != kAISegmentPointSelected) {
          state_[i] = kAISegmentPointSelected;
        } else {
          state_[i] = allHandles ? kAISegmentInOutSelected : byRectangle(i, extend);
        }
        continue;
      }
      const bool touchesAhead = hasNext(i) && segmentTouches(i);
      if (hasNext(i) && !inside_[next(i)] && touchesAhead) crossing.push_back(i);
      if (extend) continue;
      if (allHandles) {
        state_[i] = kAISegmentInOutSelected;
        continue;
      }
      const bool keep = (hasNext(i) && inside_[next(i)]) || touchesAhead ||
                        (hasPrevious(i) && !inside_[previous(i)] && segmentTouches(previous(i))) ||
                        (i == 0 && closed_ && n_ > 1 && segmentTouches(n_ - 1));
      state_[i] = keep ? kAISegmentInOutSelected : byRectangle(i, extend);
    }

    if (!extend) return;
    if (!allHandles) {
      for (std::size_t i : crossing) {
        state_[i] = toggled(toggleStart, state_[i]);
        state_[next(i)] = toggled(toggleEnd, state_[next(i)]);
      }
    }
    if (allHandles) {
      for (int32_t& v : state_) {
        if (v != kAISegmentPointSelected) v = kAISegmentInOutSelected;
      }
    } else if (anyInside()) {
      for (std::size_t i = 0; i < n_; ++i) {
        if (state_[i] == kAISegmentPointSelected) continue;
        const bool before = hasPrevious(i) && fully[previous(i)];
        if (before || fully[i]) continue;
        state_[i] = stateShowing(hasPrevious(i) && state_[previous(i)] == kAISegmentPointSelected,
                                 hasNext(i) && state_[next(i)] == kAISegmentPointSelected);
      }
    }
  }

  // Sends the changed states to the host. Returns the last host status.
  AIErr write() const {
    AIErr error = kNoErr;
    for (std::size_t i = 0; i < n_; ++i) {
      if (state_[i] == original_[i]) continue;
      error = SuiteAs<AIPathSuite>(SuiteId::Path)
                  ->SetPathSegmentSelected(art_, static_cast<int32_t>(i), state_[i]);
    }
    return error;
  }

  // The anchors left selected, and the last of them.
  int32_t selectedAnchors(std::size_t& last) const {
    int32_t count = 0;
    for (std::size_t i = 0; i < n_; ++i) {
      if (state_[i] == kAISegmentPointSelected) {
        ++count;
        last = i;
      }
    }
    return count;
  }

 private:
  bool hasNext(std::size_t i) const { return closed_ || i + 1 < n_; }
  bool hasPrevious(std::size_t i) const { return closed_ || i > 0; }
  std::size_t next(std::size_t i) const { return i + 1 < n_ ? i + 1 : 0; }
  std::size_t previous(std::size_t i) const { return i > 0 ? i - 1 : n_ - 1; }

  // Whether the curve from point i to its next point touches the rectangle; asked once.
  bool segmentTouches(std::size_t i) {
    if (touch_[i] < 0) {
      AIRealBezier curve{points_[i].p, points_[i].out, points_[next(i)].in, points_[next(i)].p};
      touch_[i] = segmentTouchesRect(curve, rect_, zoom_) ? 1 : 0;
    }
    return touch_[i] == 1;
  }

  // The neighbour rule by which anchors lie inside the rectangle.
  int32_t byRectangle(std::size_t i, bool extend) const {
    if (!extend) {
      return stateShowing(hasPrevious(i) && inside_[previous(i)], hasNext(i) && inside_[next(i)]);
    }
    return stateShowing(
        hasPrevious(i) && (!inside_[previous(i)] || state_[previous(i)] == kAISegmentPointSelected),
        hasNext(i));
  }

  AIArtHandle art_;
  AIRealRect rect_;
  double zoom_;
  std::vector<AIPathSegment> points_;
  bool closed_ = false;
  std::size_t n_ = 0;
  std::vector<int32_t> original_;
  std::vector<int32_t> state_;
  std::vector<bool> inside_;
  std::vector<int8_t> touch_;
};

// The entry of the table for this point, whatever its flags.
std::optional<int> entryOf(const PluginState& s, AIArtHandle art, int segmentIndex) {
  for (int i = 0; i < s.pointCount; ++i) {
    if (s.pointTable[i].art == art && s.pointTable[i].segmentIndex == segmentIndex) return i;
  }
  return std::nullopt;
}

// Toggles one caught handle of an existing entry, in its flags and its shown parts. Returns true
// when the entry left the table.
bool toggleHandle(PluginState& s, int index, std::size_t flag, std::size_t shown) {
  PointRecord& r = s.pointTable[index];
  if (r.handleFlags.test(flag)) {
    r.shownParts.reset(shown);
    return clearHandleFlag(s, index, flag);
  }
  setHandleFlag(s, index, flag);
  r.shownParts.set(shown);
  return false;
}

// Catches the shown handles of one selected path that lie inside selectionRect. Returns true
// when any handle was caught.
bool catchHandles(PluginState& s, AIArtHandle art) {
  const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
  int32_t n = 0;
  if (paths->GetPathSegmentCount(art, &n) != kNoErr || n <= 0) return false;
  std::vector<int32_t> states(static_cast<std::size_t>(n), 0);
  int single = -1;
  int pointSelected = 0;
  bool sideShown = false;
  for (int32_t i = 0; i < n; ++i) {
    int32_t& state = states[static_cast<std::size_t>(i)];
    paths->GetPathSegmentSelected(art, i, &state);
    if (state == kAISegmentPointSelected) {
      single = i;
      ++pointSelected;
    }
    sideShown = sideShown || state == kAISegmentInSelected || state == kAISegmentOutSelected ||
                state == kAISegmentInOutSelected;
  }
  if (pointSelected != 1) single = -1;
  // A path that shows no handle has none to catch: its segments are not read.
  if (!sideShown && single < 0) return false;
  const WholePath whole = readWholePath(art);
  if (whole.count() != n) return false;

  bool caught = false;
  for (int32_t i = 0; i < n; ++i) {
    const AIPathSegment& seg = whole.segments[static_cast<std::size_t>(i)];
    const int32_t state =
        i == single ? kAISegmentInOutSelected : states[static_cast<std::size_t>(i)];
    const bool inShown = state == kAISegmentInSelected || state == kAISegmentInOutSelected;
    const bool outShown = state == kAISegmentOutSelected || state == kAISegmentInOutSelected;
    const bool in = inShown && !SamePoint(seg.in, seg.p) && inside(seg.in, s.selectionRect);
    const bool out = outShown && !SamePoint(seg.out, seg.p) && inside(seg.out, s.selectionRect);
    if (!in && !out) continue;
    caught = true;
    const std::optional<int> entry = s.extendSelection ? entryOf(s, art, i) : std::nullopt;
    if (entry) {
      s.pointTable[*entry].selectionState =
          static_cast<int16_t>(states[static_cast<std::size_t>(i)]);
      bool removed = false;
      if (in) removed = toggleHandle(s, *entry, kInHandleFlag, kInHandleShown);
      if (out && !removed) toggleHandle(s, *entry, kOutHandleFlag, kOutHandleShown);
    } else {
      addEntry(s, art, i, seg, in, out);
    }
  }
  return caught;
}

}  // namespace

bool segmentTouchesRect(const AIRealBezier& curve, const AIRealRect& rect, double zoom) {
  // A zoom that cannot scale a pixel (0, negative, not finite) is taken as the smallest.
  const double z = std::isfinite(zoom) && zoom > 0.0 ? zoom : 0.001;
  const auto halfPixel = static_cast<float>(0.5 / z);
  AIRealRect r = rect;
  if (r.left == r.right) {
    r.left -= halfPixel;
    r.right += halfPixel;
  }
  if (r.top == r.bottom) {
    r.bottom -= halfPixel;
    r.top += halfPixel;
  }
  return pieceTouches(curve, r, halfPixel, 0);
}

AIErr selectHandlesInMarquee(PluginState& s) {
  s.selectionRect = {
      std::min(s.pressPoint.h, s.marqueeCorner.h), std::max(s.pressPoint.v, s.marqueeCorner.v),
      std::max(s.pressPoint.h, s.marqueeCorner.h), std::min(s.pressPoint.v, s.marqueeCorner.v)};
  const int32_t modifiers = HeldModifiers();
  s.extendSelection = (modifiers & kShiftKey) != 0 ? 1 : 0;
  if (!s.extendSelection) clearEntries(s);

  AIErr error = kNoErr;
  bool caught = false;
  if ((modifiers & kAltKey) != 0) {
    clearEntries(s);
  } else {
    error = gatherSelectedPaths(s);
    const auto* sets = SuiteAs<AIArtSetSuite>(SuiteId::ArtSet);
    for (int32_t k = 0; k < s.workingArtCount; ++k) {
      AIArtHandle art = nullptr;
      if (sets->IndexArtSet(s.workingArtSet, k, &art) != kNoErr || art == nullptr ||
          artType(art) != kAIPathArt) {
        continue;
      }
      if (catchHandles(s, art)) caught = true;
    }
    sets->DisposeArtSet(s.workingArtSet);
    s.workingArtSet = nullptr;
  }

  if (s.selectedHandleCount > 0 || caught) {
    if (s.selectedHandleCount == 0) return RefreshPanel(s);
    error = ShowHandleSelection(s);
    ShowRotationMode(s, false);
    return error;
  }
  s.selectionArt = nullptr;
  return selectInRectangle(s, frontZoom());
}

AIErr selectInRectangle(PluginState& s, double zoom) {
  const bool extend = s.extendSelection != 0;
  const bool allHandles = s.settings.anchor_allHandles != 0;
  const bool alt = (HeldModifiers() & kAltKey) != 0;
  const auto* arts = SuiteAs<AIArtSuite>(SuiteId::Art);
  AIErr error = kNoErr;

  int32_t selectedAnchors = 0;
  AIArtHandle lastArt = nullptr;
  std::size_t lastIndex = 0;
  for (AIArtHandle art : objectsToSelect(s)) {
    const int32_t type = artType(art);
    if (type != kAIPathArt) {
      // Clearing a container clears everything inside it, which would drop the selection an
      // extended marquee keeps; its paths are handled one by one below.
      if (type != kAITextFrameArt && !extend) deselect(art);
      continue;
    }
    if (attributes(art, kAIArtLocked | kAIArtHidden) != 0) {
      deselect(art);
      continue;
    }
    if (lockedOrHiddenAbove(art)) continue;

    AIRealRect bounds{};
    if (arts->GetArtBounds(art, &bounds) != kNoErr || !rectsOverlap(bounds, s.selectionRect)) {
      if (!extend) deselect(art);
      continue;
    }
    PathSelection path(art, s.selectionRect, zoom);
    const bool anyInside = path.anyInside();
    const bool touchesOnly = !anyInside && path.anySegmentTouches();
    if (!anyInside && !path.anySelected() && !touchesOnly) continue;

    if (touchesOnly && alt) {
      if (extend && path.anySelected()) {
        path.setAll(kAISegmentNotSelected);
      } else {
        path.setAll(kAISegmentInOutSelected);
      }
    } else {
      path.applyPointRules(extend, allHandles);
    }
    error = path.write();
    std::size_t index = 0;
    const int32_t count = path.selectedAnchors(index);
    if (count > 0) {
      selectedAnchors += count;
      lastArt = art;
      lastIndex = index;
    }
  }

  if (selectedAnchors != 1) return RefreshPanel(s);
  error = ReadPoint(s.currentPoint, lastArt, static_cast<int32_t>(lastIndex));
  const bool smooth = s.currentPoint.segment.corner == 0;
  EnterPointMode(s);
  ShowPointFields(s);
  ShowPointGroup(s);
  ShowLinkMark(s, smooth);
  char text[64];
  std::snprintf(text, sizeof text, "%s point selected", smooth ? "Smooth" : "Corner");
  SetStatusText(s, text);
  return error;
}

}  // namespace sq
