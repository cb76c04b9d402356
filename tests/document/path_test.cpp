// Paths in the model: selection states and the selected attribute, shown handles, the segment
// limit, reversal, wrap-around neighbours, cached bounds and refusal of non-finite values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "document/art.hpp"

namespace sqhost {
namespace {

AIPathSegment seg(float h, float v, float inH, float inV, float outH, float outV, int corner = 0) {
  return AIPathSegment{{h, v}, {inH, inV}, {outH, outV}, corner};
}
AIPathSegment corner(float h, float v) {
  return seg(h, v, h, v, h, v, 1);
}

std::unique_ptr<Art> pathOf(std::vector<AIPathSegment> segments, bool closed = false) {
  auto art = Art::create(ArtType::kPath);
  EXPECT_EQ(art->insertSegments(0, segments), kNoErr);
  art->setClosed(closed);
  return art;
}

std::vector<AIPathSegment> threeSmooth() {
  return {seg(0, 0, -1, 0, 1, 0), seg(10, 0, 9, 1, 11, -1), seg(20, 0, 19, 0, 21, 0)};
}

class SegmentLimitGuard {
 public:
  explicit SegmentLimitGuard(std::size_t limit) { PathGeometry::setSegmentLimit(limit); }
  ~SegmentLimitGuard() { PathGeometry::setSegmentLimit(PathGeometry::kDefaultSegmentLimit); }
};

TEST(PathSelection, SelectedAttributeFollowsSegments) {
  auto art = pathOf(threeSmooth());
  EXPECT_FALSE(art->selected());

  // Selecting any segment sets the attribute; clearing the last selected one clears it.
  ASSERT_EQ(art->setSegmentSelection(1, SegmentSelection::kIn), kNoErr);
  EXPECT_TRUE(art->selected());
  ASSERT_EQ(art->setSegmentSelection(2, SegmentSelection::kAnchor), kNoErr);
  ASSERT_EQ(art->setSegmentSelection(1, SegmentSelection::kNone), kNoErr);
  EXPECT_TRUE(art->selected());
  ASSERT_EQ(art->setSegmentSelection(2, SegmentSelection::kNone), kNoErr);
  EXPECT_FALSE(art->selected());

  // Clearing the attribute clears every segment.
  art->setSegmentSelection(0, SegmentSelection::kInOut);
  art->setSegmentSelection(2, SegmentSelection::kOut);
  ASSERT_EQ(art->setSelected(false), kNoErr);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(art->path().selection(i), SegmentSelection::kNone);
  EXPECT_EQ(art->path().selectedCount(), 0u);

  // Setting it on an unselected path selects every anchor; on a selected one it keeps the states.
  ASSERT_EQ(art->setSelected(true), kNoErr);
  for (std::size_t i = 0; i < 3; ++i)
    EXPECT_EQ(art->path().selection(i), SegmentSelection::kAnchor);
  art->setSegmentSelection(1, SegmentSelection::kOut);
  art->setSelected(true);
  EXPECT_EQ(art->path().selection(1), SegmentSelection::kOut);

  // Deleting the only selected segment clears the attribute.
  art->setSelected(false);
  art->setSegmentSelection(2, SegmentSelection::kIn);
  ASSERT_EQ(art->deleteSegments(2, 1), kNoErr);
  EXPECT_FALSE(art->selected());

  EXPECT_EQ(art->setSegmentSelection(5, SegmentSelection::kIn), kOutOfRangeErr);
  EXPECT_EQ(art->setSegmentSelection(0, static_cast<SegmentSelection>(5)), kBadParameterErr);
  EXPECT_EQ(art->setAttributes(8, true), kBadParameterErr);
}

TEST(PathSelection, ShownHandlesFollowStates) {
  auto art = pathOf(threeSmooth());
  const PathGeometry& path = art->path();
  auto shown = [&](std::size_t i) { return path.shownHandles(i); };

  art->setSegmentSelection(0, SegmentSelection::kIn);
  art->setSegmentSelection(1, SegmentSelection::kOut);
  art->setSegmentSelection(2, SegmentSelection::kInOut);
  EXPECT_EQ(shown(0), (ShownHandles{true, false}));
  EXPECT_EQ(shown(1), (ShownHandles{false, true}));
  EXPECT_EQ(shown(2), (ShownHandles{true, true}));

  // The single anchor-selected point shows both handles; two such points show none.
  art->setSelected(false);
  art->setSegmentSelection(1, SegmentSelection::kAnchor);
  EXPECT_EQ(shown(1), (ShownHandles{true, true}));
  EXPECT_EQ(shown(0), (ShownHandles{false, false}));
  art->setSegmentSelection(0, SegmentSelection::kAnchor);
  EXPECT_EQ(shown(0), (ShownHandles{false, false}));
  EXPECT_EQ(shown(1), (ShownHandles{false, false}));

  // A retracted handle is never shown.
  auto flat = pathOf({corner(0, 0), seg(5, 5, 5, 5, 6, 6)});
  flat->setSegmentSelection(0, SegmentSelection::kInOut);
  flat->setSegmentSelection(1, SegmentSelection::kInOut);
  EXPECT_EQ(flat->path().shownHandles(0), (ShownHandles{false, false}));
  EXPECT_EQ(flat->path().shownHandles(1), (ShownHandles{false, true}));
  EXPECT_EQ(flat->path().shownHandles(7), (ShownHandles{false, false}));
}

TEST(PathEditing, SegmentLimitRefusesInsertionPastIt) {
  SegmentLimitGuard guard(4);
  auto art = pathOf({corner(0, 0), corner(1, 0), corner(2, 0)});
  const PathGeometry before = art->path();
  std::vector<AIPathSegment> two{corner(3, 0), corner(4, 0)};
  EXPECT_EQ(art->insertSegments(1, two), kTooManySegmentsErr);
  EXPECT_EQ(art->path(), before);
  EXPECT_EQ(art->insertSegments(3, std::span(two).first(1)), kNoErr);
  EXPECT_EQ(art->path().size(), 4u);
  EXPECT_EQ(art->insertSegments(0, std::span(two).first(1)), kTooManySegmentsErr);
  EXPECT_EQ(art->path().size(), 4u);
  EXPECT_EQ(PathGeometry::kDefaultSegmentLimit, 32000u);
}

TEST(PathEditing, NonFiniteValuesAreRefused) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  auto art = pathOf(threeSmooth());
  const ArtData before = art->data();
  std::vector<AIPathSegment> bad{seg(0, 0, nan, 0, 0, 0)};
  EXPECT_EQ(art->insertSegments(1, bad), kNonFiniteErr);
  EXPECT_EQ(art->setSegments(0, std::vector<AIPathSegment>{corner(1, 1), seg(0, inf, 0, 0, 0, 0)}),
            kNonFiniteErr);
  PathStyle style;
  style.strokeWidth = inf;
  EXPECT_EQ(art->setStyle(style), kNonFiniteErr);
  EXPECT_EQ(art->data(), before);
  EXPECT_EQ(art->setSegments(2, std::vector<AIPathSegment>{corner(0, 0), corner(0, 0)}),
            kOutOfRangeErr);

