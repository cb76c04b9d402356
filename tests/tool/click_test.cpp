// Releasing the tool's button: clicks without a drag on anchors, handles, segments and nothing,
// what they select and what they edit, and the point table and host selection after a drag.
#include <gtest/gtest.h>

#include <numbers>
#include <vector>

#include "shell/host_suites.hpp"
#include "sqsdk/suites/ai_path.h"
#include "tool/gesture_fixture.hpp"

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
  // Smooth to corner (undone through the plug-in below).
  open(Bend("csc", "1 0 1"));
  click(sq::kDragAnchor, kAlt);
  EXPECT_NE(point().corner, 0);
  expectAt(point().in, 110, -200);  // the handles stay
  expectAt(point().out, 150, -170);
  EXPECT_EQ(states("p"), (V{0, 1, 0}));  // the only selected point

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

// The wave: 0 (40, 200) out (70, 120); 1 (150, 200) in (120, 120) out (180, 280); 2 (260, 200)
// in (230, 280). The line: (40, 350) to (260, 350), selected.
std::string WaveAndLine(const std::string& waveStates) {
  return R"(<path id="wave" d="M 40 200 C 70 120 120 120 150 200 C 180 280 230 280 260 200"
                sq:selection=")" +
         waveStates + R"("/><path id="line" d="M 40 350 L 260 350" sq:selection="1 1"/>)";
}

TEST_F(Click, AClickOnNothingDropsKeptHandlesThenDeselectsAllWithoutUndoEntries) {
  open(WaveAndLine("0 4 0"));
  keep("wave", 1, true, false);
  EXPECT_EQ(release(), 0u);
  EXPECT_EQ(s.pointCount + s.selectedHandleCount + s.selectedInHandleCount, 0);
  EXPECT_EQ(states("wave"), (V{0, 4, 0}));  // the host selection stays
  EXPECT_EQ(states("line"), (V{1, 1}));

  EXPECT_EQ(release(), 0u);
  EXPECT_EQ(states("wave"), (V{0, 0, 0}));
  EXPECT_EQ(states("line"), (V{0, 0}));
  EXPECT_EQ(s.toolDragged, 2);
}

TEST_F(Click, ShiftAltOnNothingKeepsEveryHandleOfTheSelectedAnchors) {
  // 0 has only an out handle, 1 both, 2 none, 3 is not selected.
  open(R"(<path id="p" d="M 40 100 C 60 60 120 60 150 100 C 180 140 260 100 260 100 L 340 100"
                sq:selection="1 1 1 0"/>)");
  EXPECT_EQ(release(kShift | kAlt), 0u);
  ASSERT_EQ(s.pointCount, 2);
  EXPECT_EQ(s.pointTable[0].handleFlags.to_ulong(), 0b10u);
  EXPECT_EQ(s.pointTable[1].handleFlags.to_ulong(), 0b11u);
  EXPECT_EQ(s.selectedHandleCount, 3);
  EXPECT_EQ(s.selectedInHandleCount, 1);
  EXPECT_EQ(states("p"), (V{4, 4, 1, 0}));
}

TEST_F(Click, AKeptHandleADragShortenedToZeroLeavesTheTable) {
  open(WaveAndLine("4 4 4"));
  keep("wave", 0, false, true);
  keep("wave", 1, true, false);
  keep("wave", 2, true, false);
  // The drag left point 1's in handle on its anchor; its entry still holds the old handle.
  AIPathSegment shortened = segment("wave", 1);
  shortened.in = shortened.p;
  sq::SuiteAs<AIPathSuite>(sq::SuiteId::Path)
      ->SetPathSegments(plugin.art("wave"), 1, 1, &shortened);
  grab("wave", 2, sq::kDragInHandle);
  s.dragStarted = 1;
  release();

  ASSERT_EQ(s.pointCount, 2);
  EXPECT_EQ(s.pointTable[1].segmentIndex, 2);
  EXPECT_EQ(s.selectedHandleCount, 2);
  EXPECT_EQ(s.selectedInHandleCount, 1);
  // The kept entries show exactly their kept handles.
  EXPECT_EQ(s.pointTable[0].shownParts.to_ulong(), 0b10u);
  EXPECT_EQ(s.pointTable[1].shownParts.to_ulong(), 0b01u);
}

TEST_F(Click, ADragWithoutKeptHandlesSelectsWhatWasDragged) {
  open(WaveAndLine("1 0 0"));
  grab("wave", 1, sq::kDragOutHandle);
  s.dragStarted = 1;
  release();
  EXPECT_EQ(states("wave"), (V{4, 1, 0}));  // the other anchor shows its handles

  // A segment drag adds the segment's sides: the start's anchor shows both, the end its in side.
  open(WaveAndLine("1 0 0"));
  grab("wave", 1, sq::kDragSegment);
  s.dragStarted = 1;
  release();
  EXPECT_EQ(states("wave"), (V{4, 2, 0}));
}

// Whole gestures through the host: press, release and the host's undo history.
class Gesture : public sqtest::SessionGestureTest {
 protected:
  void SetUp() override { start(WaveAndLine("0 4 0")); }
  bool click(float x, float y, int32_t modifiers = 0) {
    return driver().press(x, y, modifiers) && driver().release(x, y, modifiers);
  }
  std::size_t undoCount() { return driver().report()["undo"]["undo"].get<std::size_t>(); }
};

TEST_F(Gesture, ASelectionClickLeavesNoUndoEntryAndAnEditClickOneThatUndoTakesBack) {
  ASSERT_TRUE(click(350, 50));
  EXPECT_EQ(undoCount(), 0u);
  EXPECT_FALSE(art("wave").selected());
  EXPECT_FALSE(art("line").selected());

  before = document();
  ASSERT_TRUE(click(150, 200, kAlt));
  EXPECT_EQ(undoCount(), 1u);
  EXPECT_NE(art("wave").path().segment(1).corner, 0);
  ASSERT_TRUE(driver().run("undo"));
  EXPECT_EQ(document(), before);
}

TEST_F(Gesture, APlainClickOnASegmentSelectsJustThatSegment) {
  ASSERT_TRUE(click(205, 260));  // the middle of the curve from point 1 to point 2
  const auto& wave = art("wave").path();
  EXPECT_EQ(static_cast<int>(wave.selection(1)), 3);
  EXPECT_EQ(static_cast<int>(wave.selection(2)), 2);
  EXPECT_EQ(static_cast<int>(wave.selection(0)), 0);
  EXPECT_TRUE(art("line").selected());  // other paths keep their selection
}

}  // namespace
