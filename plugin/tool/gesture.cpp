// What the press, drag and release handlers of the tool share.
#include "tool/gesture.hpp"

#include "geometry/point_table.hpp"
#include "shell/host_suites.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/keyboard.h"
#include "sqsdk/suites/adm_tracker.h"
#include "sqsdk/suites/ai_cursor_snap.h"
#include "sqsdk/suites/ai_hit_test.h"
#include "sqsdk/suites/ai_path.h"

namespace sq {

int32_t HeldModifiers() {
  int32_t modifiers = 0;
  SuiteAs<ADMTrackerSuite>(SuiteId::ADMTracker)->GetModifiers(nullptr, &modifiers);
  return modifiers;
}

bool KeyIsDown(int32_t virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return false;
  uint8_t keys[256] = {};
  SQGetKeyboardState(keys);
  return (keys[virtualKey] & kKeyDownBit) != 0;
}

bool SmartGuidesOn(AIDocumentViewHandle view) {
  AIBoolean on = 0;
  SuiteAs<AICursorSnapSuite>(SuiteId::CursorSnap)->UseSmartTargeting(view, &on);
  return on != 0;
}

bool IsHostHit(AIHitRef hitRef) {
  AIBoolean yes = 0;
  if (hitRef == nullptr) return false;
  SuiteAs<AIHitTestSuite>(SuiteId::HitTest)->IsHit(hitRef, &yes);
  return yes != 0;
}

void ReleaseHostHit(AIHitRef& hitRef) {
  if (hitRef != nullptr) SuiteAs<AIHitTestSuite>(SuiteId::HitTest)->ReleaseHit(hitRef);
  hitRef = nullptr;
}

PointRecord& EditedPoint(PluginState& s, int record) {
  switch (record) {
    case kPreviousRecord:
      return s.previousPoint;
    case kNextRecord:
      return s.nextPoint;
    default:
      return s.grabbedPoint;
  }
}

ConnectorState& EditedConnector(PluginState& s, int record) {
  switch (record) {
    case kPreviousRecord:
      return s.previousConnector;
    case kNextRecord:
      return s.nextConnector;
    default:
      return s.grabbedConnector;
  }
}

AIErr ReadPoint(PointRecord& record, AIArtHandle art, int32_t index) {
  const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
  record.art = art;
  record.segmentIndex = static_cast<int16_t>(index);
  record.handleFlags.reset();
  AIErr error = readLayerColor(record);
  AIPathSegment segment{};
  error = paths->GetPathSegments(art, index, 1, &segment);
  if (error == kNoErr) record.segment = segment;
  record.savedSegment = record.segment;
  int32_t state = 0;
  error = paths->GetPathSegmentSelected(art, index, &state);
  record.selectionState = static_cast<int16_t>(state);
  return error;
}

AIErr WritePoint(const PointRecord& record) {
  return SuiteAs<AIPathSuite>(SuiteId::Path)
      ->SetPathSegments(record.art, record.segmentIndex, 1, &record.segment);
}

void StoreHandleDirection(PluginState& s) {
  const AIRealPoint anchor = s.grabbedPoint.segment.p;
  const float a = s.handleTarget.h - anchor.h;
  const float b = s.handleTarget.v - anchor.v;
  s.handleDirection = {a, b};
  if (a != 0.0f && b != 0.0f) {
    s.handleSlope = b / a;
    s.handleSlopeSum = b / a + a / b;
  }
}

}  // namespace sq
