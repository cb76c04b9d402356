// Anchor and segment drags: pulling handles out of an anchor or moving it, and reshaping a segment
// by weighted movement or exactly through the cursor.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>

#include "dialogs/dialog_manager.hpp"
#include "resources/resource_ids.hpp"
#include "sqsdk/keyboard.h"
#include "support/host_fixture.hpp"
#include "svg/svg_io.hpp"
#include "tool/drag_branch_fixture.hpp"

namespace {

using sqtest::At;
using sqtest::Near;

class SegmentDrag : public sqtest::DragBranchTest {};
class AnchorDrag : public sqtest::DragBranchTest {};

TEST_F(SegmentDrag, WeightsFollowTheGrabParameter) {
  open("<path id='p' d='M 0 100 C 30 100 60 100 90 100'/>");
  pressSegment("p", 1, 0.25f);
  const AIRealPoint a = segment("p", 0).out, b = segment("p", 1).in;
  ASSERT_EQ(step({s.grabPoint.h + 8.0f, s.grabPoint.v}), kNoErr);
  EXPECT_TRUE(Near(segment("p", 0).out, {a.h + 6.0f, a.v}));
  EXPECT_TRUE(Near(segment("p", 1).in, {b.h + 2.0f, b.v}));
}

// A segment between two smooth points, with curves on either side.
constexpr const char* kSmoothChain =
    "<path id='p' d='M 0 200 C 0 150 50 100 100 100 C 150 100 200 150 200 200 "
    "C 200 250 250 300 300 300'/>";

TEST_F(SegmentDrag, DragBreakMakesCornersAndKeepsTheNeighbouringSegments) {
  open(kSmoothChain);
  s.settings.drag_break = 1;
  const AIPathSegment p1 = segment("p", 1), p2 = segment("p", 2);
  pressSegment("p", 2, 0.5f);
  ASSERT_EQ(step({s.grabPoint.h + 10.0f, s.grabPoint.v + 20.0f}), kNoErr);
  EXPECT_TRUE(segment("p", 1).corner);
  EXPECT_TRUE(segment("p", 2).corner);
  EXPECT_TRUE(sq::SamePoint(segment("p", 1).in, p1.in));
  EXPECT_TRUE(sq::SamePoint(segment("p", 2).out, p2.out));
  EXPECT_FALSE(sq::SamePoint(segment("p", 1).out, p1.out));
}

TEST_F(SegmentDrag, WithoutDragBreakTheOppositeHandlesTurnAndKeepTheirLengths) {
  open(kSmoothChain);
  const AIPathSegment p1 = segment("p", 1), p2 = segment("p", 2);
  pressSegment("p", 2, 0.5f);
  ASSERT_EQ(step({s.grabPoint.h + 10.0f, s.grabPoint.v + 20.0f}), kNoErr);
  const AIPathSegment n1 = segment("p", 1), n2 = segment("p", 2);
  // The handles off the segment: point 1's in handle, point 2's out handle.
  EXPECT_NEAR(sqtest::LengthOf(n1.p, n1.in), sqtest::LengthOf(p1.p, p1.in), 1e-3);
  EXPECT_NEAR(sqtest::LengthOf(n2.p, n2.out), sqtest::LengthOf(p2.p, p2.out), 1e-3);
  EXPECT_FALSE(sq::SamePoint(n1.in, p1.in));
  EXPECT_FALSE(sq::SamePoint(n2.out, p2.out));
  for (const AIPathSegment& now : {n1, n2}) {
    EXPECT_FALSE(now.corner);
    // Collinear through the anchor, pointing apart.
    const double turn = sqtest::AngleOf(now.p, now.out) - sqtest::AngleOf(now.p, now.in);
    EXPECT_NEAR(std::abs(std::remainder(turn, 2 * M_PI)), M_PI, 1e-4);
  }
}

TEST_F(SegmentDrag, DegenerateSegmentsStayFinite) {
  // Both anchors on one spot, every handle retracted, grabbed at an end of the parameter range.
  open("<path id='p' d='M 50 50 L 50 50 L 50 50'/>");
  for (const float t : {0.0f, 0.5f, 1.0f}) {
    for (const int32_t keys : {0, sq::kAltKey, sq::kShiftKey, sq::kShiftKey | sq::kAltKey}) {
      pressSegment("p", 1, t);
      step(At(60, 40), keys);
      step(At(50, 50), keys);
      EXPECT_TRUE(allFinite("p")) << t << " " << keys;
    }
  }
}

TEST_F(AnchorDrag, RetractedHandlesArePulledOutByTheirKindOfPoint) {
  // Point 1 is smooth with both handles retracted, point 3 a corner with both retracted.
  open(
      "<path id='p' d='M 0 100 L 100 100 L 200 200 L 300 200 L 300 300' "
      "sodipodi:nodetypes='csccc'/>");
  s.settings.pointdrag = 0;
  pressAnchor("p", 1);
  ASSERT_EQ(s.anchorCase, 3);
  ASSERT_EQ(step(At(140, 70)), kNoErr);
  AIPathSegment now = segment("p", 1);
  EXPECT_TRUE(sq::SamePoint(now.out, At(140, 70)));
  EXPECT_TRUE(Near(now.in, At(60, 130)));

  pressAnchor("p", 3);
  ASSERT_EQ(s.anchorCase, 7);
  ASSERT_EQ(step(At(340, 230)), kNoErr);
  now = segment("p", 3);
  EXPECT_TRUE(sq::SamePoint(now.out, At(340, 230)));
  EXPECT_TRUE(sq::SamePoint(now.in, now.p));
  // Back onto the anchor: nothing to mirror, nothing undefined.
  pressAnchor("p", 1);
  ASSERT_EQ(step(At(100, 100)), kNoErr);
  EXPECT_TRUE(allFinite("p"));
}

TEST_F(AnchorDrag, OneRetractedHandleIsPulledOutAndASmoothPointTurnsItsOther) {
  // Point 1: smooth, out handle retracted (its in handle points left); point 2: corner, in
  // handle retracted.
  open(
      "<path id='p' d='M 0 100 C 0 100 50 100 100 100 C 100 100 200 100 200 100 "
      "C 200 150 250 200 300 200' sodipodi:nodetypes='cscc'/>");
  s.settings.pointdrag = 0;
  pressAnchor("p", 1);
  ASSERT_EQ(s.anchorCase, 1);
  ASSERT_EQ(step(At(100, 60)), kNoErr);
  AIPathSegment now = segment("p", 1);
  EXPECT_TRUE(sq::SamePoint(now.out, At(100, 60)));
  EXPECT_TRUE(Near(now.in, At(100, 150)));  // turned opposite, its length 50 kept

  pressAnchor("p", 2);
  ASSERT_EQ(s.anchorCase, 6);
  ASSERT_EQ(step(At(180, 80)), kNoErr);
  now = segment("p", 2);
  EXPECT_TRUE(sq::SamePoint(now.in, At(180, 80)));
  EXPECT_TRUE(sq::SamePoint(now.out, At(200, 150)));
}

}  // namespace

