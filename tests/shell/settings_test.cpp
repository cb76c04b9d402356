// Settings: defaults, first start, clamping on load and the order of writing back.
#include "shell/settings.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <string>
#include <variant>
#include <vector>

#include "shell/host_suites.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_preference.h"

namespace {

// An in-memory preference store behind the preference suite's C interface.
using Value = std::variant<bool, int32_t, double>;
std::map<std::pair<std::string, std::string>, Value> gStore;
std::vector<std::string> gWrites;

std::pair<std::string, std::string> keyOf(const char* prefix, const char* suffix) {
  return {prefix ? prefix : "", suffix};
}

template <typename T, typename Out>
AIErr get(const char* prefix, const char* suffix, Out* out) {
  auto it = gStore.find(keyOf(prefix, suffix));
  if (it == gStore.end()) return kNoErr;
  if (!std::holds_alternative<T>(it->second)) return kNoSuchPreferenceErr;
  *out = static_cast<Out>(std::get<T>(it->second));
  return kNoErr;
}
template <typename T>
AIErr put(const char* prefix, const char* suffix, T value) {
  gStore[keyOf(prefix, suffix)] = value;
  gWrites.push_back(suffix);
  return kNoErr;
}

AIErr getBool(const char* p, const char* s, AIBoolean* o) {
  return get<bool>(p, s, o);
}
AIErr putBool(const char* p, const char* s, AIBoolean v) {
  return put<bool>(p, s, v != 0);
}
AIErr getInt(const char* p, const char* s, int32_t* o) {
  return get<int32_t>(p, s, o);
}
AIErr putInt(const char* p, const char* s, int32_t v) {
  return put<int32_t>(p, s, v);
}
AIErr getReal(const char* p, const char* s, double* o) {
  return get<double>(p, s, o);
}
AIErr putReal(const char* p, const char* s, double v) {
  return put<double>(p, s, v);
}

const AIPreferenceSuite kFakePreferences = {getBool, putBool, getInt,  putInt,  getReal, putReal,
                                            nullptr, nullptr, nullptr, nullptr, nullptr};

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gStore.clear();
    gWrites.clear();
    sq::SuiteTable()[static_cast<int>(sq::SuiteId::Preference)].table = &kFakePreferences;
    sq::SetDefaultSettings(s);
  }
  void TearDown() override {
    sq::SuiteTable()[static_cast<int>(sq::SuiteId::Preference)].table = nullptr;
  }
  void store(const std::string& key, Value v) { gStore[{"Spindlequiver", key}] = v; }

  std::unique_ptr<sq::PluginState> state = std::make_unique<sq::PluginState>();
  sq::PluginState& s = *state;
};

TEST_F(SettingsTest, DefaultsAndStartValues) {
  EXPECT_EQ(s.settings.precision, 3);
  EXPECT_EQ(s.settings.pointdrag, 1);
  EXPECT_EQ(s.settings.smoothing, 0.333);
  EXPECT_EQ(s.MHScale, 100);
  EXPECT_DOUBLE_EQ(s.angleThresholdRadians, 0.08726646259971647);
  EXPECT_EQ(s.clipInLength, 72.0f);
  EXPECT_EQ(s.clipCorner, 1);
  EXPECT_EQ(s.marqueeColor, 0x4F80FFFFu);
  EXPECT_EQ(s.isRulerIn4thQuad, 1);
}

TEST_F(SettingsTest, HostRulerPreferenceIsCopiedWhenStored) {
  gStore[{"", "isRulerIn4thQuad"}] = false;
  sq::SetDefaultSettings(s);
  EXPECT_EQ(s.isRulerIn4thQuad, 0);
}

TEST_F(SettingsTest, FirstStartWritesDefaultsExceptShiftEqualizes) {
  EXPECT_EQ(sq::LoadSettings(s), kNoErr);
  EXPECT_EQ(std::get<bool>(gStore.at({"Spindlequiver", "PVisible"})), true);
  EXPECT_EQ(std::get<int32_t>(gStore.at({"Spindlequiver", "precision"})), 3);
  EXPECT_EQ(std::get<bool>(gStore.at({"Spindlequiver", "boxed_text_large"})), false);
  EXPECT_EQ(gStore.count({"Spindlequiver", "shift_equalizes"}), 0u);
  EXPECT_EQ(gWrites.size(), 29u);  // PVisible and 28 of the 29 keys
}

TEST_F(SettingsTest, StoredValuesAreClampedToTheirRanges) {
  store("precision", int32_t{7});
  store("smoothing", 0.05);
  store("angle_threshhold", 0.0);
  store("MHScale", -30000.0);
  store("shift_multi", 1000.0);
  sq::LoadSettings(s);
  EXPECT_EQ(s.settings.precision, 4);
  EXPECT_EQ(s.settings.smoothing, 0.1);
  EXPECT_EQ(s.settings.angle_threshhold, 1.0);
  EXPECT_DOUBLE_EQ(s.angleThresholdRadians, std::numbers::pi / 180);
  EXPECT_EQ(s.MHScale, -20000.0);
  EXPECT_EQ(s.settings.shift_multi, 100.0);

  store("precision", int32_t{0});
  store("smoothing", 0.9);
  store("angle_threshhold", 720.0);
  store("MHScale", 30000.0);
  sq::LoadSettings(s);
  EXPECT_EQ(s.settings.precision, 2);
  EXPECT_EQ(s.settings.smoothing, 0.5);
  EXPECT_EQ(s.settings.angle_threshhold, 180.0);
  EXPECT_EQ(s.MHScale, 20000.0);
}

TEST_F(SettingsTest, NonFiniteAndMissingValuesKeepTheDefault) {
  store("shift_equalizes", true);  // not a first start
  store("smoothing", std::nan(""));
  store("slowdrag_div", INFINITY);
  EXPECT_EQ(sq::LoadSettings(s), kNoErr);
  EXPECT_EQ(s.settings.smoothing, 0.333);
  EXPECT_EQ(s.settings.slowdrag_div, 5.0);
  EXPECT_EQ(s.settings.shift_equalizes, 1);
  EXPECT_EQ(s.settings.precision, 3);
  EXPECT_TRUE(gWrites.empty());
}

TEST_F(SettingsTest, KeyOfAnotherTypeIsReportedAndKeepsTheDefault) {
  store("angle_threshhold", true);
  EXPECT_EQ(sq::LoadSettings(s), kNoSuchPreferenceErr);
  EXPECT_EQ(s.settings.angle_threshhold, 5.0);
}

TEST_F(SettingsTest, SaveWritesInItsFixedOrderWithoutLargeBoxedTextOrPanelVisibility) {
  s.settings.boxed_text_large = 1;
  sq::SaveSettings(s);
  const std::vector<std::string> expected = {"shift_equalizes",
                                             "anchor_allHandles",
                                             "drag_break",
                                             "slowdrag",
                                             "pointdrag",
                                             "slowdragCtrl",
                                             "multi_extendPro",
                                             "multi_extendSAZ",
                                             "precision",
                                             "shift_multi",
                                             "slowdrag_div",
                                             "smoothing",
                                             "MHIncrement",
                                             "MHScale",
                                             "MHRotate",
                                             "MHSetLength",
                                             "MHSetAngle",
                                             "use_ring",
                                             "use_ring_paths",
                                             "ring_has_text",
                                             "boxed_text",
                                             "expanded",
                                             "counterrotate",
                                             "addpoints",
                                             "snap_to_tangencies",
                                             "highlight_tangencies",
                                             "recognize_connectors",
                                             "angle_threshhold"};
  EXPECT_EQ(gWrites, expected);
}

}  // namespace
