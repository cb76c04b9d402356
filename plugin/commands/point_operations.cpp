// Operations on selected anchor points: handle mirrors, balancing and smoothing.
#include "commands/point_operations.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/tangents.hpp"
#include "shell/host_suites.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_path.h"

namespace sq {

namespace {

constexpr float kHalfPiF = 1.5707964f;
// The handle length of a lone point that gets handles without neighbours to measure by.
constexpr float kLonePointHandle = 72.0f;

// The host's point angle and distance: computed in double precision, rounded once.
float angleOf(AIRealPoint from, AIRealPoint to) {
  return static_cast<float>(
      std::atan2(static_cast<double>(to.v) - from.v, static_cast<double>(to.h) - from.h));
}

float lengthOf(AIRealPoint from, AIRealPoint to) {
  return static_cast<float>(
      std::hypot(static_cast<double>(to.h) - from.h, static_cast<double>(to.v) - from.v));
}

AIRealPoint polar(AIRealPoint origin, double length, float angle) {
  return {static_cast<AIReal>(origin.h + length * std::cos(static_cast<double>(angle))),
          static_cast<AIReal>(origin.v + length * std::sin(static_cast<double>(angle)))};
}

// The anchor of the point that follows / precedes i, wrapping on a closed path.
std::size_t nextOf(std::size_t i, std::size_t n) {
  return i + 1 < n ? i + 1 : 0;
}
std::size_t previousOf(std::size_t i, std::size_t n) {
  return i > 0 ? i - 1 : n - 1;
}

// Smooth handles for a point without any, from the directions to its two neighbours: both
// perpendicular to their bisector, smoothing × the nearer neighbour's distance long.
void extendBetween(AIPathSegment& point, AIRealPoint previous, AIRealPoint next, double smoothing) {
  const float a1 = NormalizeAngle(angleOf(point.p, previous));
  const float a2 = NormalizeAngle(angleOf(point.p, next));
  const float m = (a1 + a2) / 2.0f;
  const double length = smoothing * std::min(lengthOf(point.p, previous), lengthOf(point.p, next));
  point.in = polar(point.p, length, a2 > a1 ? m - kHalfPiF : m + kHalfPiF);
  MirrorInToOut(point);
}

}  // namespace

void MirrorInToOut(AIPathSegment& segment) {
  segment.out =
      polar(segment.p, lengthOf(segment.p, segment.in), angleOf(segment.p, segment.in) + kPiF);
}

void MirrorOutToIn(AIPathSegment& segment) {
  segment.in =
      polar(segment.p, lengthOf(segment.p, segment.out), angleOf(segment.p, segment.out) + kPiF);
}

void BalanceHandles(AIPathSegment& segment) {
  const float inLength = lengthOf(segment.p, segment.in);
  const float outLength = lengthOf(segment.p, segment.out);
  if (!(inLength > 0.0f && outLength > 0.0f)) return;
  const float a1 = NormalizeAngle(angleOf(segment.p, segment.in));
  const float a2 = NormalizeAngle(angleOf(segment.p, segment.out));
  const float m = (a1 + a2) / 2.0f;
  const bool inAbove = a1 > m;
  segment.in = polar(segment.p, inLength, inAbove ? m + kHalfPiF : m - kHalfPiF);
  segment.out = polar(segment.p, outLength, inAbove ? m - kHalfPiF : m + kHalfPiF);
}

int32_t HandleKind(const AIPathSegment& segment) {
  return (SamePoint(segment.in, segment.p) ? 0 : 1) | (SamePoint(segment.out, segment.p) ? 0 : 2);
}

void FixHandles(AIPathSegment& segment) {
  switch (HandleKind(segment)) {
    case 1:
      MirrorInToOut(segment);
      break;
    case 2:
      MirrorOutToIn(segment);
      break;
    case 3:
      BalanceHandles(segment);
      break;
    default:
      break;
  }
}

void PullToward(AIRealPoint& handle, AIRealPoint target, double distance, double smoothing) {
  handle = polar(handle, smoothing * distance, angleOf(handle, target));
}

AIErr SmoothPoints(PluginState& s, AIArtHandle path, bool indexMode, int32_t index,
                   bool setSmooth) {
  const auto* paths = SuiteAs<AIPathSuite>(SuiteId::Path);
  const WholePath whole = readWholePath(path);
  std::vector<AIPathSegment> points = whole.segments;
  const std::size_t n = points.size();
  if (n == 0) return kNoErr;

  std::vector<int32_t> states(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    paths->GetPathSegmentSelected(path, static_cast<int32_t>(i), &states[i]);
  }
  auto treated = [&](std::size_t i) {
    return indexMode ? static_cast<int32_t>(i) == index : states[i] == kAISegmentPointSelected;
  };
  const double smoothing = s.settings.smoothing;
  AIErr error = kNoErr;
  auto finish = [&](std::size_t i) {
    if (setSmooth) points[i].corner = 0;
    error = paths->SetPathSegments(path, static_cast<int32_t>(i), 1, &points[i]);
  };

  if (n == 1) {
    if (!treated(0)) return kNoErr;
    AIPathSegment& point = points[0];
    if (HandleKind(point) == 0) {
      point.in.h = point.p.h - kLonePointHandle;
      point.out.h = point.p.h + kLonePointHandle;
    } else {
      FixHandles(point);
    }
    finish(0);
    return error;
  }

  if (n == 2) {
    AIPathSegment& first = points[0];
    AIPathSegment& second = points[1];
    const double d = lengthOf(first.p, second.p);
    if (treated(0)) {
      if (HandleKind(first) != 0) {
        FixHandles(first);
      } else if (whole.closed) {
        first.out = polar(first.p, smoothing * d, angleOf(first.p, second.p) + kHalfPiF);
        MirrorOutToIn(first);
      } else {
        // Pulled toward the other point's in handle as that point will have it.
        AIPathSegment target = second;
        if (!indexMode && states[1] == kAISegmentPointSelected) FixHandles(target);
        PullToward(first.out, target.in, d, smoothing);
        MirrorOutToIn(first);
      }
      finish(0);
    }
    if (treated(1)) {
      if (HandleKind(second) != 0) {
        FixHandles(second);
      } else if (whole.closed) {
        second.out = polar(second.p, smoothing * d, angleOf(second.p, first.p) + kHalfPiF);
        MirrorOutToIn(second);
      } else {
        PullToward(second.in, first.out, d, smoothing);
        MirrorInToOut(second);
      }
      finish(1);
    }
    return error;
  }

  // Inner points take their handles from both neighbours.
  const std::size_t innerFirst = whole.closed ? 0 : 1;
  const std::size_t innerEnd = whole.closed ? n : n - 1;
  for (std::size_t i = innerFirst; i < innerEnd; ++i) {
    if (!treated(i)) continue;
    AIPathSegment& point = points[i];
    if (HandleKind(point) != 0) {
      FixHandles(point);
    } else {
      extendBetween(point, points[previousOf(i, n)].p, points[nextOf(i, n)].p, smoothing);
    }
    finish(i);
  }
  if (whole.closed) return error;

  // The ends of an open path lean toward the handle of their only neighbour.
  if (treated(0)) {
    AIPathSegment& point = points[0];
    if (HandleKind(point) != 0) {
      FixHandles(point);
    } else {
      PullToward(point.out, points[1].in, lengthOf(point.p, points[1].p), smoothing);
      MirrorOutToIn(point);
    }
    finish(0);
  }
  const std::size_t last = n - 1;
  if (treated(last)) {
    AIPathSegment& point = points[last];
    if (HandleKind(point) != 0) {
      FixHandles(point);
    } else {
      PullToward(point.in, points[last - 1].out, lengthOf(point.p, points[last - 1].p), smoothing);
      MirrorInToOut(point);
    }
    finish(last);
  }
  return error;
}

}  // namespace sq