  auto text = Art::createTextFrame(TextFrameType::kPoint, "x");
  EXPECT_EQ(text->setTextOrigin(AIRealPoint{nan, 0}), kNonFiniteErr);
  EXPECT_EQ(text->text().origin.h, 0);
}

TEST(PathEditing, ReverseSwapsOrderHandlesAndSides) {
  auto art = pathOf({seg(0, 0, -1, 0, 1, 1, 1), seg(10, 0, 9, 1, 11, 2), seg(20, 0, 19, 3, 21, 4)});
  art->setSegmentSelection(0, SegmentSelection::kIn);
  art->setSegmentSelection(1, SegmentSelection::kInOut);
  art->setSegmentSelection(2, SegmentSelection::kOut);
  const PathGeometry original = art->path();
  ASSERT_EQ(art->reverse(), kNoErr);
  const PathGeometry& r = art->path();
  ASSERT_EQ(r.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const AIPathSegment& a = r.segment(i);
    const AIPathSegment& b = original.segment(2 - i);
    EXPECT_TRUE(samePoint(a.p, b.p));
    EXPECT_TRUE(samePoint(a.in, b.out));
    EXPECT_TRUE(samePoint(a.out, b.in));
    EXPECT_EQ(a.corner, b.corner);
  }
  EXPECT_EQ(r.selection(0), SegmentSelection::kIn);  // was kOut on the last point
  EXPECT_EQ(r.selection(1), SegmentSelection::kInOut);
  EXPECT_EQ(r.selection(2), SegmentSelection::kOut);
  // The curve is the same, traversed backwards.
  AIRealBezier first = original.bezier(0), last = r.bezier(1);
  EXPECT_TRUE(samePoint(first.p0, last.p3) && samePoint(first.p1, last.p2) &&
              samePoint(first.p2, last.p1) && samePoint(first.p3, last.p0));
  art->reverse();
  EXPECT_EQ(art->path(), original);
}

TEST(PathEditing, NeighboursWrapOnlyOnClosedPaths) {
  auto art = pathOf(threeSmooth());
  const PathGeometry& path = art->path();
  EXPECT_EQ(path.previous(0), std::nullopt);
  EXPECT_EQ(path.next(2), std::nullopt);
  EXPECT_EQ(path.next(0), 1u);
  EXPECT_EQ(path.bezierCount(), 2u);
  art->setClosed(true);
  EXPECT_EQ(path.previous(0), 2u);
  EXPECT_EQ(path.next(2), 0u);
  ASSERT_EQ(path.bezierCount(), 3u);
  AIRealBezier closing = path.bezier(2);
  EXPECT_TRUE(samePoint(closing.p0, path.segment(2).p));
  EXPECT_TRUE(samePoint(closing.p1, path.segment(2).out));
  EXPECT_TRUE(samePoint(closing.p2, path.segment(0).in));
  EXPECT_TRUE(samePoint(closing.p3, path.segment(0).p));

  auto single = pathOf({corner(1, 1)}, true);
  EXPECT_EQ(single->path().previous(0), 0u);
  EXPECT_EQ(single->path().bezierCount(), 1u);
  EXPECT_EQ(Art::create(ArtType::kPath)->path().bezierCount(), 0u);
}

TEST(PathEditing, BoundsCoverHandlesAndFollowEveryChange) {
  auto art = pathOf({seg(0, 0, -5, 0, 0, 8), corner(10, 2)});
  auto bounds = art->path().bounds();
  ASSERT_TRUE(bounds.has_value());
  EXPECT_TRUE(sameRect(*bounds, AIRealRect{-5, 8, 10, 0}));
  art->setSegments(1, std::vector<AIPathSegment>{corner(20, -3)});
  EXPECT_TRUE(sameRect(*art->path().bounds(), AIRealRect{-5, 8, 20, -3}));
  art->insertSegments(0, std::vector<AIPathSegment>{corner(-30, 0)});
  EXPECT_EQ(art->path().bounds()->left, -30);
  art->deleteSegments(0, 3);
  EXPECT_FALSE(art->path().bounds().has_value());
  EXPECT_FALSE(art->bounds().has_value());
}

TEST(PathEditing, CurveBoundsAreKeptUntilTheNextChange) {
  // An arch from (0, 0) to (10, 0) whose handles rise to 8: the curve itself rises to 6.
  auto art = pathOf({seg(0, 0, 0, 0, 0, 8), seg(10, 0, 10, 8, 10, 0)});
  ASSERT_TRUE(art->path().curveBounds().has_value());
  EXPECT_TRUE(sameRect(*art->path().curveBounds(), AIRealRect{0, 6, 10, 0}));
  // Each kind of change is seen by the next read.
  art->setSegments(1, std::vector<AIPathSegment>{seg(10, 0, 10, 16, 10, 0)});
  EXPECT_NEAR(art->path().curveBounds()->top, 9.2376043, 1e-5);  // max of 24t(1-t)² + 48t²(1-t)
  art->insertSegments(2, std::vector<AIPathSegment>{corner(20, -4)});
  EXPECT_EQ(art->path().curveBounds()->right, 20);
  EXPECT_EQ(art->path().curveBounds()->bottom, -4);
  // Closing adds the curve from the last point back to the first; here it stays inside.
  art->setClosed(true);
  EXPECT_EQ(art->path().curveBounds()->right, 20);
  art->deleteSegments(0, 3);
  EXPECT_FALSE(art->path().curveBounds().has_value());
}

TEST(PathEditing, CornerFlagsAreStoredAsZeroOrOne) {
  auto art = pathOf({seg(0, 0, 0, 0, 0, 0, 7)});
  EXPECT_EQ(art->path().segment(0).corner, 1);
}

}  // namespace
}  // namespace sqhost

