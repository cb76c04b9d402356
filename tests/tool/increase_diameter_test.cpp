// The increase-diameter key retracts the handles the tool keeps selected, through the host's
// suites.
#include <gtest/gtest.h>

#include "support/in_process_plugin.hpp"
#include "tool/tool_handlers.hpp"

namespace {

class IncreaseDiameter : public ::testing::Test {
 protected:
  void SetUp() override {
    plugin.open(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 400 400">
                     <path id="a" d="M 0 0 C 10 10 20 10 30 0 C 40 -10 50 -10 60 0"/>
                     <path id="b" d="M 100 100 C 110 90 120 90 130 100"/></svg>)");
  }

  const sqhost::Art& path(const std::string& name) { return plugin.artNamed(name); }
  AIPathSegment segment(const std::string& name, std::size_t i) {
    return path(name).path().segment(i);
  }

  void keep(const std::string& name, int index, bool in, bool out) {
    sq::PointRecord& r = s.pointTable[s.pointCount++];
    r.art = plugin.art(name);
    r.segmentIndex = static_cast<int16_t>(index);
    r.segment = segment(name, static_cast<std::size_t>(index));
    r.handleFlags[sq::kInHandleFlag] = in;
    r.handleFlags[sq::kOutHandleFlag] = out;
    s.selectedHandleCount += in + out;
    s.selectedInHandleCount += in;
  }

  sqtest::InProcessPlugin plugin;
  sq::PluginState& s = plugin.state();
};

bool same(AIRealPoint a, AIRealPoint b) {
  return a.h == b.h && a.v == b.v;
}

TEST_F(IncreaseDiameter, RetractsExactlyTheKeptHandlesAndEmptiesTheTable) {
  keep("a", 1, true, false);
  keep("a", 2, true, false);
  keep("b", 0, false, true);
  const AIPathSegment untouched = segment("a", 1);
  ASSERT_EQ(sq::onIncreaseDiameter(nullptr), kNoErr);

  EXPECT_EQ(s.pointCount, 0);
  EXPECT_EQ(s.selectedHandleCount, 0);
  EXPECT_EQ(s.selectedInHandleCount, 0);
  const AIPathSegment a1 = segment("a", 1);
  EXPECT_TRUE(same(a1.in, a1.p));
  EXPECT_TRUE(same(a1.out, untouched.out));  // the other handle stays
  EXPECT_TRUE(same(segment("a", 2).in, segment("a", 2).p));
  EXPECT_TRUE(same(segment("b", 0).out, segment("b", 0).p));
  EXPECT_FALSE(same(segment("a", 0).out, segment("a", 0).p));  // not kept, not retracted
  // Every view is redrawn.
  EXPECT_FALSE(plugin.view().invalidationLog.empty());
}

TEST_F(IncreaseDiameter, AnEditMadeSinceThePointWasKeptIsNotUndone) {
  keep("a", 1, false, true);
  // The document changes behind the table's copy of the point: its anchor moves.
  AIPathSegment moved = segment("a", 1);
  moved.p.h += 5;
  moved.in.h += 5;
  moved.out.h += 5;
  sqhost::Art* art = plugin.host().currentDocument()->modifyArt(path("a").id());
  ASSERT_EQ(art->setSegments(1, std::span(&moved, 1)), kNoErr);

  ASSERT_EQ(sq::onIncreaseDiameter(nullptr), kNoErr);
  const AIPathSegment now = segment("a", 1);
  EXPECT_TRUE(same(now.p, moved.p));
  EXPECT_TRUE(same(now.in, moved.in));
  EXPECT_TRUE(same(now.out, moved.p));
}

TEST_F(IncreaseDiameter, APathThatIsGoneDoesNotStopTheOthers) {
  keep("a", 1, true, true);
  keep("b", 0, false, true);
  // Entry 0 now names a point past the end of its path.
  s.pointTable[0].segmentIndex = 40;
  sq::onIncreaseDiameter(nullptr);
  EXPECT_EQ(s.pointCount, 0);
  EXPECT_TRUE(same(segment("b", 0).out, segment("b", 0).p));
  EXPECT_EQ(path("a").path().size(), 3u);
}

}  // namespace
