// Clicks without a drag on anchors, handles and segments: what they select and what they edit.
#include <gtest/gtest.h>

#include <numbers>
#include <vector>

#include "tool/release_fixture.hpp"

namespace {

using sqtest::ReleaseTest;

constexpr int32_t kShift = 0x20;
constexpr int32_t kAlt = 0x80;
constexpr double kPi = std::numbers::pi;

// Point 1 (150, 200) has its in handle at (110, 200), 40 long, and its out handle at (150, 170),
// 30 long; nodetypes give its corner flag.
std::string Bend(const char* nodeTypes, const char* states = "0 0 0") {
  return std::string(
             R"(<path id="bend" d="M 40 200 C 70 150 110 200 150 200 C 150 170 230 280 260 200")") +
         " sodipodi:nodetypes=\"" + nodeTypes + "\" sq:selection=\"" + states + "\"/>";
}

void ExpectPoint(const AIRealPoint& p, double h, double v) {
  EXPECT_NEAR(p.h, h, 1e-3);
  EXPECT_NEAR(p.v, v, 1e-3);
}

class AnchorClick : public ReleaseTest {};

TEST_F(AnchorClick, AltMakesASmoothPointACornerWithoutMovingItsHandles) {
  open(Bend("csc", "1 0 1"));
  const std::string before = document();
  grab("bend", 1, sq::kDragAnchor);
  EXPECT_EQ(releaseAsGesture(kAlt), 1u);

  const AIPathSegment& p = segment("bend", 1);
  EXPECT_NE(p.corner, 0);
  ExpectPoint(p.in, 110, -200);
  ExpectPoint(p.out, 150, -170);
  EXPECT_EQ(states("bend"), (std::vector<int>{0, 1, 0}));  // the only selected point

  ASSERT_TRUE(plugin.host().undo().undo());
  EXPECT_EQ(document(), before);
}

TEST_F(AnchorClick, AltMakesACornerSmoothWithItsHandlesSquareToTheirMeanDirection) {
  open(Bend("ccc"));
  grab("bend", 1, sq::kDragAnchor);
  release(kAlt);
  // In at π and out at π/2: their mean 3π/4, the in handle turns to 5π/4 and the out handle to
  // π/4, each keeping its length.
  const AIPathSegment& p = segment("bend", 1);
  EXPECT_EQ(p.corner, 0);
  EXPECT_NEAR(angle(p.p, p.in), 5 * kPi / 4 - 2 * kPi, 1e-5);
  EXPECT_NEAR(angle(p.p, p.out), kPi / 4, 1e-5);
  EXPECT_NEAR(length(p.p, p.in), 40, 1e-3);
  EXPECT_NEAR(length(p.p, p.out), 30, 1e-3);
}

TEST_F(AnchorClick, AltShiftRetractsHandlesOrExtendsSmoothOnes) {
  open(Bend("ccc"));
  grab("bend", 1, sq::kDragAnchor);
  release(kAlt | kShift);
  const AIPathSegment& p = segment("bend", 1);
  ExpectPoint(p.in, 150, -200);
  ExpectPoint(p.out, 150, -200);

  open(R"(<path id="zig" d="M 40 200 L 150 100 L 260 200" sodipodi:nodetypes="ccc"/>)");
  grab("zig", 1, sq::kDragAnchor);
  release(kAlt | kShift);
  const AIPathSegment& z = segment("zig", 1);
  EXPECT_EQ(z.corner, 0);
  EXPECT_GT(length(z.p, z.in), 1);
  EXPECT_NEAR(length(z.p, z.in), length(z.p, z.out), 1e-3);
  EXPECT_NEAR(std::abs(angle(z.p, z.in) - angle(z.p, z.out)), kPi, 1e-4);
}

TEST_F(AnchorClick, ShiftWithEqualisingBalancesTheHandleLengths) {
  open(Bend("ccc"));
  s.settings.shift_equalizes = 1;
  grab("bend", 1, sq::kDragAnchor);
  release(kShift);
  const AIPathSegment& p = segment("bend", 1);
  EXPECT_NEAR(length(p.p, p.in), 35, 1e-3);
  EXPECT_NEAR(length(p.p, p.out), 35, 1e-3);
  EXPECT_NEAR(angle(p.p, p.in), kPi, 1e-6);
  EXPECT_NEAR(angle(p.p, p.out), kPi / 2, 1e-6);

  // A lone handle gets a twin of its length on the other side.
  open(R"(<path id="hook" d="M 40 200 C 70 150 110 200 150 200 L 260 200"
                sodipodi:nodetypes="ccc"/>)");
  s.settings.shift_equalizes = 1;
  grab("hook", 1, sq::kDragAnchor);
  release(kShift);
  ExpectPoint(segment("hook", 1).out, 190, -200);
}

class HandleClick : public ReleaseTest {};

TEST_F(HandleClick, ShiftWithEqualisingGivesTheClickedHandleTheOppositeLength) {
  open(Bend("ccc"));
  s.settings.shift_equalizes = 1;
  grab("bend", 1, sq::kDragOutHandle);
  release(kShift);
  ExpectPoint(segment("bend", 1).out, 150, -160);  // 40 long, still straight up
  EXPECT_EQ(s.grabbedPoint.handleFlags.to_ulong(), 0b01u);

  // Opposite a retracted handle the clicked one is retracted too.
  open(R"(<path id="hook" d="M 40 200 C 70 150 110 200 150 200 L 260 200"
                sodipodi:nodetypes="ccc"/>)");
  s.settings.shift_equalizes = 1;
  grab("hook", 1, sq::kDragInHandle);
  release(kShift);
  ExpectPoint(segment("hook", 1).in, 150, -200);
}

TEST_F(HandleClick, AltTurnsACornerSmoothWithTheClickedHandleOppositeTheOther) {
  open(Bend("ccc"));
  grab("bend", 1, sq::kDragOutHandle);
  release(kAlt);
  const AIPathSegment& p = segment("bend", 1);
  EXPECT_EQ(p.corner, 0);
  ExpectPoint(p.in, 110, -200);   // the other handle stays
  ExpectPoint(p.out, 180, -200);  // 30 long, away from the in handle
  EXPECT_EQ(states("bend"), (std::vector<int>{0, 1, 0}));
}

// Four points 0 (40, 100), 1 (140, 100), 2 (240, 100), 3 (340, 100) joined by curves that bulge
// upward; the segment from 1 to 2 is grabbed (its end point is 2).
std::string Arcs(const char* states) {
  return std::string(R"(<path id="arcs" d="M 40 100 C 60 60 120 60 140 100 C 160 60 220 60 240 100
                                         C 260 60 320 60 340 100" sq:selection=")") +
         states + R"("/><path id="other" d="M 40 300 C 100 250 200 250 260 300"
                      sq:selection="4 4"/>)";
}