namespace sqhost {
namespace {

// Copies share the arrays until one writes; a write never shows in the other copy, and a
// selection change leaves the segments shared.
TEST(PathCopies, ShareArraysUntilWritten) {
  auto art = pathOf(threeSmooth());
  const PathGeometry original = art->path();
  PathGeometry copy = original;
  EXPECT_TRUE(copy.sharesSegmentsWith(original));
  ASSERT_EQ(copy.setSelection(1, SegmentSelection::kIn), kNoErr);
  EXPECT_TRUE(copy.sharesSegmentsWith(original));
  EXPECT_EQ(original.selection(1), SegmentSelection::kNone);
  EXPECT_EQ(original.selectedCount(), 0u);
  EXPECT_FALSE(copy == original);

  const AIPathSegment moved = corner(5, 5);
  ASSERT_EQ(copy.setSegments(0, std::span(&moved, 1)), kNoErr);
  EXPECT_FALSE(copy.sharesSegmentsWith(original));
  EXPECT_EQ(original.segment(0).p.h, 0.0f);
  EXPECT_EQ(original.bounds()->left, -1.0f);
  EXPECT_EQ(copy.segment(0).p.h, 5.0f);

  PathGeometry reversed = original;
  reversed.reverse();
  reversed.reverse();
  EXPECT_TRUE(reversed == original);  // equal values in separate arrays
  EXPECT_FALSE(reversed.sharesSegmentsWith(original));
  // Writes that change nothing copy nothing.
  PathGeometry same = original;
  same.setAllSelections(SegmentSelection::kNone);
  ASSERT_EQ(same.setSelection(0, SegmentSelection::kNone), kNoErr);
  ASSERT_EQ(same.insertSegments(1, {}), kNoErr);
  EXPECT_TRUE(same.sharesSegmentsWith(original));
}

}  // namespace
}  // namespace sqhost
