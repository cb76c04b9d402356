// The annotator: registration and the draw and invalidate messages.
#include "tool/annotations.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <span>
#include <vector>

#include "geometry/connector.hpp"
#include "geometry/curve.hpp"
#include "geometry/tangents.hpp"
#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/messages.h"
#include "sqsdk/suites/adm_drawer.h"
#include "sqsdk/suites/adm_tracker.h"
#include "sqsdk/suites/ai_annotator.h"
#include "sqsdk/suites/ai_document_view.h"
#include "sqsdk/suites/ai_path.h"
#include "tool/hover.hpp"

namespace sq {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr ADMColor kRed = 0xFF0000FF;
constexpr ADMColor kGrey = 0x888888FF;

// A "C" beside a connector point, its baseline 3 pixels left of and 11 above the anchor.
AIErr drawConnectorMark(ADMDrawerRef drawer, AIPoint anchor, ADMColor color) {
  const auto* draw = SuiteAs<ADMDrawerSuite>(SuiteId::ADMDrawer);
  const AIPoint baseline{anchor.h - 3, anchor.v - 11};
  AIErr error = draw->SetColor(drawer, color);
  if (error == kNoErr) error = draw->DrawText(drawer, "C", &baseline);
  return error;
}

}  // namespace

AIErr registerAnnotator(SPPluginRef plugin) {
  PluginState& s = *State();
  const auto* annotators = SuiteAs<AIAnnotatorSuite>(SuiteId::Annotator);
  AIErr error = annotators->AddAnnotator(plugin, kAnnotatorName, &s.annotatorHandle);
  if (error != kNoErr) return error;
  return annotators->SetAnnotatorActive(s.annotatorHandle, 0);
}

AIErr onInvalidate(void* message) {
  PluginState& s = *State();
  const auto& annotation = *static_cast<const AIAnnotatorMessage*>(message);
  const auto* annotators = SuiteAs<AIAnnotatorSuite>(SuiteId::Annotator);
  if (s.marqueeShown) return annotators->InvalAnnotationRect(annotation.view, &s.marqueeViewRect);
  const AIErr error = computeViewRect(s, annotation.view);
  if (error != kNoErr) return error;
  return annotators->InvalAnnotationRect(annotation.view, &s.viewRect);
}

AIRect spannedRect(const AIPoint& a, const AIPoint& b, int32_t margin) {
  return AIRect{std::min(a.h, b.h) - margin, std::min(a.v, b.v) - margin,
                std::max(a.h, b.h) + margin, std::max(a.v, b.v) + margin};
}

int32_t arrowheadIndex(double arrowAngle) {
  if (!(arrowAngle >= 0.0 && arrowAngle < 2 * kPi)) return -1;
  double degrees = arrowAngle * 180.0 / kPi + 185.0;
  if (degrees >= 360.0) degrees -= 360.0;
  return std::clamp(static_cast<int32_t>(degrees / 10.0), 0, kArrowheadCount - 1);
}

bool shouldDraw(const PluginState& s, bool ctrlHeld) {
  const Settings& settings = s.settings;
  const bool nothingToShow =
      s.dragMode == kDragMarquee && !s.marqueeShown && s.pointCount == 0 &&
      !(s.ringShown && settings.use_ring) && !s.tangencySnapped &&
      !((s.hoverLabelKind == kLabelOpenPath || s.hoverLabelKind == kLabelClosedPath) &&
        settings.snap_to_tangencies && settings.highlight_tangencies) &&
      !settings.recognize_connectors;
  if (!nothingToShow && !s.toolSuspended && !(ctrlHeld && !settings.slowdragCtrl)) return true;
  // Suspended, or Ctrl held: only a pending full redraw of kept points.
  return s.fullRedrawPending && s.pointCount > 0;
}