class SegmentClick : public ReleaseTest {};

TEST_F(SegmentClick, APlainClickSelectsJustThatSegmentAndTrimsTheTable) {
  open(Arcs("1 0 1 1"));
  keep("arcs", 1, true, true);
  keep("arcs", 2, true, true);
  keep("arcs", 3, true, false);
  keep("other", 0, false, true);
  grabSegment("arcs", 2, 0.5f);
  // With kept handles the press records only the art: the points left from an earlier gesture
  // must not be the ones selected.
  s.grabbedPoint.segmentIndex = 0;
  s.previousPoint.segmentIndex = 3;
  release();

  EXPECT_EQ(states("arcs"), (std::vector<int>{0, 3, 2, 0}));
  EXPECT_EQ(states("other"), (std::vector<int>{4, 4}));
  ASSERT_EQ(s.pointCount, 2);
  EXPECT_EQ(s.pointTable[0].segmentIndex, 1);
  EXPECT_EQ(s.pointTable[0].handleFlags.to_ulong(), 0b10u);  // the start keeps its out handle
  EXPECT_EQ(s.pointTable[1].segmentIndex, 2);
  EXPECT_EQ(s.pointTable[1].handleFlags.to_ulong(), 0b01u);  // the end its in handle
  EXPECT_EQ(s.selectedHandleCount, 2);
  EXPECT_EQ(s.selectedInHandleCount, 1);
  EXPECT_EQ(s.othersEdited, 1);
}

TEST_F(SegmentClick, ShiftTogglesTheSegmentOrDeselectsAPathWithNothingElseSelected) {
  open(Arcs("1 1 1 0"));
  grabSegment("arcs", 2, 0.5f);
  release(kShift);
  EXPECT_EQ(states("arcs"), (std::vector<int>{1, 2, 3, 0}));

  open(Arcs("0 1 1 0"));
  grabSegment("arcs", 2, 0.5f);
  release(kShift);
  EXPECT_EQ(states("arcs"), (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(SegmentClick, AltSelectsTheWholePathAndAltShiftStraightensTheSegment) {
  open(Arcs("0 0 0 0"));
  grabSegment("arcs", 2, 0.5f);
  release(kAlt);
  EXPECT_EQ(states("arcs"), (std::vector<int>{4, 4, 4, 4}));

  open(Arcs("0 0 0 0"));
  s.settings.shift_equalizes = 1;
  const std::string before = document();
  grabSegment("arcs", 2, 0.25f);
  EXPECT_EQ(releaseAsGesture(kAlt | kShift), 1u);
  ExpectPoint(segment("arcs", 1).out, 140, -100);
  ExpectPoint(segment("arcs", 2).in, 240, -100);
  ExpectPoint(segment("arcs", 2).out, 260, -60);  // the neighbouring curves keep their shape
  ASSERT_TRUE(plugin.host().undo().undo());
  EXPECT_EQ(document(), before);
}

}  // namespace
