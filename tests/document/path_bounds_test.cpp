// Cached path bounds under many small overwrites: always those of the path as it now is.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "document/art.hpp"

namespace sqhost {
namespace {

// The bounds a path with exactly these segments has when made afresh.
AIRealRect freshBounds(const PathGeometry& path) {
  PathGeometry fresh;
  EXPECT_EQ(fresh.insertSegments(0, path.segments()), kNoErr);
  return *fresh.bounds();
}

TEST(PathBounds, OverwritesInsideOnAndBeyondTheEdgesKeepExactBounds) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> coord(-50, 50);
  std::uniform_int_distribution<int> kind(0, 3);
  auto point = [&] { return AIRealPoint{coord(rng), coord(rng)}; };
  PathGeometry path;
  std::vector<AIPathSegment> start;
  for (int i = 0; i < 12; ++i) start.push_back({point(), point(), point(), 0});
  ASSERT_EQ(path.insertSegments(0, start), kNoErr);
  std::uniform_int_distribution<std::size_t> index(0, start.size() - 1);

  for (int round = 0; round < 2000; ++round) {
    const std::size_t i = index(rng);
    AIPathSegment s = path.segment(i);
    const AIRealRect b = *path.bounds();
    switch (kind(rng)) {
      case 0:  // a small move, mostly well inside
        s.out = {s.out.h + coord(rng) / 25, s.out.v + coord(rng) / 25};
        break;
      case 1:  // a point pulled in from an edge: the bounds may shrink
        s.p = {b.left + (b.right - b.left) / 2, b.bottom + (b.top - b.bottom) / 2};
        s.in = s.p;
        break;
      case 2:  // a point put exactly on an edge
        s.in = {b.right, s.in.v};
        break;
      default:  // anywhere, possibly outside
        s = {point(), point(), point(), 1};
        break;
    }
    const std::size_t count = round % 5 == 0 && i + 1 < path.size() ? 2 : 1;
    std::vector<AIPathSegment> values(count, s);
    ASSERT_EQ(path.setSegments(i, values), kNoErr);
    ASSERT_TRUE(sameRect(*path.bounds(), freshBounds(path))) << "round " << round;
  }
}

TEST(PathBounds, AnInteriorOverwriteStillRefreshesTheCurveBounds) {
  PathGeometry path;
  const std::vector<AIPathSegment> segments{{{0, 0}, {0, 0}, {0, 8}, 0},
                                            {{10, 0}, {10, 12}, {10, 0}, 0},
                                            {{-10, -20}, {-10, -20}, {-10, -20}, 1}};
  ASSERT_EQ(path.insertSegments(0, segments), kNoErr);
  const float before = path.curveBounds()->top;
  // The first out handle moves down, well within the bounds: the arch's top drops.
  const std::vector<AIPathSegment> lower{{{0, 0}, {0, 0}, {0, 2}, 0}};
  ASSERT_EQ(path.setSegments(0, lower), kNoErr);
  EXPECT_TRUE(sameRect(*path.bounds(), AIRealRect{-10, 12, 10, -20}));
  EXPECT_LT(path.curveBounds()->top, before);
  PathGeometry fresh;
  ASSERT_EQ(fresh.insertSegments(0, path.segments()), kNoErr);
  EXPECT_TRUE(sameRect(*path.curveBounds(), *fresh.curveBounds()));
}

}  // namespace
}  // namespace sqhost
