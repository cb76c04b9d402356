// Inserting an anchor into the grabbed segment without changing the curve.
#include "tool/add_point.hpp"

#include <cmath>

#include "shell/host_suites.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_basic.h"
#include "sqsdk/suites/ai_path.h"
#include "sqsdk/suites/ai_real_bezier.h"
#include "tool/gesture.hpp"

namespace sq {

namespace {

constexpr const char* kPathFullText =
    "Can't add a point. The path already contains the maximum number of points allowed.";

}  // namespace

AIErr AddPointToSegment(PluginState& s) {
  const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
  const auto* beziers = SuiteAs<AIRealBezierSuite>(SuiteId::RealBezier);
  PointRecord& start = s.previousPoint;
  PointRecord& end = s.grabbedPoint;

  AIRealBezier curve{};
  AIErr error = paths->GetPathBezier(start.art, start.segmentIndex, &curve);
  if (error != kNoErr) return error;
  // The host divides only inside [0, 1]; a parameter from outside it cannot name a position.
  float t = s.segmentParameter;
  if (!std::isfinite(t)) return kBadParameterErr;
  t = std::fmin(std::fmax(t, 0.0f), 1.0f);
  AIRealBezier first{};
  AIRealBezier second{};
  error = beziers->DivideBezier(&curve, t, &first, &second);
  if (error != kNoErr) return error;

  // The two halves trace the old curve: the outer handles shorten, and the new point takes the
  // inner control points of the halves, collinear through it, so it is smooth.
  const AIPathSegment oldStart = start.segment;
  const AIPathSegment oldEnd = end.segment;
  const PointRecord oldNext = s.nextPoint;
  start.segment.out = first.p1;
  end.segment.in = second.p2;
  const AIPathSegment added{first.p3, first.p2, second.p1, 0};
  WritePoint(start);
  WritePoint(end);
  s.nextPoint = end;

  const int32_t index = end.segmentIndex;
  error = paths->InsertPathSegments(end.art, index, 1, &added);
  if (error != kNoErr) {
    // Without the new point the shortened handles would change the curve: put them back.
    start.segment = oldStart;
    end.segment = oldEnd;
    s.nextPoint = oldNext;
    WritePoint(start);
    WritePoint(end);
    return SuiteAs<ADMBasicSuite>(SuiteId::ADMBasic)->MessageAlert(kPathFullText);
  }
  s.nextPoint.segmentIndex = static_cast<int16_t>(index + 1);
  return ReadPoint(s.grabbedPoint, end.art, index);
}

}  // namespace sq
