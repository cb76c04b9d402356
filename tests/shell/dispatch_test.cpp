// Suite acquisition nesting, routing and the error texts, on the plug-in's code directly.
#include "shell/dispatch.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "shell/error_report.hpp"
#include "shell/host_suites.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/messages.h"

namespace {

std::map<std::string, int> gHeld;
int gAcquisitions = 0;
std::string gFailOn;

AIErr acquire(const char* name, int32_t, const void** out) {
  static const int kTable = 0;
  if (gFailOn == name) {
    *out = nullptr;
    return kSPSuiteNotFoundError;
  }
  ++gHeld[name];
  ++gAcquisitions;
  *out = &kTable;
  return kNoErr;
}
AIErr release(const char* name, int32_t) {
  --gHeld[name];
  return kNoErr;
}
AIBoolean isEqual(const char* a, const char* b) {
  return std::strcmp(a, b) == 0;
}

SPBasicSuite gBasic = {acquire, release, isEqual};

class AcquisitionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gHeld.clear();
    gAcquisitions = 0;
    gFailOn.clear();
    sq::AcquireCount() = 0;
  }
  int held() const {
    int total = 0;
    for (const auto& [name, count] : gHeld) total += count;
    return total;
  }
};

TEST_F(AcquisitionTest, NestedCallsShareTheOuterAcquisition) {
  ASSERT_EQ(sq::AcquireSuites(&gBasic), kNoErr);
  EXPECT_EQ(gAcquisitions, sq::kSuiteCount);
  ASSERT_EQ(sq::AcquireSuites(&gBasic), kNoErr);  // a nested message
  EXPECT_EQ(gAcquisitions, sq::kSuiteCount);
  EXPECT_EQ(sq::AcquireCount(), 2);
  sq::ReleaseSuites(&gBasic);
  EXPECT_EQ(held(), sq::kSuiteCount);
  EXPECT_EQ(sq::AcquireCount(), 1);
  sq::ReleaseSuites(&gBasic);
  EXPECT_EQ(held(), 0);
  EXPECT_EQ(sq::AcquireCount(), 0);
  for (int i = 0; i < sq::kSuiteCount; ++i) EXPECT_EQ(sq::SuiteTable()[i].table, nullptr);
}

TEST_F(AcquisitionTest, FailureStopsAtTheMissingSuiteAndStillCounts) {
  gFailOn = "AI Art Suite";
  EXPECT_EQ(sq::AcquireSuites(&gBasic), kSPSuiteNotFoundError);
  EXPECT_EQ(gAcquisitions, 9);  // the nine suites before it
  EXPECT_EQ(sq::AcquireCount(), 1);
  sq::ReleaseSuites(&gBasic);
  EXPECT_EQ(held(), 0);
}

TEST_F(AcquisitionTest, AcquisitionFailureSkipsTheHandler) {
  gFailOn = "SP Blocks Suite";
  SPInterfaceMessage message{};
  message.d.basic = &gBasic;
  // Start-up would need the blocks suite; it never runs, and the error comes back.
  EXPECT_EQ(sq::HandleMessage(kSPInterfaceCaller, kSPInterfaceStartupSelector, &message),
            kSPSuiteNotFoundError);
  EXPECT_EQ(sq::AcquireCount(), 0);
}

TEST_F(AcquisitionTest, AccessMessagesNeverTouchTheSuites) {
  SPAccessMessage message{};
  message.d.basic = &gBasic;
  EXPECT_EQ(sq::HandleMessage(kSPAccessCaller, kSPAccessUnloadSelector, &message), kNoErr);
  EXPECT_EQ(sq::HandleMessage(kSPAccessCaller, "Something else", &message), kNoErr);
  EXPECT_EQ(gAcquisitions, 0);
}

TEST(RoutingTest, OnlyKnownPairsAreRouted) {
  EXPECT_NE(sq::FindHandler(&gBasic, "AI Tool", "AI Mouse Down"), nullptr);
  EXPECT_NE(sq::FindHandler(&gBasic, "AI Notifier", "AI Notify"), nullptr);
  EXPECT_EQ(sq::FindHandler(&gBasic, "AI Tool", "AI Decrease Diameter"), nullptr);
  EXPECT_EQ(sq::FindHandler(&gBasic, "AI Tools", "AI Mouse Down"), nullptr);
  EXPECT_EQ(sq::FindHandler(&gBasic, "AI Menu", "ai go"), nullptr);
}

TEST(ErrorTextTest, CodesOfTheTableParseAsTheDialogExpects) {
  EXPECT_EQ(sq::ParseErrorCode("-108"), -108);
  EXPECT_EQ(sq::ParseErrorCode("271"), 271);
  EXPECT_EQ(sq::ParseErrorCode("12.9"), 12);
  EXPECT_EQ(sq::ParseErrorCode("-12.9"), -12);
  EXPECT_EQ(sq::ParseErrorCode("70000"), static_cast<int16_t>(70000 & 0xFFFF));
  // A four-character code: first character in the lowest byte.
  EXPECT_EQ(static_cast<uint32_t>(sq::ParseErrorCode("<Others>")), 0x68744F3Cu);
  EXPECT_EQ(sq::ErrorCodeText(-108), "-108");
  EXPECT_EQ(sq::ErrorCodeText(271), "271");
  EXPECT_EQ(sq::ErrorCodeText(static_cast<AIErr>(0x68744F3C)), "<Oth");
}

}  // namespace
