// Hovering with the tool over a document, through the real plug-in: cursor, ring, label, arrowhead,
// the add-point preview with its tangency snap, and the Info values.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <optional>
#include <vector>

#include "geometry/curve.hpp"
#include "geometry/tangents.hpp"
#include "resources/resource_ids.hpp"
#include "sqsdk/keyboard.h"
#include "sqsdk/messages.h"
#include "support/host_fixture.hpp"

namespace {

constexpr int32_t kLabelIcon = sq::kLabelIconID;
constexpr int32_t kRingIcon = sq::kRingIconID;
constexpr int32_t kArrowIcon = sq::kArrowheadIconID;
constexpr int32_t kDotIcon = sq::kDotIconID;
constexpr int32_t kArrowCursor = sq::CursorResourceID(sq::kCursorArrow);
constexpr int32_t kSegmentCursor = sq::CursorResourceID(sq::kCursorSegment);
constexpr int32_t kAddPointCursor = sq::CursorResourceID(sq::kCursorAddPoint);

struct IconDrawn {
  int32_t id;
  int32_t index;
  AIPoint at;
};

// A document whose SVG coordinates are the view's pixels: zoom 1, artwork (x, -y) at pixel (x, y).
class Hover : public sqtest::HostTest {
 protected:
  // Starts the host with these plug-in settings stored (the rest keep their defaults).
  void start(const std::map<std::string, bool>& settings = {}, const std::string& svgBody = "") {
    nlohmann::json section = nlohmann::json::object();
    section["PVisible"] = {{"type", "boolean"}, {"value", true}};
    for (const auto& [key, value] : settings)
      section[key] = {{"type", "boolean"}, {"value", value}};
    nlohmann::json file = {{"version", 1}, {"sections", {{"Spindlequiver", section}}}};
    sqtest::writeFile(prefsFile(), file.dump());
    startHost();
    if (!svgBody.empty()) open(svgBody);
  }

  void open(const std::string& svgBody) {
    driver().open(svgBody);
    ASSERT_TRUE(driver().chooseTool("Spindlequiver Tool"));
  }

  // Moves the mouse to SVG point (x, y) with no button pressed.
  void hover(float x, float y, int32_t modifiers = 0) {
    ASSERT_TRUE(driver().move(x, y, modifiers));
  }

  int32_t cursor() { return driver().cursor(); }

  // What the annotator draws when the whole view is painted.
  sqhost::DisplayList paint() { return driver().paint(); }

  static std::vector<IconDrawn> icons(const sqhost::DisplayList& list) {
    std::vector<IconDrawn> out;
    for (const auto& op : list.ops) {
      if (op.kind == sqhost::DrawOp::Kind::Icon && op.icon) {
        out.push_back({op.icon->resourceID, op.icon->resourceIndex, op.from});
      }
    }
    return out;
  }

  static std::optional<IconDrawn> icon(const sqhost::DisplayList& list, int32_t id) {
    for (const IconDrawn& i : icons(list)) {
      if (i.id == id) return i;
    }
    return std::nullopt;
  }

  static int countIcons(const sqhost::DisplayList& list, int32_t id) {
    int n = 0;
    for (const IconDrawn& i : icons(list)) n += i.id == id;
    return n;
  }

  static const sqhost::DrawOp* line(const sqhost::DisplayList& list) {
    for (const auto& op : list.ops) {
      if (op.kind == sqhost::DrawOp::Kind::Line) return &op;
    }
    return nullptr;
  }

  // The label picture of kind j centred (ring) on pixel (x, y), and the arrowhead for i.
  static void expectLabelAt(const sqhost::DisplayList& list, int32_t kind, int32_t x, int32_t y) {
    const auto label = icon(list, kLabelIcon);
    ASSERT_TRUE(label.has_value()) << list.describe();
    EXPECT_EQ(label->index, kind);
    EXPECT_EQ(label->at.h, x - 96);
    EXPECT_EQ(label->at.v, y - 12);
  }
  static void expectArrow(const sqhost::DisplayList& list, int32_t index, int32_t x, int32_t y) {
    const auto arrow = icon(list, kArrowIcon);
    ASSERT_TRUE(arrow.has_value()) << list.describe();
    EXPECT_EQ(arrow->index, index);
    EXPECT_EQ(arrow->at.h, x - 18);
    EXPECT_EQ(arrow->at.v, y - 18);
  }

