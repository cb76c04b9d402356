// Dragging handles: one handle of one point through the real plug-in, and the kept handles as a
// group through the plug-in's code in the test.
#include "tool/handle_drag.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <string>

#include "geometry/point_table.hpp"
#include "resources/resource_ids.hpp"
#include "sqsdk/keyboard.h"
#include "sqsdk/messages.h"
#include "support/host_fixture.hpp"
#include "support/in_process_plugin.hpp"
#include "tool/drag.hpp"
#include "tool/gesture.hpp"
#include "tool/tool_handlers.hpp"

namespace {

constexpr int32_t kShift = 0x20;
constexpr int32_t kCtrl = 0x40;
constexpr int32_t kAlt = 0x80;
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
double lengthOf(AIRealPoint from, AIRealPoint to) {
  return std::hypot(double(to.h) - from.h, double(to.v) - from.v);
}
double angleOf(AIRealPoint from, AIRealPoint to) {
  return std::atan2(double(to.v) - from.v, double(to.h) - from.h);
}

class HandleDrag : public sqtest::HostTest {
 protected:
  void start(const std::map<std::string, bool>& settings = {}, const std::string& hostPref = "") {
    nlohmann::json section = nlohmann::json::object();
    for (const auto& [key, value] : settings) {
      section[key] = {{"type", "boolean"}, {"value", value}};
    }
    nlohmann::json file = {{"version", 1}, {"sections", {{"Spindlequiver", section}}}};
    sqtest::writeFile(prefsFile(), file.dump());
    startHost();
    driver().open(kDocument);
    if (!hostPref.empty()) {
      ASSERT_TRUE(driver().run(hostPref));
    }
    ASSERT_TRUE(driver().chooseTool("Spindlequiver Tool"));
    before = document();
  }

  AIPathSegment segment(const std::string& name, std::size_t i) {
    const sqhost::Document& doc = *host().currentDocument();
    for (std::size_t l = 0; l < doc.layerCount(); ++l) {
      const sqhost::Art& layer = doc.layer(l).group();
      for (std::size_t c = 0; c < layer.childCount(); ++c) {
        if (layer.child(c).name() == name) return layer.child(c).path().segment(i);
      }
    }
    ADD_FAILURE() << "no path " << name;
    return {};
  }
  std::string document() { return sqhost::svg::exportSvg(*host().currentDocument()); }

  // Releases the button and undoes the gesture: the document is back as it was opened.
  void releaseAndUndo(float x, float y) {
    ASSERT_TRUE(driver().release(x, y));
    ASSERT_TRUE(driver().run("undo"));
    EXPECT_EQ(document(), before);
  }

