// Clicks without a drag on anchors, handles and segments: what they select and what they edit.
#include <gtest/gtest.h>

#include <numbers>
#include <vector>

#include "tool/release_fixture.hpp"

namespace {

using V = std::vector<int>;
using sqtest::kAlt;
using sqtest::kShift;
constexpr double kPi = std::numbers::pi;

// Point 1 (150, 200) has its in handle 40 long at (110, 200) and its out handle 30 long at
// (150, 170). The hook's point 1 has the same in handle and no out handle.
std::string Bend(const char* types, const char* states = "0 0 0") {
  return std::string(R"(<path id="p" d="M 40 200 C 70 150 110 200 150 200 C 150 170 230 280 260 200"
                         sodipodi:nodetypes=")") +
         types + "\" sq:selection=\"" + states + "\"/>";
}
constexpr const char* kHook =
    R"(<path id="p" d="M 40 200 C 70 150 110 200 150 200 L 260 200" sodipodi:nodetypes="ccc"/>)";

class Click : public sqtest::ReleaseTest {
 protected:
  const AIPathSegment& point() { return segment("p", 1); }
  void click(int32_t mode, int32_t modifiers, bool equalizes = false) {
    s.settings.shift_equalizes = equalizes ? 1 : 0;
    grab("p", 1, mode);
    release(modifiers);
  }
};

TEST_F(Click, AltOnAnAnchorTogglesCornerAndSmooth) {
  open(Bend("csc", "1 0 1"));
  const std::string before = document();
  grab("p", 1, sq::kDragAnchor);
  EXPECT_EQ(release(kAlt), 1u);
  EXPECT_NE(point().corner, 0);
  expectAt(point().in, 110, -200);  // the handles stay
  expectAt(point().out, 150, -170);
  EXPECT_EQ(states("p"), (V{0, 1, 0}));  // the only selected point
  ASSERT_TRUE(plugin.host().undo().undo());
  EXPECT_EQ(document(), before);

  // A corner becomes smooth: in at π and out at π/2 turn to ±90° of their mean 3π/4, keeping
  // their lengths.
  open(Bend("ccc"));
  click(sq::kDragAnchor, kAlt);
  EXPECT_EQ(point().corner, 0);
  EXPECT_NEAR(angle(point().p, point().in), -3 * kPi / 4, 1e-5);
  EXPECT_NEAR(angle(point().p, point().out), kPi / 4, 1e-5);
  EXPECT_NEAR(length(point().p, point().in), 40, 1e-3);
  EXPECT_NEAR(length(point().p, point().out), 30, 1e-3);
}

TEST_F(Click, AltShiftOnAnAnchorRetractsHandlesOrExtendsSmoothOnes) {
  open(Bend("ccc"));
  click(sq::kDragAnchor, kAlt | kShift);
  expectAt(point().in, 150, -200);
  expectAt(point().out, 150, -200);

  click(sq::kDragAnchor, kAlt | kShift);
  EXPECT_EQ(point().corner, 0);
  EXPECT_GT(length(point().p, point().in), 1);
  EXPECT_NEAR(std::abs(angle(point().p, point().in) - angle(point().p, point().out)), kPi, 1e-4);
}

TEST_F(Click, ShiftEqualisesAnAnchorsHandles) {
  open(Bend("ccc"));
  click(sq::kDragAnchor, kShift, true);
  EXPECT_NEAR(length(point().p, point().in), 35, 1e-3);
  EXPECT_NEAR(length(point().p, point().out), 35, 1e-3);
  EXPECT_NEAR(angle(point().p, point().out), kPi / 2, 1e-6);

  open(kHook);  // a lone handle gets a twin of its length on the other side
  click(sq::kDragAnchor, kShift, true);
  expectAt(point().out, 190, -200);
}

TEST_F(Click, ShiftWithoutEqualisingTogglesTheAnchor) {
  open(Bend("csc", "1 0 0"));
  s.settings.shift_equalizes = 0;
  grab("p", 2, sq::kDragAnchor);
  release(kShift);
  grab("p", 0, sq::kDragAnchor);
  release(kShift);
  EXPECT_NE(states("p")[0], 1);
  EXPECT_EQ(states("p")[2], 1);
}

TEST_F(Click, OnAHandle) {
  // Shift with equalising: the clicked handle as long as the other, or retracted opposite none.
  open(Bend("ccc"));
  click(sq::kDragOutHandle, kShift, true);
  expectAt(point().out, 150, -160);
  open(kHook);
  click(sq::kDragInHandle, kShift, true);
  expectAt(point().in, 150, -200);

  // Alt on a corner's handle: smooth, the clicked handle turned away from the other.
  open(Bend("ccc"));
  click(sq::kDragOutHandle, kAlt);
  EXPECT_EQ(point().corner, 0);
  expectAt(point().in, 110, -200);
  expectAt(point().out, 180, -200);
  EXPECT_EQ(states("p"), (V{0, 1, 0}));
}

// Four points (40, 100), (140, 100), (240, 100), (340, 100) joined by upward bulges; clicks land
// on the curve from 1 to 2.
std::string Arcs(const char* states) {
  return std::string(R"(<path id="arcs" d="M 40 100 C 60 60 120 60 140 100 C 160 60 220 60 240 100
                         C 260 60 320 60 340 100" sq:selection=")") +
         states + R"("/><path id="other" d="M 40 300 C 100 250 200 250 260 300"
                      sq:selection="4 4"/>)";
}

