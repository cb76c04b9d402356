// The host's own preferences keep their types and ranges on every way in: the stored file, the
// script's pref command and the preference suite.
#include "prefs/host_preferences.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>

#include "script/script_parser.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_preference.h"
#include "support/host_fixture.hpp"

namespace {

using nlohmann::json;

class HostPreferences : public sqtest::HostTest {
 protected:
  void writePreferences(const json& host, const json& plugin = json::object()) {
    json sections = {{"", host}};
    if (!plugin.empty()) sections["Spindlequiver"] = plugin;
    sqtest::writeFile(prefsFile(), json{{"version", 1}, {"sections", sections}}.dump());
  }
  static json entry(const char* type, json value) { return {{"type", type}, {"value", value}}; }

  int warningsNaming(const std::string& key) const {
    int count = 0;
    for (const auto& line : host_->observer().lines()) {
      if (line.find(prefsFile().string()) != std::string::npos &&
          line.find("\"" + key + "\"") != std::string::npos) {
        ++count;
      }
    }
    return count;
  }
};

TEST_F(HostPreferences, AStoredFileKeepsOnlyWhatFitsAndReportsTheRestOnce) {
  writePreferences({{"selectionTolerance", entry("integer", std::numeric_limits<int32_t>::min())},
                    {"smartGuides/tolerance", entry("integer", 65)},
                    {"directionHandleMarkType", entry("string", "big")},
                    {"isRulerIn4thQuad", entry("integer", 1)},
                    {"constrain/angle", entry("integer", 15)},
                    {"selectedAnchorMarkType", entry("real", 3.0)},
                    {"unselectedAnchorMarkType", entry("integer", 2)},
                    {"someoneElses", entry("integer", -7)}},
                   {{"precision", entry("integer", 99999)}});
  startHost();
  const sqhost::PreferenceStore& store = host().preferences();
  // Out of range or of another type: reported once each, naming the file and the key; the host
  // uses its default and the plug-in finds nothing stored.
  for (const char* key : {"selectionTolerance", "smartGuides/tolerance", "directionHandleMarkType",
                          "isRulerIn4thQuad"}) {
    EXPECT_EQ(warningsNaming(key), 1) << key;
    EXPECT_FALSE(store.getValue("", key)) << key;
  }
  EXPECT_TRUE(noted("must be a whole number from 1 to 64; it is ignored and the default 6"));
  EXPECT_EQ(sqhost::hostPreferenceNumber(store, "selectionTolerance"), 6.0);
  // The same number in the table's type is kept, converted; what the host does not define is
  // stored as it came.
  EXPECT_EQ(store.getReal("", "constrain/angle"), 15.0);
  EXPECT_EQ(store.getInteger("", "selectedAnchorMarkType"), 3);
  EXPECT_EQ(store.getInteger("", "unselectedAnchorMarkType"), 2);
  EXPECT_EQ(store.getInteger("", "someoneElses"), -7);
  EXPECT_EQ(store.getInteger("Spindlequiver", "precision"), 99999);
  for (const char* key : {"constrain/angle", "selectedAnchorMarkType", "someoneElses"}) {
    EXPECT_EQ(warningsNaming(key), 0) << key;
  }

  // The file written at shut-down no longer holds what was ignored, so the next start is quiet.
  stopHost();
  startHost();
  for (const char* key : {"selectionTolerance", "directionHandleMarkType"}) {
    EXPECT_EQ(warningsNaming(key), 0) << key;
  }
  EXPECT_EQ(host().preferences().getReal("", "constrain/angle"), 15.0);
}

TEST_F(HostPreferences, PrefConvertsToTheTablesTypeAndRefusesWhatDoesNotFit) {
  startHost();
  sqhost::PreferenceStore& store = host().preferences();
  ASSERT_TRUE(
      driver().run("pref constrain/angle 15\n"
                   "pref selectionTolerance 4.0\n"
                   "pref smartGuides/tolerance 64\n"
                   "pref isRulerIn4thQuad false\n"
                   "pref my/own -2147483648\n"));
  EXPECT_EQ(store.getReal("", "constrain/angle"), 15.0);
  EXPECT_EQ(store.getInteger("", "selectionTolerance"), 4);
  EXPECT_EQ(store.getInteger("", "smartGuides/tolerance"), 64);
  EXPECT_EQ(store.getBoolean("", "isRulerIn4thQuad"), false);
  EXPECT_EQ(store.getInteger("", "my/own"), std::numeric_limits<int32_t>::min());

  // A script with a value that does not fit does not run at all; the error names the line.
  struct Refused {
    const char* script;
    const char* message;
  };
  for (const Refused& r : {
           Refused{"new\npref selectionTolerance -2147483648\n",
                   "line 2: the host preference \"selectionTolerance\" (the selection tolerance "
                   "in pixels) must be a whole number from 1 to 64, not -2147483648"},
           Refused{"pref smartGuides/tolerance 0\n", "line 1: the host preference"},
           Refused{"pref selectionTolerance 2.5\n", "must be a whole number from 1 to 64, not 2.5"},
           Refused{"pref directionHandleMarkType 12\n", "from 1 to 11"},
           Refused{"pref isRulerIn4thQuad 1\n", "must be true or false, not 1"},
           Refused{"pref constrain/angle true\n", "must be a finite number, not true"},
       }) {
    const sqhost::ParsedScript parsed = sqhost::parseScript(r.script);
    EXPECT_FALSE(parsed.ok()) << r.script;
    EXPECT_NE(parsed.error.find(r.message), std::string::npos) << parsed.error;
  }

  // A front-end's command goes through the same check when it runs: refused, with its line, and
  // the stored value stays.
  sqhost::SessionCommand command;
  command.kind = sqhost::SessionCommand::Kind::Preference;
  command.name = "selectionTolerance";
  command.valueType = sqhost::SessionCommand::ValueType::Integer;
  command.value = 100000;
  command.line = 7;
  EXPECT_FALSE(session().execute(command));
  EXPECT_TRUE(noted("line 7: the host preference \"selectionTolerance\""));
  EXPECT_EQ(store.getInteger("", "selectionTolerance"), 4);
}

TEST_F(HostPreferences, ThePreferenceSuiteStoresHostKeysOnlyInTheirTypeAndRange) {
  startHost();
  const void* table = nullptr;
  ASSERT_EQ(
      host().basicSuite()->AcquireSuite(kAIPreferenceSuite, kAIPreferenceSuiteVersion, &table),
      kNoErr);
  const auto* prefs = static_cast<const AIPreferenceSuite*>(table);
  sqhost::PreferenceStore& store = host().preferences();

  EXPECT_EQ(prefs->PutIntegerPreference(nullptr, kAIPrefSelectionTolerance, 5), kNoErr);
  EXPECT_EQ(prefs->PutIntegerPreference(nullptr, kAIPrefSelectionTolerance,
                                        std::numeric_limits<int32_t>::min()),
            kBadParameterErr);
  EXPECT_EQ(prefs->PutRealPreference(nullptr, kAIPrefSelectionTolerance, 0.5), kBadParameterErr);
  EXPECT_EQ(prefs->PutStringPreference(nullptr, kAIPrefDirectionHandleMarkType, "4"),
            kBadParameterErr);
  EXPECT_EQ(store.getInteger("", "selectionTolerance"), 5);
  EXPECT_FALSE(store.getValue("", "directionHandleMarkType"));

  // An integer for the angle is kept as the real it is, so a real read finds it.
  EXPECT_EQ(prefs->PutIntegerPreference(nullptr, kAIPrefConstrainAngle, -30), kNoErr);
  double angle = 0;
  EXPECT_EQ(prefs->GetRealPreference(nullptr, kAIPrefConstrainAngle, &angle), kNoErr);
  EXPECT_EQ(angle, -30.0);

  // The same keys in a plug-in's own section are that plug-in's business.
  EXPECT_EQ(prefs->PutIntegerPreference("Spindlequiver", kAIPrefSelectionTolerance, -1), kNoErr);
  EXPECT_EQ(store.getInteger("Spindlequiver", "selectionTolerance"), -1);
  host().basicSuite()->ReleaseSuite(kAIPreferenceSuite, kAIPreferenceSuiteVersion);
}

}  // namespace