  double info(int32_t variable) {
    const sqhost::ToolRecord* tool = host().registrations().currentTool();
    for (std::size_t i = 0; i < tool->infoVariables.size(); ++i) {
      if (tool->infoVariables[i] == variable) return tool->infoValues.at(i);
    }
    ADD_FAILURE() << "no Info variable " << variable;
    return 0;
  }
};

// Two corner paths, one smooth point, and a vertical line drawn upward.
const char* kPoints = R"(
  <path id="corner" d="M 100 100 L 200 100" sodipodi:nodetypes="cc"/>
  <path id="smooth" d="M 50 300 C 50 250 100 250 150 250 C 200 250 250 250 250 300"
        sodipodi:nodetypes="csc"/>
  <path id="up" d="M 350 350 L 350 150" sodipodi:nodetypes="cc"/>)";

TEST_F(Hover, AnchorsShowTheirKindRingLabelAndPathDirection) {
  start({}, kPoints);
  // The first point of a straight path leaves it to the right: angle 0, arrowhead 18.
  hover(101, 101);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorCornerPoint));
  sqhost::DisplayList list = paint();
  expectLabelAt(list, 1, 100, 100);
  expectArrow(list, 18, 100, 100);

  // The last point of an open path takes the direction arriving there: still to the right.
  hover(199, 100);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorCornerPoint));
  expectArrow(paint(), 18, 200, 100);

  // A smooth point, leaving horizontally to the right.
  hover(150, 251);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorSmoothPoint));
  list = paint();
  expectLabelAt(list, 0, 150, 250);
  expectArrow(list, 18, 150, 250);

  // A path drawn upward on screen runs toward +v in artwork: 90 degrees, arrowhead 27.
  hover(350, 350);
  expectArrow(paint(), 27, 350, 350);

  // Nothing under the cursor: the plain arrow and nothing drawn.
  hover(300, 40);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorArrow));
  EXPECT_TRUE(icons(paint()).empty());
}

TEST_F(Hover, HandlesAreShownOnlyWhereTheHostShowsThem) {
  // Point 1 of the wave is selected with both handles shown.
  start({}, R"(<path id="wave" d="M 40 200 C 70 120 120 120 150 200 C 180 280 230 280 260 200"
                     sodipodi:nodetypes="csc" sq:selection="0 4 0"/>)");
  hover(180, 279);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorHandle));
  sqhost::DisplayList list = paint();
  expectLabelAt(list, 3, 180, 280);
  EXPECT_FALSE(icon(list, kArrowIcon).has_value());  // handles have no direction arrow
  hover(121, 121);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorHandle));
  expectLabelAt(paint(), 2, 120, 120);
  // The first point's out handle is not shown: the segment is hit there instead.
  hover(70, 121);
  EXPECT_NE(cursor(), sq::CursorResourceID(sq::kCursorHandle));
}

// A straight open path and a closed triangle.
const char* kSegments = R"(
  <path id="line" d="M 50 100 L 250 100"/>
  <path id="triangle" d="M 100 200 L 300 200 L 200 380 Z"/>)";

TEST_F(Hover, SegmentLabelsAndRingFollowTheSettings) {
  struct Case {
    bool ringPaths;
    bool snap;
    int32_t cursor;
    bool ring;
  };
  for (const Case c :
       {Case{true, true, kSegmentCursor, true}, Case{true, false, kSegmentCursor, true},
        Case{false, true, kSegmentCursor, false}, Case{false, false, kArrowCursor, false}}) {
    SCOPED_TRACE(testing::Message() << "use_ring_paths " << c.ringPaths << ", snap " << c.snap);
    start({{"use_ring_paths", c.ringPaths}, {"snap_to_tangencies", c.snap}}, kSegments);
    hover(150, 101);
    EXPECT_EQ(cursor(), c.cursor);
    const sqhost::DisplayList list = paint();
    if (c.ring) {
      expectLabelAt(list, 4, 150, 100);  // "Open path" at the hit point on the line
      expectArrow(list, 18, 150, 100);
    } else {
      EXPECT_TRUE(icons(list).empty()) << list.describe();
    }
    stopHost();
  }
}

