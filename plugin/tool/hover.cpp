// What lies under the cursor while no button is pressed, and the Info panel values.
#include "tool/hover.hpp"

#include <cmath>
#include <cstring>
#include <numbers>

#include "geometry/curve.hpp"
#include "geometry/point_table.hpp"
#include "geometry/selection.hpp"
#include "geometry/tangents.hpp"
#include "shell/host_suites.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_basic.h"
#include "sqsdk/suites/adm_tracker.h"
#include "sqsdk/suites/ai_annotator.h"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_cursor_snap.h"
#include "sqsdk/suites/ai_document_view.h"
#include "sqsdk/suites/ai_hit_test.h"
#include "sqsdk/suites/ai_path.h"
#include "sqsdk/suites/ai_text_frame.h"
#include "sqsdk/suites/ai_tool.h"
#include "tool/gesture.hpp"

namespace sq {

namespace {

constexpr double kPi = std::numbers::pi;

// What the hit tests found, before it becomes hover state.
struct Hit {
  bool found = false;
  bool own = false;  // found by the plug-in's nearest-point search, not by the host
  int32_t type = 0;
  int32_t artType = 0;
  AIArtHandle art = nullptr;
};

void setLabel(PluginState& s, int32_t kind) {
  s.hoverLabelKind = kind;
  std::strncpy(s.hoverLabel, kLabelTexts[kind], sizeof s.hoverLabel - 1);
  s.hoverLabel[sizeof s.hoverLabel - 1] = '\0';
}

// Reads the hit's type and art (and the art's type) from a host hit reference.
void takeHostHit(AIHitRef hitRef, Hit& hit) {
  const auto* hits = SuiteAs<AIHitTestSuite>(SuiteId::HitTest);
  const auto* arts = SuiteAs<AIArtSuite>(SuiteId::Art);
  hit.found = true;
  hits->GetHitType(hitRef, &hit.type);
  hits->GetHitArt(hitRef, &hit.art);
  hit.artType = kAIUnknownArt;
  if (hit.art != nullptr) arts->GetArtType(hit.art, &hit.artType);
}

// Snaps the add-point preview to the nearest of the segment's horizontal, vertical and diagonal
// tangencies (relative to the constrain angle) that lies within the snap distance of the cursor.
void snapToTangency(PluginState& s, AIDocumentViewHandle view) {
  const double a = s.constrainAngle;
  const Curve& curve = s.hoverBezier;
  const std::array<double, 4> axis =
      AxisTangencies(a == 0.0 ? curve : RotateCurve(curve, -a * kPi / 180.0));
  const std::array<double, 4> diagonal = AxisTangencies(RotateCurve(curve, (45.0 - a) * kPi / 180));
  for (int i = 0; i < 4; ++i) {
    s.tangencyCandidates[i] = axis[static_cast<std::size_t>(i)];
    s.tangencyCandidates[4 + i] = diagonal[static_cast<std::size_t>(i)];
  }

  AIReal zoom = 1;
  SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView)->GetDocumentViewZoom(view, &zoom);
  if (zoom == 0) zoom = 0.01f;
  const double pixels = SmartGuidesOn(view) ? s.snapTolerance : s.pickRadius;
  const double distance = pixels / static_cast<double>(zoom);