// The same gestures through the real plug-in: press, drag steps, release, and undo giving back the
// document exactly.
namespace {

constexpr int32_t kShift = 0x20;
constexpr int32_t kAlt = 0x80;

class AnchorSegmentGesture : public sqtest::HostTest {
 protected:
  void start(const std::string& body, const std::map<std::string, bool>& settings = {}) {
    nlohmann::json section = {{"PVisible", {{"type", "boolean"}, {"value", true}}}};
    for (const auto& [key, value] : settings) {
      section[key] = {{"type", "boolean"}, {"value", value}};
    }
    nlohmann::json file = {{"version", 1}, {"sections", {{"Spindlequiver", section}}}};
    sqtest::writeFile(prefsFile(), file.dump());
    startHost();
    driver().open(body);
    ASSERT_TRUE(driver().chooseTool("Spindlequiver Tool"));
    before = document();
  }
  AIPathSegment segment(std::size_t i) {
    const sqhost::Art& layer = host().currentDocument()->layer(0).group();
    return layer.child(0).path().segment(i);
  }
  std::string document() { return sqhost::svg::exportSvg(*host().currentDocument()); }
  void releaseAndUndo(float x, float y) {
    ASSERT_TRUE(driver().release(x, y));
    ASSERT_TRUE(driver().run("undo"));
    EXPECT_EQ(document(), before);
  }
  std::string modeLine() {
    sqhost::DialogManager& dialogs = host().dialogs();
    sqhost::Dialog* panel = dialogs.findDialog("SpindlequiverInfoDialog");
    if (panel == nullptr || panel->findItem(53) == nullptr) return "(no panel)";
    return dialogs.itemText(*panel->findItem(53));
  }

