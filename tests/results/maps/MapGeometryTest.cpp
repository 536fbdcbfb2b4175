// The geometry of the maps: the aligned grid and its limits, the cell each
// pixel shows (ties on shared edges and corners to the lowest index), and the
// flood outline's parts, holes and areas.

#include <gtest/gtest.h>
#include <ogr_geometry.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "results/maps/CellRaster.hpp"
#include "results/maps/FloodOutline.hpp"
#include "results/maps/RasterGrid.hpp"
#include "results/maps/WetBoundary.hpp"
#include "support/FailureReport.hpp"
#include "support/SquareMesh.hpp"

using namespace results;

namespace {

const std::string member = "RESULTS/EXPORT[0]/maps/cell_size";

PlaneMesh squares(int columns, int rows) { return testing_support::squareMesh(columns, rows); }

std::vector<std::vector<int>> cellsOf(const CellRaster& raster) {
  std::vector<std::vector<int>> rows;
  for (int r = 0; r < raster.grid().height; ++r) {
    rows.emplace_back();
    for (int c = 0; c < raster.grid().width; ++c) rows.back().push_back(raster.cellAt(c, r));
  }
  return rows;
}

}  // namespace

TEST(RasterGrid, EdgesLieOnMultiplesOfTheCellSize) {
  const RasterGrid grid = alignedGrid({1000.0, 1040.0, 2000.0, 2020.0}, 3.0, member);
  EXPECT_EQ(grid.left(), 999.0);
  EXPECT_EQ(grid.top(), 2022.0);
  EXPECT_EQ(grid.width, 14);
  EXPECT_EQ(grid.height, 8);
  // Bounds on multiples stay the edges; a tenth is no whole double.
  const RasterGrid exact = alignedGrid({0.0, 40.0, -20.0, 0.0}, 20.0, member);
  EXPECT_EQ(exact.width, 2);
  EXPECT_EQ(exact.height, 1);
  const RasterGrid tenths = alignedGrid({0.3, 0.7, 0.1, 0.3}, 0.1, member);
  EXPECT_LE(tenths.left(), 0.3);
  EXPECT_GE(tenths.left() + tenths.width * 0.1, 0.7);
}

TEST(RasterGrid, GridsBeyondThePixelOrMemoryLimitAreRefused) {
  const std::string pixels = testing_support::failureReport([] { alignedGrid({0, 1e6, 0, 1e6}, 0.01, member); });
  EXPECT_EQ(pixels, " -> " + member + " 0.01 m gives 100000000 x 100000000 pixels, more than the 2147483648 a map may have\n");
  const std::string memory = testing_support::failureReport([] { alignedGrid({0, 40000, 0, 40000}, 1.0, member); });
  EXPECT_EQ(memory, " -> " + member +
                        " 1 m gives 40000 x 40000 pixels, which need 6103 MiB to rasterise, more than the 4096 MiB "
                        "the maps may take\n");
  const std::string far = testing_support::failureReport([] { alignedGrid({0, 1, 0, 1e300}, 1e-10, member); });
  EXPECT_EQ(far, " -> " + member + " 1e-10 m gives more than the 2147483648 pixels a map may have\n");
}

// A square of side 2 at (0.5, 0.5), cell size 1: the pixel centres fall on
// its corners, its edges and its diagonal; an unused node widens the grid.
TEST(CellRaster, CentresOnSharedEdgesAndCornersShowTheLowestCell) {
  const std::vector<Point> nodes{{0.5, 0.5}, {2.5, 0.5}, {2.5, 2.5}, {0.5, 2.5}, {3.2, 0.5}};
  const CellRaster lowerRightFirst(PlaneMesh(nodes, {{0, 1, 2}, {0, 2, 3}}),
                                   alignedGrid({0.5, 3.2, 0.5, 2.5}, 1.0, member));
  EXPECT_EQ(cellsOf(lowerRightFirst), (std::vector<std::vector<int>>{{1, 1, 0, -1}, {1, 0, 0, -1}, {0, 0, 0, -1}}));
  const CellRaster upperLeftFirst(PlaneMesh(nodes, {{0, 2, 3}, {0, 1, 2}}),
                                  alignedGrid({0.5, 3.2, 0.5, 2.5}, 1.0, member));
  EXPECT_EQ(cellsOf(upperLeftFirst), (std::vector<std::vector<int>>{{0, 0, 0, -1}, {0, 0, 1, -1}, {0, 1, 1, -1}}));
}

TEST(CellRaster, EveryCentreInsideFindsTheCellThatHoldsIt) {
  const PlaneMesh mesh = squares(7, 5);
  const CellRaster raster(mesh, alignedGrid(mesh.bounds(), 0.3, member));
  for (int r = 0; r < raster.grid().height; ++r)
    for (int c = 0; c < raster.grid().width; ++c) {
      const Point centre = raster.grid().centre(c, r);
      ASSERT_EQ(raster.cellAt(c, r), testing_support::firstCellHolding(mesh, centre)) << centre.x << " " << centre.y;
    }
}

