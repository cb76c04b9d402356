// The tool's press: which drag it prepares, the grabbed point with its neighbours and the handle
// reference, the cursor and the status line.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "resources/resource_ids.hpp"
#include "sqsdk/keyboard.h"
#include "tool/gesture_fixture.hpp"

namespace {

using sqtest::kAlt;

// SVG (x, y) is artwork (x, −y). The wave's middle point is smooth and shows both handles; the
// bent path has a corner without handles in the middle; the triangle is closed.
constexpr const char* kDocument = R"(<svg xmlns="http://www.w3.org/2000/svg"
    xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
    xmlns:sq="urn:spindlequiver:host" viewBox="0 0 400 400">
  <path id="wave" d="M 100 100 C 130 60 170 60 200 100 C 230 140 270 140 300 100"
        sodipodi:nodetypes="csc" sq:selection="0 4 0"/>
  <path id="bent" d="M 50 300 L 150 300 L 150 350" sodipodi:nodetypes="ccc"/>
  <path id="tri" d="M 250 250 L 350 250 L 350 350 Z" sodipodi:nodetypes="ccc"/>
</svg>)";

class Press : public sqtest::ToolGestureTest {
 protected:
  void SetUp() override { open(kDocument); }
  int32_t cursor() { return plugin.driver().cursor(); }
};

void expectNear(AIRealPoint p, float h, float v) {
  EXPECT_NEAR(p.h, h, 1e-3) << p.h << ", " << p.v;
  EXPECT_NEAR(p.v, v, 1e-3) << p.h << ", " << p.v;
}

TEST_F(Press, HandlesAndAnchorsOfAPointGrabbedAlone) {
  press(170, 60);  // the wave's in handle
  EXPECT_EQ(s.dragMode, sq::kDragInHandle);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorDragging));
  EXPECT_EQ(s.grabbedPoint.segmentIndex, 1);
  EXPECT_TRUE(s.grabbedPoint.handleFlags[sq::kInHandleFlag]);
  EXPECT_FALSE(s.grabbedPoint.handleFlags[sq::kOutHandleFlag]);
  expectNear(s.handleTarget, 170, -60);
  expectNear(s.handleDirection, -30, 40);
  EXPECT_EQ(s.previousPoint.segmentIndex, 0);
  EXPECT_EQ(s.nextPoint.segmentIndex, 2);
  EXPECT_EQ(s.toolDragged, 0);

  // A corner without handles: the reference lies 100 points along the way the path leaves it
  // (straight down the screen), so the first step pulls out an out handle.
  press(150, 300);
  EXPECT_EQ(s.dragMode, sq::kDragAnchor);
  EXPECT_EQ(s.anchorCase, 7);
  expectNear(s.handleTarget, 150, -400);
  EXPECT_TRUE(s.grabbedPoint.handleFlags[sq::kOutHandleFlag]);
  EXPECT_FALSE(s.grabbedPoint.handleFlags[sq::kInHandleFlag]);
  EXPECT_TRUE(std::isfinite(s.handleDirection.h) && std::isfinite(s.handleDirection.v));

  // The first point of an open path has no previous point.
  press(50, 300);
  EXPECT_EQ(s.grabbedPoint.segmentIndex, 0);
  EXPECT_EQ(s.previousPoint.segmentIndex, -1);
  EXPECT_EQ(s.nextPoint.segmentIndex, 1);
}

TEST_F(Press, TheClosingSegmentGrabsPointZeroAfterTheLastPoint) {
  // Alt without addpoints is an ordinary segment grab.
  press(300, 300, kAlt);
  EXPECT_EQ(s.dragMode, sq::kDragSegment);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorDragging));
  EXPECT_EQ(s.grabbedPoint.segmentIndex, 0);
  EXPECT_EQ(s.previousPoint.segmentIndex, 2);
  EXPECT_EQ(s.nextPoint.segmentIndex, 1);
  expectNear(s.grabbedSegmentBezier.p0, 350, -350);
  expectNear(s.grabbedSegmentBezier.p3, 250, -250);
  EXPECT_NEAR(s.segmentParameter, 0.5, 1e-3);
  expectNear(s.grabPoint, 300, -300);
  expectNear(s.pressPoint, 300, -300);
}

TEST_F(Press, WithHandlesKeptOnlyAKeptHandleIsGrabbed) {
  keepShown("wave", 1, true, false);

  press(230, 140);  // the out handle, shown by the host but not kept
  EXPECT_EQ(s.dragMode, sq::kDragMarquee);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorMarquee));

  press(200, 100);  // the anchor: a marquee over the kept points
  EXPECT_EQ(s.dragMode, sq::kDragMarquee);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorMarquee));

  press(170, 60);  // the kept in handle: a group drag
  EXPECT_EQ(s.dragMode, sq::kDragInHandle);
  EXPECT_EQ(s.grabIndex, 0);
  EXPECT_EQ(s.grabbedPoint.segmentIndex, 1);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorDragging));
  // Kept points are not tested for connectors.
  EXPECT_EQ(s.grabbedConnector.lineNeighbour, -1);
}

TEST_F(Press, AKeptPointChangedBehindTheTableIsReadAgain) {
  keepShown("wave", 1, true, false);
  const sqhost::Art& wave = plugin.artNamed("wave");
  // The document moves the point's in handle after it was kept.
  AIPathSegment moved = wave.path().segment(1);
  moved.in = {175, -65};
  sqhost::Art* art = plugin.host().currentDocument()->modifyArt(wave.id());
  ASSERT_EQ(art->setSegments(1, std::span(&moved, 1)), kNoErr);

  press(175, 65);
  ASSERT_EQ(s.dragMode, sq::kDragInHandle);
  expectNear(s.pointTable[0].segment.in, 175, -65);
  expectNear(s.pointTable[0].savedSegment.in, 175, -65);
  expectNear(s.grabbedPoint.savedSegment.in, 175, -65);
}

// Through the real plug-in: what the user sees at a press on empty canvas.
class PressSession : public sqtest::SessionGestureTest {};

TEST_F(PressSession, EmptyCanvasMarqueesAndEscCancelsIt) {
  start(kDocument);
  auto frames = [this] {
    int count = 0;
    driver().paint();
    const nlohmann::json report = driver().report();
    for (const nlohmann::json& op : report["annotations"]) {
      if (op["op"] == "frame rect" && op["color"] == "#4F80FFFF") ++count;
    }
    return count;
  };
  ASSERT_TRUE(driver().press(20, 380));
  EXPECT_EQ(driver().cursor(), sq::CursorResourceID(sq::kCursorMarquee));
  EXPECT_EQ(modeLine(), "Marqueeing (press 'Esc' to cancel)");
  ASSERT_TRUE(driver().drag(80, 300));
  EXPECT_GE(frames(), 1);
  EXPECT_EQ(driver().cursor(), sq::CursorResourceID(sq::kCursorMarquee));

  ASSERT_TRUE(driver().key(true, kVKEscape));
  ASSERT_TRUE(driver().drag(90, 290));
  EXPECT_EQ(modeLine(), "Marquee cancelled");
  EXPECT_EQ(driver().cursor(), sq::CursorResourceID(sq::kCursorArrow));
  ASSERT_TRUE(driver().key(false, kVKEscape));
  EXPECT_EQ(frames(), 0);
  ASSERT_TRUE(driver().release(90, 290));
  EXPECT_EQ(document(), before);
}

}  // namespace
