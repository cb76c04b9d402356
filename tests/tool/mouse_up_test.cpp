// The end of a gesture: clicks on nothing, and the point table and host selection after a drag.
#include <gtest/gtest.h>

#include <vector>

#include "shell/host_suites.hpp"
#include "sqsdk/suites/ai_path.h"
#include "support/host_fixture.hpp"
#include "tool/release_fixture.hpp"

namespace {

using V = std::vector<int>;
using sqtest::kAlt;
using sqtest::kShift;

// The wave: 0 (40, 200) out (70, 120); 1 (150, 200) in (120, 120) out (180, 280); 2 (260, 200)
// in (230, 280). The line: (40, 350) to (260, 350), selected.
std::string WaveAndLine(const std::string& waveStates) {
  return R"(<path id="wave" d="M 40 200 C 70 120 120 120 150 200 C 180 280 230 280 260 200"
                sq:selection=")" +
         waveStates + R"("/><path id="line" d="M 40 350 L 260 350" sq:selection="1 1"/>)";
}

class MouseUp : public sqtest::ReleaseTest {};

TEST_F(MouseUp, AClickOnNothingDropsKeptHandlesThenDeselectsAllWithoutUndoEntries) {
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

TEST_F(MouseUp, ShiftAltOnNothingKeepsEveryHandleOfTheSelectedAnchors) {
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

TEST_F(MouseUp, AKeptHandleADragShortenedToZeroLeavesTheTable) {
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

TEST_F(MouseUp, ADragWithoutKeptHandlesSelectsWhatWasDragged) {
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
class Gesture : public sqtest::HostTest {
 protected:
  void SetUp() override {
    startHost();
    driver().open(WaveAndLine("0 4 0"));
    ASSERT_TRUE(driver().chooseTool("Spindlequiver Tool"));
  }
  bool click(float x, float y, int32_t modifiers = 0) {
    return driver().press(x, y, modifiers) && driver().release(x, y, modifiers);
  }
  std::size_t undoCount() { return driver().report()["undo"]["undo"].get<std::size_t>(); }
  // The wave or the line (the line is drawn last, so it is the layer's first child).
  const sqhost::Art& art(const std::string& name) {
    const sqhost::Art& layer = host().currentDocument()->layer(0).group();
    return layer.child(layer.child(0).name() == name ? 0 : 1);
  }
  std::string document() { return sqhost::svg::exportSvg(*host().currentDocument()); }
};

TEST_F(Gesture, ASelectionClickLeavesNoUndoEntryAndAnEditClickOneThatUndoTakesBack) {
  ASSERT_TRUE(click(350, 50));
  EXPECT_EQ(undoCount(), 0u);
  EXPECT_FALSE(art("wave").selected());
  EXPECT_FALSE(art("line").selected());

  const std::string before = document();
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