  std::string before;
};

TEST_F(AnchorSegmentGesture, ASegmentDragPullsOutHandlesBendsAndIsUndoneWhole) {
  start("<path d='M 100 200 L 190 200 L 190 300'/>");
  ASSERT_TRUE(driver().press(145, 200));
  ASSERT_TRUE(driver().drag(145, 188));
  ASSERT_TRUE(driver().drag(135, 176));
  // Each step starts from the press's artwork: the handles are pulled out once, then moved by half
  // of the cursor's whole movement.
  const float third = 0.333f * 90.0f;
  EXPECT_TRUE(Near(segment(0).out, At(100 + third - 5, 188)));
  EXPECT_TRUE(Near(segment(1).in, At(190 - third - 5, 188)));
  EXPECT_TRUE(sq::SamePoint(segment(1).out, segment(1).p));
  EXPECT_EQ(driver().cursor(), sq::CursorResourceID(sq::kCursorDragging));
  releaseAndUndo(135, 176);

  // Alt: through the cursor at the grab.
  ASSERT_TRUE(driver().press(145, 200, kAlt));
  ASSERT_TRUE(driver().drag(150, 170, kAlt));
  const sq::Curve curve = sq::CurveBetween(segment(0), segment(1));
  EXPECT_TRUE(Near(sq::PointToHost(sq::PointAt(curve, 0.5)), At(150, 170), 2e-3));
  releaseAndUndo(150, 170);

  // Shift: the two handles stay symmetric and equally long.
  ASSERT_TRUE(driver().press(120, 200, kShift));
  ASSERT_TRUE(driver().drag(126, 180, kShift));
  ASSERT_TRUE(driver().drag(131, 168, kShift));
  const AIPathSegment a = segment(0), b = segment(1);
  EXPECT_NEAR(sqtest::LengthOf(a.p, a.out), sqtest::LengthOf(b.p, b.in), 1e-3);
  EXPECT_NEAR(a.out.v, b.in.v, 1e-3);
  releaseAndUndo(131, 168);
}

TEST_F(AnchorSegmentGesture, AnAnchorMovesOrPullsAHandleAndIsUndoneWhole) {
  start(
      "<path d='M 100 100 C 130 60 170 60 200 100 C 230 140 270 140 300 100' "
      "sodipodi:nodetypes='csc'/>");
  ASSERT_TRUE(driver().press(200, 100));
  ASSERT_TRUE(driver().drag(210, 90));
  ASSERT_TRUE(driver().drag(220, 80));
  AIPathSegment p = segment(1);
  EXPECT_TRUE(Near(p.p, At(220, 80)));
  EXPECT_TRUE(Near(p.in, At(190, 40)));
  EXPECT_TRUE(Near(p.out, At(250, 120)));
  releaseAndUndo(220, 80);

  // Alt at the start: the out handle is pulled along its line, and then freely.
  ASSERT_TRUE(driver().press(200, 100, kAlt));
  ASSERT_TRUE(driver().drag(240, 140, kAlt));
  ASSERT_TRUE(driver().drag(260, 100));
  p = segment(1);
  EXPECT_TRUE(Near(p.p, At(200, 100)));
  EXPECT_TRUE(Near(p.out, At(260, 100)));
  EXPECT_TRUE(Near(p.in, At(140, 100)));
  releaseAndUndo(260, 100);
}

TEST_F(AnchorSegmentGesture, TheMarqueeIsDrawnAndEscCancelsIt) {
  start("<path d='M 100 100 L 200 100'/>");
  ASSERT_TRUE(driver().press(20, 380));
  ASSERT_TRUE(driver().drag(80, 300));
  auto frames = [this] {
    int count = 0;
    const nlohmann::json report = driver().report();
    for (const nlohmann::json& op : report["annotations"]) {
      if (op["op"] == "frame rect" && op["color"] == "#4F80FFFF") ++count;
    }
    return count;
  };
  driver().paint();
  EXPECT_GE(frames(), 1);
  EXPECT_EQ(driver().cursor(), sq::CursorResourceID(sq::kCursorMarquee));

  ASSERT_TRUE(driver().key(true, kVKEscape));
  ASSERT_TRUE(driver().drag(90, 290));
  EXPECT_EQ(modeLine(), "Marquee cancelled");
  ASSERT_TRUE(driver().key(false, kVKEscape));
  driver().paint();
  EXPECT_EQ(frames(), 0);
  ASSERT_TRUE(driver().release(90, 290));
  EXPECT_EQ(document(), before);
}

}  // namespace
