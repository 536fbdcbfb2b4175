// Sections laid on a mesh of unit squares, each split along its rising
// diagonal: the pieces cover each segment once, a stretch on a shared edge
// goes to the lower cell, and the discharge of a field is worked out here
// from the polyline alone, without the pieces.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "results/geometry/SegmentCut.hpp"
#include "results/hydrographs/SectionCut.hpp"

using namespace results;

namespace {

constexpr int across = 5;
constexpr int down = 4;

// Square (i, j) holds cells 2k (below its diagonal) and 2k + 1, k = j * across + i.
PlaneMesh squares() {
  std::vector<Point> nodes;
  for (int j = 0; j <= down; ++j)
    for (int i = 0; i <= across; ++i) nodes.push_back({static_cast<double>(i), static_cast<double>(j)});
  std::vector<std::array<int, 3>> cells;
  const auto node = [](int i, int j) { return j * (across + 1) + i; };
  for (int j = 0; j < down; ++j)
    for (int i = 0; i < across; ++i) {
      cells.push_back({node(i, j), node(i + 1, j), node(i + 1, j + 1)});
      cells.push_back({node(i, j), node(i + 1, j + 1), node(i, j + 1)});
    }
  return PlaneMesh(nodes, cells);
}

struct Discharge {
  double qx;
  double qy;
};

// (qx, qy) . (dy, -dx) summed over the polyline's segments.
double expectedThrough(const std::vector<Point>& points, Discharge q) {
  double total = 0.0;
  for (std::size_t k = 0; k + 1 < points.size(); ++k)
    total += q.qx * (points[k + 1].y - points[k].y) - q.qy * (points[k + 1].x - points[k].x);
  return total;
}

double lengthOf(const std::vector<Point>& points) {
  double total = 0.0;
  for (std::size_t k = 0; k + 1 < points.size(); ++k)
    total += std::hypot(points[k + 1].x - points[k].x, points[k + 1].y - points[k].y);
  return total;
}

// The rounding of the crossing parameters: a few units in the last place of
// each piece's share.
double tolerance(const SectionCut& cut, double scale) {
  return 8.0 * std::numeric_limits<double>::epsilon() * scale * static_cast<double>(cut.pieces.size() + 1);
}

std::vector<Point> reversed(std::vector<Point> points) { return {points.rbegin(), points.rend()}; }

struct Case {
  const char* name;
  std::vector<Point> points;
};

const std::vector<Case> polylines = {
    {"straight", {{0.3, 0.2}, {4.7, 3.9}}},
    {"with a bend", {{0.3, 0.2}, {2.5, 3.1}, {4.6, 0.4}}},
    {"through corners", {{0.0, 0.0}, {4.0, 2.0}}},            // crosses (2, 1) between cells
    {"along the diagonals", {{0.0, 0.0}, {3.0, 3.0}}},        // shared edges all the way
    {"along a row's edges", {{0.5, 1.0}, {4.5, 1.0}}},        // the edges between rows 0 and 1
    {"along the border", {{0.0, 0.0}, {5.0, 0.0}, {5.0, 4.0}}},
};

}  // namespace

TEST(SectionCut, AUniformDischargeGivesQTimesTheNormalTimesTheLength) {
  const MeshGeometry geometry(squares());
  const Discharge q{0.75, -1.25};
  for (const Case& c : polylines)
    for (const bool backwards : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (backwards ? ", reversed" : ""));
      const std::vector<Point> points = backwards ? reversed(c.points) : c.points;
      const SectionCut cut = cutSection(geometry, {"s", points});
      const double through = dischargeThrough(cut, [&](int) { return std::pair<double, double>{q.qx, q.qy}; });
      EXPECT_NEAR(through, expectedThrough(points, q), tolerance(cut, 2.0 * lengthOf(points)));
      EXPECT_EQ(cut.outside, 0.0);
      const double forward = expectedThrough(c.points, q);
      EXPECT_NEAR(through, backwards ? -forward : forward, tolerance(cut, 2.0 * lengthOf(points)));
    }
}

