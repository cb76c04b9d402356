// Connector handles during drags: they snap onto the extension of their straight segment, follow
// it when its far anchor moves, and are retracted rather than flipped.
#include "tool/connector_drag.hpp"

#include <gtest/gtest.h>

#include "tool/drag_branch_fixture.hpp"

namespace {

using sqtest::At;
using sqtest::Near;

// Point 1 is a connector: a straight segment from point 0, then a curve leaving along it.
constexpr const char* kConnector = "<path id='p' d='M 0 100 L 100 100 C 150 100 200 50 200 0'/>";

class ConnectorDrag : public sqtest::DragBranchTest {
 protected:
  void recognize() { s.settings.recognize_connectors = 1; }
};

TEST_F(ConnectorDrag, MovingTheFarAnchorTurnsTheHandleOnlyWhenConnectorsAreRecognized) {
  open(kConnector);
  pressAnchor("p", 0);
  ASSERT_EQ(step(At(0, 130)), kNoErr);
  EXPECT_TRUE(sq::SamePoint(segment("p", 1).out, At(150, 100)));

  open(kConnector);
  recognize();
  pressAnchor("p", 0);
  const AIRealPoint target = s.handleTarget;
  ASSERT_EQ(step(At(0, 130)), kNoErr);
  // The dragged point's reference handle is not taken over by the neighbour that follows.
  EXPECT_TRUE(sq::SamePoint(s.handleTarget, target));
  const AIPathSegment p1 = segment("p", 1);
  EXPECT_TRUE(sq::SamePoint(p1.p, At(100, 100)));
  EXPECT_NEAR(sqtest::LengthOf(p1.p, p1.out), 50.0, 1e-3);
  EXPECT_NEAR(sqtest::AngleOf(p1.p, p1.out), sqtest::AngleOf(At(0, 130), At(100, 100)), 1e-5);
  // Alt now pulls a handle out of the far anchor, which stays put: the connector goes back.
  ASSERT_EQ(step(At(0, 140), sq::kAltKey), kNoErr);
  EXPECT_TRUE(sq::SamePoint(segment("p", 0).p, At(0, 100)));
  EXPECT_TRUE(sq::SamePoint(segment("p", 1).out, At(150, 100)));
}

TEST_F(ConnectorDrag, ANeighbourDraggedOntoTheConnectorKeepsItsDirectionUntilItLeaves) {
  open(kConnector);
  recognize();
  pressAnchor("p", 0);
  ASSERT_EQ(step(At(100, 100)), kNoErr);
  EXPECT_EQ(s.coincidingNeighbour, sq::kNextRecord);
  EXPECT_TRUE(Near(segment("p", 1).out, At(150, 100)));
  ASSERT_EQ(step(At(50, 130)), kNoErr);
  EXPECT_EQ(s.coincidingNeighbour, 0);
  const AIPathSegment p1 = segment("p", 1);
  EXPECT_NEAR(sqtest::AngleOf(p1.p, p1.out), sqtest::AngleOf(At(50, 130), At(100, 100)), 1e-5);
  EXPECT_TRUE(allFinite("p"));
}

TEST_F(ConnectorDrag, AMovedConnectorStaysOnItsExtensionAndKeepsItsHandlesOnTheFarAnchor) {
  open(kConnector);
  recognize();
  pressAnchor("p", 1);
  ASSERT_EQ(step(At(100, 130)), kNoErr);
  AIPathSegment p1 = segment("p", 1);
  EXPECT_TRUE(sq::SamePoint(p1.p, At(100, 130)));
  EXPECT_NEAR(sqtest::LengthOf(p1.p, p1.out), 50.0, 1e-3);
  EXPECT_NEAR(sqtest::AngleOf(p1.p, p1.out), sqtest::AngleOf(At(0, 100), At(100, 130)), 1e-5);
  EXPECT_TRUE(sq::SamePoint(p1.in, p1.p));

  // On the far anchor the straight segment has no direction: the handle keeps its offset.
  ASSERT_EQ(step(At(0, 100)), kNoErr);
  p1 = segment("p", 1);
  EXPECT_TRUE(sq::SamePoint(p1.p, At(0, 100)));
  EXPECT_TRUE(Near(p1.out, At(50, 100)));
  EXPECT_TRUE(sq::SamePoint(p1.in, p1.p));
}

TEST_F(ConnectorDrag, AHandleNearTheStraightDirectionSnapsOntoItAndIsReleasedFurtherAway) {
  // Point 1 is a corner without handles after a straight segment.
  open("<path id='p' d='M 0 100 L 100 100 L 200 0'/>");
  recognize();
  s.settings.pointdrag = 0;
  pressAnchor("p", 1);
  ASSERT_EQ(s.anchorCase, 7);
  ASSERT_EQ(step(At(160, 102)), kNoErr);
  AIPathSegment p1 = segment("p", 1);
  EXPECT_EQ(p1.out.v, p1.p.v);  // exactly on the extension
  EXPECT_NEAR(sqtest::LengthOf(p1.p, p1.out), std::hypot(60.0, 2.0), 1e-3);
  ASSERT_EQ(step(At(160, 120)), kNoErr);
  EXPECT_TRUE(sq::SamePoint(segment("p", 1).out, At(160, 120)));

  // Without recognition it is not held.
  open("<path id='p' d='M 0 100 L 100 100 L 200 0'/>");
  s.settings.pointdrag = 0;
  pressAnchor("p", 1);
  ASSERT_EQ(step(At(160, 102)), kNoErr);
  EXPECT_TRUE(sq::SamePoint(segment("p", 1).out, At(160, 102)));
}

TEST_F(ConnectorDrag, AConnectorHandlePushedThroughItsAnchorRetractsAndItsStraightSegmentStays) {
  open(kConnector);
  recognize();
  // The curve after the connector, grabbed in the middle and pulled back past the connector.
  pressSegment("p", 2, 0.5f);
  ASSERT_EQ(s.previousConnector.connectorActive, 1);
  ASSERT_EQ(step({s.grabPoint.h - 40.0f, s.grabPoint.v + 30.0f}), kNoErr);
  AIPathSegment p1 = segment("p", 1);
  EXPECT_EQ(p1.out.v, p1.p.v);  // slid along its line only
  EXPECT_NEAR(p1.out.h, 130.0f, 1e-3);
  ASSERT_EQ(step({s.grabPoint.h - 160.0f, s.grabPoint.v}), kNoErr);
  p1 = segment("p", 1);
  EXPECT_TRUE(sq::SamePoint(p1.out, p1.p));
  EXPECT_EQ(s.previousConnector.connectorPending, 0);

  // The straight segment of a connector does not bend.
  open(kConnector);
  recognize();
  const auto before = segments("p");
  pressSegment("p", 1, 0.5f);
  ASSERT_EQ(step({s.grabPoint.h, s.grabPoint.v + 30.0f}), kNoErr);
  const auto after = segments("p");
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    EXPECT_TRUE(sq::SamePoint(after[i].in, before[i].in) &&
                sq::SamePoint(after[i].out, before[i].out));
  }
}

