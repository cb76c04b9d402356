// Equalising and mirroring the handles of a grabbed segment, adding a point to it, and smoothing
// points from their neighbours, called the way the press and drag handlers call them.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "commands/point_operations.hpp"
#include "document/path_geometry.hpp"
#include "tool/add_point.hpp"
#include "tool/gesture_fixture.hpp"
#include "tool/segment_handles.hpp"

namespace {

using sqtest::AngleOf;
using sqtest::LengthOf;
constexpr double kPi = std::numbers::pi;

class SegmentOps : public sqtest::ToolGestureTest {
 protected:
  // The press on the segment that ends at point `end` of path p at parameter t.
  void grab(int end, int start, float t, bool dragStarted = false, bool firstStep = false) {
    ASSERT_EQ(sq::ReadPoint(s.grabbedPoint, plugin.art("p"), end), kNoErr);
    ASSERT_EQ(sq::ReadPoint(s.previousPoint, plugin.art("p"), start), kNoErr);
    s.segmentParameter = t;
    s.dragStarted = dragStarted ? 1 : 0;
    s.firstDragStep = firstStep ? 1 : 0;
  }
  const AIPathSegment& seg(std::size_t i) { return segment("p", i); }
};

// S (100, -300) with a 40-long out handle straight up; E (200, -300) with a 30-long in handle
// pointing up and back, (-0.6, 0.8).
constexpr const char* kEqualisePath = R"(<path id="p" d="M 100 300 C 100 260 182 276 200 300"/>)";

TEST_F(SegmentOps, EqualisingCopiesNearAnEndAndAveragesInTheMiddle) {
  struct Case {
    float t;
    bool started, first;
    float startLength, endLength;
  };
  for (const Case c : {Case{0.2f, false, false, 30, 30}, Case{0.5f, false, false, 35, 35},
                       Case{0.9f, false, false, 40, 40}, Case{0.2f, true, true, 30, 30},
                       // Later drag steps always average, whatever the parameter.
                       Case{0.2f, true, false, 35, 35}, Case{0.9f, true, false, 35, 35}}) {
    SCOPED_TRACE(testing::Message() << "t " << c.t << " started " << c.started);
    open(kEqualisePath);
    grab(1, 0, c.t, c.started, c.first);
    EXPECT_EQ(sq::EqualizeSegmentLengths(s), kNoErr);
    EXPECT_NEAR(LengthOf(seg(0).p, seg(0).out), c.startLength, 1e-3);
    EXPECT_NEAR(LengthOf(seg(1).p, seg(1).in), c.endLength, 1e-3);
    // Directions are kept.
    EXPECT_NEAR(AngleOf(seg(0).p, seg(0).out), kPi / 2, 1e-5);
    EXPECT_NEAR(AngleOf(seg(1).p, seg(1).in), std::atan2(0.8, -0.6), 1e-5);
    // The records follow what was written.
    expectAt(s.previousPoint.segment.out, seg(0).out.h, seg(0).out.v);
    expectAt(s.grabbedPoint.segment.in, seg(1).in.h, seg(1).in.v);
  }
}

TEST_F(SegmentOps, EqualisingNearTheStartWithARetractedEndHandleRetractsTheStartHandle) {
  open(R"(<path id="p" d="M 100 300 C 100 260 200 300 200 300"/>)");
  grab(1, 0, 0.1f);
  EXPECT_EQ(sq::EqualizeSegmentLengths(s), kNoErr);
  EXPECT_TRUE(sq::SamePoint(seg(0).out, seg(0).p));

  // Both handles retracted and the anchors on one another: nothing becomes NaN.
  open(R"(<path id="p" d="M 100 300 C 100 300 100 300 100 300"/>)");
  for (float t : {0.1f, 0.5f, 0.9f}) {
    grab(1, 0, t);
    sq::EqualizeSegmentLengths(s);
    sq::MirrorSegmentHandles(s);
    EXPECT_TRUE(allFinite("p"));
    EXPECT_TRUE(sq::SamePoint(seg(0).out, seg(0).p));
    EXPECT_TRUE(sq::SamePoint(seg(1).in, seg(1).p));
  }
}

// An S-shaped segment: the start handle (30, 40) above the chord, the end handle 40 long at
// π + 0.3, below it; E is a smooth point with a 20-long out handle opposite its in handle.
constexpr const char* kSPath =
    R"(<path id="p" d="M 100 300 C 130 260 161.787 311.821 200 300 C 219.106 294.090 250 250 300 250"
             sodipodi:nodetypes="csc"/>)";

