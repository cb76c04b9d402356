// Selection gathering, the nearest-point search and the point table, through the host's suites.
#include "geometry/selection.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

#include "app/host.hpp"
// The curve search and the path search in one translation unit: one name per type.
#include "geometry/nearest.hpp"
#include "shell/host_suites.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_art.h"
#include "sqsdk/suites/ai_art_set.h"
#include "sqsdk/suites/ai_path.h"
#include "support/in_process_plugin.hpp"
#include "svg/svg_io.hpp"

namespace {

static_assert(!std::is_same_v<sq::NearestPoint, sq::NearestPathPoint>);

// A host with one document, and the plug-in's own code holding the host's suites in this process.
class SelectionTest : public ::testing::Test {
 protected:
  void open(const std::string& svgBody) {
    plugin.open(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:sq=\"urn:spindlequiver:host\" "
        "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" "
        "xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\" "
        "viewBox=\"0 0 400 400\">" +
        svgBody + "</svg>");
    if (::testing::Test::HasFatalFailure()) return;
    host = &plugin.host();
  }

  AIArtHandle art(const std::string& name) { return plugin.art(name); }

  AIDocumentViewHandle view() { return sqhost::ViewList::handleOf(*host->currentView()); }

  std::optional<sq::NearestPathPoint> nearest(float h, float v, int radius = 6) {
    return sq::findNearestPoint(s, view(), radius, AIRealPoint{h, v});
  }

  sqtest::InProcessPlugin plugin;
  sqhost::Host* host = nullptr;
  sq::PluginState& s = plugin.state();
};

TEST_F(SelectionTest, GatheringFindsSelectedPathsAndUnlockedPluginResultPaths) {
  open(R"(<g id="g"><path id="inner" d="M 0 0 L 10 10" sq:selection="1 1"/></g>
          <g id="blend" sq:plugin-art="Blend" sq:selected="1">
            <path id="r1" d="M 0 0 L 5 5"/>
            <path id="r2" d="M 0 0 L 6 6" sodipodi:insensitive="true"/>
          </g>
          <path id="solo" d="M 50 50 L 60 60" sq:selection="1 0"/>
          <path id="other" d="M 80 80 L 90 90"/>)");
  ASSERT_EQ(sq::gatherSelectedPaths(s), kNoErr);
  // inner, solo and the unlocked result path r1; not r2 (locked) nor other (unselected).
  EXPECT_EQ(s.workingPathCount, 3);
  EXPECT_GE(s.workingArtCount, 4);  // the group and the plug-in art are in the set too
  sq::SuiteAs<AIArtSetSuite>(sq::SuiteId::ArtSet)->DisposeArtSet(s.workingArtSet);
}

TEST_F(SelectionTest, AnchorsWinOverNearerHandlesAndHiddenHandlesAreNeverFound) {
  // Point 1 is selected with both sides; its out handle lies 2 units from the query, the anchor 4.
  open(R"(<path id="p" d="M 100 100 C 100 100 150 100 150 100 C 152 100 200 150 200 150"
             sq:selection="0 4 0"/>)");
  auto found = nearest(154, -100);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->hitPart, sq::kHitAnchor);
  EXPECT_EQ(found->segmentIndex, 1);
  // Away from the anchor the handle is found.
  found = nearest(153, -100, 1);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->hitPart, sq::kHitOutHandle);
}

TEST_F(SelectionTest, TwoPointSelectedAnchorsHideTheirHandles) {
  open(R"(<path id="p" d="M 100 100 C 130 100 170 130 200 200 C 230 270 260 300 300 300"
             sq:selection="1 1 0"/>)");
  // The out handle of point 0 sits at (130, -100); with two anchors point-selected it is hidden.
  EXPECT_FALSE(nearest(130, -100, 4).has_value());
  // A single point-selected anchor shows both handles.
  ASSERT_EQ(sq::SuiteAs<AIPathSuite>(sq::SuiteId::Path)->SetPathSegmentSelected(art("p"), 1, 0),
            kNoErr);
  auto found = nearest(130, -100, 4);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->hitPart, sq::kHitOutHandle);
  EXPECT_EQ(found->segmentIndex, 0);
}

TEST_F(SelectionTest, UnselectedAnchorsAreFoundButNeverInLockedOrHiddenGroups) {
  open(R"(<path id="free" d="M 10 10 L 40 10"/>
          <g sodipodi:insensitive="true"><path id="l" d="M 100 10 L 140 10"/></g>
          <g style="display:none"><path id="h" d="M 200 10 L 240 10"/></g>)");
  auto found = nearest(11, -11);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->art, art("free"));
  EXPECT_FALSE(nearest(100, -10).has_value());
  EXPECT_FALSE(nearest(200, -10).has_value());
}

TEST_F(SelectionTest, HandlesFarFromTheirCurveAreFoundButAWholeSelectedPathShowsNone) {
  // The out handle of point 0 lies far right of the curve and of the group holding it.
  open(R"(<g><path id="p" d="M 100 100 C 300 100 100 100 150 100" sq:selection="3 0"/></g>
          <path id="whole" d="M 10 300 C 10 200 60 200 60 300" sq:selected="1"/>)");
  auto found = nearest(300, -100, 3);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->art, art("p"));
  EXPECT_EQ(found->hitPart, sq::kHitOutHandle);
  // Every point of "whole" is point-selected: its handles are hidden.
  EXPECT_FALSE(nearest(10, -200, 3).has_value());
  // A path of one point-selected segment shows both its handles.
  const auto* paths = sq::SuiteAs<AIPathSuite>(sq::SuiteId::Path);
  ASSERT_EQ(paths->DeletePathSegments(art("whole"), 1, 1), kNoErr);
  const AIPathSegment one{{10, -300}, {0, -250}, {10, -200}, 0};
  ASSERT_EQ(paths->SetPathSegments(art("whole"), 0, 1, &one), kNoErr);
  found = nearest(10, -200, 3);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->hitPart, sq::kHitOutHandle);
  EXPECT_EQ(found->segmentIndex, 0);
}