TEST_F(ConnectorDrag, TheHandleCheckMeasuresRoundTheCircle) {
  open(kConnector);
  recognize();
  pressAnchor("p", 1);
  ASSERT_EQ(s.grabbedConnector.connectorActive, 1);
  ASSERT_EQ(s.grabbedConnector.startLineAngle, 0.0f);
  // A hair below the straight direction (an angle just under a whole turn) is still on it.
  s.grabbedPoint.segment.out = At(150, 100.001f);
  sq::ConnectorHandleCheck(s);
  EXPECT_FALSE(sq::SamePoint(s.grabbedPoint.segment.out, s.grabbedPoint.segment.p));
  EXPECT_EQ(s.grabbedConnector.connectorPending, 1);
  // Through the anchor it retracts instead of flipping.
  s.grabbedPoint.segment.out = At(60, 100);
  sq::ConnectorHandleCheck(s);
  EXPECT_TRUE(sq::SamePoint(s.grabbedPoint.segment.out, s.grabbedPoint.segment.p));
  EXPECT_EQ(s.grabbedConnector.handleLength, 0.0f);
  EXPECT_EQ(s.grabbedConnector.connectorPending, 0);
}

TEST_F(ConnectorDrag, AStraightSegmentShrunkToNothingGivesNoDirectionToSnapTo) {
  // Point 1's handle is far off the straight segment's direction but close to angle 0.
  open("<path id='p' d='M 13.4 150 L 100 100 C 150 99 200 50 200 0'/>");
  recognize();
  const AIRealPoint out = segment("p", 1).out;
  pressAnchor("p", 0);
  ASSERT_EQ(s.nextConnector.connectorActive, 0);
  ASSERT_GE(s.nextConnector.lineNeighbour, 0);
  ASSERT_EQ(step(At(100, 100)), kNoErr);
  EXPECT_TRUE(sq::SamePoint(segment("p", 1).out, out));
  EXPECT_TRUE(allFinite("p"));
}

}  // namespace

