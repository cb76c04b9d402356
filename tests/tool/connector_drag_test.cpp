// Connector handles during drags: they snap onto the extension of their straight segment, follow
// it when its far anchor moves, and are retracted rather than flipped.
#include "tool/connector_drag.hpp"

#include <gtest/gtest.h>

#include "tool/gesture_fixture.hpp"

namespace {

using sqtest::At;
using sqtest::kAlt;
using sqtest::Near;

// Point 1 is a connector: a straight segment from point 0, then a curve leaving along it.
constexpr const char* kConnector = "<path id='p' d='M 0 100 L 100 100 C 150 100 200 50 200 0'/>";

class ConnectorDrag : public sqtest::ToolGestureTest {
 protected:
  void open(const std::string& svg, bool recognize = true) {
    ToolGestureTest::open(svg);
    s.settings.recognize_connectors = recognize ? 1 : 0;
  }
};

TEST_F(ConnectorDrag, MovingTheFarAnchorTurnsTheHandleOnlyWhenConnectorsAreRecognized) {
  open(kConnector, false);
  press(0, 100);
  drag(0, 130);
  EXPECT_TRUE(sq::SamePoint(segment("p", 1).out, At(150, 100)));

  // Recognized, the handle follows (see the gesture below); the dragged point's reference handle
  // is not taken over by the neighbour that follows.
  open(kConnector);
  press(0, 100);
  const AIRealPoint target = s.handleTarget;
  drag(0, 130);
  EXPECT_TRUE(sq::SamePoint(s.handleTarget, target));
  EXPECT_FALSE(sq::SamePoint(segment("p", 1).out, At(150, 100)));
  // Alt now pulls a handle out of the far anchor, which stays put: the connector goes back.
  drag(0, 140, kAlt);
  EXPECT_TRUE(sq::SamePoint(segment("p", 0).p, At(0, 100)));
  EXPECT_TRUE(sq::SamePoint(segment("p", 1).out, At(150, 100)));
}

TEST_F(ConnectorDrag, ANeighbourDraggedOntoTheConnectorKeepsItsDirectionUntilItLeaves) {
  open(kConnector);
  press(0, 100);
  drag(100, 100);
  EXPECT_EQ(s.coincidingNeighbour, sq::kNextRecord);
  EXPECT_TRUE(Near(segment("p", 1).out, At(150, 100)));
  drag(50, 130);
  EXPECT_EQ(s.coincidingNeighbour, 0);
  const AIPathSegment p1 = segment("p", 1);
  EXPECT_NEAR(sqtest::AngleOf(p1.p, p1.out), sqtest::AngleOf(At(50, 130), At(100, 100)), 1e-5);
  EXPECT_TRUE(allFinite("p"));
}

TEST_F(ConnectorDrag, AMovedConnectorStaysOnItsExtensionAndKeepsItsHandlesOnTheFarAnchor) {
  open(kConnector);
  press(100, 100);
  drag(100, 130);
  AIPathSegment p1 = segment("p", 1);
  EXPECT_TRUE(sq::SamePoint(p1.p, At(100, 130)));
  EXPECT_NEAR(sqtest::LengthOf(p1.p, p1.out), 50.0, 1e-3);
  EXPECT_NEAR(sqtest::AngleOf(p1.p, p1.out), sqtest::AngleOf(At(0, 100), At(100, 130)), 1e-5);
  EXPECT_TRUE(sq::SamePoint(p1.in, p1.p));

  // On the far anchor the straight segment has no direction: the handle keeps its offset.
  drag(0, 100);
  p1 = segment("p", 1);
  EXPECT_TRUE(sq::SamePoint(p1.p, At(0, 100)));
  EXPECT_TRUE(Near(p1.out, At(50, 100)));
  EXPECT_TRUE(sq::SamePoint(p1.in, p1.p));
}

TEST_F(ConnectorDrag, AHandlePulledOutNearTheStraightDirectionSnapsOntoItWhenRecognized) {
  // Point 1 is a corner without handles after a straight segment.
  for (const bool recognize : {true, false}) {
    SCOPED_TRACE(recognize ? "recognized" : "not recognized");
    open("<path id='p' d='M 0 100 L 100 100 L 200 0'/>", recognize);
    s.settings.pointdrag = 0;
    press(100, 100);
    ASSERT_EQ(s.anchorCase, 7);
    drag(160, 102);
    const AIPathSegment p1 = segment("p", 1);
    if (!recognize) {
      EXPECT_TRUE(sq::SamePoint(p1.out, At(160, 102)));
      continue;
    }
    EXPECT_EQ(p1.out.v, p1.p.v);  // exactly on the extension
    EXPECT_NEAR(sqtest::LengthOf(p1.p, p1.out), std::hypot(60.0, 2.0), 1e-3);
    drag(160, 120);
    EXPECT_TRUE(sq::SamePoint(segment("p", 1).out, At(160, 120)));
  }
}

TEST_F(ConnectorDrag, AConnectorHandlePushedThroughItsAnchorRetractsAndItsStraightSegmentStays) {
  open(kConnector);
  // The curve after the connector, grabbed in the middle and pulled back past the connector.
  press(168.75f, 68.75f);
  ASSERT_EQ(s.dragMode, sq::kDragSegment);
  ASSERT_EQ(s.previousConnector.connectorActive, 1);
  drag(128.75f, 38.75f);
  AIPathSegment p1 = segment("p", 1);
  EXPECT_EQ(p1.out.v, p1.p.v);  // slid along its line only
  EXPECT_NEAR(p1.out.h, 130.0f, 1e-3);
  drag(8.75f, 68.75f);
  p1 = segment("p", 1);
  EXPECT_TRUE(sq::SamePoint(p1.out, p1.p));
  EXPECT_EQ(s.previousConnector.connectorPending, 0);

  // The straight segment of a connector does not bend.
  open(kConnector);
  const auto before = segments("p");
  press(50, 100);
  drag(50, 70);
  const auto after = segments("p");
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    EXPECT_TRUE(sq::SamePoint(after[i].in, before[i].in) &&
                sq::SamePoint(after[i].out, before[i].out));
  }
}