  const AIRealPoint cursor = s.cursorPoint;
  float best = 99999.0f;
  for (double t : s.tangencyCandidates) {
    if (!(t > 0.0 && t < 1.0)) continue;
    const Point p = PointAt(curve, t);
    if (!(std::fabs(p.h - cursor.h) < distance && std::fabs(p.v - cursor.v) < distance)) continue;
    const float dh = cursor.h - static_cast<float>(p.h);
    const float dv = cursor.v - static_cast<float>(p.v);
    const float d = dh * dh + dv * dv;
    if (d < best) {
      best = d;
      s.tangencySnapped = 1;
      s.tangencyPoint = PointToHost(p);
      s.hoverPoint = s.tangencyPoint;
      s.tangencyParameter = t;
    }
  }
  if (s.tangencySnapped) s.arrowAngle = TangentAngleAt(curve, s.tangencyParameter);
}

// The hover state of a hit on a path: label, ring, arrow and cursor. Returns the cursor code.
int32_t describePathHit(PluginState& s, AIDocumentViewHandle view, const Hit& hit,
                        int32_t segmentIndex, AIHitRef hitRef, int32_t cursor) {
  const bool tableEmpty = s.pointCount == 0;
  if (hit.type == kHitInHandle || hit.type == kHitOutHandle) {
    const int32_t kind = hit.type == kHitInHandle ? kLabelInHandle : kLabelOutHandle;
    if (tableEmpty) {
      s.ringShown = 1;
      setLabel(s, kind);
      return kCursorHandle;
    }
    if (findEntry(s, hit.art, hit.type, segmentIndex)) {
      s.ringShown = 1;
      setLabel(s, kind);
      return kCursorSelectedHandle;
    }
    return cursor;
  }

  if (hit.type == kHitAnchor) {
    if (!tableEmpty) return cursor;
    const WholePath path = readWholePath(hit.art);
    if (segmentIndex < 0 || segmentIndex >= path.count()) return cursor;
    s.ringShown = 1;
    const bool corner = path.segments[static_cast<std::size_t>(segmentIndex)].corner != 0;
    setLabel(s, corner ? kLabelCornerPoint : kLabelSmoothPoint);
    s.arrowAngle = OutgoingAngle(path.segments, path.closed, segmentIndex);
    return corner ? kCursorCornerPoint : kCursorSmoothPoint;
  }

  if (hit.type != kHitSegment || !tableEmpty) return cursor;
  const Settings& settings = s.settings;
  if (!settings.use_ring_paths && !settings.snap_to_tangencies) return cursor;

  const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
  AIBoolean closed = 0;
  int32_t count = 0;
  paths->GetPathClosed(hit.art, &closed);
  paths->GetPathSegmentCount(hit.art, &count);
  setLabel(s, closed ? kLabelClosedPath : kLabelOpenPath);
  s.ringShown = settings.use_ring_paths ? 1 : 0;

  // Curve i runs from anchor i - 1 to anchor i; index 0 of a closed path is the closing curve.
  AIReal t = 0;
  SuiteAs<AIHitTestSuite>(SuiteId::HitTest)->GetHitParameter(hitRef, &t);
  const int32_t bezierIndex = (segmentIndex == 0 && closed) ? count - 1 : segmentIndex - 1;
  AIRealBezier bezier{};
  if (bezierIndex < 0 || paths->GetPathBezier(hit.art, bezierIndex, &bezier) != kNoErr) {
    return kCursorSegment;
  }
  s.hoverBezier = CurveFromHost(bezier);
  if (settings.use_ring_paths) s.arrowAngle = TangentAngleAt(s.hoverBezier, t);

  const int32_t modifiers = HeldModifiers();
  if (!settings.addpoints || (modifiers & kAIShiftModifier) || !(modifiers & kAIAltModifier)) {
    return kCursorSegment;
  }
  s.addPointPreview = 1;
  if (settings.snap_to_tangencies) snapToTangency(s, view);
  return kCursorAddPoint;
}

}  // namespace

AIErr setCursor(SPPluginRef plugin, int32_t code) {
  return SuiteAs<ADMBasicSuite>(SuiteId::ADMBasic)->SetCursorID(plugin, CursorResourceID(code));
}