TEST_F(SegmentOps, MirroringAnSShapeFoldsTheFlatterHandleThenAverages) {
  open(kSPath);
  s.settings.drag_break = 0;
  grab(1, 0, 0.5f);
  EXPECT_EQ(sq::MirrorSegmentHandles(s), kNoErr);
  // The end handle (0.3 from the chord, further from perpendicular) is folded onto the start
  // handle's side, and both take the mean of the folded angles.
  const double m = (std::atan2(40.0, 30.0) - 0.3) / 2;
  EXPECT_NEAR(AngleOf(seg(0).p, seg(0).out), m, 1e-4);
  EXPECT_NEAR(AngleOf(seg(1).p, seg(1).in), kPi - m, 1e-4);
  EXPECT_NEAR(LengthOf(seg(0).p, seg(0).out), 50, 1e-3);
  EXPECT_NEAR(LengthOf(seg(1).p, seg(1).in), 40, 1e-3);
  // The smooth end point's out handle turned along, keeping its length.
  EXPECT_EQ(seg(1).corner, 0);
  EXPECT_NEAR(AngleOf(seg(1).p, seg(1).out), -m, 1e-4);
  EXPECT_NEAR(LengthOf(seg(1).p, seg(1).out), 20, 1e-2);
}

TEST_F(SegmentOps, MirroringNearAnEndCopiesTheFarHandleAndDragBreakMakesCorners) {
  open(kSPath);
  s.settings.drag_break = 1;
  const AIPathSegment outBefore = seg(1);
  grab(1, 0, 0.9f);
  EXPECT_EQ(sq::MirrorSegmentHandles(s), kNoErr);
  // The end handle mirrors the start handle about the chord's perpendicular, keeping its length.
  EXPECT_NEAR(AngleOf(seg(1).p, seg(1).in), kPi - std::atan2(40.0, 30.0), 1e-4);
  EXPECT_NEAR(LengthOf(seg(1).p, seg(1).in), 40, 1e-3);
  EXPECT_EQ(seg(1).corner, 1);
  expectAt(seg(1).out, outBefore.out.h, outBefore.out.v);

  open(kSPath);
  s.settings.drag_break = 1;
  grab(1, 0, 0.5f);
  sq::MirrorSegmentHandles(s);
  EXPECT_EQ(seg(0).corner, 1);
  EXPECT_EQ(seg(1).corner, 1);
}

TEST_F(SegmentOps, AddingAPointKeepsTheCurve) {
  // An Alt press on a straight segment: it stays straight; the new point is smooth with its
  // handles on the line, and undo takes it away.
  open(R"(<path id="p" d="M 100 300 L 300 300"/>)");
  s.settings.addpoints = 1;
  const std::string before = document();
  press(131.25f, 300, sqtest::kAlt);
  ASSERT_EQ(s.dragMode, sq::kDragAddPoint);
  ASSERT_EQ(path("p").size(), 3u);
  expectAt(seg(1).p, 131.25, -300);  // the curve's point at t = 0.25
  EXPECT_EQ(seg(1).corner, 0);
  EXPECT_FLOAT_EQ(seg(1).in.v, -300);
  EXPECT_FLOAT_EQ(seg(1).out.v, -300);
  EXPECT_TRUE(sq::SamePoint(seg(0).out, seg(0).p));
  EXPECT_TRUE(sq::SamePoint(seg(2).in, seg(2).p));
  // The records: grabbed is the new point, next the old end one place on.
  EXPECT_EQ(s.grabbedPoint.segmentIndex, 1);
  expectAt(s.grabbedPoint.segment.p, 131.25, -300);
  EXPECT_EQ(s.nextPoint.segmentIndex, 2);
  expectAt(s.nextPoint.segment.p, 300, -300);
  releaseAndUndo(131.25f, 300, before);

  // A symmetric arc divided at its middle: the new point is at the top, the halves mirror.
  open(R"(<path id="p" d="M 100 300 C 100 200 300 200 300 300"/>)");
  grab(1, 0, 0.5f);
  EXPECT_EQ(sq::AddPointToSegment(s), kNoErr);
  ASSERT_EQ(path("p").size(), 3u);
  expectAt(seg(1).p, 200, -225);
  expectAt(seg(1).in, 150, -225);
  expectAt(seg(1).out, 250, -225);
  expectAt(seg(0).out, 100, -250);
  expectAt(seg(2).in, 300, -250);
}

