// The tool's press: which drag it prepares, the grabbed point with its neighbours and the handle
// reference, the cursor and the status line.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "dialogs/dialog_manager.hpp"
#include "geometry/point_table.hpp"
#include "resources/resource_ids.hpp"
#include "sqsdk/keyboard.h"
#include "sqsdk/messages.h"
#include "support/host_fixture.hpp"
#include "support/in_process_plugin.hpp"
#include "tool/tool_handlers.hpp"

namespace {

constexpr int32_t kAlt = 0x80;

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

class Press : public ::testing::Test {
 protected:
  void SetUp() override {
    plugin.open(kDocument);
    s.pickRadius = s.snapTolerance = 6;
    s.currentView = plugin.viewHandle();
  }

  void press(float x, float y, int32_t modifiers = 0) {
    plugin.host().dialogs().setEventModifiers(modifiers);
    AIEvent event{};
    event.modifiers = modifiers;
    AIToolMessage message{};
    message.d.self = plugin.pluginRef();
    message.cursor = {x, -y};
    message.event = &event;
    sq::onMouseDown(&message);
  }
  int32_t cursor() { return plugin.driver().cursor(); }

  sqtest::InProcessPlugin plugin;
  sq::PluginState& s = plugin.state();
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

  // A smooth anchor with both handles is dragged by its out handle.
  press(200, 100);
  EXPECT_EQ(s.dragMode, sq::kDragAnchor);
  EXPECT_EQ(s.anchorCase, 0);
  expectNear(s.handleTarget, 230, -140);
  EXPECT_TRUE(s.grabbedPoint.handleFlags[sq::kOutHandleFlag]);

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
  const sqhost::Art& wave = plugin.artNamed("wave");
  ASSERT_TRUE(sq::addEntry(s, plugin.art("wave"), 1, wave.path().segment(1), true, false));

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
  const sqhost::Art& wave = plugin.artNamed("wave");
  ASSERT_TRUE(sq::addEntry(s, plugin.art("wave"), 1, wave.path().segment(1), true, false));
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
class PressSession : public sqtest::HostTest {
 protected:
  void SetUp() override {
    nlohmann::json section = {{"PVisible", {{"type", "boolean"}, {"value", true}}}};
    nlohmann::json file = {{"version", 1}, {"sections", {{"Spindlequiver", section}}}};
    sqtest::writeFile(prefsFile(), file.dump());
    startHost();
    driver().open(kDocument);
    ASSERT_TRUE(driver().chooseTool("Spindlequiver Tool"));
  }
  std::string modeLine() {
    sqhost::DialogManager& dialogs = host().dialogs();
    sqhost::Dialog* panel = dialogs.findDialog("SpindlequiverInfoDialog");
    if (panel == nullptr || panel->findItem(53) == nullptr) return "(no panel)";
    return dialogs.itemText(*panel->findItem(53));
  }
  std::string document() { return sqhost::svg::exportSvg(*host().currentDocument()); }
};

TEST_F(PressSession, EmptyCanvasMarqueesAndEscCancelsIt) {
  const std::string before = document();
  ASSERT_TRUE(driver().press(20, 380));
  EXPECT_EQ(driver().cursor(), sq::CursorResourceID(sq::kCursorMarquee));
  EXPECT_EQ(modeLine(), "Marqueeing (press 'Esc' to cancel)");

  ASSERT_TRUE(driver().key(true, kVKEscape));
  ASSERT_TRUE(driver().drag(60, 340));
  EXPECT_EQ(modeLine(), "Marquee cancelled");
  EXPECT_EQ(driver().cursor(), sq::CursorResourceID(sq::kCursorArrow));
  ASSERT_TRUE(driver().key(false, kVKEscape));
  ASSERT_TRUE(driver().release(60, 340));
  EXPECT_EQ(document(), before);
}

}  // namespace
