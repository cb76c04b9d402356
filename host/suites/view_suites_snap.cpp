// The cursor snap suite: anchor snapping per view, custom constraint lines and smart targeting.
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "hittest/snap.hpp"
#include "prefs/host_preferences.hpp"
#include "suites/view_suites.hpp"

namespace sqhost {
namespace {

// The custom constraints in force. They belong to the host and the tool that were current when
// they were set: choosing another tool (or starting another host) drops them.
struct Constraints {
  const Host* owner = nullptr;
  const ToolRecord* tool = nullptr;
  std::vector<SnapLine> lines;
  std::vector<std::string> labels;  // kept for the snapping feedback
};

Constraints& constraints() {
  static Constraints c;
  return c;
}

std::vector<SnapLine> currentLines() {
  const Constraints& c = constraints();
  if (c.owner != &host() || c.tool != host().registrations().currentTool()) return {};
  return c.lines;
}

// The host's constrain angle in degrees, 0 when not stored.
double constrainAngle() {
  return hostPreferenceNumber(host().preferences(), "constrain/angle").value_or(0.0);
}

AIErr track(AIDocumentViewHandle handle, const AIRealPoint* cursor, const AIEvent* /*event*/,
            const char* control, AIRealPoint* outSnapped) {
  return guarded([&] {
    if (handle == nullptr || cursor == nullptr || control == nullptr || outSnapped == nullptr) {
      return kBadParameterErr;
    }
    View* view = host().views().fromHandle(handle);
    if (view == nullptr) return kBadHandleErr;
    if (!isFinite(*cursor)) return kNonFiniteErr;
    const Document* doc = host().documents().find(view->document);
    if (doc == nullptr) return kBadHandleErr;
    const std::vector<SnapLine> lines = currentLines();
    *outSnapped = snapCursor(*doc, *view, *cursor, parseSnapControl(control), lines,
                             tolerancePreference("smartGuides/tolerance"));
    return kNoErr;
  });
}

AIErr useSmartTargeting(AIDocumentViewHandle handle, AIBoolean* outOn) {
  return guarded([&] {
    if (outOn == nullptr) return kBadParameterErr;
    View* view = host().views().fromHandle(handle);
    if (view == nullptr) return kBadHandleErr;
    *outOn = view->smartGuides ? 1 : 0;
    return kNoErr;
  });
}

AIErr setSmartTargeting(AIDocumentViewHandle handle, AIBoolean on) {
  return guarded([&] {
    View* view = host().views().fromHandle(handle);
    if (view == nullptr) return kBadHandleErr;
    view->smartGuides = on != 0;
    return kNoErr;
  });
}

AIErr setCustomConstraints(const AICursorConstraint* given, int32_t count) {
  return guarded([&] {
    if (count < 0 || (count > 0 && given == nullptr)) return kBadParameterErr;
    const double base = constrainAngle();
    Constraints next{&host(), host().registrations().currentTool(), {}, {}};
    for (int32_t i = 0; i < count; ++i) {
      const AICursorConstraint& c = given[i];
      if (c.kind != kAILinearConstraintRelative) return kBadParameterErr;
      if ((c.flags & ~kAISoftConstraintFlag) != 0) return kBadParameterErr;
      if (!isFinite(c.origin) || !std::isfinite(c.angle)) return kNonFiniteErr;
      const double degrees = static_cast<double>(c.angle) + base;
      next.lines.push_back(
          {c.origin, degrees * std::numbers::pi / 180, (c.flags & kAISoftConstraintFlag) != 0});
      next.labels.emplace_back(c.label ? c.label : "");
    }
    constraints() = std::move(next);
    return kNoErr;
  });
}

AIErr clearCustomConstraints() {
  return guarded([&] {
    constraints() = Constraints{};
    return kNoErr;
  });
}

}  // namespace

const AICursorSnapSuite kCursorSnapSuiteTable = {
    track, useSmartTargeting, setSmartTargeting, setCustomConstraints, clearCustomConstraints,
};

}  // namespace sqhost