TEST_F(SelectionTest, OfEqualDistancesPathsInTheDocumentComeBeforeThoseThatPlugInArtBrings) {
  // Both anchors lie 4 units from the query; the plug-in art is above the plain path.
  open(R"(<g sq:plugin-art="Blend"><path id="r" d="M 96 100 L 96 150"/></g>
          <path id="plain" d="M 104 100 L 104 150"/>)");
  auto found = nearest(100, -100);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->art, art("plain"));
  // Nearer, the result path wins.
  found = nearest(97, -100);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->art, art("r"));
}

TEST_F(SelectionTest, NothingIsFoundInLockedOrHiddenLayersOrPlugInArt) {
  open(R"(<g inkscape:groupmode="layer" sq:locked="1"><path d="M 10 10 L 40 10"/></g>
          <g inkscape:groupmode="layer" sq:hidden="1"><path d="M 100 10 L 140 10"/></g>
          <g inkscape:groupmode="layer">
            <g sq:plugin-art="Blend" sq:locked="1"><path d="M 200 10 L 240 10"/></g>
            <path id="free" d="M 300 10 L 340 10"/></g>)");
  EXPECT_FALSE(nearest(10, -10).has_value());
  EXPECT_FALSE(nearest(100, -10).has_value());
  EXPECT_FALSE(nearest(200, -10).has_value());
  auto found = nearest(300, -10);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->art, art("free"));
}

TEST_F(SelectionTest, EachSearchSeesTheDocumentAsItIsThen) {
  open(R"(<g id="g"><path id="p" d="M 10 10 L 40 10"/></g>
          <path id="q" d="M 300 300 L 340 300"/>)");
  EXPECT_FALSE(nearest(200, -200).has_value());
  ASSERT_TRUE(nearest(10, -10).has_value());
  // An anchor moved next to the query is found there.
  const auto* paths = sq::SuiteAs<AIPathSuite>(sq::SuiteId::Path);
  const AIPathSegment moved{{201, -200}, {201, -200}, {201, -200}, 0};
  ASSERT_EQ(paths->SetPathSegments(art("q"), 0, 1, &moved), kNoErr);
  auto found = nearest(200, -200);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->art, art("q"));
  // A group locked, a path disposed: nothing is found where they were.
  const AIArtHandle q = art("q");
  const auto* arts = sq::SuiteAs<AIArtSuite>(sq::SuiteId::Art);
  ASSERT_EQ(arts->SetArtUserAttr(art("g"), kAIArtLocked, kAIArtLocked), kNoErr);
  ASSERT_EQ(arts->DisposeArt(q), kNoErr);
  EXPECT_FALSE(nearest(10, -10).has_value());
  EXPECT_FALSE(nearest(200, -200).has_value());
}

TEST_F(SelectionTest, RefreshDropsStaleEntriesLowersCountsAndReappliesPointSelection) {
  open(R"(<path id="p" d="M 0 0 C 10 0 20 10 30 30 C 40 50 60 60 90 60" sq:selection="1 1 0"/>
          <path id="q" d="M 200 200 L 250 250"/>)");
  AIPathSegment seg{};
  ASSERT_TRUE(sq::addEntry(s, art("p"), 0, seg, true, true).has_value());
  ASSERT_TRUE(sq::addEntry(s, art("q"), 1, seg, false, true).has_value());
  EXPECT_EQ(s.pointTable[0].selectionState, 1);
  EXPECT_EQ(s.selectedHandleCount, 3);
  // The second path loses its last point: its entry is stale.
  ASSERT_EQ(sq::SuiteAs<AIPathSuite>(sq::SuiteId::Path)->DeletePathSegments(art("q"), 1, 1),
            kNoErr);
  ASSERT_EQ(sq::refreshTable(s), kNoErr);
  ASSERT_EQ(s.pointCount, 1);
  EXPECT_EQ(s.selectedHandleCount, 2);
  EXPECT_EQ(s.selectedInHandleCount, 1);
  // State 1 with two point-selected anchors on the path is re-applied as 4.
  EXPECT_EQ(s.pointTable[0].selectionState, 4);
  int32_t state = 0;
  sq::SuiteAs<AIPathSuite>(sq::SuiteId::Path)->GetPathSegmentSelected(art("p"), 0, &state);
  EXPECT_EQ(state, 4);
  EXPECT_EQ(s.pointTable[0].segment.p.h, 0.0f);
  EXPECT_EQ(s.pointTable[0].savedSegment.out.h, 10.0f);

  // With othersEdited set nothing changes but the flag.
  s.othersEdited = 1;
  s.pointTable[0].segment.p.h = 99;
  ASSERT_EQ(sq::refreshTable(s), kNoErr);
  EXPECT_EQ(s.othersEdited, 0);
  EXPECT_EQ(s.pointTable[0].segment.p.h, 99.0f);
}

TEST_F(SelectionTest, EntriesTakeTheirLayerColour) {
  open(R"(<g inkscape:groupmode="layer" inkscape:label="L" sq:color="#123456789abc">
            <path id="p" d="M 0 0 L 10 10"/></g>)");
  AIPathSegment seg{};
  ASSERT_TRUE(sq::addEntry(s, art("p"), 0, seg, true, false).has_value());
  EXPECT_EQ(s.pointTable[0].layerColor.red, 0x1234);
  EXPECT_EQ(s.pointTable[0].layerColor.blue, 0x9abc);
}

}  // namespace
