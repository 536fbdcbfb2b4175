// Sections on 5 x 4 unit squares, each split along its rising diagonal; outside parts are pinned through the binary.

#include <gtest/gtest.h>

#include <vector>

#include "results/geometry/SegmentCut.hpp"
#include "results/hydrographs/SectionCut.hpp"
#include "support/SquareMesh.hpp"

using namespace results;

namespace {

struct Case {
  const char* name;
  std::vector<Point> points;
};

const Case polylines[] = {
    {"straight", {{0.3, 0.2}, {4.7, 3.9}}},
    {"with a bend", {{0.3, 0.2}, {2.5, 3.1}, {4.6, 0.4}}},
    {"through corners", {{0.0, 0.0}, {4.0, 2.0}}},
    {"along a row's edges", {{0.5, 1.0}, {4.5, 1.0}}},
    {"along the border", {{0.0, 0.0}, {5.0, 0.0}, {5.0, 4.0}}},
};

}  // namespace

// (qx, qy) . (dy, -dx) summed over the segments; reversed, the sign turns. Every stretch once: a segment's pieces run
// from 0 to 1 and meet without a gap.
TEST(SectionCut, DischargeIsSummedOverEveryStretchOfTheSectionOnce) {
  const MeshGeometry geometry(testing_support::squareMesh(5, 4));
  const CellLocator locator(geometry.mesh());
  const double qx = 0.75;
  const double qy = -1.25;
  for (const Case& c : polylines)
    for (const bool backwards : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (backwards ? ", reversed" : ""));
      const std::vector<Point> points = backwards ? std::vector<Point>(c.points.rbegin(), c.points.rend()) : c.points;
      double expected = 0.0;
      for (std::size_t k = 0; k + 1 < points.size(); ++k) {
        expected += qx * (points[k + 1].y - points[k].y) - qy * (points[k + 1].x - points[k].x);
        const std::vector<SegmentPiece> pieces = cutSegment(geometry.mesh(), locator, points[k], points[k + 1]);
        ASSERT_FALSE(pieces.empty());
        EXPECT_EQ(pieces.back().to, 1.0);
        for (std::size_t p = 0; p < pieces.size(); ++p) {
          EXPECT_GE(pieces[p].cell, 0);
          EXPECT_LT(pieces[p].from, pieces[p].to);
          EXPECT_EQ(pieces[p].from, p > 0 ? pieces[p - 1].to : 0.0);
        }
      }
      const SectionCut cut = cutSection(geometry, {"s", points});
      const double through = dischargeThrough(cut, [&](int) { return std::pair<double, double>{qx, qy}; });
      // The rounding of the crossing parameters: a few units in the last place of each piece's share.
      EXPECT_NEAR(through, expected, 1e-13 * static_cast<double>(cut.pieces.size()));
      EXPECT_EQ(cut.outside, 0.0);
    }
}

// Along the diagonal of square (0, 0): cell 0, not 1; along the edge between squares (1, 0) and (1, 1): cell 3 below,
// not 12 above; corner to corner across square (1, 0): cells 3 and 2, meeting on the diagonal.
TEST(SegmentCut, AStretchOnASharedEdgeGoesToTheLowerCell) {
  const PlaneMesh mesh = testing_support::squareMesh(5, 4);
  const CellLocator locator(mesh);
  const auto cellsOn = [&](Point from, Point to) {
    std::vector<int> cells;
    for (const SegmentPiece& piece : cutSegment(mesh, locator, from, to)) cells.push_back(piece.cell);
    return cells;
  };
  EXPECT_EQ(cellsOn({0, 0}, {1, 1}), std::vector<int>{0});
  EXPECT_EQ(cellsOn({1, 1}, {2, 1}), std::vector<int>{3});
  EXPECT_EQ(cellsOn({1, 1}, {2, 0}), (std::vector<int>{3, 2}));
  EXPECT_EQ(cutSegment(mesh, locator, {1, 1}, {2, 0})[0].to, 0.5);
}
