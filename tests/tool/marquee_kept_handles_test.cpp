// Handles kept by a marquee, through the real plug-in: the increase-diameter key retracts exactly
// them, and undo gives the drawing back.
#include <gtest/gtest.h>

#include "support/host_fixture.hpp"
#include "svg/svg_io.hpp"

namespace {

// The wave: 0 (40, 200) out (70, 120); 1 (150, 200) in (120, 120) out (180, 280); 2 (260, 200)
// in (230, 280), every handle shown.
constexpr const char* kWave =
    R"(<path id="wave" d="M 40 200 C 70 120 120 120 150 200 C 180 280 230 280 260 200"
             sq:selection="4 4 4"/>)";

class MarqueeKeptHandles : public sqtest::HostTest {
 protected:
  void SetUp() override {
    startHost();
    driver().open(kWave);
    ASSERT_TRUE(driver().chooseTool("Spindlequiver Tool"));
  }
  AIPathSegment segment(std::size_t i) {
    const sqhost::Document& doc = *host().currentDocument();
    return doc.layer(0).group().child(0).path().segment(i);
  }
  std::string svg() { return sqhost::svg::writeSvg(*host().currentDocument()).text; }
};

bool same(AIRealPoint a, AIRealPoint b) {
  return a.h == b.h && a.v == b.v;
}

TEST_F(MarqueeKeptHandles, TheIncreaseDiameterKeyRetractsTheHandlesTheMarqueeKept) {
  const std::string before = svg();
  const AIPathSegment start1 = segment(1);
  // A marquee from empty canvas round point 1's out handle and point 2's in handle only.
  ASSERT_TRUE(driver().press(170, 300));
  ASSERT_TRUE(driver().drag(200, 280));
  ASSERT_TRUE(driver().drag(240, 262));
  ASSERT_TRUE(driver().release(240, 262));
  EXPECT_EQ(svg(), before);  // a marquee only selects

  ASSERT_TRUE(driver().run("increase-diameter\n"));
  EXPECT_TRUE(same(segment(1).out, segment(1).p));
  EXPECT_TRUE(same(segment(2).in, segment(2).p));
  EXPECT_TRUE(same(segment(1).in, start1.in));  // outside the marquee: kept as it was
  EXPECT_TRUE(same(segment(0).out, AIRealPoint{70, -120}));

  ASSERT_TRUE(driver().run("undo\n"));
  EXPECT_EQ(svg(), before);
}

}  // namespace