  std::string before;
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
  EXPECT_NEAR(lengthOf(p.p, p.in), 50, 1e-3);  // the in handle keeps its length
  EXPECT_NEAR(std::remainder(angleOf(p.p, p.in) - angleOf(p.p, p.out) - std::numbers::pi,
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

TEST_F(HandleDrag, AltKeepsTheHandleOnItsLine) {
  start();
  // A horizontal handle keeps the anchor's height and follows the cursor across.
  ASSERT_TRUE(driver().press(150, 300, kAlt));
  ASSERT_TRUE(driver().drag(180, 330, kAlt));
  expectNear(segment("flat", 0).out, 180, -300);
  releaseAndUndo(180, 330);

  // A diagonal handle: the cursor is projected onto its line.
  ASSERT_TRUE(driver().press(230, 270, kAlt));
  ASSERT_TRUE(driver().drag(250, 250, kAlt));
  // Anchor (250, −300), direction (−20, 30): (0, 50) from the anchor projects to t = 1500 / 1300.
  const double t = 1500.0 / 1300.0;
  expectNear(segment("flat", 1).in, 250 - 20 * t, -300 + 30 * t);
  releaseAndUndo(250, 250);
}

TEST_F(HandleDrag, ShiftHoldsTheHandleTo45DegreeStepsFromTheConstrainAngle) {
  start();
  ASSERT_TRUE(driver().press(230, 140, kShift));
  ASSERT_TRUE(driver().drag(260, 110, kShift));  // offset (60, −10) in artwork: horizontal
  expectNear(segment("wave", 1).out, 260, -100);
  ASSERT_TRUE(driver().drag(250, 55, kShift));  // (50, 45): diagonal at the mean offset
  expectNear(segment("wave", 1).out, 247.5, -52.5);
  ASSERT_TRUE(driver().drag(205, 180, kShift));  // (5, −80): vertical
  expectNear(segment("wave", 1).out, 200, -180);
  releaseAndUndo(205, 180);

  stopHost();
  start({}, "pref constrain/angle 30.0");
  ASSERT_TRUE(driver().press(230, 140, kShift));
  // 40 degrees off the axis is 10 degrees off the constrain angle: the handle lies at 30 degrees.
  const double a = 40 * std::numbers::pi / 180;
  ASSERT_TRUE(driver().drag(float(200 + 80 * std::cos(a)), float(100 - 80 * std::sin(a)), kShift));
  const AIPathSegment p = segment("wave", 1);
  EXPECT_NEAR(angleOf(p.p, p.out), std::numbers::pi / 6, 1e-4);
  EXPECT_NEAR(lengthOf(p.p, p.out), 80 * std::cos(10 * std::numbers::pi / 180), 1e-2);
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

// The group drag, with the point table filled directly and the host's gesture played by hand.
class GroupDrag : public ::testing::Test {
 protected:
  void SetUp() override {
    plugin.open(kDocument);
    s.pickRadius = s.snapTolerance = 6;
    s.currentView = plugin.viewHandle();
    before = sqhost::svg::exportSvg(*plugin.host().currentDocument());
  }

  void keep(const std::string& name, int index, bool in, bool out) {
    ASSERT_TRUE(sq::addEntry(s, plugin.art(name), index, segment(name, index), in, out));
  }
  AIPathSegment segment(const std::string& name, int index) {
    return plugin.artNamed(name).path().segment(static_cast<std::size_t>(index));
  }

  AIToolMessage message(float x, float y, int32_t modifiers) {
    plugin.host().dialogs().setEventModifiers(modifiers);
    event = AIEvent{};
    event.modifiers = modifiers;
    AIToolMessage m{};
    m.d.self = plugin.pluginRef();
    m.cursor = {x, -y};
    m.event = &event;
    return m;
  }
  void press(float x, float y, int32_t modifiers = 0) {
    plugin.host().undo().beginContext("Tool");
    AIToolMessage m = message(x, y, modifiers);
    sq::onMouseDown(&m);
    plugin.host().undo().markGestureStart();
  }
  void drag(float x, float y, int32_t modifiers = 0) {
    AIToolMessage m = message(x, y, modifiers);
    sq::onMouseDrag(&m);
  }
  // Ends the gesture and undoes it: the document is back as it was opened.
  void endAndUndo() {
    plugin.host().undo().endContext();
    ASSERT_TRUE(plugin.host().undo().undo());
    EXPECT_EQ(sqhost::svg::exportSvg(*plugin.host().currentDocument()), before);
  }

  sqtest::InProcessPlugin plugin;
  sq::PluginState& s = plugin.state();
  AIEvent event{};
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
  endAndUndo();
}

TEST_F(GroupDrag, AbsoluteLengthChangeStopsAtZeroOrFlipsThroughTheAnchor) {
  keep("wave", 1, false, true);  // length 50
  keep("flat", 1, true, false);  // length √1300, about 36
  s.settings.counterrotate = 0;
  s.settings.multi_extendPro = 0;
  // The dragged handle shortened by 40 along its own direction: 40 is more than the other has.
  const double other = std::hypot(20.0, 30.0);

  s.settings.multi_extendSAZ = 1;
  press(230, 140);
  drag(206, 108);
  expectNear(segment("wave", 1).out, 206, -108);
  expectNear(segment("flat", 1).in, 250, -300);  // stopped at zero length
  endAndUndo();

  s.settings.multi_extendSAZ = 0;
  press(230, 140);
  drag(206, 108);
  const double flipped = 40 - other;  // out on the other side of the anchor
  expectNear(segment("flat", 1).in, 250 + flipped * 20 / other, -300 - flipped * 30 / other);
  endAndUndo();
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
  endAndUndo();
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
  endAndUndo();
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
    EXPECT_NEAR(lengthOf(flat.p, flat.out), pro ? 50 : 80, 1e-3);
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

TEST(ConstrainTo45, StaysOnAxesAndDiagonalsAndSnapsBetween) {
  const AIRealPoint o{10, 10};
  expectNear(sq::ConstrainTo45(o, {30, 10}, 0), 30, 10);    // on an axis
  expectNear(sq::ConstrainTo45(o, {20, 20}, 0), 20, 20);    // on a diagonal
  expectNear(sq::ConstrainTo45(o, {40, 14}, 0), 40, 10);    // near horizontal
  expectNear(sq::ConstrainTo45(o, {8, -30}, 0), 10, -30);   // near vertical, sign kept
  expectNear(sq::ConstrainTo45(o, {-20, 34}, 0), -17, 37);  // near the diagonal: mean offsets
}

}  // namespace