TEST_F(Hover, TheClosingSegmentRunsFromTheLastPointBackToTheFirst) {
  start({}, kSegments);
  // Midway along the closing side from (200, 380) to (100, 200): up and to the left on screen,
  // direction atan2(180, -100) = 119.05 degrees, arrowhead (119.05 + 185 - 360) / 10 -> 30.
  hover(150, 290);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorSegment));
  const sqhost::DisplayList list = paint();
  expectLabelAt(list, 5, 150, 290);
  expectArrow(list, 30, 150, 290);
}

TEST_F(Hover, AltOverASegmentPreviewsAddingAPointWhenAllowed) {
  struct Case {
    bool addpoints;
    int32_t modifiers;
    int32_t cursor;
  };
  for (const Case c :
       {Case{true, kAIAltModifier, kAddPointCursor},
        Case{true, kAIAltModifier | kAIShiftModifier, kSegmentCursor},
        Case{true, 0, kSegmentCursor}, Case{false, kAIAltModifier, kSegmentCursor}}) {
    SCOPED_TRACE(testing::Message()
                 << "addpoints " << c.addpoints << ", modifiers " << c.modifiers);
    start({{"addpoints", c.addpoints}}, kSegments);
    hover(150, 101, c.modifiers);
    EXPECT_EQ(cursor(), c.cursor);
    stopHost();
  }
}

// An arch over (100, 300)-(300, 300) whose top, at t = 0.5, is (200, 150).
const char* kArch = R"(<path id="arch" d="M 100 300 C 100 100 300 100 300 300"/>)";

TEST_F(Hover, TheAddPointPreviewSnapsToTheNearestTangencyWithDotsAndLine) {
  start({{"addpoints", true}}, kArch);
  hover(203, 152, kAIAltModifier);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorAddPoint));
  const sqhost::DisplayList list = paint();
  // Snapped to the top: the ring, label and arrowhead sit there, the arrow pointing right.
  expectLabelAt(list, 4, 200, 150);
  expectArrow(list, 18, 200, 150);
  // The tangent line through it is horizontal and long.
  const sqhost::DrawOp* tangent = line(list);
  ASSERT_NE(tangent, nullptr);
  EXPECT_EQ(tangent->from.v, 150);
  EXPECT_EQ(tangent->to.v, 150);
  EXPECT_EQ(tangent->rgba, 0xFF0000FFu);
  EXPECT_LT(tangent->from.h, -3000);
  EXPECT_GT(tangent->to.h, 3000);
  // Dots at the candidates inside the curve: the top and the two 45-degree points (the arch has
  // no vertical tangency inside it).
  EXPECT_EQ(countIcons(list, kDotIcon), 3);
  bool dotAtTop = false;
  for (const IconDrawn& d : icons(list)) {
    if (d.id == kDotIcon && d.at.h == 200 - 8 && d.at.v == 150 - 8) dotAtTop = true;
  }
  EXPECT_TRUE(dotAtTop);

  // Out of snapping reach the ring stays on the hit point and no line is drawn.
  hover(121, 204, kAIAltModifier);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorAddPoint));
  EXPECT_EQ(line(paint()), nullptr);

  // Without the setting the preview shows but never snaps.
  stopHost();
  start({{"addpoints", true}, {"snap_to_tangencies", false}}, kArch);
  hover(203, 152, kAIAltModifier);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorAddPoint));
  const sqhost::DisplayList unsnapped = paint();
  EXPECT_EQ(line(unsnapped), nullptr);
  EXPECT_EQ(countIcons(unsnapped, kDotIcon), 0);
}

TEST_F(Hover, ParametersAtTheEndsAreNeverSnappedTo) {
  // The curve leaves (100, 100) horizontally, so its horizontal tangency is exactly t = 0. The
  // cursor is 5 pixels right and below the anchor: inside the snapping square, outside the
  // anchor's pick circle, and within reach of the curve.
  start({{"addpoints", true}}, R"(<path id="hook" d="M 100 100 C 150 100 200 150 200 200"/>)");
  hover(105, 105, kAIAltModifier);
  ASSERT_EQ(cursor(), sq::CursorResourceID(sq::kCursorAddPoint));
  const sqhost::DisplayList list = paint();
  EXPECT_EQ(line(list), nullptr) << list.describe();
  const auto label = icon(list, kLabelIcon);
  ASSERT_TRUE(label.has_value());
  EXPECT_NE(label->at.h, 100 - 96);  // the ring is not on the anchor
}