// Five columns of three squares: the first three wet but for the middle
// square (a dry island), the fourth dry, the fifth wet.
TEST(FloodOutline, PartsHolesAndAreasFollowTheWetCells) {
  const PlaneMesh mesh = squares(5, 3);
  std::vector<double> depthMax(static_cast<std::size_t>(mesh.cellCount()), 0.5);
  for (int j = 0; j < 3; ++j)
    for (int cell : {2 * (j * 5 + 3), 2 * (j * 5 + 3) + 1}) depthMax[static_cast<std::size_t>(cell)] = 0.001;
  // A square of the fifth column reached the wet depth exactly: wet.
  depthMax[2 * (2 * 5 + 4)] = depthMax[2 * (2 * 5 + 4) + 1] = 0.01;
  depthMax[2 * (1 * 5 + 1)] = std::numeric_limits<double>::quiet_NaN();
  depthMax[2 * (1 * 5 + 1) + 1] = 0.0099;
  const std::vector<dataio::OutlinePart> parts = floodOutline(mesh, depthMax, 0.01);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_DOUBLE_EQ(parts[0].area, 8.0);
  EXPECT_DOUBLE_EQ(parts[1].area, 3.0);
  std::vector<int> holes;
  for (const dataio::OutlinePart& part : parts) {
    OGRGeometry* read = nullptr;
    ASSERT_EQ(OGRGeometryFactory::createFromWkb(part.wkb.data(), nullptr, &read, part.wkb.size()), OGRERR_NONE);
    std::unique_ptr<OGRGeometry> geometry(read);
    ASSERT_EQ(wkbFlatten(geometry->getGeometryType()), wkbPolygon);
    EXPECT_TRUE(geometry->IsValid());
    EXPECT_DOUBLE_EQ(geometry->toPolygon()->get_Area(), part.area);
    holes.push_back(geometry->toPolygon()->getNumInteriorRings());
  }
  EXPECT_EQ(holes, (std::vector<int>{1, 0}));
  // The fast way, from the boundary edges, takes this mesh and gives the same.
  const auto traced = tracedFloodOutline(mesh, depthMax, 0.01);
  ASSERT_TRUE(traced);
  ASSERT_EQ(traced->size(), 2u);
  EXPECT_EQ((*traced)[0].wkb, parts[0].wkb);
  EXPECT_TRUE(floodOutline(mesh, std::vector<double>(depthMax.size(), 0.0), 0.01).empty());
}

// Wet squares that touch at one corner stay two parts; cells that meet part
// of an edge (a hanging node) still join into one, and so do cells that
// overlap, which the boundary edges cannot draw.
TEST(FloodOutline, CornersTouchingAndHangingNodes) {
  const PlaneMesh mesh = squares(2, 2);
  std::vector<double> diagonal(8, 0.0);
  for (const int cell : {0, 1, 6, 7}) diagonal[cell] = 1.0;
  const std::vector<dataio::OutlinePart> touching = floodOutline(mesh, diagonal, 0.5);
  ASSERT_EQ(touching.size(), 2u);
  EXPECT_DOUBLE_EQ(touching[0].area + touching[1].area, 2.0);
  ASSERT_TRUE(tracedFloodOutline(mesh, diagonal, 0.5));
  EXPECT_EQ(tracedFloodOutline(mesh, diagonal, 0.5)->size(), 2u);

  const PlaneMesh hanging({{0, 0}, {2, 0}, {1, 1}, {1, 0}, {1, -1}}, {{0, 1, 2}, {0, 4, 3}, {3, 4, 1}});
  const std::vector<dataio::OutlinePart> joined = floodOutline(hanging, {1.0, 1.0, 1.0}, 0.5);
  ASSERT_EQ(joined.size(), 1u);
  EXPECT_DOUBLE_EQ(joined[0].area, 2.0);
  OGRGeometry* read = nullptr;
  ASSERT_EQ(OGRGeometryFactory::createFromWkb(joined[0].wkb.data(), nullptr, &read, joined[0].wkb.size()), OGRERR_NONE);
  std::unique_ptr<OGRGeometry> geometry(read);
  EXPECT_TRUE(geometry->IsValid());

  const PlaneMesh overlapping({{0, 0}, {2, 0}, {0, 2}, {1, 0}, {1, 2}}, {{0, 1, 2}, {0, 3, 4}});
  EXPECT_FALSE(tracedFloodOutline(overlapping, {1.0, 1.0}, 0.5));
  const std::vector<dataio::OutlinePart> overlapped = floodOutline(overlapping, {1.0, 1.0}, 0.5);
  ASSERT_EQ(overlapped.size(), 1u);
  EXPECT_DOUBLE_EQ(overlapped[0].area, 13.0 / 6.0);  // the part of the second beyond the first is 1/6
}

TEST(WetBoundary, EdgesRunWithTheirWetCellOnTheLeftWhateverTheCellsTurn) {
  // Cell 0 turns counter-clockwise, cell 1 clockwise; together a square.
  const PlaneMesh mesh({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{0, 1, 2}, {0, 3, 2}});
  const WetBoundary both = wetBoundary(mesh, {1, 1});
  std::vector<std::pair<int, int>> edges;
  for (const BoundaryEdge& edge : both.edges) edges.emplace_back(edge.from, edge.to);
  std::sort(edges.begin(), edges.end());
  EXPECT_EQ(edges, (std::vector<std::pair<int, int>>{{0, 1}, {1, 2}, {2, 3}, {3, 0}}));
  EXPECT_TRUE(both.edgeToEdge);
  EXPECT_DOUBLE_EQ(both.wetArea, 1.0);
  const PlaneMesh overlapping({{0, 0}, {1, 0}, {1, 1}}, {{0, 1, 2}, {0, 1, 2}});
  EXPECT_FALSE(wetBoundary(overlapping, {1, 1}).edgeToEdge);
}
