// The end of a gesture: clicks on nothing, and the point table and host selection after a drag.
#include <gtest/gtest.h>

#include <vector>

#include "shell/host_suites.hpp"
#include "sqsdk/suites/ai_path.h"
#include "tool/release_fixture.hpp"

namespace {

using sqtest::ReleaseTest;

// The wave: 0 (40, 200) out (70, 120); 1 (150, 200) in (120, 120) out (180, 280), smooth;
// 2 (260, 200) in (230, 280). The line: 0 (40, 350), 1 (260, 350).
constexpr const char* kWaveAndLine =
    R"(<path id="wave" d="M 40 200 C 70 120 120 120 150 200 C 180 280 230 280 260 200"
             sodipodi:nodetypes="csc" sq:selection="%s"/>
       <path id="line" d="M 40 350 L 260 350" sq:selection="1 1"/>)";

std::string WaveAndLine(const std::string& waveStates) {
  std::string text = kWaveAndLine;
  text.replace(text.find("%s"), 2, waveStates);
  return text;
}

class ClickOnNothing : public ReleaseTest {
 protected:
  void clickAway() {
    s.dragMode = sq::kDragMarquee;
    s.pressPoint = {350, -50};
  }
};

TEST_F(ClickOnNothing, FirstDropsTheKeptHandlesThenDeselectsAllWithoutUndoEntries) {
  open(WaveAndLine("0 4 0"));
  keep("wave", 1, true, false);

  clickAway();
  EXPECT_EQ(releaseAsGesture(), 0u);
  EXPECT_EQ(s.pointCount, 0);
  EXPECT_EQ(s.selectedHandleCount, 0);
  EXPECT_EQ(s.selectedInHandleCount, 0);
  EXPECT_EQ(states("wave"), (std::vector<int>{0, 4, 0}));  // the host selection stays
  EXPECT_EQ(states("line"), (std::vector<int>{1, 1}));

  clickAway();
  EXPECT_EQ(releaseAsGesture(), 0u);
  EXPECT_EQ(states("wave"), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(states("line"), (std::vector<int>{0, 0}));
  EXPECT_EQ(s.dragMode, sq::kDragMarquee);
  EXPECT_EQ(s.toolDragged, 2);
}

TEST_F(ClickOnNothing, ShiftAltKeepsEveryHandleOfTheSelectedAnchors) {
  // 0 has only an out handle, 1 both, 2 none (straight on both sides), 3 is not selected.
  open(R"(<path id="p" d="M 40 100 C 60 60 120 60 150 100 C 180 140 260 100 260 100 L 340 100"
                sq:selection="1 1 1 0"/>)");
  clickAway();
  EXPECT_EQ(releaseAsGesture(0x20 | 0x80), 0u);

  ASSERT_EQ(s.pointCount, 2);
  EXPECT_EQ(s.pointTable[0].segmentIndex, 0);
  EXPECT_EQ(s.pointTable[0].handleFlags.to_ulong(), 0b10u);
  EXPECT_EQ(s.pointTable[1].segmentIndex, 1);
  EXPECT_EQ(s.pointTable[1].handleFlags.to_ulong(), 0b11u);
  EXPECT_EQ(s.selectedHandleCount, 3);
  EXPECT_EQ(s.selectedInHandleCount, 1);
  EXPECT_EQ(states("p"), (std::vector<int>{4, 4, 1, 0}));
}

class AfterDrag : public ReleaseTest {};

TEST_F(AfterDrag, AKeptHandleShortenedToZeroLeavesTheTable) {
  open(WaveAndLine("4 4 4"));
  keep("wave", 0, false, true);
  keep("wave", 1, true, false);
  keep("wave", 2, true, false);
  // The drag left point 1's in handle on its anchor; the table still holds the old handle.
  AIPathSegment shortened = segment("wave", 1);
  shortened.in = shortened.p;
  sq::SuiteAs<AIPathSuite>(sq::SuiteId::Path)
      ->SetPathSegments(plugin.art("wave"), 1, 1, &shortened);

  grab("wave", 2, sq::kDragInHandle);
  s.dragStarted = 1;
  release();

  ASSERT_EQ(s.pointCount, 2);
  EXPECT_EQ(s.pointTable[0].segmentIndex, 0);
  EXPECT_EQ(s.pointTable[1].segmentIndex, 2);
  EXPECT_EQ(s.selectedHandleCount, 2);
  EXPECT_EQ(s.selectedInHandleCount, 1);
  // What the kept entries show is exactly their kept handles, and they start the next drag from
  // the geometry as it is now.
  EXPECT_EQ(s.pointTable[0].shownParts.to_ulong(), 0b10u);
  EXPECT_EQ(s.pointTable[1].shownParts.to_ulong(), 0b01u);
  EXPECT_EQ(s.pointTable[1].savedSegment.in.h, segment("wave", 2).in.h);
}

TEST_F(AfterDrag, AHandleDragWithoutKeptHandlesSelectsTheGrabbedPoint) {
  open(WaveAndLine("1 0 0"));
  grab("wave", 1, sq::kDragOutHandle);
  s.dragStarted = 1;
  release();
  // The other selected anchor shows its handles, the grabbed one is the selected anchor.
  EXPECT_EQ(states("wave"), (std::vector<int>{4, 1, 0}));

  s.settings.anchor_allHandles = 1;
  grab("wave", 1, sq::kDragOutHandle);
  s.dragStarted = 1;
  release();
  EXPECT_EQ(states("wave"), (std::vector<int>{4, 1, 4}));
}

TEST_F(AfterDrag, ASegmentDragAddsTheSegmentsSidesToASelectedPath) {
  open(WaveAndLine("1 0 0"));
  grabSegment("wave", 1, 0.5f);
  s.dragStarted = 1;
  release();
  // The start's anchor selection becomes both sides shown; the end gains its in side.
  EXPECT_EQ(states("wave"), (std::vector<int>{4, 2, 0}));

  open(WaveAndLine("0 0 0"));
  grabSegment("wave", 2, 0.5f);
  s.dragStarted = 1;
  release();
  EXPECT_EQ(states("wave"), (std::vector<int>{0, 3, 2}));
}

}  // namespace
