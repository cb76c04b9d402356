// Anchor and segment drags: pulling handles out of an anchor or moving it, and reshaping a segment
// by weighted movement or exactly through the cursor.
#include <gtest/gtest.h>

#include "geometry/curve.hpp"
#include "resources/resource_ids.hpp"
#include "sqsdk/keyboard.h"
#include "tool/gesture_fixture.hpp"

namespace {

using sqtest::At;
using sqtest::kAlt;
using sqtest::kShift;
using sqtest::Near;

class AnchorSegmentDrag : public sqtest::ToolGestureTest {};

TEST_F(AnchorSegmentDrag, SegmentWeightsFollowTheGrabParameter) {
  open("<path id='p' d='M 0 100 C 30 100 60 100 90 100'/>");
  press(22.5f, 100);  // t = 0.25
  ASSERT_EQ(s.dragMode, sq::kDragSegment);
  const AIRealPoint a = segment("p", 0).out, b = segment("p", 1).in;
  drag(30.5f, 100);
  EXPECT_TRUE(Near(segment("p", 0).out, {a.h + 6.0f, a.v}));
  EXPECT_TRUE(Near(segment("p", 1).in, {b.h + 2.0f, b.v}));
}

TEST_F(AnchorSegmentDrag, ASegmentBetweenSmoothPointsBreaksThemOrTurnsTheirOtherHandles) {
  // The middle segment of a chain of curves, grabbed at t = 0.5.
  const char* chain =
      "<path id='p' d='M 0 200 C 0 150 50 100 100 100 C 150 100 200 150 200 200 "
      "C 200 250 250 300 300 300'/>";
  for (const bool dragBreak : {true, false}) {
    SCOPED_TRACE(dragBreak ? "drag break" : "no drag break");
    open(chain);
    s.settings.drag_break = dragBreak ? 1 : 0;
    const AIPathSegment p1 = segment("p", 1), p2 = segment("p", 2);
    press(168.75f, 131.25f);
    drag(178.75f, 111.25f);
    const AIPathSegment n1 = segment("p", 1), n2 = segment("p", 2);
    EXPECT_FALSE(sq::SamePoint(n1.out, p1.out));
    if (dragBreak) {
      // Corners, and the handles off the segment stay where they were.
      EXPECT_TRUE(n1.corner && n2.corner);
      EXPECT_TRUE(sq::SamePoint(n1.in, p1.in));
      EXPECT_TRUE(sq::SamePoint(n2.out, p2.out));
      continue;
    }
    // The handles off the segment turn, keeping their lengths, collinear and pointing apart.
    EXPECT_NEAR(sqtest::LengthOf(n1.p, n1.in), sqtest::LengthOf(p1.p, p1.in), 1e-3);
    EXPECT_NEAR(sqtest::LengthOf(n2.p, n2.out), sqtest::LengthOf(p2.p, p2.out), 1e-3);
    EXPECT_FALSE(sq::SamePoint(n1.in, p1.in));
    EXPECT_FALSE(sq::SamePoint(n2.out, p2.out));
    for (const AIPathSegment& now : {n1, n2}) {
      EXPECT_FALSE(now.corner);
      const double turn = sqtest::AngleOf(now.p, now.out) - sqtest::AngleOf(now.p, now.in);
      EXPECT_NEAR(std::abs(std::remainder(turn, 2 * M_PI)), M_PI, 1e-4);
    }
  }
}

TEST_F(AnchorSegmentDrag, DegenerateGeometryStaysFinite) {
  // A loop whose segment starts and ends on one spot, grabbed at its top; and anchors all on one
  // spot without handles, grabbed there.
  struct Grab {
    const char* svg;
    float y;
    int32_t mode;
  };
  for (const Grab& g :
       {Grab{"<path id='p' d='M 50 50 C 80 20 20 20 50 50'/>", 27.5f, sq::kDragSegment},
        Grab{"<path id='p' d='M 50 50 L 50 50 L 50 50'/>", 50, sq::kDragAnchor}}) {
    for (const int32_t keys : {0, kAlt, kShift, kShift | kAlt}) {
      SCOPED_TRACE(testing::Message() << g.svg << " keys " << keys);
      open(g.svg);
      press(50, g.y, keys);
      if (keys == 0) {
        EXPECT_EQ(s.dragMode, g.mode);
      }
      drag(60, g.y - 10, keys);
      drag(50, g.y, keys);
      EXPECT_TRUE(allFinite("p"));
    }
  }
}

TEST_F(AnchorSegmentDrag, RetractedHandlesArePulledOutByTheirKindOfPoint) {
  // Three: smooth and both retracted, pulled out both ways; seven: a corner, only the out handle.
  // One: smooth, out handle retracted, its in handle turned opposite keeping 50; six: a corner
  // with a retracted in handle, pulled out alone.
  const char* both =
      "<path id='p' d='M 0 100 L 100 100 L 200 200 L 300 200 L 300 300' "
      "sodipodi:nodetypes='csccc'/>";
  const char* one =
      "<path id='p' d='M 0 100 C 0 100 50 100 100 100 C 100 100 200 100 200 100 "
      "C 200 150 250 200 300 200' sodipodi:nodetypes='cscc'/>";
  struct Case {
    const char* svg;
    int index, anchorCase;
    float toX, toY;
    bool pullsIn;
    AIRealPoint other;
    double tolerance;
  };
  for (const Case& c : {Case{both, 1, 3, 140, 70, false, At(60, 130), 1e-3},
                        Case{both, 3, 7, 340, 230, false, At(300, 200), 0},
                        Case{one, 1, 1, 100, 60, false, At(100, 150), 1e-3},
                        Case{one, 2, 6, 180, 80, true, At(200, 150), 0}}) {
    SCOPED_TRACE(testing::Message() << "case " << c.anchorCase);
    open(c.svg);
    s.settings.pointdrag = 0;
    const AIRealPoint anchor = segment("p", static_cast<std::size_t>(c.index)).p;
    press(anchor.h, -anchor.v);
    ASSERT_EQ(s.anchorCase, c.anchorCase);
    drag(c.toX, c.toY);
    const AIPathSegment now = segment("p", static_cast<std::size_t>(c.index));
    EXPECT_TRUE(sq::SamePoint(c.pullsIn ? now.in : now.out, At(c.toX, c.toY)));
    EXPECT_TRUE(Near(c.pullsIn ? now.out : now.in, c.other, c.tolerance));
    // Back onto the anchor: nothing to mirror, nothing undefined.
    drag(anchor.h, -anchor.v);
    EXPECT_TRUE(allFinite("p"));
  }
}

// The same gestures through the real plug-in, each undone to the exact document.
class AnchorSegmentGesture : public sqtest::SessionGestureTest {};

TEST_F(AnchorSegmentGesture, ASegmentDragPullsOutHandlesBendsAndIsUndoneWhole) {
  start("<path id='p' d='M 100 200 L 190 200 L 190 300'/>");
  ASSERT_TRUE(driver().press(145, 200));
  ASSERT_TRUE(driver().drag(145, 188));
  ASSERT_TRUE(driver().drag(135, 176));
  // Each step starts from the press's artwork: the handles are pulled out once, then moved by half
  // of the cursor's whole movement.
  const float third = 0.333f * 90.0f;
  EXPECT_TRUE(Near(segment("p", 0).out, At(100 + third - 5, 188)));
  EXPECT_TRUE(Near(segment("p", 1).in, At(190 - third - 5, 188)));
  EXPECT_TRUE(sq::SamePoint(segment("p", 1).out, segment("p", 1).p));
  EXPECT_EQ(driver().cursor(), sq::CursorResourceID(sq::kCursorDragging));
  releaseAndUndo(135, 176);

  // Alt: through the cursor at the grab.
  ASSERT_TRUE(driver().press(145, 200, kAlt));
  ASSERT_TRUE(driver().drag(150, 170, kAlt));
  const sq::Curve curve = sq::CurveBetween(segment("p", 0), segment("p", 1));
  EXPECT_TRUE(Near(sq::PointToHost(sq::PointAt(curve, 0.5)), At(150, 170), 2e-3));
  releaseAndUndo(150, 170);

  // Shift: the two handles stay symmetric and equally long.
  ASSERT_TRUE(driver().press(120, 200, kShift));
  ASSERT_TRUE(driver().drag(126, 180, kShift));
  ASSERT_TRUE(driver().drag(131, 168, kShift));
  const AIPathSegment a = segment("p", 0), b = segment("p", 1);
  EXPECT_NEAR(sqtest::LengthOf(a.p, a.out), sqtest::LengthOf(b.p, b.in), 1e-3);
  EXPECT_NEAR(a.out.v, b.in.v, 1e-3);
  releaseAndUndo(131, 168);
}

TEST_F(AnchorSegmentGesture, AnAnchorMovesOrPullsAHandleAndIsUndoneWhole) {
  start(
      "<path id='p' d='M 100 100 C 130 60 170 60 200 100 C 230 140 270 140 300 100' "
      "sodipodi:nodetypes='csc'/>");
  ASSERT_TRUE(driver().press(200, 100));
  ASSERT_TRUE(driver().drag(210, 90));
  ASSERT_TRUE(driver().drag(220, 80));
  AIPathSegment p = segment("p", 1);
  EXPECT_TRUE(Near(p.p, At(220, 80)));
  EXPECT_TRUE(Near(p.in, At(190, 40)));
  EXPECT_TRUE(Near(p.out, At(250, 120)));
  releaseAndUndo(220, 80);

  // Alt at the start: the out handle is pulled along its line, and then freely.
  ASSERT_TRUE(driver().press(200, 100, kAlt));
  ASSERT_TRUE(driver().drag(240, 140, kAlt));
  ASSERT_TRUE(driver().drag(260, 100));
  p = segment("p", 1);
  EXPECT_TRUE(Near(p.p, At(200, 100)));
  EXPECT_TRUE(Near(p.out, At(260, 100)));
  EXPECT_TRUE(Near(p.in, At(140, 100)));
  releaseAndUndo(260, 100);
}

}  // namespace