AIErr drawBoxedLabel(PluginState& s, ADMDrawerRef drawer, AIPoint at) {
  const auto* draw = SuiteAs<ADMDrawerSuite>(SuiteId::ADMDrawer);
  const bool large = s.settings.boxed_text_large != 0;
  int32_t width = 0;
  AIErr error = draw->GetTextWidth(drawer, s.hoverLabel, &width);
  const AIPoint origin{at.h + 17, at.v + 24 + (large ? 2 : 0)};
  AIRect box{at.h + 13, origin.v - 11 - (large ? 2 : 0), at.h + 17 + width + 3, origin.v + 4};
  s.labelRect = AIRect{box.left - 6, box.top - 6, box.right + 6, box.bottom + 6};
  error = draw->SetColor(drawer, kADMWhiteColor);
  error = draw->FillRect(drawer, &box);
  error = draw->SetColor(drawer, kRed);
  error = draw->FrameRect(drawer, &box);
  error = draw->DrawText(drawer, s.hoverLabel, &origin);
  return error;
}

namespace {

// How far a point's marks reach beyond its anchor and handles, in pixels: the rings, squares and
// dots; the "C" of a connector reaches further up.
constexpr int32_t kMarkReach = 8;
constexpr int32_t kConnectorMarkReach = 32;

// Whether the box round these view points, grown by reach, misses every rectangle of clip.
bool missesClip(std::span<const AIPoint> points, int32_t reach, std::span<const AIRect> clip) {
  AIRect box{points[0].h, points[0].v, points[0].h, points[0].v};
  for (const AIPoint& p : points) {
    box.left = std::min(box.left, p.h);
    box.top = std::min(box.top, p.v);
    box.right = std::max(box.right, p.h);
    box.bottom = std::max(box.bottom, p.v);
  }
  // In 64 bits: a point far outside the view may lie near the ends of the 32-bit range.
  const int64_t left = int64_t{box.left} - reach, right = int64_t{box.right} + reach;
  const int64_t top = int64_t{box.top} - reach, bottom = int64_t{box.bottom} + reach;
  return std::none_of(clip.begin(), clip.end(), [&](const AIRect& c) {
    return std::max<int64_t>(c.left, left) < std::min<int64_t>(c.right, right) &&
           std::max<int64_t>(c.top, top) < std::min<int64_t>(c.bottom, bottom);
  });
}

}  // namespace

