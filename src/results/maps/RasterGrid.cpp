#include "results/maps/RasterGrid.hpp"

#include <algorithm>
#include <cmath>

#include "interfaces/Failure.hpp"

namespace results {
namespace {

// Beyond this, multiples of the cell size are no longer whole doubles.
constexpr double largestMultiple = 4503599627370496.0;  // 2^52

// The largest k with k * cellSize <= value, and the smallest with >=; the
// division may round either way, so the product decides.
std::int64_t multipleBelow(double value, double cellSize) {
  auto k = static_cast<std::int64_t>(std::floor(value / cellSize));
  while (static_cast<double>(k) * cellSize > value) --k;
  while (static_cast<double>(k + 1) * cellSize <= value) ++k;
  return k;
}

std::int64_t multipleAbove(double value, double cellSize) {
  auto k = static_cast<std::int64_t>(std::ceil(value / cellSize));
  while (static_cast<double>(k) * cellSize < value) ++k;
  while (static_cast<double>(k - 1) * cellSize >= value) --k;
  return k;
}

}  // namespace

void requireFiniteNodes(const PlaneMesh& mesh, const std::string& member) {
  for (int node = 0; node < mesh.nodeCount(); ++node) {
    const Point& p = mesh.point(node);
    if (!std::isfinite(p.x) || !std::isfinite(p.y))
      failure::fail(member, ": node ", node, " of the mesh lies at no finite point (", p.x, ", ", p.y,
                    "): no map can show it");
  }
}

RasterGrid alignedGrid(const Bounds& bounds, double cellSize, const std::string& member) {
  const double spanX = (bounds.xMax - bounds.xMin) / cellSize + 2.0;
  const double spanY = (bounds.yMax - bounds.yMin) / cellSize + 2.0;
  const double reach = std::max({std::fabs(bounds.xMin), std::fabs(bounds.xMax), std::fabs(bounds.yMin),
                                 std::fabs(bounds.yMax)}) / cellSize;
  // Far beyond the limit, the pixel count itself would overflow.
  if (!(reach < largestMultiple) || !(spanX * spanY < 4e18))
    failure::fail(member, " ", cellSize, " m gives more than the ", mostMapPixels, " pixels a map may have");
  RasterGrid grid;
  grid.cellSize = cellSize;
  grid.firstColumn = multipleBelow(bounds.xMin, cellSize);
  grid.topRow = multipleAbove(bounds.yMax, cellSize);
  // A mesh without width or height still gets a row or column of pixels.
  const std::int64_t width = std::max<std::int64_t>(1, multipleAbove(bounds.xMax, cellSize) - grid.firstColumn);
  const std::int64_t height = std::max<std::int64_t>(1, grid.topRow - multipleBelow(bounds.yMin, cellSize));
  const std::int64_t pixels = width * height;
  if (pixels > mostMapPixels)
    failure::fail(member, " ", cellSize, " m gives ", width, " x ", height, " pixels, more than the ", mostMapPixels,
                  " a map may have");
  if (pixels * bytesPerPixel > mapMemoryLimit)
    failure::fail(member, " ", cellSize, " m gives ", width, " x ", height, " pixels, which need ",
                  (pixels * bytesPerPixel) >> 20, " MiB to rasterise, more than the ", mapMemoryLimit >> 20,
                  " MiB the maps may take");
  grid.width = static_cast<int>(width);
  grid.height = static_cast<int>(height);
  return grid;
}

}  // namespace results
