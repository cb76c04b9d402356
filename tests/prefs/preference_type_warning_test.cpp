// A stored preference read with another type: the get fails, and the host says so once per key.
#include <gtest/gtest.h>

#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_preference.h"
#include "support/host_fixture.hpp"

namespace {

class PreferenceTypeWarning : public sqtest::HostTest {
 protected:
  const AIPreferenceSuite* suite() {
    const void* table = nullptr;
    EXPECT_EQ(
        host().basicSuite()->AcquireSuite(kAIPreferenceSuite, kAIPreferenceSuiteVersion, &table),
        kNoErr);
    acquired_ = true;
    return static_cast<const AIPreferenceSuite*>(table);
  }
  void TearDown() override {
    if (acquired_ && running()) {
      host().basicSuite()->ReleaseSuite(kAIPreferenceSuite, kAIPreferenceSuiteVersion);
    }
    HostTest::TearDown();
  }

 private:
  bool acquired_ = false;
};

std::size_t count(const std::string& text, const std::string& fragment) {
  std::size_t n = 0;
  for (auto at = text.find(fragment); at != std::string::npos; at = text.find(fragment, at + 1)) {
    ++n;
  }
  return n;
}

TEST_F(PreferenceTypeWarning, TheFirstMistypedReadOfEachKeyIsReportedOnStderr) {
  sqhost::PreferenceStore store(prefsFile());
  store.putBoolean("Spindlequiver", "PVisible", true);  // written by every earlier run
  store.putString("Spindlequiver", "precision", "three");
  store.putBoolean("Spindlequiver", "expanded", true);
  ASSERT_TRUE(store.save().ok());

  // The plug-in reads its settings at start-up: the mistyped one is reported.
  testing::internal::CaptureStderr();
  startHost();
  std::string printed = testing::internal::GetCapturedStderr();
  const std::string line = "sqhost: preference file " + prefsFile().string() +
                           ", section \"Spindlequiver\", key \"precision\": stored as string, "
                           "read as integer; the stored value is not used\n";
  EXPECT_EQ(count(printed, line), 1u) << printed;
  EXPECT_EQ(count(printed, "sqhost: preference file"), 1u) << printed;

  // Reading it again fails again, silently; another mistyped key is reported once too.
  std::vector<std::string> warnings;
  host().setWarningSink([&](const std::string& w) { warnings.push_back(w); });
  const AIPreferenceSuite* prefs = suite();
  int32_t value = 7;
  EXPECT_EQ(prefs->GetIntegerPreference("Spindlequiver", "precision", &value),
            kNoSuchPreferenceErr);
  EXPECT_EQ(value, 7);  // untouched
  EXPECT_TRUE(warnings.empty());
  double real = 0;
  EXPECT_EQ(prefs->GetRealPreference("Spindlequiver", "expanded", &real), kNoSuchPreferenceErr);
  EXPECT_EQ(prefs->GetRealPreference("Spindlequiver", "expanded", &real), kNoSuchPreferenceErr);
  AIBoolean flag = 0;
  EXPECT_EQ(prefs->GetBooleanPreference("Spindlequiver", "expanded", &flag), kNoErr);
  EXPECT_EQ(flag, 1);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("key \"expanded\": stored as boolean, read as real"),
            std::string::npos);
  // A key that is not stored is no error and no warning.
  EXPECT_EQ(prefs->GetIntegerPreference(nullptr, "selectionTolerance", &value), kNoErr);
  EXPECT_EQ(warnings.size(), 1u);
}

}  // namespace
