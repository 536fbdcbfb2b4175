#pragma once
// Which mesh cell each pixel of a grid shows: the cell (triangle) that holds
// the pixel's centre, edges and corners included; a centre on an edge or a
// corner that several cells share shows the cell of the lowest index, and a
// centre outside the mesh shows none. The results are constant per cell, so
// every map of the grid is this index and one value per cell.

#include <cstdint>
#include <vector>

#include "results/geometry/PlaneMesh.hpp"
#include "results/maps/RasterGrid.hpp"

namespace results {

class CellRaster {
 public:
  static constexpr std::int32_t noCell = -1;

  CellRaster(const PlaneMesh& mesh, const RasterGrid& grid);

  const RasterGrid& grid() const { return frame; }
  // The cell of pixel (column, row), row 0 at the top; noCell outside.
  std::int32_t cellAt(int column, int row) const {
    return cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(frame.width) +
                 static_cast<std::size_t>(column)];
  }
  // Row `row` of the index: grid().width cells.
  const std::int32_t* row(int row) const {
    return cells.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(frame.width);
  }

 private:
  void scan(const PlaneMesh& mesh, int cell);

  RasterGrid frame;
  std::vector<std::int32_t> cells;
};

}  // namespace results
