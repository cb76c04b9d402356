// Dragging handles: one handle of one point through the real plug-in, and the kept handles as a
// group through the tool's handlers in the test.
#include "tool/handle_drag.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "resources/resource_ids.hpp"
#include "sqsdk/keyboard.h"
#include "tool/drag.hpp"
#include "tool/gesture_fixture.hpp"

namespace {

using sqtest::AngleOf;
using sqtest::kAlt;
using sqtest::kCtrl;
using sqtest::kShift;
using sqtest::LengthOf;
constexpr int32_t kVKLetterC = 0x43;

// SVG (x, y) is artwork (x, −y). The wave's middle point (200, 100) is smooth, in handle
// (170, 60), out handle (230, 140), both shown. The flat path's first point has a horizontal out
// handle and its last point a diagonal in handle.
constexpr const char* kDocument = R"(<svg xmlns="http://www.w3.org/2000/svg"
    xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
    xmlns:sq="urn:spindlequiver:host" viewBox="0 0 400 400">
  <path id="wave" d="M 100 100 C 130 60 170 60 200 100 C 230 140 270 140 300 100"
        sodipodi:nodetypes="csc" sq:selection="0 4 0"/>
  <path id="flat" d="M 100 300 C 150 300 230 270 250 300" sodipodi:nodetypes="cc"
        sq:selection="4 4"/>
</svg>)";

void expectNear(AIRealPoint p, double h, double v, double tolerance = 1e-3) {
  EXPECT_NEAR(p.h, h, tolerance) << "(" << p.h << ", " << p.v << ")";
  EXPECT_NEAR(p.v, v, tolerance) << "(" << p.h << ", " << p.v << ")";
}

class HandleDrag : public sqtest::SessionGestureTest {
 protected:
  void start(const std::string& script = "") { SessionGestureTest::start(kDocument, {}, script); }
};

TEST_F(HandleDrag, OneHandleFollowsTheCursorAndTheSmoothOppositeTurnsWithIt) {
  start();
  ASSERT_TRUE(driver().press(230, 140));
  // Nothing happens until the cursor leaves the press point.
  ASSERT_TRUE(driver().drag(230, 140));
  EXPECT_EQ(document(), before);

  ASSERT_TRUE(driver().drag(260, 120));
  AIPathSegment p = segment("wave", 1);
  expectNear(p.out, 260, -120);
  expectNear(p.p, 200, -100);
  EXPECT_NEAR(LengthOf(p.p, p.in), 50, 1e-3);  // the in handle keeps its length
  EXPECT_NEAR(std::remainder(AngleOf(p.p, p.in) - AngleOf(p.p, p.out) - std::numbers::pi,
                             2 * std::numbers::pi),
              0, 1e-5);
  EXPECT_EQ(driver().cursor(), sq::CursorResourceID(sq::kCursorDragging));

  // Esc has nothing to cancel in a handle drag: the handle goes on following.
  ASSERT_TRUE(driver().key(true, kVKEscape));
  ASSERT_TRUE(driver().drag(250, 160));
  expectNear(segment("wave", 1).out, 250, -160);
  EXPECT_EQ(driver().cursor(), sq::CursorResourceID(sq::kCursorDragging));
  ASSERT_TRUE(driver().key(false, kVKEscape));
  releaseAndUndo(250, 160);
}

TEST_F(HandleDrag, AltKeepsTheHandleOnItsLineAndShiftHoldsItTo45DegreeSteps) {
  start();
  // Anchor (250, −300), direction (−20, 30): (0, 50) from the anchor projects to t = 1500 / 1300.
  const double t = 1500.0 / 1300.0;
  struct Case {
    float x, y;
    int32_t keys;
    float toX, toY;
    const char* path;
    std::size_t index;
    bool out;
    double h, v;
  };
  for (const Case& c :
       {// Alt on a horizontal handle keeps the anchor's height and follows the cursor across.
        Case{150, 300, kAlt, 180, 330, "flat", 0, true, 180, -300},
        // Alt on a diagonal handle: the cursor is projected onto its line.
        Case{230, 270, kAlt, 250, 250, "flat", 1, false, 250 - 20 * t, -300 + 30 * t},
        // Shift with offsets (60, −10), (50, 45) and (5, −80) in artwork: horizontal, diagonal
        // at the mean offset, vertical.
        Case{230, 140, kShift, 260, 110, "wave", 1, true, 260, -100},
        Case{230, 140, kShift, 250, 55, "wave", 1, true, 247.5, -52.5},
        Case{230, 140, kShift, 205, 180, "wave", 1, true, 200, -180}}) {
    SCOPED_TRACE(testing::Message() << "to " << c.toX << ", " << c.toY);
    ASSERT_TRUE(driver().press(c.x, c.y, c.keys));
    ASSERT_TRUE(driver().drag(c.toX, c.toY, c.keys));
    const AIPathSegment p = segment(c.path, c.index);
    expectNear(c.out ? p.out : p.in, c.h, c.v);
    releaseAndUndo(c.toX, c.toY);
  }
}

