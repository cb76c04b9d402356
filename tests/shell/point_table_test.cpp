// The point table's capacity, order and flag bookkeeping.
#include "geometry/point_table.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace {

AIArtHandle art(uintptr_t n) {
  return reinterpret_cast<AIArtHandle>(n);
}

class PointTableTest : public ::testing::Test {
 protected:
  std::unique_ptr<sq::PluginState> state = std::make_unique<sq::PluginState>();
  sq::PluginState& s = *state;
  AIPathSegment segment{};
};

TEST_F(PointTableTest, FullTableRefusesTheNextEntryAndKeepsTheCounts) {
  for (int i = 0; i < sq::kPointTableCapacity; ++i) {
    ASSERT_TRUE(sq::appendEntry(s, art(1), i, segment, true, false).has_value());
  }
  EXPECT_EQ(s.pointCount, 4000);
  EXPECT_EQ(s.selectedHandleCount, 4000);
  EXPECT_FALSE(sq::appendEntry(s, art(2), 0, segment, true, true).has_value());
  EXPECT_EQ(s.pointCount, 4000);
  EXPECT_EQ(s.selectedHandleCount, 4000);
  EXPECT_EQ(s.selectedInHandleCount, 4000);
}

TEST_F(PointTableTest, RemovingKeepsTheOrderOfTheRest) {
  sq::appendEntry(s, art(1), 10, segment, true, false);
  sq::appendEntry(s, art(2), 20, segment, false, true);
  sq::appendEntry(s, art(3), 30, segment, true, true);
  sq::removeEntry(s, 0);
  ASSERT_EQ(s.pointCount, 2);
  EXPECT_EQ(s.pointTable[0].art, art(2));
  EXPECT_EQ(s.pointTable[0].segmentIndex, 20);
  EXPECT_EQ(s.pointTable[1].art, art(3));
  // Removing leaves the counts to the caller.
  EXPECT_EQ(s.selectedHandleCount, 4);
}

TEST_F(PointTableTest, NewEntryShowsItsAnchorAndSelectedHandles) {
  segment.p = {1, 2};
  const auto index = sq::appendEntry(s, art(1), 3, segment, false, true);
  ASSERT_TRUE(index.has_value());
  const sq::PointRecord& r = s.pointTable[*index];
  EXPECT_FALSE(r.handleFlags.test(sq::kInHandleFlag));
  EXPECT_TRUE(r.handleFlags.test(sq::kOutHandleFlag));
  EXPECT_TRUE(r.shownParts.test(sq::kAnchorShown));
  EXPECT_TRUE(r.shownParts.test(sq::kOutHandleShown));
  EXPECT_FALSE(r.shownParts.test(sq::kInHandleShown));
  EXPECT_EQ(r.savedSegment.p.h, 1.0f);
  EXPECT_EQ(s.selectedHandleCount, 1);
  EXPECT_EQ(s.selectedInHandleCount, 0);
}

TEST_F(PointTableTest, ClearingTheLastFlagRemovesTheEntryAndLowersTheCounts) {
  sq::appendEntry(s, art(1), 0, segment, true, true);
  sq::appendEntry(s, art(2), 0, segment, true, false);
  EXPECT_FALSE(sq::clearHandleFlag(s, 0, sq::kOutHandleFlag));
  EXPECT_EQ(s.pointCount, 2);
  EXPECT_EQ(s.selectedHandleCount, 2);
  EXPECT_TRUE(sq::clearHandleFlag(s, 0, sq::kInHandleFlag));
  EXPECT_EQ(s.pointCount, 1);
  EXPECT_EQ(s.selectedHandleCount, 1);
  EXPECT_EQ(s.selectedInHandleCount, 1);
  EXPECT_EQ(s.pointTable[0].art, art(2));
  // Clearing a flag that is not set changes nothing.
  EXPECT_FALSE(sq::clearHandleFlag(s, 0, sq::kOutHandleFlag));
  EXPECT_EQ(s.selectedHandleCount, 1);
}

TEST_F(PointTableTest, FindEntryMatchesArtSegmentAndTheAskedHandle) {
  sq::appendEntry(s, art(1), 5, segment, false, true);
  sq::appendEntry(s, art(1), 5, segment, true, false);
  EXPECT_EQ(sq::findEntry(s, art(1), sq::kHitOutHandle, 5), 0);
  EXPECT_EQ(sq::findEntry(s, art(1), sq::kHitInHandle, 5), 1);
  EXPECT_FALSE(sq::findEntry(s, art(2), sq::kHitInHandle, 5).has_value());
  EXPECT_FALSE(sq::findEntry(s, art(1), sq::kHitInHandle, 6).has_value());
}

TEST_F(PointTableTest, EmptyingResetsCountsAndDragMode) {
  sq::appendEntry(s, art(1), 0, segment, true, true);
  s.dragMode = sq::kDragSegment;
  sq::emptyTable(s);
  EXPECT_EQ(s.pointCount, 0);
  EXPECT_EQ(s.selectedHandleCount, 0);
  EXPECT_EQ(s.selectedInHandleCount, 0);
  EXPECT_EQ(s.dragMode, sq::kDragMarquee);
}

TEST_F(PointTableTest, DiscardingLowersTheCountsAndClearingKeepsTheDragMode) {
  sq::appendEntry(s, art(1), 0, segment, true, true);
  sq::appendEntry(s, art(2), 0, segment, false, true);
  sq::discardEntry(s, 0);
  EXPECT_EQ(s.pointCount, 1);
  EXPECT_EQ(s.selectedHandleCount, 1);
  EXPECT_EQ(s.selectedInHandleCount, 0);
  EXPECT_EQ(s.pointTable[0].art, art(2));
  s.dragMode = sq::kDragAnchor;
  sq::clearEntries(s);
  EXPECT_EQ(s.pointCount, 0);
  EXPECT_EQ(s.selectedHandleCount, 0);
  EXPECT_EQ(s.dragMode, sq::kDragAnchor);
}

TEST_F(PointTableTest, FlagPositionOutOfRangeIsReportedNotIgnored) {
  sq::appendEntry(s, art(1), 0, segment, true, false);
  EXPECT_THROW(sq::setHandleFlag(s, 0, 4), std::out_of_range);
}

}  // namespace