AIErr drawPointMarks(PluginState& s, const PointRecord& point, AIDocumentViewHandle view,
                     ADMDrawerRef drawer, bool connectorMark, std::span<const AIRect> clip) {
  const auto* views = SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView);
  const auto* draw = SuiteAs<ADMDrawerSuite>(SuiteId::ADMDrawer);
  const AIPathSegment& segment = point.segment;
  AIPoint anchor{};
  AIErr error = views->ArtworkPointToViewPoint(view, &segment.p, &anchor);
  if (error != kNoErr) return error;

  struct Side {
    std::size_t shown;
    std::size_t selected;
    AIRealPoint handle;
  };
  const Side sides[] = {{kInHandleShown, kInHandleFlag, segment.in},
                        {kOutHandleShown, kOutHandleFlag, segment.out}};
  // The view points of the handles that are drawn.
  std::optional<AIPoint> handles[2];
  AIPoint reached[3] = {anchor, anchor, anchor};
  for (std::size_t k = 0; k < 2; ++k) {
    const Side& side = sides[k];
    if (!point.shownParts[side.shown] || SamePoint(side.handle, segment.p)) continue;
    AIPoint h{};
    if (views->ArtworkPointToViewPoint(view, &side.handle, &h) != kNoErr) continue;
    handles[k] = h;
    reached[k + 1] = h;
  }
  // Marks wholly outside the area being drawn would all be clipped away.
  if (!clip.empty() &&
      missesClip(reached, connectorMark ? kConnectorMarkReach : kMarkReach, clip)) {
    return kNoErr;
  }

  for (std::size_t k = 0; k < 2; ++k) {
    const Side& side = sides[k];
    if (!handles[k]) continue;
    const AIPoint h = *handles[k];
    error = draw->SetRGBColor(drawer, &point.layerColor);
    if (!s.marqueeShown && !s.marqueeCancelled) error = draw->DrawLine(drawer, &h, &anchor);
    if (point.handleFlags[side.selected] && s.pointCount > 0) {
      // A handle the tool keeps selected: a larger ring.
      AIRect r{h.h - 3, h.v - 3, h.h + 5, h.v + 5};
      if (s.directionHandleMarkType < 11) {
        error = draw->SetColor(drawer, kADMWhiteColor);
      } else {
        error = draw->SetRGBColor(drawer, &point.layerColor);
      }
      error = draw->FillOval(drawer, &r);
      r.right -= 1;
      r.bottom -= 1;
      error = draw->SetRGBColor(drawer, &point.layerColor);
      error = draw->FrameOval(drawer, &r);
      continue;
    }
    AIRect r{h.h - 2, h.v - 2, h.h + 3, h.v + 3};
    if (s.directionHandleMarkType == 10) {
      r.top -= 1;
      r.bottom -= 1;
      const AIRect centre{h.h - 1, h.v - 2, h.h + 2, h.v + 1};
      error = draw->FillRect(drawer, &centre);
      error = draw->FrameOval(drawer, &r);
    } else if (s.directionHandleMarkType == 11) {
      error = draw->SetColor(drawer, kADMWhiteColor);
      error = draw->FillOval(drawer, &r);
      r.left -= 1;
      r.top -= 1;
      error = draw->SetRGBColor(drawer, &point.layerColor);
      error = draw->FrameOval(drawer, &r);
    } else {
      error = draw->FillOval(drawer, &r);
    }
  }

  if (point.shownParts[kAnchorShown]) {
    const bool selected = point.selectionState == kAISegmentPointSelected;
    const bool large = (s.selectedAnchorMarkLarge && selected) || s.unselectedAnchorMarkLarge;
    const AIRect r = large ? AIRect{anchor.h - 3, anchor.v - 3, anchor.h + 2, anchor.v + 2}
                           : AIRect{anchor.h - 2, anchor.v - 2, anchor.h + 2, anchor.v + 2};
    if (selected) {
      error = draw->SetRGBColor(drawer, &point.layerColor);
    } else {
      error = draw->SetColor(drawer, kADMWhiteColor);
    }
    error = draw->FillRect(drawer, &r);
    error = draw->SetRGBColor(drawer, &point.layerColor);
    error = draw->FrameRect(drawer, &r);
  }

  if (connectorMark) error = drawConnectorMark(drawer, anchor, kRed);
  return error;
}

namespace {

// The "C" marks of the connector points of the hovered path, red while the handle lies within the
// allowance of the straight segment, grey otherwise.
void drawHoverConnectors(PluginState& s, AIDocumentViewHandle view, ADMDrawerRef drawer) {
  const auto* views = SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView);
  const WholePath path = readWholePath(s.hoverArt);
  const int32_t count = path.count();
  if (count <= 2) return;
  ConnectorQuery query;
  query.recognizeConnectors = s.settings.recognize_connectors != 0;
  query.angleThresholdRadians = s.angleThresholdRadians;
  query.dragMode = s.dragMode;
  query.anchorCase = s.anchorCase;
  for (int32_t k = 0; k < count; ++k) {
    const AIPathSegment& point = path.segments[static_cast<std::size_t>(k)];
    const ConnectorState state = TestConnector(point, k, path.segments, path.closed, query);
    if (!state.isConnector) continue;
    const double length = state.handleLength;
    const double allowance = length > 1 ? 0.04 : (length < 0.01 ? 10.0 : 0.1 / length);
    // The two angles are both in [0, 2π): a handle a little clockwise of its line differs by
    // almost 2π, and deviates as little as one a little counter-clockwise.
    const double error = state.angleError;
    const double deviation = std::min(error, 2 * kPi - error);
    AIPoint anchor{};
    if (views->ArtworkPointToViewPoint(view, &point.p, &anchor) != kNoErr) continue;
    drawConnectorMark(drawer, anchor, allowance * kPi / 180.0 > deviation ? kRed : kGrey);
  }
}

