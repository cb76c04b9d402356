// Selecting inside a rectangle: the touch test of one curve, handles caught by a marquee, and
// anchors and segments selected the way the host's direct selection does.
#include "tool/rect_select.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool/release_fixture.hpp"

namespace {

using States = std::vector<int>;

class RectSelect : public sqtest::ReleaseTest {
 protected:
  // Paths in a document that also knows layers.
  void open(const std::string& content) {
    ReleaseTest::open(R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:sq="urn:spindlequiver:host"
                   xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
                   viewBox="0 0 600 600">)" +
                      content + "</svg>");
  }

  // A marquee from pixel (x0, y0) to (x1, y1) released with these keys.
  void marquee(float x0, float y0, float x1, float y1, int32_t modifiers = 0) {
    plugin.host().dialogs().setEventModifiers(modifiers);
    s.pressPoint = {x0, -y0};
    s.marqueeCorner = {x1, -y1};
    sq::selectHandlesInMarquee(s);
  }
};

TEST_F(RectSelect, TouchTestFollowsTheCurveNotItsControlBox) {
  open(R"(<path id="p" d="M 0 0 L 1 0"/>)");
  // An arc from (0, 0) up to v 75 and back down to (100, 0).
  const AIRealBezier arc{{0, 0}, {0, 100}, {100, 100}, {100, 0}};
  EXPECT_TRUE(sq::segmentTouchesRect(arc, {40, 80, 60, 70}, 1));   // across the top
  EXPECT_FALSE(sq::segmentTouchesRect(arc, {40, 95, 60, 85}, 1));  // in the hull, above the curve
  EXPECT_FALSE(sq::segmentTouchesRect(arc, {200, 10, 210, 0}, 1));
  // A zero-size rectangle on the curve is found through the half-pixel widening; also at zoom 0.
  for (double zoom : {1.0, 0.0, -2.0}) {
    EXPECT_TRUE(sq::segmentTouchesRect(arc, {50, 75, 50, 75}, zoom)) << zoom;
  }
  // A straight line and a point-size rectangle on it, and one beside it.
  const AIRealBezier line{{0, 0}, {0, 0}, {100, 0}, {100, 0}};
  EXPECT_TRUE(sq::segmentTouchesRect(line, {30, 0, 30, 0}, 4));
  EXPECT_FALSE(sq::segmentTouchesRect(line, {30, 2, 30, 2}, 4));
  // A curve collapsed onto one point.
  const AIRealBezier dot{{5, 5}, {5, 5}, {5, 5}, {5, 5}};
  EXPECT_TRUE(sq::segmentTouchesRect(dot, {5, 5, 5, 5}, 64));
  EXPECT_FALSE(sq::segmentTouchesRect(dot, {6, 6, 6, 6}, 64));
}

// The wave's middle point shows both handles: in (120, 120), out (180, 280).
constexpr const char* kWave =
    R"(<path id="wave" d="M 40 200 C 70 120 120 120 150 200 C 180 280 230 280 260 200"
             sq:selection="0 4 0"/>)";

TEST_F(RectSelect, MarqueeCatchesShownHandlesAndShiftTogglesThem) {
  open(kWave);
  marquee(100, 100, 200, 130);
  ASSERT_EQ(s.pointCount, 1);
  EXPECT_TRUE(s.pointTable[0].handleFlags.test(sq::kInHandleFlag));
  EXPECT_FALSE(s.pointTable[0].handleFlags.test(sq::kOutHandleFlag));
  EXPECT_TRUE(s.pointTable[0].shownParts.test(sq::kInHandleShown));
  EXPECT_EQ(s.pointTable[0].segmentIndex, 1);
  EXPECT_EQ(s.selectedHandleCount, 1);
  EXPECT_EQ(s.selectedInHandleCount, 1);

  // Shift adds the out handle to the same entry...
  marquee(170, 270, 190, 290, sq::kShiftKey);
  ASSERT_EQ(s.pointCount, 1);
  EXPECT_TRUE(s.pointTable[0].handleFlags.test(sq::kOutHandleFlag));
  EXPECT_EQ(s.selectedHandleCount, 2);
  // ...and over both again takes them out; the entry leaves the table with its last flag.
  marquee(100, 100, 200, 300, sq::kShiftKey);
  EXPECT_EQ(s.pointCount, 0);
  EXPECT_EQ(s.selectedHandleCount, 0);
  EXPECT_EQ(s.selectedInHandleCount, 0);
  // The host selection is not touched by handle catching.
  EXPECT_EQ(states("wave"), (States{0, 4, 0}));
}

