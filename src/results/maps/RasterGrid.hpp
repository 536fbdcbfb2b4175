#pragma once
// The pixel grid of an entry's maps: north up, square pixels, every edge on a
// multiple of the cell size, so that maps of one study at one cell size line
// up pixel for pixel whatever mesh they come from.

#include <cstdint>
#include <string>

#include "results/geometry/PlaneMesh.hpp"

namespace results {

struct RasterGrid {
  double cellSize = 0.0;
  std::int64_t firstColumn = 0;  // the left edge is firstColumn * cellSize
  std::int64_t topRow = 0;       // the top edge is topRow * cellSize
  int width = 0;
  int height = 0;

  double left() const { return static_cast<double>(firstColumn) * cellSize; }
  double top() const { return static_cast<double>(topRow) * cellSize; }
  std::int64_t pixels() const { return static_cast<std::int64_t>(width) * height; }
  // The centre of pixel (column, row), row 0 at the top.
  Point centre(std::int64_t column, std::int64_t row) const {
    return {(static_cast<double>(firstColumn + column) + 0.5) * cellSize,
            (static_cast<double>(topRow - row) - 0.5) * cellSize};
  }
};

// Pixels a map may have: the count GDAL and TIFF address.
inline constexpr std::int64_t mostMapPixels = std::int64_t{1} << 31;
// The memory the rasterising may take: four bytes per pixel for the cell
// each pixel shows (the values themselves are made row by row).
inline constexpr std::int64_t mapMemoryLimit = std::int64_t{4} << 30;
inline constexpr int bytesPerPixel = 4;

// Refuses, at member (the maps' key path), a mesh with a node at no finite
// point: no grid covers it.
void requireFiniteNodes(const PlaneMesh& mesh, const std::string& member);

// The smallest aligned grid that covers bounds. Refuses, at member (the
// cell size's key path), a grid of more pixels or memory than the limits.
RasterGrid alignedGrid(const Bounds& bounds, double cellSize, const std::string& member);

}  // namespace results
