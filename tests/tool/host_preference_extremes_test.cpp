// The tool with host preferences at the ends of the 32-bit range: what it reads is clamped before
// it reaches pick squares, so a hover neither overflows nor picks what it should not.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "resources/resource_ids.hpp"
#include "sqsdk/messages.h"
#include "support/host_fixture.hpp"

namespace {

constexpr int32_t kArrowCursor = sq::CursorResourceID(sq::kCursorArrow);

class HostPreferenceExtremes : public sqtest::HostTest {
 protected:
  // A host that hands the plug-in these values as they are: stored in the host's own section
  // directly, past the checks the host makes on its own ways in.
  void startWith(int32_t tolerance, int32_t markType) {
    startHost();
    auto& store = host().preferences();
    ASSERT_TRUE(store.putInteger("", "selectionTolerance", tolerance));
    ASSERT_TRUE(store.putInteger("", "smartGuides/tolerance", tolerance));
    ASSERT_TRUE(store.putInteger("", "directionHandleMarkType", markType));
    ASSERT_TRUE(store.putInteger("", "unselectedAnchorMarkType", markType));
    driver().open(R"(<path id="wave" d="M 100 200 C 150 150 250 150 300 200"/>)");
    ASSERT_TRUE(driver().chooseTool("Spindlequiver Tool"));
  }
};

TEST_F(HostPreferenceExtremes, HoverStaysSafeAtBothEndsOfTheIntegerRange) {
  constexpr int32_t kLowest = std::numeric_limits<int32_t>::min();
  constexpr int32_t kHighest = std::numeric_limits<int32_t>::max();

  // The lowest value counts as a radius of 0: 30 pixels from the anchor nothing is picked, and on
  // the anchor the host's own hit test still finds it.
  startWith(kLowest, kLowest);
  ASSERT_TRUE(driver().move(130, 200));
  EXPECT_EQ(driver().cursor(), kArrowCursor);
  ASSERT_TRUE(driver().move(100, 200));
  const int32_t onAnchor = driver().cursor();
  EXPECT_NE(onAnchor, kArrowCursor);
  EXPECT_FALSE(driver().paint().ops.empty());

  // The highest counts as the widest radius the tool allows (64 pixels): the anchor 30 pixels
  // away is found by the tool's own search, a point 140 pixels from every anchor finds nothing.
  stopHost();
  startWith(kHighest, kHighest);
  ASSERT_TRUE(driver().move(130, 200));
  EXPECT_EQ(driver().cursor(), onAnchor);
  EXPECT_FALSE(driver().paint().ops.empty());
  ASSERT_TRUE(driver().move(200, 300));
  EXPECT_EQ(driver().cursor(), kArrowCursor);
  // The Alt preview over the arch computes its snap distance from the same values.
  ASSERT_TRUE(driver().move(200, 163, kAIAltModifier));
  driver().paint();
}

}  // namespace