// The dots at the tangency candidates of the add-point preview.
void drawTangencyDots(PluginState& s, AIDocumentViewHandle view, ADMDrawerRef drawer) {
  const auto* views = SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView);
  const auto* draw = SuiteAs<ADMDrawerSuite>(SuiteId::ADMDrawer);
  for (double t : s.tangencyCandidates) {
    if (!(t > 0.0 && t < 1.0)) continue;
    const AIRealPoint p = PointToHost(PointAt(s.hoverBezier, t));
    AIPoint at{};
    if (views->ArtworkPointToViewPoint(view, &p, &at) != kNoErr) continue;
    const AIPoint corner{at.h - 8, at.v - 8};
    draw->DrawIcon(drawer, s.dotIcon, &corner);
  }
}

// The long red line through the snapped tangency, along the curve's direction there.
void drawTangencyLine(PluginState& s, AIDocumentViewHandle view, ADMDrawerRef drawer) {
  const auto* views = SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView);
  const auto* draw = SuiteAs<ADMDrawerSuite>(SuiteId::ADMDrawer);
  AIReal zoom = 1;
  views->GetDocumentViewZoom(view, &zoom);
  if (zoom == 0) zoom = 0.01f;
  const double length = 4000.0 / zoom;
  const double dh = length * std::cos(s.arrowAngle);
  const double dv = length * std::sin(s.arrowAngle);
  const AIRealPoint from{static_cast<AIReal>(s.tangencyPoint.h - dh),
                         static_cast<AIReal>(s.tangencyPoint.v - dv)};
  const AIRealPoint to{static_cast<AIReal>(s.tangencyPoint.h + dh),
                       static_cast<AIReal>(s.tangencyPoint.v + dv)};
  AIPoint a{};
  AIPoint b{};
  if (views->ArtworkPointToViewPoint(view, &from, &a) != kNoErr ||
      views->ArtworkPointToViewPoint(view, &to, &b) != kNoErr) {
    return;
  }
  draw->SetColor(drawer, kRed);
  draw->DrawLine(drawer, &a, &b);
}

// The ring around what the cursor is over, with its label and the direction arrowhead.
void drawRing(PluginState& s, AIDocumentViewHandle view, ADMDrawerRef drawer,
              ADMDrawerRef labelDrawer) {
  const auto* views = SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView);
  const auto* draw = SuiteAs<ADMDrawerSuite>(SuiteId::ADMDrawer);
  const Settings& settings = s.settings;
  AIPoint centre{};
  if (views->ArtworkPointToViewPoint(view, &s.hoverPoint, &centre) != kNoErr) return;
  const bool labelImage = settings.ring_has_text && !settings.boxed_text;
  const AIPoint corner{labelImage ? centre.h - 96 : centre.h - 12, centre.v - 12};
  s.cursorMarkRect = AIRect{corner.h - 6, corner.v - 6,
                            settings.ring_has_text ? corner.h + 120 : corner.h + 36, corner.v + 36};
  if (labelImage && s.hoverLabelKind >= 0 && s.hoverLabelKind < kLabelCount) {
    draw->DrawIcon(drawer, s.labelIcons[s.hoverLabelKind], &corner);
  } else if (labelImage) {
    // Nothing labelled: the ring alone, where the label picture has its ring.
    const AIPoint ringCorner{centre.h - 12, corner.v};
    draw->DrawIcon(drawer, s.ringIcon, &ringCorner);
  } else {
    draw->DrawIcon(drawer, s.ringIcon, &corner);
    if (settings.ring_has_text && s.hoverLabelKind != kLabelNone) {
      drawBoxedLabel(s, labelDrawer, centre);
    }
  }
  const int32_t index = arrowheadIndex(s.arrowAngle);
  if (index >= 0) {
    const AIPoint arrowCorner{centre.h - 18, centre.v - 18};
    draw->DrawIcon(drawer, s.arrowheadIcons[index], &arrowCorner);
  }
}