TEST_F(Hover, ATieBetweenTangenciesGoesToTheLowerCandidate) {
  // A curve symmetric about its middle point (200, 200): its tangencies come in pairs at the same
  // distance from that point. With the cursor there, the pair nearest to it ties.
  start({{"addpoints", true}}, R"(<path id="s" d="M 140 200 C 200 150 200 250 260 200"/>)");
  host().preferences().putInteger("", "selectionTolerance", 40);
  host().postNotification("AI Preference Changed Notifier");
  host().deliverNotifications();
  hover(200, 200, kAIAltModifier);
  ASSERT_EQ(cursor(), sq::CursorResourceID(sq::kCursorAddPoint));

  // The candidates as the plug-in computes them (artwork coordinates, v up).
  const sq::Curve curve{{140, -200}, {200, -150}, {200, -250}, {260, -200}};
  std::vector<double> candidates;
  for (double t : sq::AxisTangencies(curve)) candidates.push_back(t);
  for (double t : sq::AxisTangencies(sq::RotateCurve(curve, std::numbers::pi / 4))) {
    candidates.push_back(t);
  }
  int best = -1;
  float bestDistance = 99999;
  std::vector<float> distances(candidates.size(), -1);
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    if (!(candidates[i] > 0 && candidates[i] < 1)) continue;
    const sq::Point p = sq::PointAt(curve, candidates[i]);
    const float dh = 200.0f - static_cast<float>(p.h);
    const float dv = -200.0f - static_cast<float>(p.v);
    distances[i] = dh * dh + dv * dv;
    if (distances[i] < bestDistance) {
      bestDistance = distances[i];
      best = static_cast<int>(i);
    }
  }
  ASSERT_GE(best, 0);
  int tiedWith = -1;
  for (std::size_t i = static_cast<std::size_t>(best) + 1; i < candidates.size(); ++i) {
    if (distances[i] == bestDistance) tiedWith = static_cast<int>(i);
  }
  ASSERT_GE(tiedWith, 0) << "the layout no longer gives a tie";
  const sq::Point winner = sq::PointAt(curve, candidates[static_cast<std::size_t>(best)]);
  const sq::Point other = sq::PointAt(curve, candidates[static_cast<std::size_t>(tiedWith)]);
  ASSERT_NE(std::lround(winner.h), std::lround(other.h));

  const auto label = icon(paint(), kLabelIcon);
  ASSERT_TRUE(label.has_value());
  EXPECT_EQ(label->at.h, std::lround(winner.h) - 96);
  EXPECT_EQ(label->at.v, std::lround(-winner.v) - 12);
}

// Which rectangles the plug-in invalidated since the log was last cleared.
class HoverInvalidation : public Hover {
 protected:
  std::vector<AIRect> invalidated() { return driver().invalidated(); }
  static bool wholeView(const std::vector<AIRect>& log) {
    for (const AIRect& r : log) {
      if (r.left == 0 && r.top == 0 && r.right == 400 && r.bottom == 400) return true;
    }
    return false;
  }
  static bool contains(const std::vector<AIRect>& log, AIRect want) {
    for (const AIRect& r : log) {
      if (r.left == want.left && r.top == want.top && r.right == want.right &&
          r.bottom == want.bottom) {
        return true;
      }
    }
    return false;
  }
};

TEST_F(HoverInvalidation, AStillCursorRedrawsOnlyTheAreaAroundTheRing) {
  start({}, R"(<path id="wave" d="M 40 200 C 70 120 120 120 150 200 C 180 280 230 280 260 200"
                     sodipodi:nodetypes="csc" sq:selection="0 4 0"/>)");
  hover(180, 279);
  EXPECT_TRUE(wholeView(invalidated()));  // the ring appears
  paint();
  hover(180, 279);
  const std::vector<AIRect> still = invalidated();
  EXPECT_FALSE(wholeView(still));
  // The label picture drawn last: ring centre (180, 280), picture from x - 96; 6 pixels around.
  EXPECT_TRUE(contains(still, AIRect{78, 262, 204, 304}));
  hover(300, 40);
  EXPECT_TRUE(wholeView(invalidated()));  // the ring goes
  hover(300, 41);
  EXPECT_FALSE(wholeView(invalidated()));
}

