// Unit tests of the preference store's values: types, sections, refused writes and the write log.
#include "prefs/preference_store.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace sqhost {
namespace {

constexpr const char* kPlugin = "Spindlequiver";

TEST(PreferenceStore, ReadsBackEachTypeOnlyAsThatType) {
  PreferenceStore store;
  ASSERT_TRUE(store.putBoolean(kPlugin, "pointdrag", true));
  ASSERT_TRUE(store.putInteger(kPlugin, "precision", -7));
  ASSERT_TRUE(store.putReal(kPlugin, "smoothing", 0.333));
  ASSERT_TRUE(store.putString(kPlugin, "name", "Bézier \"quoted\""));
  ASSERT_TRUE(store.putPoint(kPlugin, "origin", {0.1f, -2.5f}));

  EXPECT_EQ(store.getBoolean(kPlugin, "pointdrag"), true);
  EXPECT_EQ(store.getInteger(kPlugin, "precision"), -7);
  EXPECT_EQ(store.getReal(kPlugin, "smoothing"), 0.333);
  EXPECT_EQ(store.getString(kPlugin, "name"), "Bézier \"quoted\"");
  EXPECT_EQ(store.getPoint(kPlugin, "origin"), (PreferencePoint{0.1f, -2.5f}));

  // A value stored with one type is not found when read as another: the caller's default wins.
  EXPECT_FALSE(store.getReal(kPlugin, "precision"));
  EXPECT_FALSE(store.getInteger(kPlugin, "smoothing"));
  EXPECT_FALSE(store.getBoolean(kPlugin, "precision"));
  EXPECT_FALSE(store.getString(kPlugin, "origin"));
  EXPECT_FALSE(store.getPoint(kPlugin, "missing"));

  // Writing again replaces the value and its type.
  ASSERT_TRUE(store.putReal(kPlugin, "precision", 3.5));
  EXPECT_FALSE(store.getInteger(kPlugin, "precision"));
  EXPECT_EQ(store.getReal(kPlugin, "precision"), 3.5);
}

TEST(PreferenceStore, SectionsAreIndependentAndKeysMayContainSlashes) {
  PreferenceStore store;
  EXPECT_FALSE(store.hasSection(""));
  ASSERT_TRUE(store.putInteger("", "selectionTolerance", 3));
  ASSERT_TRUE(store.putReal("", "constrain/angle", 15.0));
  ASSERT_TRUE(store.putInteger("", "smartGuides/tolerance", 4));
  ASSERT_TRUE(store.putInteger(kPlugin, "selectionTolerance", 9));

  EXPECT_EQ(store.getInteger("", "selectionTolerance"), 3);
  EXPECT_EQ(store.getInteger(kPlugin, "selectionTolerance"), 9);
  EXPECT_EQ(store.getReal("", "constrain/angle"), 15.0);
  EXPECT_FALSE(store.getReal(kPlugin, "constrain/angle"));
  // A slash is part of the key, not a section separator.
  EXPECT_FALSE(store.getInteger("smartGuides", "tolerance"));
  EXPECT_FALSE(store.hasSection("smartGuides"));

  EXPECT_TRUE(store.hasSection(""));
  EXPECT_TRUE(store.hasSection(kPlugin));
  EXPECT_EQ(store.sections(), (std::vector<std::string>{"", kPlugin}));
  EXPECT_EQ(store.keys(""), (std::vector<std::string>{"constrain/angle", "selectionTolerance",
                                                      "smartGuides/tolerance"}));

  EXPECT_TRUE(store.remove(kPlugin, "selectionTolerance"));
  EXPECT_FALSE(store.remove(kPlugin, "selectionTolerance"));
  EXPECT_FALSE(store.hasSection(kPlugin));
  EXPECT_EQ(store.getInteger("", "selectionTolerance"), 3);
}

TEST(PreferenceStore, RefusesValuesThatCannotBeStoredAndKeepsThePreviousOne) {
  PreferenceStore store;
  ASSERT_TRUE(store.putReal(kPlugin, "smoothing", 0.25));
  ASSERT_TRUE(store.putPoint(kPlugin, "origin", {1, 2}));
  store.clearWrites();

  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const float fnan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(store.putReal(kPlugin, "smoothing", nan));
  EXPECT_FALSE(store.putReal(kPlugin, "smoothing", -inf));
  EXPECT_FALSE(store.putValue(kPlugin, "smoothing", PreferenceValue(inf)));
  EXPECT_FALSE(store.putPoint(kPlugin, "origin", {fnan, 0}));
  EXPECT_FALSE(store.putPoint(kPlugin, "origin", {0, std::numeric_limits<float>::infinity()}));
  EXPECT_FALSE(store.putBoolean(kPlugin, "", true));
  EXPECT_FALSE(store.putString(kPlugin, "name", "bad \xff byte"));
  EXPECT_FALSE(store.putBoolean("bad \xc3", "key", true));

  EXPECT_EQ(store.getReal(kPlugin, "smoothing"), 0.25);
  EXPECT_EQ(store.getPoint(kPlugin, "origin"), (PreferencePoint{1, 2}));
  EXPECT_FALSE(store.getString(kPlugin, "name"));
  EXPECT_EQ(store.sections(), (std::vector<std::string>{kPlugin}));
  EXPECT_TRUE(store.writes().empty());
}

TEST(PreferenceStore, RecordsEveryAcceptedWriteInOrder) {
  PreferenceStore store;
  std::vector<std::string> observed;
  store.setWriteObserver([&observed](const PreferenceWrite& write) {
    observed.push_back(write.text());
    throw std::runtime_error("an observer's failure must not reach the caller");
  });

  EXPECT_TRUE(store.putBoolean(kPlugin, "PVisible", true));
  EXPECT_TRUE(store.putInteger(kPlugin, "precision", 3));
  EXPECT_FALSE(store.putReal(kPlugin, "smoothing", std::nan("")));
  EXPECT_TRUE(store.putReal(kPlugin, "smoothing", 0.333));
  EXPECT_TRUE(store.putString("", "units", "pt"));
  EXPECT_TRUE(store.putPoint("", "constrain/origin", {1.5f, -2}));

  const std::vector<std::string> expected = {
      "Spindlequiver/PVisible = true (boolean)", "Spindlequiver/precision = 3 (integer)",
      "Spindlequiver/smoothing = 0.333 (real)", "units = \"pt\" (string)",
      "constrain/origin = (1.5, -2) (point)"};
  EXPECT_EQ(observed, expected);
  ASSERT_EQ(store.writes().size(), expected.size());
  EXPECT_EQ(store.writes()[1].section, kPlugin);
  EXPECT_EQ(store.writes()[1].key, "precision");
  EXPECT_EQ(store.writes()[1].value, PreferenceValue(std::int32_t{3}));
}

}  // namespace
}  // namespace sqhost