TEST_F(ConnectorDrag, AHandleAHairBelowTheStraightDirectionIsStillOnIt) {
  open(kConnector);
  press(100, 100);
  ASSERT_EQ(s.grabbedConnector.connectorActive, 1);
  ASSERT_EQ(s.grabbedConnector.startLineAngle, 0.0f);
  // An angle just under a whole turn.
  s.grabbedPoint.segment.out = At(150, 100.001f);
  sq::ConnectorHandleCheck(s);
  EXPECT_FALSE(sq::SamePoint(s.grabbedPoint.segment.out, s.grabbedPoint.segment.p));
  EXPECT_EQ(s.grabbedConnector.connectorPending, 1);
}

TEST_F(ConnectorDrag, AStraightSegmentShrunkToNothingGivesNoDirectionToSnapTo) {
  // Point 1's handle is far off the straight segment's direction but close to angle 0.
  open("<path id='p' d='M 13.4 150 L 100 100 C 150 99 200 50 200 0'/>");
  const AIRealPoint out = segment("p", 1).out;
  press(13.4f, 150);
  ASSERT_EQ(s.nextConnector.connectorActive, 0);
  ASSERT_GE(s.nextConnector.lineNeighbour, 0);
  drag(100, 100);
  EXPECT_TRUE(sq::SamePoint(segment("p", 1).out, out));
  EXPECT_TRUE(allFinite("p"));
}

// Through the real plug-in, with connectors recognized.
class ConnectorGesture : public sqtest::SessionGestureTest {};

TEST_F(ConnectorGesture, TheFarAnchorMovesAndTheConnectorFollowsUntilUndone) {
  start(kConnector, {{"recognize_connectors", true}});
  ASSERT_TRUE(driver().press(0, 100));
  ASSERT_TRUE(driver().drag(0, 115));
  ASSERT_TRUE(driver().drag(0, 130));
  const AIPathSegment p1 = segment("p", 1);
  EXPECT_TRUE(sq::SamePoint(p1.p, At(100, 100)));
  EXPECT_NEAR(sqtest::LengthOf(p1.p, p1.out), 50.0, 1e-3);
  EXPECT_NEAR(sqtest::AngleOf(p1.p, p1.out), sqtest::AngleOf(At(0, 130), At(100, 100)), 1e-5);
  releaseAndUndo(0, 130);
}

TEST_F(ConnectorGesture, ACurveHandleSnapsOntoTheStraightDirectionAndIsReleased) {
  // Point 1 follows a straight segment; its out handle points well away from it.
  start("<path id='p' d='M 0 100 L 100 100 C 140 60 200 50 200 0' sq:selection='0 4 0'/>",
        {{"recognize_connectors", true}});
  ASSERT_TRUE(driver().press(140, 60));
  ASSERT_TRUE(driver().drag(160, 98));
  AIPathSegment p1 = segment("p", 1);
  EXPECT_EQ(p1.out.v, p1.p.v);
  EXPECT_NEAR(sqtest::LengthOf(p1.p, p1.out), std::hypot(60.0, 2.0), 1e-3);
  ASSERT_TRUE(driver().drag(160, 70));
  EXPECT_TRUE(Near(segment("p", 1).out, At(160, 70)));
  releaseAndUndo(160, 70);
}

}  // namespace
