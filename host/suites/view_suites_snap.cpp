// The cursor snap suite: anchor snapping per view, custom constraint lines and smart targeting.
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "hittest/snap.hpp"
#include "prefs/host_preferences.hpp"
#include "sqsdk/suites/ai_preference.h"
#include "suites/view_suites.hpp"

namespace sqhost {
namespace {

// The custom constraints in force. They belong to the host and the period of the tool that was
// current when they were set: choosing another tool (even choosing the same tool again later), or
// starting another host, drops them. The end of a gesture does not: the tool clears them itself.
struct Constraints {
  const Host* owner = nullptr;
  uint64_t toolPeriod = 0;
  std::vector<SnapLine> lines;
  std::vector<std::string> labels;  // kept for the snapping feedback
};

Constraints& constraints() {
  static Constraints c;
  return c;
}

// A constraint label, given in the Windows-1252 code page, as UTF-8 for the snapping feedback.
std::string labelText(const char* label) {
  // The code points of 0x80 .. 0x9F; 0 where the code page leaves a byte undefined.
  static constexpr char16_t kHigh[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  std::string out;
  for (const char* p = label; p != nullptr && *p != '\0'; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    char32_t c = byte;
    if (byte >= 0x80 && byte < 0xA0) c = kHigh[byte - 0x80] != 0 ? kHigh[byte - 0x80] : 0xFFFD;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool constraintsInForce() {
  const Constraints& c = constraints();
  return c.owner == &host() && c.toolPeriod == host().registrations().toolChanges();
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
    const bool inForce = constraintsInForce();
    const Constraints& c = constraints();
    const std::span<const SnapLine> lines =
        inForce ? std::span<const SnapLine>(c.lines) : std::span<const SnapLine>();
    const SnapResult snapped =
        snapCursor(*doc, *view, *cursor, parseSnapControl(control), lines,
                   tolerancePreference("smartGuides/tolerance"),
                   hostPreferenceNumber(host().preferences(), kAIPrefGridSpacing).value_or(72.0));
    *outSnapped = snapped.point;
    view->snapLabel = view->smartGuides && snapped.line >= 0
                          ? c.labels[static_cast<std::size_t>(snapped.line)]
                          : std::string();
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
    Constraints next{&host(), host().registrations().toolChanges(), {}, {}};
    for (int32_t i = 0; i < count; ++i) {
      const AICursorConstraint& c = given[i];
      if (c.kind != kAILinearConstraintRelative) return kBadParameterErr;
      if ((c.flags & ~kAISoftConstraintFlag) != 0) return kBadParameterErr;
      if (!isFinite(c.origin) || !std::isfinite(c.angle)) return kNonFiniteErr;
      const double degrees = static_cast<double>(c.angle) + base;
      next.lines.push_back(
          {c.origin, degrees * std::numbers::pi / 180, (c.flags & kAISoftConstraintFlag) != 0});
      next.labels.push_back(labelText(c.label));
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