// The marquee frame, and the invalidations that keep it and its previous place up to date.
void drawMarquee(PluginState& s, AIDocumentViewHandle view, ADMDrawerRef drawer) {
  const auto* views = SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView);
  const auto* draw = SuiteAs<ADMDrawerSuite>(SuiteId::ADMDrawer);
  const auto* annotators = SuiteAs<AIAnnotatorSuite>(SuiteId::Annotator);
  AIPoint previous{};
  views->ArtworkPointToViewPoint(view, &s.previousMarqueeCorner, &previous);
  views->ArtworkPointToViewPoint(view, &s.pressPoint, &s.marqueeStartView);
  views->ArtworkPointToViewPoint(view, &s.marqueeCorner, &s.marqueeCornerView);
  const AIRect old = spannedRect(s.marqueeStartView, previous, 4);
  annotators->InvalAnnotationRect(view, &old);
  if (s.marqueeCancelled) return;
  AIRect frame = spannedRect(s.marqueeStartView, s.marqueeCornerView, 0);
  frame.right += 1;
  frame.bottom += 1;
  s.marqueeViewRect = AIRect{frame.left - 4, frame.top - 4, frame.right + 4, frame.bottom + 4};
  annotators->InvalAnnotationRect(view, &s.marqueeViewRect);
  draw->SetDrawMode(drawer, kADMNormalMode);
  draw->SetColor(drawer, s.marqueeColor);
  draw->FrameRect(drawer, &frame);
}

// Reads the kept points' segments from the host: one read for each run of entries on the same
// path whose indices lie close together, one read per entry where that read fails (a path that
// has become shorter) or the indices lie far apart. An entry whose read fails keeps its segment.
void refreshEntrySegments(PluginState& s) {
  const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
  std::vector<AIPathSegment> read;
  int i = 0;
  while (i < s.pointCount) {
    const AIArtHandle art = s.pointTable[i].art;
    int end = i;
    int32_t low = s.pointTable[i].segmentIndex;
    int32_t high = low;
    while (end < s.pointCount && s.pointTable[end].art == art) {
      low = std::min<int32_t>(low, s.pointTable[end].segmentIndex);
      high = std::max<int32_t>(high, s.pointTable[end].segmentIndex);
      ++end;
    }
    const int32_t span = high - low + 1;
    bool together = end - i > 1 && low >= 0 && span <= 2 * (end - i) + 16;
    if (together) {
      read.resize(static_cast<std::size_t>(span));
      together = paths->GetPathSegments(art, low, span, read.data()) == kNoErr;
    }
    for (; i < end; ++i) {
      PointRecord& entry = s.pointTable[i];
      if (together) {
        entry.segment = read[static_cast<std::size_t>(entry.segmentIndex - low)];
      } else {
        paths->GetPathSegments(entry.art, entry.segmentIndex, 1, &entry.segment);
      }
    }
  }
}

}  // namespace

