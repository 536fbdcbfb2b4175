// The geometry of the maps: the aligned grid, the cell each pixel shows, the flood outline's parts, holes and areas.

#include <gtest/gtest.h>
#include <ogr_geometry.h>

#include <limits>
#include <memory>

#include "results/maps/CellRaster.hpp"
#include "results/maps/FloodOutline.hpp"
#include "results/maps/RasterGrid.hpp"
#include "support/FailureReport.hpp"
#include "support/SquareMesh.hpp"

using namespace results;

const std::string member = "RESULTS/EXPORT[0]/maps/cell_size";

static std::vector<std::vector<int>> cellsOf(const CellRaster& raster) {
  std::vector<std::vector<int>> rows;
  for (int r = 0; r < raster.grid().height; ++r) {
    rows.emplace_back();
    for (int c = 0; c < raster.grid().width; ++c) rows.back().push_back(raster.cellAt(c, r));
  }
  return rows;
}

// The holes of a part's polygon, read back from its WKB: valid and of the part's area; -1 for no polygon.
static int holesOf(const dataio::OutlinePart& part) {
  OGRGeometry* read = nullptr;
  OGRGeometryFactory::createFromWkb(part.wkb.data(), nullptr, &read, part.wkb.size());
  std::unique_ptr<OGRGeometry> geometry(read);
  if (!geometry || wkbFlatten(geometry->getGeometryType()) != wkbPolygon) return -1;
  EXPECT_TRUE(geometry->IsValid());
  EXPECT_DOUBLE_EQ(geometry->toPolygon()->get_Area(), part.area);
  return geometry->toPolygon()->getNumInteriorRings();
}

// A map beyond its pixels, or an index beyond the memory the maps may take, is refused before anything is drawn.
TEST(RasterGrid, GridsBeyondThePixelOrMemoryLimitAreRefused) {
  const auto refusal = [](Bounds bounds, double size) {
    return testing_support::failureReport([&] { alignedGrid(bounds, size, member); });
  };
  EXPECT_EQ(refusal({0, 1e6, 0, 1e6}, 0.01),
            " -> " + member + " 0.01 m gives 100000000 x 100000000 pixels, more than the 2147483648 a map may have\n");
  EXPECT_EQ(refusal({0, 40000, 0, 40000}, 1.0),
            " -> " + member + " 1 m gives 40000 x 40000 pixels, which need 6103 MiB to rasterise, "
                              "more than the 4096 MiB the maps may take\n");
  EXPECT_EQ(refusal({0, 1, 0, 1e300}, 1e-10),
            " -> " + member + " 1e-10 m gives more than the 2147483648 pixels a map may have\n");
}

// Bounds on multiples stay the edges; a tenth is no whole double.
TEST(RasterGrid, EdgesLieOnMultiplesOfTheCellSize) {
  const RasterGrid aligned = alignedGrid({1000.0, 1040.0, 2000.0, 2020.0}, 3.0, member);
  EXPECT_EQ(std::make_pair(aligned.left(), aligned.top()), std::make_pair(999.0, 2022.0));
  EXPECT_EQ(std::make_pair(aligned.width, aligned.height), std::make_pair(14, 8));
  const RasterGrid exact = alignedGrid({0.0, 40.0, -20.0, 0.0}, 20.0, member);
  EXPECT_EQ(std::make_pair(exact.width, exact.height), std::make_pair(2, 1));
  const RasterGrid tenths = alignedGrid({0.3, 0.7, 0.1, 0.3}, 0.1, member);
  EXPECT_LE(tenths.left(), 0.3);
  EXPECT_GE(tenths.left() + tenths.width * 0.1, 0.7);
}

TEST(CellRaster, SharedPixelEdgesShowTheLowestCell) {
  // A square of side 2 at (0.5, 0.5), cell size 1: the pixel centres fall on its corners, its edges and its diagonal,
  // which show the lowest cell; an unused node widens the grid.
  const std::vector<Point> nodes{{0.5, 0.5}, {2.5, 0.5}, {2.5, 2.5}, {0.5, 2.5}, {3.2, 0.5}};
  const RasterGrid grid = alignedGrid({0.5, 3.2, 0.5, 2.5}, 1.0, member);
  const CellRaster lowerRightFirst(PlaneMesh(nodes, {{0, 1, 2}, {0, 2, 3}}), grid);
  EXPECT_EQ(cellsOf(lowerRightFirst), (std::vector<std::vector<int>>{{1, 1, 0, -1}, {1, 0, 0, -1}, {0, 0, 0, -1}}));
  const CellRaster upperLeftFirst(PlaneMesh(nodes, {{0, 2, 3}, {0, 1, 2}}), grid);
  EXPECT_EQ(cellsOf(upperLeftFirst), (std::vector<std::vector<int>>{{0, 0, 0, -1}, {0, 0, 1, -1}, {0, 1, 1, -1}}));
}

// Five columns of three squares: the first three wet but for the middle square (a dry island), the fourth dry, the
// fifth wet. Then corners, hanging nodes and cells of either turn.
TEST(FloodOutline, PartsHolesAndAreasFollowTheWetCells) {
  const PlaneMesh mesh = testing_support::squareMesh(5, 3);
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
  EXPECT_EQ(holesOf(parts[0]), 1);
  EXPECT_EQ(holesOf(parts[1]), 0);
  // The fast way, from the boundary edges, takes this mesh and gives the same.
  const std::vector<dataio::OutlinePart> traced = tracedFloodOutline(mesh, depthMax, 0.01).value();
  ASSERT_EQ(traced.size(), 2u);
  EXPECT_EQ(traced[0].wkb, parts[0].wkb);
  EXPECT_TRUE(floodOutline(mesh, std::vector<double>(depthMax.size(), 0.0), 0.01).empty());
  // Wet squares that touch at one corner stay two parts; cells that meet part of an edge (a hanging node) join.
  const PlaneMesh twoByTwo = testing_support::squareMesh(2, 2);
  std::vector<double> diagonal(8, 0.0);
  for (const int cell : {0, 1, 6, 7}) diagonal[cell] = 1.0;
  EXPECT_EQ(floodOutline(twoByTwo, diagonal, 0.5).size(), 2u);
  EXPECT_EQ(tracedFloodOutline(twoByTwo, diagonal, 0.5).value().size(), 2u);
  const PlaneMesh hanging({{0, 0}, {2, 0}, {1, 1}, {1, 0}, {1, -1}}, {{0, 1, 2}, {0, 4, 3}, {3, 4, 1}});
  const std::vector<dataio::OutlinePart> joined = floodOutline(hanging, {1.0, 1.0, 1.0}, 0.5);
  ASSERT_EQ(joined.size(), 1u);
  EXPECT_DOUBLE_EQ(joined[0].area, 2.0);
  EXPECT_EQ(holesOf(joined[0]), 0);
  // The traced way takes cells of either turn (0 counter-clockwise, 1 clockwise); overlaps are left to the slow way.
  const PlaneMesh eitherTurn({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{0, 1, 2}, {0, 3, 2}});
  const std::vector<dataio::OutlinePart> turned = tracedFloodOutline(eitherTurn, {1.0, 1.0}, 0.5).value();
  ASSERT_EQ(turned.size(), 1u);
  EXPECT_EQ(holesOf(turned[0]), 0);
  EXPECT_DOUBLE_EQ(turned[0].area, 1.0);
  const PlaneMesh overlapping({{0, 0}, {1, 0}, {1, 1}}, {{0, 1, 2}, {0, 1, 2}});
  EXPECT_FALSE(tracedFloodOutline(overlapping, {1.0, 1.0}, 0.5));
}
