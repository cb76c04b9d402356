// The keys and modifiers a tool sees during a gesture: the tracker's modifiers of the current
// event and the system keyboard state for Space, Esc and 'C', from script lines as from events.
#include <gtest/gtest.h>

#include <array>

#include "sqsdk/keyboard.h"
#include "sqsdk/messages.h"
#include "sqsdk/suites/adm_tracker.h"
#include "support/host_fixture.hpp"

namespace {

class DragKeys : public sqtest::HostTest {
 protected:
  void SetUp() override {
    startHost();
    const void* table = nullptr;
    ASSERT_EQ(host().basicSuite()->AcquireSuite(kADMTrackerSuite, kADMTrackerSuiteVersion, &table),
              kNoErr);
    tracker_ = static_cast<const ADMTrackerSuite*>(table);
    driver().open("<path id='p' d='M 100 100 C 150 50 250 50 300 100'/>");
    ASSERT_TRUE(driver().chooseTool("Spindlequiver Tool"));
  }

  // The modifiers of the event being handled, as a tool reads them outside a track proc.
  int32_t modifiers() {
    int32_t m = -1;
    EXPECT_EQ(tracker_->GetModifiers(nullptr, &m), kNoErr);
    return m;
  }

  static bool down(int32_t key) {
    std::array<uint8_t, 256> state{};
    SQGetKeyboardState(state.data());
    return (state[static_cast<std::size_t>(key)] & kKeyDownBit) != 0;
  }

  const ADMTrackerSuite* tracker_ = nullptr;
};

TEST_F(DragKeys, TrackerModifiersFollowEachMouseEvent) {
  ASSERT_TRUE(driver().press(200, 300, kAIShiftModifier | kAIAltModifier));
  EXPECT_EQ(modifiers(), kAIShiftModifier | kAIAltModifier);
  AIBoolean held = 0;
  EXPECT_EQ(tracker_->TestModifier(nullptr, kAIAltModifier, &held), kNoErr);
  EXPECT_TRUE(held);
  EXPECT_TRUE(down(kVKShift) && down(kVKAlt));
  EXPECT_FALSE(down(kVKControl));

  // Each drag step has its own modifiers: letting go of Alt mid-drag is seen at once.
  ASSERT_TRUE(driver().drag(210, 300, kAICtrlModifier));
  EXPECT_EQ(modifiers(), kAICtrlModifier);
  EXPECT_EQ(tracker_->TestModifier(nullptr, kAIAltModifier | kAICtrlModifier, &held), kNoErr);
  EXPECT_FALSE(held);
  EXPECT_TRUE(down(kVKControl));
  EXPECT_FALSE(down(kVKShift) || down(kVKAlt));
  ASSERT_TRUE(driver().release(210, 300));
  EXPECT_EQ(modifiers(), 0);
  EXPECT_FALSE(down(kVKControl));
}

TEST_F(DragKeys, KeysHeldBetweenScriptLinesStayDownThroughDragSteps) {
  ASSERT_TRUE(
      driver().run("down 200 -300\n"
                   "key down space\nkey down esc\nkey down c\n"
                   "drag 220 -300 shift\n"));
  // Modifier bits of the drag line do not release ordinary keys.
  EXPECT_TRUE(down(kVKSpace) && down(kVKEscape) && down('C'));
  EXPECT_EQ(modifiers(), kAIShiftModifier);
  ASSERT_TRUE(driver().run("key up c\ndrag 230 -300\n"));
  EXPECT_FALSE(down('C'));
  EXPECT_TRUE(down(kVKSpace));
  ASSERT_TRUE(driver().run("key up space\nkey up esc\nup 230 -300\n"));
  EXPECT_FALSE(down(kVKSpace) || down(kVKEscape));
}

}  // namespace