AIErr onDraw(void* message) {
  PluginState& s = *State();
  const auto& annotation = *static_cast<const AIAnnotatorMessage*>(message);
  const auto* draw = SuiteAs<ADMDrawerSuite>(SuiteId::ADMDrawer);
  const Settings& settings = s.settings;

  // 1. Whether there is anything to draw now.
  AIBoolean ctrlHeld = 0;
  SuiteAs<ADMTrackerSuite>(SuiteId::ADMTracker)->TestModifier(nullptr, kAICtrlModifier, &ctrlHeld);
  if (!shouldDraw(s, ctrlHeld != 0)) return kNoErr;

  // 2. Drawers on the message's port over the whole front view.
  s.fullRedrawPending = 0;
  const AIDocumentViewHandle view = frontView();
  if (view == nullptr) return kNoDocumentErr;
  AIErr error = computeViewRect(s, view);
  if (error != kNoErr) return error;
  ADMDrawerRef drawer = nullptr;
  error = draw->Create(annotation.port, &s.viewRect, kADMBoldPaletteFont, &drawer);
  if (error != kNoErr) return error;
  draw->SetDrawMode(drawer, kADMNormalMode);
  ADMDrawerRef largeDrawer = nullptr;
  if (settings.boxed_text_large &&
      draw->Create(annotation.port, &s.viewRect, kADMBoldDialogFont, &largeDrawer) == kNoErr) {
    draw->SetDrawMode(largeDrawer, kADMNormalMode);
  }

  // 3. Only the invalidated rectangles are drawn.
  std::vector<AIRect> clips;
  clips.reserve(static_cast<std::size_t>(std::max(annotation.invalidationRectCount, 0)));
  for (int32_t i = 0; i < annotation.invalidationRectCount; ++i) {
    const AIRealRect& r = annotation.invalidationRects[i];
    const AIRect clip{static_cast<int32_t>(r.left), static_cast<int32_t>(r.top),
                      static_cast<int32_t>(r.right), static_cast<int32_t>(r.bottom)};
    clips.push_back(clip);
    error = i == 0 ? draw->SetClipRect(drawer, &clip) : draw->AddClipRect(drawer, &clip);
    // The large label's drawer stays inside the same area, so no stale label is left behind.
    if (largeDrawer != nullptr) {
      i == 0 ? draw->SetClipRect(largeDrawer, &clip) : draw->AddClipRect(largeDrawer, &clip);
    }
  }

  // 4. The kept points, or the points of the press being dragged.
  const bool singleEntryDragged = s.pointCount == 1 && s.dragStarted && !s.marqueeShown;
  if (s.pointCount > 0 && !s.hideEdges && !singleEntryDragged) {
    refreshEntrySegments(s);
    for (int i = 0; i < s.pointCount; ++i) {
      error = drawPointMarks(s, s.pointTable[i], view, drawer, false, clips);
    }
  } else if (!s.marqueeShown && !s.hideEdges && s.dragMode != kDragMarquee) {
    const bool tableEmpty = s.pointCount == 0;
    error = drawPointMarks(s, s.grabbedPoint, view, drawer,
                           tableEmpty && s.grabbedConnector.isConnector, clips);
    if (s.previousPoint.segmentIndex >= 0) {
      error = drawPointMarks(s, s.previousPoint, view, drawer,
                             tableEmpty && s.previousConnector.isConnector, clips);
    }
    if (s.dragMode != kDragSegment && s.nextPoint.segmentIndex >= 0) {
      error = drawPointMarks(s, s.nextPoint, view, drawer,
                             tableEmpty && s.nextConnector.isConnector, clips);
    }
  }

  // 5. to 9. Hover feedback and the marquee.
  if (s.dragMode == kDragMarquee && s.hoverArt != nullptr && settings.recognize_connectors) {
    drawHoverConnectors(s, view, drawer);
  }
  if (s.addPointPreview && settings.highlight_tangencies && s.toolDragged == 2) {
    drawTangencyDots(s, view, drawer);
  }
  if (s.tangencySnapped) drawTangencyLine(s, view, drawer);
  if (s.ringShown && settings.use_ring) {
    drawRing(s, view, drawer, largeDrawer != nullptr ? largeDrawer : drawer);
  }
  if (s.marqueeShown) drawMarquee(s, view, drawer);

  // 10.
  if (largeDrawer != nullptr) draw->Destroy(largeDrawer);
  draw->Destroy(drawer);
  return error;
}

}  // namespace sq