// Every stretch once: the shares of a segment's pieces add up to it, and
// neighbouring pieces meet without a gap.
TEST(SectionCut, PiecesCoverEachSegmentOnceInOrder) {
  const PlaneMesh mesh = squares();
  const CellLocator locator(mesh);
  for (const Case& c : polylines)
    for (std::size_t k = 0; k + 1 < c.points.size(); ++k) {
      SCOPED_TRACE(c.name);
      const std::vector<SegmentPiece> pieces = cutSegment(mesh, locator, c.points[k], c.points[k + 1]);
      ASSERT_FALSE(pieces.empty());
      EXPECT_EQ(pieces.front().from, 0.0);
      EXPECT_EQ(pieces.back().to, 1.0);
      for (std::size_t p = 0; p < pieces.size(); ++p) {
        EXPECT_GE(pieces[p].cell, 0);
        EXPECT_LT(pieces[p].from, pieces[p].to);
        if (p > 0) {
          EXPECT_EQ(pieces[p].from, pieces[p - 1].to);
        }
      }
    }
}

// On an edge shared by two cells the piece goes to the lower: along the
// diagonal of square (0, 0) that is cell 0, not 1; along the edge between
// squares (1, 0) and (1, 1), cell 3 below rather than cell 12 above.
TEST(SectionCut, AStretchOnASharedEdgeBelongsToTheLowerCell) {
  const PlaneMesh mesh = squares();
  const CellLocator locator(mesh);
  const std::vector<SegmentPiece> diagonal = cutSegment(mesh, locator, {0.0, 0.0}, {1.0, 1.0});
  ASSERT_EQ(diagonal.size(), 1u);
  EXPECT_EQ(diagonal[0].cell, 0);
  const std::vector<SegmentPiece> edge = cutSegment(mesh, locator, {1.0, 1.0}, {2.0, 1.0});
  ASSERT_EQ(edge.size(), 1u);
  EXPECT_EQ(edge[0].cell, 3);
  // Corner to corner across square (1, 0): the stretch lies inside cells 2
  // and 3 in turn, meeting where it crosses the diagonal.
  const std::vector<SegmentPiece> cross = cutSegment(mesh, locator, {1.0, 1.0}, {2.0, 0.0});
  ASSERT_EQ(cross.size(), 2u);
  EXPECT_EQ(cross[0].cell, 3);
  EXPECT_EQ(cross[1].cell, 2);
  EXPECT_EQ(cross[0].to, 0.5);
}

// q = (u(row), v(column)) has no divergence: what enters a closed polyline
// leaves it, whatever cells the polyline crosses.
TEST(SectionCut, AClosedPolylineInAFlowWithoutSourcesCarriesNothing) {
  const MeshGeometry geometry(squares());
  const auto field = [](int cell) {
    const int square = cell / 2;
    const int row = square / across;
    const int column = square % across;
    return std::pair<double, double>{0.3 + 0.7 * row * row, -0.4 + 1.1 * column};
  };
  const std::vector<std::vector<Point>> loops = {
      {{0.3, 0.4}, {4.6, 0.4}, {4.6, 3.7}, {0.3, 3.7}, {0.3, 0.4}},
      {{0.2, 0.1}, {4.9, 1.3}, {1.7, 3.95}, {0.2, 0.1}},
      {{1.0, 1.0}, {3.0, 1.0}, {3.0, 3.0}, {1.0, 1.0}},  // on edges and through corners
  };
  for (const std::vector<Point>& loop : loops) {
    const SectionCut cut = cutSection(geometry, {"loop", loop});
    EXPECT_NEAR(dischargeThrough(cut, field), 0.0, tolerance(cut, 20.0 * lengthOf(loop)));
  }
}

TEST(SectionCut, PartsOutsideTheMeshCarryNothingAndAreMeasured) {
  const MeshGeometry geometry(squares());
  const std::vector<Point> points{{-2.0, 0.5}, {3.0, 0.5}, {3.0, 6.0}};
  const SectionCut cut = cutSection(geometry, {"out", points});
  EXPECT_NEAR(cut.outside, 4.0, 1e-14);
  const double through = dischargeThrough(cut, [](int) { return std::pair<double, double>{1.0, 2.0}; });
  EXPECT_NEAR(through, 2.0 * -3.0 + 1.0 * 3.5, 1e-13);
}