TEST_F(Click, APlainClickOnASegmentSelectsJustItAndTrimsTheTable) {
  open(Arcs("1 0 1 1"));
  keep("arcs", 1, true, true);
  keep("arcs", 2, true, true);
  keep("arcs", 3, true, false);
  keep("other", 0, false, true);
  grab("arcs", 2, sq::kDragSegment);
  // With kept handles the press records only the art: points left from an earlier gesture must
  // not be the ones selected.
  s.grabbedPoint.segmentIndex = 0;
  s.previousPoint.segmentIndex = 3;
  release();
  EXPECT_EQ(states("arcs"), (V{0, 3, 2, 0}));
  EXPECT_EQ(states("other"), (V{4, 4}));
  ASSERT_EQ(s.pointCount, 2);
  EXPECT_EQ(s.pointTable[0].handleFlags.to_ulong(), 0b10u);  // the start keeps its out handle
  EXPECT_EQ(s.pointTable[1].handleFlags.to_ulong(), 0b01u);  // the end its in handle
  EXPECT_EQ(s.selectedHandleCount, 2);
  EXPECT_EQ(s.selectedInHandleCount, 1);
}

TEST_F(Click, ShiftOnASegmentTogglesItOrDeselectsAPathWithNothingElseSelected) {
  open(Arcs("1 1 1 0"));
  grab("arcs", 2, sq::kDragSegment);
  release(kShift);
  EXPECT_EQ(states("arcs"), (V{1, 2, 3, 0}));

  open(Arcs("0 1 1 0"));
  grab("arcs", 2, sq::kDragSegment);
  release(kShift);
  EXPECT_EQ(states("arcs"), (V{0, 0, 0, 0}));
}

TEST_F(Click, AltOnASegmentSelectsItsPathAndAltShiftStraightensIt) {
  open(Arcs("0 0 0 0"));
  grab("arcs", 2, sq::kDragSegment);
  release(kAlt);
  EXPECT_EQ(states("arcs"), (V{4, 4, 4, 4}));

  open(Arcs("0 0 0 0"));
  s.settings.shift_equalizes = 1;
  const std::string before = document();
  grab("arcs", 2, sq::kDragSegment, 0.25f);
  EXPECT_EQ(release(kAlt | kShift), 1u);
  expectAt(segment("arcs", 1).out, 140, -100);
  expectAt(segment("arcs", 2).in, 240, -100);
  expectAt(segment("arcs", 2).out, 260, -60);  // the neighbouring curves keep their shape
  ASSERT_TRUE(plugin.host().undo().undo());
  EXPECT_EQ(document(), before);
}

}  // namespace
