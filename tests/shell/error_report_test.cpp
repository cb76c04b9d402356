// Handler errors reach the user once, in the error dialog, with the text the table gives.
#include <gtest/gtest.h>

#include "sqsdk/errors.h"
#include "support/host_fixture.hpp"

namespace {

using sqtest::HostTest;

class ErrorReport : public HostTest {
 protected:
  // Starts the host with the tool's registration failing with error.
  sqhost::Host& startFailingWith(AIErr error) {
    sqhost::Host& h = makeHost();
    h.injectFailure("AddTool", 1, error);
    std::string message;
    EXPECT_TRUE(h.start(message)) << message;
    return h;
  }

  const sqhost::ItemSnapshot* item(const sqhost::DialogRecord& d, int32_t id) {
    for (const auto& i : d.items) {
      if (i.id == id) return &i;
    }
    return nullptr;
  }
};

TEST_F(ErrorReport, MemoryErrorsShowTheMemoryMessageWithTheirCode) {
  for (AIErr code : {kOutOfMemoryErr, kMemoryReserveErr}) {
    sqhost::Host& h = startFailingWith(code);
    EXPECT_EQ(lastResult("SP Interface", "Startup"), code);
    ASSERT_EQ(h.dialogs().dialogsShown().size(), 1u);
    const sqhost::DialogRecord& d = h.dialogs().dialogsShown()[0];
    EXPECT_EQ(d.name, "Error Dialog");
    EXPECT_EQ(d.title, "Plug-in Error");
    EXPECT_EQ(item(d, 2)->text,
              "The filter cannot complete because there isn't enough memory (RAM) available.");
    EXPECT_EQ(item(d, 3)->text, std::to_string(code));
    stopHost();
  }
}

TEST_F(ErrorReport, UnknownCodesShowTheGeneralMessageAndTheirCharacters) {
  sqhost::Host& h = startFailingWith(kCantHappenErr);  // 'CANT'
  ASSERT_EQ(h.dialogs().dialogsShown().size(), 1u);
  const sqhost::DialogRecord& d = h.dialogs().dialogsShown()[0];
  EXPECT_EQ(item(d, 2)->text, "The filter cannot complete because of an unknown error.");
  EXPECT_EQ(item(d, 3)->text, "TNAC");  // lowest byte first
}

TEST_F(ErrorReport, CancelAndMissingSuiteAreReturnedWithoutADialog) {
  for (AIErr code : {kCanceledErr, kSPSuiteNotFoundError}) {
    sqhost::Host& h = startFailingWith(code);
    EXPECT_EQ(lastResult("SP Interface", "Startup"), code);
    EXPECT_TRUE(h.dialogs().dialogsShown().empty());
    stopHost();
  }
}

TEST_F(ErrorReport, FailingRegistrationStopsStartUpThereWithoutRollback) {
  sqhost::Host& h = makeHost();
  h.injectFailure("AddNotifier", 5, kOutOfMemoryErr);
  std::string message;
  ASSERT_TRUE(h.start(message)) << message;
  EXPECT_EQ(lastResult("SP Interface", "Startup"), kOutOfMemoryErr);
  EXPECT_NE(h.registrations().toolByName("Spindlequiver Tool"), nullptr);
  EXPECT_EQ(h.registrations().annotators().size(), 1u);
  EXPECT_EQ(h.registrations().notifiers().size(), 4u);
  // The settings were never loaded, so nothing was stored on this first start.
  EXPECT_FALSE(storedPreferences().hasSection("Spindlequiver"));
  EXPECT_EQ(h.dialogs().dialogsShown().size(), 1u);
  // The state record stays allocated and shut-down frees it.
  EXPECT_EQ(h.liveBlockCount(), 1u);
  h.shutDown();
  EXPECT_EQ(h.liveBlockCount(), 0u);
}

TEST_F(ErrorReport, MissingSuiteIsAnnouncedByAlertOnceTheBasicDialogSuiteIsHeld) {
  sqhost::Host& h = makeHost();
  h.suites().setUnavailable("AI Hard Soft Suite", true);
  std::string message;
  ASSERT_TRUE(h.start(message)) << message;
  EXPECT_EQ(lastResult("SP Interface", "Startup"), kSPSuiteNotFoundError);
  ASSERT_FALSE(h.dialogs().alerts().empty());
  EXPECT_EQ(h.dialogs().alerts()[0].text, "Error: " + std::to_string(kSPSuiteNotFoundError) +
                                              ", suite: AI Hard Soft Suite, version: 3!");
  EXPECT_TRUE(h.dialogs().dialogsShown().empty());
  EXPECT_EQ(h.suites().totalUseCount(), 0);
  // Nothing started, so there is no state record to free.
  EXPECT_EQ(h.liveBlockCount(), 0u);
}

TEST_F(ErrorReport, DamagedPreferenceFileIsSetAsideAndDefaultsAreUsed) {
  sqtest::writeFile(prefsFile(), "{ \"format\": 1, \"sections\": [oops");
  startHost();
  EXPECT_EQ(lastResult("SP Interface", "Startup"), kNoErr);
  EXPECT_TRUE(noted(prefsFile().string()));
  int aside = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    if (entry.path().filename().string().find(".damaged-") != std::string::npos) {
      ++aside;
      EXPECT_EQ(sqtest::readFile(entry.path()), "{ \"format\": 1, \"sections\": [oops");
    }
  }
  EXPECT_EQ(aside, 1);
  // A fresh store: the plug-in saw a first start and stored its defaults.
  EXPECT_EQ(storedPreferences().getInteger("Spindlequiver", "precision"), 3);
}

}  // namespace
