// Which cell holds a point, decided exactly and with the lowest-numbered cell
// on shared edges and corners, against brute force and an integer reference.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "results/geometry/CellLocator.hpp"
#include "results/geometry/Orientation.hpp"
#include "results/geometry/PlaneMesh.hpp"
#include "support/SquareMesh.hpp"

using results::Bounds;
using results::CellLocator;
using results::PlaneMesh;
using results::Point;

namespace {

// Coordinates that are whole multiples of 2^-shift, small enough that the
// scaled determinant fits 128-bit integers, where it is exact.
int integerOrientation(const Point& a, const Point& b, const Point& c, int shift) {
  __extension__ typedef __int128 Wide;
  const auto scaled = [shift](double v) { return static_cast<Wide>(std::ldexp(v, shift)); };
  const Wide d = (scaled(b.x) - scaled(a.x)) * (scaled(c.y) - scaled(a.y)) -
                     (scaled(b.y) - scaled(a.y)) * (scaled(c.x) - scaled(a.x));
  return (d > 0) - (d < 0);
}

PlaneMesh grid(int nx, int ny, double x0 = 0.0, double y0 = 0.0) {
  return testing_support::squareMesh(nx, ny, x0, y0);
}

int bruteForce(const PlaneMesh& mesh, const Point& p) { return testing_support::firstCellHolding(mesh, p); }

}  // namespace

// Georeferenced points on a line and a few ulps off it; then points a few
// ulps from 0.5 against a line through (12, 12) and (24, 24), where the
// rounded differences make the rounded determinant lie.
TEST(Orientation, AgreesWithExactIntegersForPointsOnAndNearALine) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<long long> whole(1LL << 30, (1LL << 32) - 1), step(-(1LL << 27), 1LL << 27);
  int onTheLine = 0;
  for (int k = 0; k < 20000; ++k) {
    const auto at = [](long long units) { return std::ldexp(static_cast<double>(units), -10); };
    const long long ax = whole(random), ay = whole(random), dx = step(random), dy = step(random);
    const long long times = static_cast<long long>(random() % 3) + 2;
    const Point a{at(ax), at(ay)}, b{at(ax + dx), at(ay + dy)};
    Point c{at(ax + times * dx), at(ay + times * dy)};
    for (int off = static_cast<int>(random() % 3); off > 0; --off) c.x = std::nextafter(c.x, 0.0);
    const int exact = integerOrientation(a, b, c, 32);
    onTheLine += exact == 0;
    ASSERT_EQ(results::orientation(a, b, c), exact) << k;
  }
  EXPECT_GT(onTheLine, 1000);
  int roundedWrong = 0;
  const Point b{12.0, 12.0}, c{24.0, 24.0};
  for (int i = 0; i < 64; ++i)
    for (int j = 0; j < 64; ++j) {
      const Point a{0.5 + std::ldexp(i, -53), 0.5 + std::ldexp(j, -53)};
      const int exact = integerOrientation(a, b, c, 53);
      const double rounded = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
      roundedWrong += ((rounded > 0) - (rounded < 0)) != exact;
      ASSERT_EQ(results::orientation(a, b, c), exact) << i << " " << j;
    }
  EXPECT_GT(roundedWrong, 0);
}

TEST(PlaneMesh, ClosedTrianglesOfEitherTurnAndNoneForACellWithoutArea) {
  const PlaneMesh mesh({{0, 0}, {1, 0}, {1, 1}, {0, 1}, {2, 2}},
                       {{{0, 1, 2}}, {{0, 3, 2}}, {{0, 2, 4}}});  // ccw, cw, collinear
  struct Case {
    Point p;
    bool in0, in1, in2;
  };
  const Case cases[] = {
      {{0.75, 0.25}, true, false, false},  {{0.25, 0.75}, false, true, false}, {{0.5, 0.5}, true, true, false},
      {{0.0, 0.0}, true, true, false},     {{1.0, 0.5}, true, false, false},   {{1.5, 1.5}, false, false, false},
      {{1.0, 1.0 + 1e-12}, false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(mesh.contains(0, c.p), c.in0) << c.p.x << " " << c.p.y;
    EXPECT_EQ(mesh.contains(1, c.p), c.in1) << c.p.x << " " << c.p.y;
    EXPECT_EQ(mesh.contains(2, c.p), c.in2) << c.p.x << " " << c.p.y;
  }
  EXPECT_GT(mesh.doubleArea(0), 0.0);
  EXPECT_LT(mesh.doubleArea(1), 0.0);
  EXPECT_EQ(mesh.doubleArea(2), 0.0);
}

// Georeferenced, so that the points on edges and corners test the exact rule.
TEST(CellLocator, FindsTheLowestCellThatHoldsAPointAsBruteForceDoes) {
  const PlaneMesh mesh = grid(30, 20, 2600000.0, 1200000.0);
  const CellLocator locator(mesh);
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> x(2599999.0, 2600031.0), y(1199999.0, 1200021.0);
  std::vector<Point> points;
  for (int i = 0; i < 3000; ++i) points.push_back({x(random), y(random)});
  for (int i = 0; i <= 30; ++i)
    for (int j = 0; j <= 20; ++j) {
      points.push_back({2600000.0 + i, 1200000.0 + j});           // corners
      points.push_back({2600000.0 + i + 0.5, 1200000.0 + j});     // horizontal edges
      points.push_back({2600000.0 + i + 0.25, 1200000.0 + j + 0.25});  // diagonals
    }
  for (const Point& p : points) ASSERT_EQ(locator.locate(p), bruteForce(mesh, p)) << p.x << " " << p.y;
  EXPECT_EQ(locator.locate({2600000.5, 1200000.5}), 0);  // on the diagonal of the first square
  EXPECT_EQ(locator.locate({2600001.0, 1200001.0}), 0);  // a corner of six cells
  EXPECT_EQ(locator.locate({2600030.0 + 1e-9, 1200010.0}), -1);
}

TEST(CellLocator, VisitsEveryCellWhoseBoxMeetsTheQueryOnceInOrder) {
  const PlaneMesh mesh = grid(12, 9);
  const CellLocator locator(mesh);
  const Bounds query{2.5, 6.0, 3.0, 3.5};
  std::vector<int> visited;
  locator.forEachNear(query, [&](int cell) { visited.push_back(cell); });
  EXPECT_TRUE(std::is_sorted(visited.begin(), visited.end()));
  EXPECT_EQ(std::adjacent_find(visited.begin(), visited.end()), visited.end());
  for (int cell = 0; cell < mesh.cellCount(); ++cell) {
    const Bounds box = mesh.cellBounds(cell);
    const bool meets = box.xMin <= query.xMax && query.xMin <= box.xMax && box.yMin <= query.yMax &&
                       query.yMin <= box.yMax;
    if (meets) {
      EXPECT_TRUE(std::binary_search(visited.begin(), visited.end(), cell)) << cell;
    }
  }
}