TEST_F(HoverInvalidation, TheBoxedLabelAreaIsRedrawnAsTheCursorMoves) {
  start({{"boxed_text", true}}, kPoints);
  hover(101, 101);
  paint();
  invalidated();
  hover(100, 101);
  const std::vector<AIRect> log = invalidated();
  EXPECT_FALSE(wholeView(log));
  // Beside the ring at (100, 100): the box drawn last, grown by 6, and the area it starts in.
  EXPECT_TRUE(contains(log, AIRect{107, 107, 140, 134}));
  bool labelArea = false;
  for (const AIRect& r : log) labelArea |= r.left == 100 + 13 - 6 && r.top == 100 + 24 - 11 - 6;
  EXPECT_TRUE(labelArea);
}

TEST_F(HoverInvalidation, ChangesOfTheTangencyOrPreviewRedrawTheWholeView) {
  start({{"addpoints", true}}, kArch);
  hover(203, 152, kAIAltModifier);
  invalidated();
  hover(202, 152, kAIAltModifier);  // still snapped to the same top point
  EXPECT_FALSE(wholeView(invalidated()));
  hover(121, 204, kAIAltModifier);  // on the curve, snapped to nothing
  EXPECT_TRUE(wholeView(invalidated()));
  hover(121, 204, kAIAltModifier);
  EXPECT_FALSE(wholeView(invalidated()));
  hover(121, 204);  // Alt let go: the preview ends
  EXPECT_TRUE(wholeView(invalidated()));
}

TEST_F(Hover, NothingIsDrawnWhileTheToolIsSuspendedOrCtrlIsHeld) {
  start({}, kPoints);
  auto key = [&](bool down, int32_t code) { ASSERT_TRUE(driver().key(down, code)); };
  hover(101, 101);
  ASSERT_TRUE(icon(paint(), kLabelIcon).has_value());

  // The space bar borrows another tool: the ring goes until the tool is back.
  key(true, kVKSpace);
  EXPECT_TRUE(paint().ops.empty());
  key(false, kVKSpace);
  EXPECT_TRUE(icon(paint(), kLabelIcon).has_value());

  // A cursor movement reaching the tool while it is still marked suspended resumes it.
  key(true, kVKSpace);
  hover(101, 101);
  EXPECT_TRUE(icon(paint(), kLabelIcon).has_value());
  key(false, kVKSpace);

  // Ctrl held over the ring: drawn only when slow drags may use Ctrl.
  hover(101, 101, kAICtrlModifier);
  EXPECT_TRUE(icon(paint(), kLabelIcon).has_value());
  stopHost();
  start({{"slowdragCtrl", false}}, kPoints);
  hover(101, 101, kAICtrlModifier);
  EXPECT_TRUE(paint().ops.empty());
  hover(101, 101);
  EXPECT_TRUE(icon(paint(), kLabelIcon).has_value());
}

TEST_F(Hover, TextOnAPathIsHitThroughItsPath) {
  start({}, R"(<defs><path id="base" d="M 50 200 L 350 200"/></defs>
               <text><textPath xlink:href="#base">Along the line</textPath></text>)");
  hover(200, 201);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorSegment));
  expectLabelAt(paint(), 4, 200, 200);
}

TEST_F(Hover, TheInfoPanelShowsTheCursorPosition) {
  start({}, kPoints);
  hover(321.5f, 77.25f);
  EXPECT_EQ(info(15), 321.5);
  EXPECT_EQ(info(16), -77.25);
  // Over an anchor the position is where the host put the cursor, not the anchor.
  hover(101, 102);
  EXPECT_EQ(info(15), 101);
  EXPECT_EQ(info(16), -102);
}

TEST_F(Hover, WithNoDocumentTheToolShowsThePlainArrowWithoutComplaint) {
  start();
  host().selectTool(*host().registrations().toolByName("Spindlequiver Tool"));
  hover(10, 10);
  EXPECT_EQ(cursor(), sq::CursorResourceID(sq::kCursorArrow));
  EXPECT_TRUE(host().dialogs().dialogsShown().empty());
}

}  // namespace