// Through the real plug-in, with connectors recognized.
namespace {

class ConnectorGesture : public sqtest::HostTest {
 protected:
  void start(const std::string& body) {
    nlohmann::json section = {{"recognize_connectors", {{"type", "boolean"}, {"value", true}}}};
    nlohmann::json file = {{"version", 1}, {"sections", {{"Spindlequiver", section}}}};
    sqtest::writeFile(prefsFile(), file.dump());
    startHost();
    driver().open(body);
    ASSERT_TRUE(driver().chooseTool("Spindlequiver Tool"));
    before = document();
  }
  AIPathSegment segment(std::size_t i) {
    return host().currentDocument()->layer(0).group().child(0).path().segment(i);
  }
  std::string document() { return sqhost::svg::exportSvg(*host().currentDocument()); }
  void releaseAndUndo(float x, float y) {
    ASSERT_TRUE(driver().release(x, y));
    ASSERT_TRUE(driver().run("undo"));
    EXPECT_EQ(document(), before);
  }
  std::string before;
};

TEST_F(ConnectorGesture, TheFarAnchorMovesAndTheConnectorFollowsUntilUndone) {
  start(kConnector);
  ASSERT_TRUE(driver().press(0, 100));
  ASSERT_TRUE(driver().drag(0, 115));
  ASSERT_TRUE(driver().drag(0, 130));
  const AIPathSegment p1 = segment(1);
  EXPECT_TRUE(sq::SamePoint(p1.p, At(100, 100)));
  EXPECT_NEAR(sqtest::LengthOf(p1.p, p1.out), 50.0, 1e-3);
  EXPECT_NEAR(sqtest::AngleOf(p1.p, p1.out), sqtest::AngleOf(At(0, 130), At(100, 100)), 1e-5);
  releaseAndUndo(0, 130);
}

TEST_F(ConnectorGesture, ACurveHandleSnapsOntoTheStraightDirectionAndIsReleased) {
  // Point 1 follows a straight segment; its out handle points well away from it.
  start("<path d='M 0 100 L 100 100 C 140 60 200 50 200 0' sq:selection='0 4 0'/>");
  ASSERT_TRUE(driver().press(140, 60));
  ASSERT_TRUE(driver().drag(160, 98));
  AIPathSegment p1 = segment(1);
  EXPECT_EQ(p1.out.v, p1.p.v);
  EXPECT_NEAR(sqtest::LengthOf(p1.p, p1.out), std::hypot(60.0, 2.0), 1e-3);
  ASSERT_TRUE(driver().drag(160, 70));
  EXPECT_TRUE(Near(segment(1).out, At(160, 70)));
  releaseAndUndo(160, 70);
}

}  // namespace
