// The smooth-point handle rule and the connector test.
#include "geometry/connector.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace sq {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

AIPathSegment Seg(AIRealPoint p, AIRealPoint in, AIRealPoint out) {
  return {p, in, out, 0};
}

TEST(AlignOppositeHandle, TurnsTheOtherHandleOppositeKeepingItsLength) {
  const AIPathSegment s = Seg({10, 10}, {10, 14}, {13, 10});  // in up (4), out right (3)
  const AIPathSegment out = AlignOppositeHandle(s, true);
  EXPECT_NEAR(out.out.h, 10.0, 1e-5);
  EXPECT_NEAR(out.out.v, 7.0, 1e-5);
  EXPECT_EQ(out.in.v, s.in.v);
  const AIPathSegment in = AlignOppositeHandle(s, false);
  EXPECT_NEAR(in.in.h, 6.0, 1e-5);
  EXPECT_NEAR(in.in.v, 10.0, 1e-5);
  // A retracted target or source changes nothing.
  EXPECT_EQ(AlignOppositeHandle(Seg({10, 10}, {10, 14}, {10, 10}), true).out.v, 10.0f);
  EXPECT_EQ(AlignOppositeHandle(Seg({10, 10}, {10, 10}, {13, 10}), true).out.h, 13.0f);
}

// Open path: a straight segment (0,0) → (100,0), then point 1 whose out handle leaves at
// `degrees` from that direction, then a last point.
std::vector<AIPathSegment> StraightThenCurve(double degrees) {
  const auto a = static_cast<float>(degrees * kDegree);
  return {Seg({0, 0}, {0, 0}, {0, 0}),
          Seg({100, 0}, {100, 0}, {100 + 30 * std::cos(a), 30 * std::sin(a)}),
          Seg({200, 50}, {170, 50}, {200, 50})};
}

ConnectorQuery Query(int32_t dragMode = 2) {
  return {.recognizeConnectors = true, .angleThresholdRadians = 5 * kDegree, .dragMode = dragMode};
}

TEST(TestConnector, HandleWithinTheThresholdOfTheStraightSegment) {
  const auto path = StraightThenCurve(3.0);
  const ConnectorState s = TestConnector(path[1], 1, path, false, Query());
  EXPECT_EQ(s.isConnector + s.connectorActive + s.connectorPending, 3);
  EXPECT_EQ(s.usesInHandle, 0);
  EXPECT_EQ(s.lineNeighbour, 0);
  EXPECT_NEAR(s.handleLength, 30.0, 1e-4);
  EXPECT_NEAR(s.angleError, 3.0 * kDegree, 1e-6);
  const auto below = StraightThenCurve(-3.0);  // error near 2π counts too
  EXPECT_EQ(TestConnector(below[1], 1, below, false, Query()).isConnector, 1);
  // 7° off: not a connector, but the straight neighbour stays known for the drag rules.
  const auto off = StraightThenCurve(7.0);
  const ConnectorState far = TestConnector(off[1], 1, off, false, Query());
  EXPECT_EQ(far.isConnector, 0);
  EXPECT_EQ(far.lineNeighbour, 0);
}

TEST(TestConnector, RulesOutTheWrongPointsAndPresses) {
  const auto path = StraightThenCurve(1.0);
  ConnectorQuery disabled = Query();
  disabled.recognizeConnectors = false;
  EXPECT_EQ(TestConnector(path[1], 1, path, false, disabled).lineNeighbour, -1);
  EXPECT_EQ(TestConnector(path[0], 0, path, false, Query()).lineNeighbour, -1);  // open ends
  EXPECT_EQ(TestConnector(path[2], 2, path, false, Query()).lineNeighbour, -1);
  EXPECT_EQ(TestConnector(path[1], 1, std::span(path).first(2), true, Query()).isConnector, 0);
  // On a closed path point 0's straight neighbour is the last point, (200,50).
  auto closed = path;
  closed[0].out = {-40, -10};  // continues the line (200,50) → (0,0)
  const ConnectorState wrapped = TestConnector(closed[0], 0, closed, true, Query());
  EXPECT_EQ(wrapped.lineNeighbour, 2);
  EXPECT_EQ(wrapped.isConnector, 1);
  // Both handles retracted: only a segment drag or an anchor drag of case 7 looks further.
  auto bare = path;
  bare[1].out = bare[1].p;
  bare[2].in = bare[2].p;
  EXPECT_EQ(TestConnector(bare[1], 1, bare, false, Query()).lineNeighbour, -1);
  ConnectorQuery segment = Query(kConnectorDragSegment);
  EXPECT_EQ(TestConnector(bare[1], 1, bare, false, segment).lineNeighbour, 0);  // looks back
  segment.lookForward = true;
  EXPECT_EQ(TestConnector(bare[1], 1, bare, false, segment).lineNeighbour, 2);  // looks ahead
  ConnectorQuery corner = Query(kConnectorDragAnchor);
  corner.anchorCase = kAnchorCaseCornerRetracted;
  EXPECT_EQ(TestConnector(bare[1], 1, bare, false, corner).lineNeighbour, 0);
  // An in handle looks ahead: the straight segment must lead on to the next point.
  auto mirrored = bare;
  mirrored[1].in = {70, 1};
  mirrored[0].out = {20, 20};  // the segment behind is curved; ahead it is straight
  const ConnectorState ahead = TestConnector(mirrored[1], 1, mirrored, false, Query());
  EXPECT_EQ(ahead.usesInHandle, 1);
  EXPECT_EQ(ahead.lineNeighbour, 2);
  EXPECT_EQ(ahead.isConnector, 0);  // (100,0) → (200,50) is not along the in handle
}

}  // namespace
}  // namespace sq
