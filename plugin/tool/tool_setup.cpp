// Registering the editing tool with the host, with its icon, Info variables and pictures.
#include "tool/tool_setup.hpp"

#include <algorithm>
#include <cmath>

#include "shell/host_suites.hpp"
#include "shell/plugin_state.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_icon.h"
#include "sqsdk/suites/ai_preference.h"
#include "sqsdk/suites/ai_tool.h"

namespace sq {

AIErr registerTool(SPPluginRef plugin) {
  PluginState& s = *State();
  const auto* icons = SuiteAs<ADMIconSuite>(SuiteId::ADMIcon);
  const auto* tools = SuiteAs<AIToolSuite>(SuiteId::Tool);

  ADMIconRef toolIcon = nullptr;
  AIErr error = icons->GetFromResource(plugin, kToolIconID, 0, &toolIcon);

  // Asking twice for the pen tool's number gives the group and then the toolset to join.
  AIAddToolData data{};
  data.title = kToolName;
  data.tooltip = kToolName;
  data.icon = toolIcon;
  error = tools->GetToolNumberFromName(kAIPenToolName, &data.sameGroupAs);
  error = tools->GetToolNumberFromName(kAIPenToolName, &data.sameToolsetAs);

  error = tools->AddTool(plugin, kToolName, &data, kToolOptions, &s.toolHandle);
  if (error != kNoErr) return error;

  const int32_t infoVars[] = {kAIInfoDocX,     kAIInfoDocY,        kAIInfoSizeX,    kAIInfoSizeY,
                              kAIInfoDistance, kAIInfoVectorAngle, kAIInfoEndOfList};
  error = tools->SetToolInfoVars(s.toolHandle, infoVars);

  for (int i = 0; i < kArrowheadCount; ++i) {
    error = icons->GetFromResource(plugin, kArrowheadIconID, i, &s.arrowheadIcons[i]);
  }
  error = icons->GetFromResource(plugin, kRingIconID, 0, &s.ringIcon);
  for (int j = 0; j < kLabelCount; ++j) {
    error = icons->GetFromResource(plugin, kLabelIconID, j, &s.labelIcons[j]);
  }
  error = icons->GetFromResource(plugin, kDotIconID, 0, &s.dotIcon);
  return error;
}

namespace {

// The widest pick radius the tool works with, in pixels. A host may hand back any 32-bit value;
// radii outside [0, kMostPickPixels] would make pick squares inverted or large enough for view
// coordinates to overflow.
constexpr int32_t kMostPickPixels = 64;
// The host's handle mark styles; anything else draws as the default style.
constexpr int32_t kFirstHandleMark = 1;
constexpr int32_t kLastHandleMark = 11;
constexpr int32_t kDefaultHandleMark = 4;

int32_t pickPixels(int32_t value) {
  return std::clamp(value, int32_t{0}, kMostPickPixels);
}

}  // namespace

AIErr readHostPreferences(PluginState& s) {
  const auto* prefs = SuiteAs<AIPreferenceSuite>(SuiteId::Preference);
  int32_t unselectedMark = 1;
  int32_t selectedMark = 2;
  s.directionHandleMarkType = kDefaultHandleMark;
  s.pickRadius = 6;
  s.snapTolerance = 6;
  s.constrainAngle = 0.0;
  AIErr error =
      prefs->GetIntegerPreference(nullptr, kAIPrefUnselectedAnchorMarkType, &unselectedMark);
  error = prefs->GetIntegerPreference(nullptr, kAIPrefSelectedAnchorMarkType, &selectedMark);
  error = prefs->GetIntegerPreference(nullptr, kAIPrefDirectionHandleMarkType,
                                      &s.directionHandleMarkType);
  error = prefs->GetIntegerPreference(nullptr, kAIPrefSelectionTolerance, &s.pickRadius);
  error = prefs->GetIntegerPreference(nullptr, kAIPrefSmartGuidesTolerance, &s.snapTolerance);
  error = prefs->GetRealPreference(nullptr, kAIPrefConstrainAngle, &s.constrainAngle);
  s.unselectedAnchorMarkLarge = unselectedMark > 1 ? 1 : 0;
  s.selectedAnchorMarkLarge = selectedMark > 2 ? 1 : 0;
  if (s.directionHandleMarkType < kFirstHandleMark || s.directionHandleMarkType > kLastHandleMark) {
    s.directionHandleMarkType = kDefaultHandleMark;
  }
  s.pickRadius = pickPixels(s.pickRadius);
  s.snapTolerance = pickPixels(s.snapTolerance);
  // Whole turns change nothing; a non-finite angle would poison every tangency search.
  if (!std::isfinite(s.constrainAngle)) s.constrainAngle = 0.0;
  if (std::fabs(s.constrainAngle) >= 360.0) s.constrainAngle = std::fmod(s.constrainAngle, 360.0);
  return error;
}

}  // namespace sq
