// Which cell holds a point: decided exactly, the lowest-numbered cell on shared edges and corners.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "results/geometry/CellLocator.hpp"
#include "results/geometry/Orientation.hpp"
#include "support/SquareMesh.hpp"

using results::Bounds;
using results::CellLocator;
using results::PlaneMesh;
using results::Point;

// Coordinates that are multiples of 2^-shift, small enough that the scaled determinant is exact in 128 bits.
static int integerOrientation(const Point& a, const Point& b, const Point& c, int shift) {
  __extension__ typedef __int128 Wide;
  const auto scaled = [shift](double v) { return static_cast<Wide>(std::ldexp(v, shift)); };
  const Wide d = (scaled(b.x) - scaled(a.x)) * (scaled(c.y) - scaled(a.y)) -
                 (scaled(b.y) - scaled(a.y)) * (scaled(c.x) - scaled(a.x));
  return (d > 0) - (d < 0);
}

// Points a few ulps from 0.5 against a line through (12, 12) and (24, 24), where the rounded determinant lies, agree
// with exact integers. Either turn holds its closed triangle; a cell without area holds nothing. The locator finds
// the lowest cell that holds a point, as brute force does.
TEST(CellLocator, LowestCellHoldingAPointIsFoundByExactOrientation) {
  const Point b{12.0, 12.0}, c{24.0, 24.0};
  for (int i = 0; i < 64; ++i)
    for (int j = 0; j < 64; ++j) {
      const Point a{0.5 + std::ldexp(i, -53), 0.5 + std::ldexp(j, -53)};
      ASSERT_EQ(results::orientation(a, b, c), integerOrientation(a, b, c, 53)) << i << " " << j;
    }
  const PlaneMesh mesh({{0, 0}, {1, 0}, {1, 1}, {0, 1}, {2, 2}}, {{{0, 1, 2}}, {{0, 3, 2}}, {{0, 2, 4}}});
  EXPECT_TRUE(mesh.contains(1, {0.25, 0.75}));
  EXPECT_TRUE(mesh.contains(1, {0.0, 0.0}));
  EXPECT_FALSE(mesh.contains(0, {1.0, 1.0 + 1e-12}));
  EXPECT_FALSE(mesh.contains(2, {0.5, 0.5}));
  EXPECT_LT(mesh.doubleArea(1), 0.0);
  EXPECT_EQ(mesh.doubleArea(2), 0.0);
  // Georeferenced, so that the points on edges and corners test the exact rule.
  const PlaneMesh squares = testing_support::squareMesh(30, 20, 2600000.0, 1200000.0);
  const CellLocator locator(squares);
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> x(2599999.0, 2600031.0), y(1199999.0, 1200021.0);
  std::vector<Point> points;
  for (int i = 0; i < 3000; ++i) points.push_back({x(random), y(random)});
  for (int i = 0; i <= 30; ++i)
    for (int j = 0; j <= 20; ++j) {
      points.push_back({2600000.0 + i, 1200000.0 + j});                // corners
      points.push_back({2600000.0 + i + 0.5, 1200000.0 + j});          // horizontal edges
      points.push_back({2600000.0 + i + 0.25, 1200000.0 + j + 0.25});  // diagonals
    }
  for (const Point& p : points)
    ASSERT_EQ(locator.locate(p), testing_support::firstCellHolding(squares, p)) << p.x << " " << p.y;
  EXPECT_EQ(locator.locate({2600030.0 + 1e-9, 1200010.0}), -1);
}