TEST_F(RectSelect, HandlesOfAPointSelectedAnchorCountOnlyWhenItIsTheOnlyOne) {
  for (const char* states : {"1 1 0", "0 1 0"}) {
    SCOPED_TRACE(states);
    std::string wave = kWave;
    open(wave.replace(wave.find("0 4 0"), 5, states));
    marquee(100, 100, 200, 130);
    EXPECT_EQ(s.pointCount, states[0] == '1' ? 0 : 1);
  }
}

TEST_F(RectSelect, AltMarqueeGoesStraightToAnchors) {
  open(kWave);
  marquee(100, 100, 200, 210, sq::kAltKey);
  EXPECT_EQ(s.pointCount, 0);
  // The neighbours show the sides that lead to the selected anchor.
  EXPECT_EQ(states("wave"), (States{4, 1, 2}));
}

TEST_F(RectSelect, MarqueeOverAnAnchorSelectsItAndShowsItsNeighboursSides) {
  open(R"(<path id="p" d="M 100 100 L 200 100 L 300 100 L 400 100"/>)");
  marquee(190, 90, 210, 110);
  EXPECT_EQ(states("p"), (States{4, 1, 2, 0}));

  // Shift over a selected anchor toggles it off; its state comes from its neighbours.
  plugin.host().dialogs().setEventModifiers(sq::kShiftKey);
  s.extendSelection = 1;
  s.selectionArt = plugin.art("p");
  s.selectionRect = {200 - 0.0001f, -100 + 0.0001f, 200 + 0.0001f, -100 - 0.0001f};
  sq::selectInRectangle(s, 1);
  EXPECT_EQ(states("p"), (States{0, 0, 0, 0}));
}

TEST_F(RectSelect, ACrossedSegmentIsSelectedAndAltSelectsItsWholePath) {
  const std::string doc = R"(<path id="p" d="M 100 100 L 200 100 L 200 200 L 300 200"/>)";
  open(doc);
  // Across the middle of the segment from (200, 100) to (200, 200), no anchor inside.
  marquee(190, 140, 210, 160);
  EXPECT_EQ(states("p"), (States{0, 4, 4, 0}));

  open(doc);
  marquee(190, 140, 210, 160, sq::kAltKey);
  EXPECT_EQ(states("p"), (States{4, 4, 4, 4}));
  // Shift+Alt over a selected path deselects it.
  marquee(190, 140, 210, 160, sq::kAltKey | sq::kShiftKey);
  EXPECT_EQ(states("p"), (States{0, 0, 0, 0}));
}

TEST_F(RectSelect, LockedAndHiddenPathsAndTheirGroupsAreNeverSelected) {
  open(R"(<path id="open" d="M 100 100 L 300 100"/>
          <path id="locked" d="M 100 110 L 300 110" sq:locked="1"/>
          <path id="hidden" d="M 100 120 L 300 120" sq:hidden="1"/>
          <g sq:hidden="1"><path id="inHidden" d="M 100 130 L 300 130"/></g>
          <g sq:locked="1"><path id="inLocked" d="M 100 140 L 300 140"/></g>
          <g inkscape:groupmode="layer" sq:locked="1">
            <path id="onLocked" d="M 100 150 L 300 150"/></g>)");
  marquee(50, 50, 350, 200);
  EXPECT_EQ(states("open"), (States{1, 1}));
  for (const char* name : {"locked", "hidden", "inHidden", "inLocked", "onLocked"}) {
    EXPECT_EQ(states(name), (States{0, 0})) << name;
  }
}

TEST_F(RectSelect, AShiftMarqueeKeepsTheSelectionOfGroupedPathsOutsideIt) {
  open(R"(<g id="group"><path id="a" d="M 100 100 L 200 100" sq:selection="1 1"/>
                         <path id="b" d="M 100 300 L 200 300"/></g>)");
  marquee(90, 290, 110, 310, sq::kShiftKey);
  EXPECT_EQ(states("a"), (States{1, 1}));
  EXPECT_EQ(states("b")[0], 1);
}

TEST_F(RectSelect, TheTableStopsAt4000Entries) {
  // 4011 points, each showing its handles.
  std::string d = "M 0 300";
  std::string selection = "4";
  for (int i = 1; i <= 4010; ++i) {
    d += " C 1 290 -1 290 0 300";  // on one spot, with handles above it
    selection += " 4";
  }
  open(R"(<path id="many" d=")" + d + R"(" sq:selection=")" + selection + R"("/>)");
  marquee(-10, 280, 10, 295);
  EXPECT_EQ(s.pointCount, sq::kPointTableCapacity);
}

}  // namespace