TEST_F(SegmentOps, AddingOnTheClosingSegmentInsertsAtIndexZero) {
  open(R"(<path id="p" d="M 100 100 L 300 100 L 300 300 Z"/>)");
  // The closing segment runs from the last point (300, 300) to point 0.
  grab(0, 2, 0.5f);
  EXPECT_EQ(sq::AddPointToSegment(s), kNoErr);
  ASSERT_EQ(path("p").size(), 4u);
  expectAt(seg(0).p, 200, -200);
  expectAt(seg(1).p, 100, -100);
  expectAt(seg(3).p, 300, -300);
  EXPECT_EQ(s.grabbedPoint.segmentIndex, 0);
}

TEST_F(SegmentOps, AFullPathRefusesThePointWithAnAlertAndKeepsItsShape) {
  open(R"(<path id="p" d="M 100 300 C 100 200 300 200 300 300"/>)");
  const AIPathSegment before0 = seg(0);
  const AIPathSegment before1 = seg(1);
  sqhost::PathGeometry::setSegmentLimit(2);
  grab(1, 0, 0.5f);
  sq::AddPointToSegment(s);
  sqhost::PathGeometry::setSegmentLimit(sqhost::PathGeometry::kDefaultSegmentLimit);

  ASSERT_EQ(path("p").size(), 2u);
  const auto& alerts = plugin.host().dialogs().alerts();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].text,
            "Can't add a point. The path already contains the maximum number of points allowed.");
  // The handles are back where they were, so the curve is unchanged.
  expectAt(seg(0).out, before0.out.h, before0.out.v);
  expectAt(seg(1).in, before1.in.h, before1.in.v);
  EXPECT_EQ(s.grabbedPoint.segmentIndex, 1);
}

TEST_F(SegmentOps, SmoothingAPointWithoutHandlesUsesItsNeighbours) {
  // Point 1 at (200, -300) has its neighbours 40 to the left and 100 above.
  open(R"(<path id="p" d="M 160 300 L 200 300 L 200 200" sq:selection="0 1 0"/>)");
  s.settings.smoothing = 0.5;
  EXPECT_EQ(sq::SmoothPoints(s, plugin.art("p"), false, 0, true), kNoErr);
  const AIPathSegment& p = seg(1);
  EXPECT_NEAR(LengthOf(p.p, p.in), 20, 1e-3);
  EXPECT_NEAR(LengthOf(p.p, p.out), 20, 1e-3);
  // Perpendicular to the bisector (3π/4 from the anchor) and pointed back along the path.
  const double bisector = 3 * kPi / 4;
  EXPECT_NEAR(std::cos(AngleOf(p.p, p.in) - bisector), 0, 1e-5);
  expectAt(p.out, 2 * p.p.h - p.in.h, 2 * p.p.v - p.in.v);
  EXPECT_LT(p.in.h, p.p.h);  // toward the previous point
  EXPECT_EQ(p.corner, 0);
  // Unselected points are left alone.
  EXPECT_TRUE(sq::SamePoint(seg(0).out, seg(0).p));
  EXPECT_TRUE(sq::SamePoint(seg(2).in, seg(2).p));
}

TEST_F(SegmentOps, SmoothingCompletesOneSidedPointsAndSurvivesCoincidingAnchors) {
  // A corner with only an in handle gets the mirrored out handle; setSmooth false keeps the flag.
  open(R"(<path id="p" d="M 100 300 C 100 300 170 260 200 300 L 300 300"
               sodipodi:nodetypes="ccc" sq:selection="0 1 0"/>)");
  s.settings.smoothing = 0.5;
  sq::SmoothPoints(s, plugin.art("p"), false, 0, false);
  expectAt(seg(1).out, 230, -340);
  EXPECT_EQ(seg(1).corner, 1);

  // Every point in one place, none with handles, each end and the middle treated by index.
  open(R"(<path id="p" d="M 100 100 L 100 100 L 100 100"/>)");
  for (int k = 0; k < 3; ++k) sq::SmoothPoints(s, plugin.art("p"), true, k, true);
  EXPECT_TRUE(allFinite("p"));

  // A lone point gets two horizontal handles of 72.
  open(R"(<path id="p" d="M 100 100 Z" sq:selection="1"/>)");
  sq::SmoothPoints(s, plugin.art("p"), false, 0, true);
  expectAt(seg(0).in, 28, -100);
  expectAt(seg(0).out, 172, -100);
}

}  // namespace
