// Counting redundant points on the selected paths.
#include "commands/redundant_points.hpp"

#include <cmath>

#include "shell/host_suites.hpp"
#include "shell/shared_operations.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_art_set.h"
#include "sqsdk/suites/ai_notifier.h"

namespace sq {

namespace {

constexpr int kSelectionChangedNotifier = 1;  // position in notifierHandles

bool samePoint(const AIRealPoint& a, const AIRealPoint& b) {
  return a.h == b.h && a.v == b.v;
}

}  // namespace

bool IsRedundantPoint(const AIPathSegment& point, const AIPathSegment& before) {
  const float dh = point.p.h - before.p.h;
  const float dv = point.p.v - before.p.v;
  return std::sqrt(dh * dh + dv * dv) <= kRedundantTolerance && samePoint(point.in, point.p) &&
         samePoint(before.out, before.p);
}

int32_t CountRedundantPoints(std::span<const AIPathSegment> path, bool closed) {
  auto n = static_cast<int32_t>(path.size());
  if (n <= 2) return 0;
  int32_t found = 0;
  for (int32_t i = n - 1; i >= (closed ? 0 : 1); --i) {
    const int32_t j = i > 0 ? i - 1 : n - 1;
    if (!IsRedundantPoint(path[static_cast<std::size_t>(i)], path[static_cast<std::size_t>(j)])) {
      continue;
    }
    if (closed) --n;
    if (n > 1) ++found;
  }
  return found;
}

int32_t CountRedundantPoints(PluginState& s) {
  if (s.workingPathCount < 1 || s.workingArtSet == nullptr) return 0;
  const auto* sets = SuiteAs<AIArtSetSuite>(SuiteId::ArtSet);
  const auto* arts = SuiteAs<AIArtSuite>(SuiteId::Art);
  const auto* notifiers = SuiteAs<AINotifierSuite>(SuiteId::Notifier);
  AINotifierHandle selectionChanged = s.notifierHandles[kSelectionChangedNotifier];
  if (selectionChanged != nullptr) notifiers->SetNotifierActive(selectionChanged, 0);
  int32_t found = 0;
  for (int32_t k = 0; k < s.workingArtCount; ++k) {
    AIArtHandle art = nullptr;
    int32_t type = kAIUnknownArt;
    if (sets->IndexArtSet(s.workingArtSet, k, &art) != kNoErr ||
        arts->GetArtType(art, &type) != kNoErr || type != kAIPathArt) {
      continue;
    }
    const WholePath path = readWholePath(art);
    found += CountRedundantPoints(path.segments, path.closed);
  }
  if (selectionChanged != nullptr) notifiers->SetNotifierActive(selectionChanged, 1);
  return found;
}

}  // namespace sq
