// The host's general measurement units: a host preference, read at start and followed when set.
#include <gtest/gtest.h>

#include "sqsdk/errors.h"
#include "sqsdk/suites/adm_basic.h"
#include "sqsdk/suites/ai_preference.h"
#include "support/host_fixture.hpp"

namespace {

class UnitsPreference : public sqtest::HostTest {
 protected:
  int32_t appUnits() {
    const void* table = nullptr;
    EXPECT_EQ(host().basicSuite()->AcquireSuite(kADMBasicSuite, kADMBasicSuiteVersion, &table),
              kNoErr);
    int32_t units = -1;
    static_cast<const ADMBasicSuite*>(table)->GetAppUnits(kADMAppUnits1, &units);
    host().basicSuite()->ReleaseSuite(kADMBasicSuite, kADMBasicSuiteVersion);
    return units;
  }
  // How many preference-changed notifications reached the plug-in since mark.
  int notificationsSince(std::size_t mark) {
    int count = 0;
    const auto& results = host().messageResults();
    for (std::size_t i = mark; i < results.size(); ++i) {
      count += results[i].selector == kSelectorAINotify ? 1 : 0;
    }
    return count;
  }
};

TEST_F(UnitsPreference, PointsByDefaultAndTheStoredUnitsFromTheStart) {
  startHost();
  EXPECT_EQ(appUnits(), kADMPointUnits);
  stopHost();

  sqhost::PreferenceStore store(prefsFile());
  store.load();
  store.putInteger("", kAIPrefGeneralUnits, 4);  // picas
  ASSERT_TRUE(store.save().ok());
  startHost();
  EXPECT_EQ(appUnits(), kADMPicaUnits);
}

TEST_F(UnitsPreference, SettingThePreferenceChangesTheUnitsAndTellsThePlugin) {
  startHost();
  const struct {
    const char* value;
    int32_t units;
  } cases[] = {{"1", kADMInchUnits},
               {"2", kADMMillimeterUnits},
               {"3", kADMCentimeterUnits},
               {"5", kADMPixelUnits},
               {"0", kADMPointUnits}};
  for (const auto& c : cases) {
    const std::size_t mark = host().messageResults().size();
    ASSERT_TRUE(driver().run(std::string("pref units/general ") + c.value + "\n"));
    EXPECT_EQ(appUnits(), c.units) << c.value;
    EXPECT_EQ(notificationsSince(mark), 1) << c.value;  // one, however many posted it
  }
  // What is not a ruler unit is reported and counts as points.
  ASSERT_TRUE(driver().run("pref units/general 2\npref units/general 9\n"));
  EXPECT_EQ(appUnits(), kADMPointUnits);
  EXPECT_TRUE(noted("the host preference units/general is 9 (integer), not a ruler unit"));
  ASSERT_TRUE(driver().run("pref units/general 2\npref units/general true\n"));
  EXPECT_EQ(appUnits(), kADMPointUnits);
  EXPECT_TRUE(noted("is true (boolean)"));
}

}  // namespace