TEST_F(HandleDrag, ShiftStepsStartFromTheConstrainAngle) {
  start("pref constrain/angle 30.0");
  ASSERT_TRUE(driver().press(230, 140, kShift));
  // 40 degrees off the axis is 10 degrees off the constrain angle: the handle lies at 30 degrees.
  const double a = 40 * std::numbers::pi / 180;
  ASSERT_TRUE(driver().drag(float(200 + 80 * std::cos(a)), float(100 - 80 * std::sin(a)), kShift));
  const AIPathSegment p = segment("wave", 1);
  EXPECT_NEAR(AngleOf(p.p, p.out), std::numbers::pi / 6, 1e-4);
  EXPECT_NEAR(LengthOf(p.p, p.out), 80 * std::cos(10 * std::numbers::pi / 180), 1e-2);
}

TEST_F(HandleDrag, TheHandleStopsAtTheDocumentBounds) {
  start();
  const AIRealRect bounds = host().currentDocument()->canvasBounds();
  ASSERT_TRUE(driver().press(230, 140));
  ASSERT_TRUE(driver().drag(1e6f, -1e6f));
  expectNear(segment("wave", 1).out, bounds.right, bounds.top);
  ASSERT_TRUE(driver().drag(-1e6f, 150));
  expectNear(segment("wave", 1).out, bounds.left, -150);
  releaseAndUndo(-1e6f, 150);
}

TEST_F(HandleDrag, CtrlInvertsSlowDragForThatStepOnly) {
  start();
  ASSERT_TRUE(driver().press(230, 140));
  ASSERT_TRUE(driver().drag(280, 140, kCtrl));  // 50 to the right, slowed to a fifth
  expectNear(segment("wave", 1).out, 240, -140);
  EXPECT_EQ(driver().cursor(), sq::CursorResourceID(sq::kCursorSlowDrag));
  ASSERT_TRUE(driver().drag(300, 140));  // 20 more at full speed
  expectNear(segment("wave", 1).out, 260, -140);
  EXPECT_EQ(driver().cursor(), sq::CursorResourceID(sq::kCursorDragging));
  releaseAndUndo(300, 140);
}

TEST_F(HandleDrag, SpaceMovesTheWholePointAndTheDragGoesOnFromThere) {
  start();
  ASSERT_TRUE(driver().press(230, 140));
  ASSERT_TRUE(driver().key(true, kVKSpace));
  ASSERT_TRUE(driver().drag(240, 150));
  AIPathSegment p = segment("wave", 1);
  expectNear(p.p, 210, -110);
  expectNear(p.in, 180, -70);
  expectNear(p.out, 240, -150);

  ASSERT_TRUE(driver().key(false, kVKSpace));
  ASSERT_TRUE(driver().drag(250, 150));
  p = segment("wave", 1);
  expectNear(p.p, 210, -110);
  expectNear(p.out, 250, -150);
  releaseAndUndo(250, 150);
}

// The group drag, with the point table filled directly.
class GroupDrag : public sqtest::ToolGestureTest {
 protected:
  void SetUp() override {
    open(kDocument);
    before = document();
  }
  void keep(const std::string& name, int index, bool in, bool out) {
    keepShown(name, index, in, out);
  }
  std::string before;
};

TEST_F(GroupDrag, KeptHandlesScaleAndCounterRotateWithTheDraggedOne) {
  keep("wave", 1, true, true);   // dragged by its out handle (30, −40) from (200, −100)
  keep("flat", 0, false, true);  // out handle (50, 0) from (100, −300)
  keep("flat", 1, true, false);  // in handle (−20, 30) from (250, −300)
  s.settings.counterrotate = 1;

  press(230, 140);
  ASSERT_EQ(s.dragMode, sq::kDragOutHandle);
  // Twice as long, turned a quarter turn counter-clockwise: (80, 60) from the anchor.
  drag(280, 40);
  EXPECT_NEAR(s.lengthRatio, 2, 1e-5);
  const double q = std::atan2(60.0, 80.0) - std::atan2(-40.0, 30.0);
  // Out handles turn with the dragged one, in handles the other way; counter rotation makes
  // the smooth point a corner.
  const AIPathSegment wave = segment("wave", 1);
  expectNear(wave.out, 280, -40);
  const double waveIn = std::atan2(40.0, -30.0) - q;
  expectNear(wave.in, 200 + 100 * std::cos(waveIn), -100 + 100 * std::sin(waveIn));
  EXPECT_NE(wave.corner, 0);
  expectNear(segment("flat", 0).out, 100 + 100 * std::cos(q), -300 + 100 * std::sin(q));
  const double flatIn = std::atan2(30.0, -20.0) - q;
  const double flatLength = 2 * std::hypot(20.0, 30.0);
  expectNear(segment("flat", 1).in, 250 + flatLength * std::cos(flatIn),
             -300 + flatLength * std::sin(flatIn));
  EXPECT_TRUE(s.othersEdited);
  releaseAndUndo(280, 40, before);
}

