// Counting redundant points, the way the panel's warning and the removal walk a path.
#include "commands/redundant_points.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

AIPathSegment corner(float h, float v) {
  return AIPathSegment{{h, v}, {h, v}, {h, v}, 1};
}

TEST(RedundantPoints, OnlyHandlelessZeroLengthSegmentsCount) {
  // Points 1 and 2 of an open path coincide within the tolerance.
  std::vector<AIPathSegment> path = {corner(0, 0), corner(50, 0), corner(50.004f, 0.003f),
                                     corner(90, 40)};
  EXPECT_EQ(sq::CountRedundantPoints(path, false), 1);
  // A handle on the joining segment makes it a curve: not redundant.
  path[1].out = {60, 10};
  EXPECT_EQ(sq::CountRedundantPoints(path, false), 0);
  path[1].out = path[1].p;
  path[2].in = {45, -5};
  EXPECT_EQ(sq::CountRedundantPoints(path, false), 0);
  // Farther apart than the tolerance.
  path[2] = corner(50.01f, 0);
  EXPECT_EQ(sq::CountRedundantPoints(path, false), 0);

  // Paths of two points are never examined, even when both points coincide.
  EXPECT_EQ(sq::CountRedundantPoints(std::vector{corner(5, 5), corner(5, 5)}, false), 0);

  // A closed path whose last point sits on its first: point 0 is the redundant one; an open path
  // never compares its ends.
  const std::vector<AIPathSegment> ring = {corner(0, 0), corner(40, 0), corner(40, 40),
                                           corner(0, 0)};
  EXPECT_EQ(sq::CountRedundantPoints(ring, true), 1);
  EXPECT_EQ(sq::CountRedundantPoints(ring, false), 0);
  // Every point of a closed path on one spot: each one found shortens the walk, and it stops
  // counting once the path would keep fewer than two points.
  const std::vector<AIPathSegment> spot(4, corner(7, 7));
  EXPECT_EQ(sq::CountRedundantPoints(spot, true), 2);
}

}  // namespace