void hoverHitTest(PluginState& s, const AIToolMessage& message) {
  // 1. A fresh hover state, keeping what was shown to tell what changed.
  setLabel(s, kLabelNone);
  const int32_t wasRingShown = s.ringShown;
  const int32_t wasSnapped = s.tangencySnapped;
  const AIRealPoint previousTangency = s.tangencyPoint;
  const int32_t wasPreview = s.addPointPreview;
  const Curve previousBezier = s.hoverBezier;
  const AIArtHandle previousArt = s.hoverArt;
  s.hoverArt = nullptr;
  s.ringShown = 0;
  s.tangencySnapped = 0;
  s.addPointPreview = 0;
  s.arrowAngle = -1;
  int32_t cursor = s.pointCount > 0 ? kCursorTableArrow : kCursorArrow;

  // 2. The test point: the raw cursor when the grid snaps, else the host's snapped cursor.
  const auto* views = SuiteAs<AIDocumentViewSuite>(SuiteId::DocumentView);
  const auto* hits = SuiteAs<AIHitTestSuite>(SuiteId::HitTest);
  const AIDocumentViewHandle view = frontView();
  AIRealPoint testPoint = message.cursor;
  if (view != nullptr) {
    AIBoolean showGrid = 0;
    AIBoolean snapToGrid = 0;
    views->GetDocumentViewGridOptions(view, &showGrid, &snapToGrid);
    if (!snapToGrid) {
      SuiteAs<AICursorSnapSuite>(SuiteId::CursorSnap)
          ->Track(view, &message.cursor, message.event, kAISnapControlHover, &testPoint);
    }
  }
  s.cursorPoint = testPoint;

  // 3. The host's hit test, everything a click could grab, then the same by art.
  Hit hit;
  AIHitRef hitRef = nullptr;
  if (view != nullptr) {
    hits->HitTest(nullptr, &testPoint, kAIHitRequestAll, &hitRef);
    if (!IsHostHit(hitRef)) {
      ReleaseHostHit(hitRef);
      hits->HitTest(nullptr, &testPoint, kAIHitRequestArt, &hitRef);
    }
    if (IsHostHit(hitRef)) takeHostHit(hitRef, hit);
  }

  // 4. Without a host hit (and without smart guides), the nearest anchor or visible handle.
  int32_t segmentIndex = 0;
  if (!hit.found && view != nullptr && !SmartGuidesOn(view)) {
    if (const auto nearest = findNearestPoint(s, view, s.pickRadius, testPoint)) {
      hit.found = true;
      hit.own = true;
      hit.type = nearest->hitPart;
      hit.art = nearest->art;
      hit.artType = nearest->artType;
      segmentIndex = nearest->segmentIndex;
      s.hoverPoint = nearest->point;
      testPoint = nearest->point;
    }
  }

  // 5. Area text and text on a path are hit through their path object.
  if (hit.found && !hit.own && hit.artType == kAITextFrameArt) {
    int32_t frameType = kAIPointTextType;
    SuiteAs<AITextFrameSuite>(SuiteId::TextFrame)->GetTextFrameType(hit.art, &frameType);
    if (frameType == kAIInPathTextType || frameType == kAIOnPathTextType) {
      ReleaseHostHit(hitRef);
      AIArtHandle pathObject = nullptr;
      SuiteAs<AITextFrameSuite>(SuiteId::TextFrame)->GetTextFramePathObject(hit.art, &pathObject);
      hit = Hit{};
      if (pathObject != nullptr) {
        hits->HitTest(pathObject, &testPoint, kAIHitRequestArt, &hitRef);
        if (IsHostHit(hitRef)) takeHostHit(hitRef, hit);
      }
    }
  }
  if (hit.found) s.hoverArt = hit.art;

  // 6. What the hit is.
  if (hit.found && hit.artType == kAIPathArt) {
    if (!hit.own) {
      hits->GetHitPoint(hitRef, &s.hoverPoint);
      hits->GetHitSegmentIndex(hitRef, &segmentIndex);
    }
    cursor = describePathHit(s, view, hit, segmentIndex, hitRef, cursor);
  }

  // 8. Invalidate what changed.
  const Settings& settings = s.settings;
  const auto* annotators = SuiteAs<AIAnnotatorSuite>(SuiteId::Annotator);
  if (!hit.found) {
    if (wasRingShown || wasPreview) invalidateView(s, s.currentView);
  } else if (!wasRingShown || s.tangencySnapped != wasSnapped ||
             (s.tangencySnapped && !SamePoint(s.tangencyPoint, previousTangency)) ||
             ((settings.recognize_connectors || settings.highlight_tangencies) &&
              s.addPointPreview != wasPreview) ||
             (s.addPointPreview && !CurvesEqual(s.hoverBezier, previousBezier)) ||
             (settings.recognize_connectors && s.hoverArt != previousArt)) {
    invalidateView(s, s.currentView);
  } else if (settings.boxed_text && view != nullptr) {
    AIPoint at{};
    if (views->ArtworkPointToViewPoint(view, &s.hoverPoint, &at) == kNoErr) {
      annotators->InvalAnnotationRect(view, &s.labelRect);
      const AIRect nearCursor{at.h + 7, at.v + 7, at.h + 40, at.v + 34};
      annotators->InvalAnnotationRect(view, &nearCursor);
    }
  }

  // 9. Done with the host's hit; show the cursor.
  ReleaseHostHit(hitRef);
  setCursor(message.d.self, cursor);
}

AIErr updateInfoPanel(PluginState& s) {
  const auto* tools = SuiteAs<AIToolSuite>(SuiteId::Tool);
  const bool dragShown = s.dragMode == kDragInHandle || s.dragMode == kDragOutHandle ||
                         (s.dragMode == kDragAnchor && s.dragStarted) || s.marqueeShown;
  if (!dragShown) {
    const int32_t vars[] = {kAIInfoDocX, kAIInfoDocY, kAIInfoEndOfList};
    const AIReal values[] = {s.cursorPoint.h, s.cursorPoint.v};
    return tools->SetToolInfoVarValues(s.toolHandle, vars, values);
  }

  AIRealPoint a{};
  AIRealPoint b{};
  const PointRecord& grabbed = s.grabbedPoint;
  if (!s.marqueeShown && !s.anchorMoved) {
    a = grabbed.segment.p;
    b = grabbed.handleFlags[kInHandleFlag] ? grabbed.segment.in : grabbed.segment.out;
  } else if (s.anchorMoved) {
    a = grabbed.savedSegment.p;
    b = grabbed.segment.p;
  } else {
    a = s.pressPoint;
    b = s.marqueeCorner;
  }
  const double width = static_cast<double>(b.h) - a.h;
  const double height = static_cast<double>(a.v) - b.v;
  const double rise = static_cast<double>(b.v) - a.v;
  const int32_t vars[] = {kAIInfoDocX,     kAIInfoDocY,        kAIInfoSizeX,    kAIInfoSizeY,
                          kAIInfoDistance, kAIInfoVectorAngle, kAIInfoEndOfList};
  const AIReal values[] = {s.cursorPoint.h,
                           s.cursorPoint.v,
                           static_cast<AIReal>(width),
                           static_cast<AIReal>(height),
                           static_cast<AIReal>(std::hypot(width, rise)),
                           static_cast<AIReal>(std::atan2(rise, width) * 180.0 / kPi)};
  return tools->SetToolInfoVarValues(s.toolHandle, vars, values);
}

}  // namespace sq