TEST_F(GroupDrag, AbsoluteLengthChangeStopsAtZeroOrFlipsThroughTheAnchor) {
  // The dragged handle shortened by 40 along its own direction: 40 is more than the other has.
  const double other = std::hypot(20.0, 30.0);
  const double flipped = 40 - other;  // out on the other side of the anchor
  for (const bool stopAtZero : {true, false}) {
    SCOPED_TRACE(stopAtZero ? "stop at zero" : "flip");
    SetUp();
    keep("wave", 1, false, true);  // length 50
    keep("flat", 1, true, false);  // length √1300, about 36
    s.settings.counterrotate = 0;
    s.settings.multi_extendPro = 0;
    s.settings.multi_extendSAZ = stopAtZero ? 1 : 0;
    press(230, 140);
    drag(206, 108);
    expectNear(segment("wave", 1).out, 206, -108);
    if (stopAtZero) {
      expectNear(segment("flat", 1).in, 250, -300);
    } else {
      expectNear(segment("flat", 1).in, 250 + flipped * 20 / other, -300 - flipped * 30 / other);
    }
    releaseAndUndo(206, 108, before);
  }
}

TEST_F(GroupDrag, TheCKeyTogglesCounterRotationOncePerPress) {
  keep("wave", 1, false, true);
  s.settings.counterrotate = 1;
  press(230, 140);
  SQSetKeyState(kVKLetterC, 1);
  drag(240, 140);
  drag(250, 140);
  EXPECT_EQ(s.settings.counterrotate, 0);  // held down: toggled once
  SQSetKeyState(kVKLetterC, 0);
  drag(255, 140);
  SQSetKeyState(kVKLetterC, 1);
  drag(260, 140);
  EXPECT_EQ(s.settings.counterrotate, 1);
  SQSetKeyState(kVKLetterC, 0);
  releaseAndUndo(260, 140, before);
}

TEST_F(GroupDrag, SpaceMovesEveryKeptHandleByTheSameOffset) {
  keep("wave", 1, true, true);
  keep("flat", 0, false, true);
  press(230, 140);
  SQSetKeyState(kVKSpace, 1);
  drag(240, 150);
  SQSetKeyState(kVKSpace, 0);
  const AIPathSegment wave = segment("wave", 1);
  expectNear(wave.out, 240, -150);
  expectNear(wave.in, 180, -70);
  expectNear(wave.p, 200, -100);  // handles only: the anchor stays
  expectNear(segment("flat", 0).out, 160, -310);
  releaseAndUndo(240, 150, before);
}

TEST_F(GroupDrag, ARetractedDraggedHandleWritesOnlyFiniteValues) {
  // The dragged handle lies on its anchor: there is no saved length to scale by.
  keep("wave", 0, true, false);  // the wave's first in handle is retracted
  keep("flat", 0, false, true);
  s.dragMode = sq::kDragInHandle;
  s.grabIndex = 0;
  s.grabbedPoint = s.pointTable[0];
  for (const int32_t pro : {1, 0}) {
    s.settings.multi_extendPro = pro;
    sq::DragStep step;
    step.bounds = plugin.host().currentDocument()->canvasBounds();
    ASSERT_EQ(sq::GroupHandleDrag(s, step, AIRealPoint{130, -100}), kNoErr);
    EXPECT_EQ(s.lengthRatio, 1.0f);
    const AIPathSegment flat = segment("flat", 0);
    EXPECT_TRUE(std::isfinite(flat.out.h) && std::isfinite(flat.out.v));
    // Proportionally the other handle keeps its length; absolutely it grows by 30.
    EXPECT_NEAR(LengthOf(flat.p, flat.out), pro ? 50 : 80, 1e-3);
  }
}

TEST_F(GroupDrag, AltAlongAHandleWithATinyComponentStaysFinite) {
  // A handle all but vertical: b ÷ a overflows a 32-bit float.
  s.grabbedPoint.segment.p = s.grabbedPoint.savedSegment.p = AIRealPoint{0, 0};
  s.handleTarget = AIRealPoint{1e-40f, 30};
  sq::StoreHandleDirection(s);
  s.dragMode = sq::kDragInHandle;
  s.slowCursor = AIRealPoint{5, 20};
  sq::DragStep step;
  step.view = plugin.viewHandle();
  step.modifiers = kAlt;
  step.bounds = plugin.host().currentDocument()->canvasBounds();
  const AIRealPoint d = sq::NewHandlePosition(s, step);
  expectNear(d, 0, 20);
  EXPECT_TRUE(s.constraining);
}

}  // namespace
