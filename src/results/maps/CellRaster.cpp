#include "results/maps/CellRaster.hpp"

#include <algorithm>
#include <cmath>

namespace results {

namespace {

// The pixels whose centres lie in [low, high] along one axis, where centre k
// lies at (origin + k + 0.5) * size: first and last, empty when first > last.
struct Span {
  std::int64_t first;
  std::int64_t last;
};

// The estimate from the division is corrected by the centres themselves, so
// that a centre on the bound counts exactly as the orientation test sees it.
Span centresWithin(double low, double high, std::int64_t origin, double size, std::int64_t count) {
  const auto centre = [&](std::int64_t k) { return (static_cast<double>(origin + k) + 0.5) * size; };
  std::int64_t first = std::max<std::int64_t>(0, static_cast<std::int64_t>(std::floor(low / size - 0.5)) - origin);
  while (first < count && centre(first) < low) ++first;
  while (first > 0 && centre(first - 1) >= low) --first;
  std::int64_t last = std::min<std::int64_t>(count - 1, static_cast<std::int64_t>(std::ceil(high / size - 0.5)) - origin);
  while (last >= 0 && centre(last) > high) --last;
  while (last + 1 < count && centre(last + 1) <= high) ++last;
  return {first, last};
}

}  // namespace

CellRaster::CellRaster(const PlaneMesh& mesh, const RasterGrid& grid)
    : frame(grid), cells(static_cast<std::size_t>(grid.pixels()), noCell) {
  for (int cell = 0; cell < mesh.cellCount(); ++cell) scan(mesh, cell);
}

// Cells are scanned in ascending order and a pixel keeps the first cell that
// holds its centre: the lowest index wins every shared edge and corner.
void CellRaster::scan(const PlaneMesh& mesh, int cell) {
  const Bounds box = mesh.cellBounds(cell);
  const Span columns = centresWithin(box.xMin, box.xMax, frame.firstColumn, frame.cellSize, frame.width);
  // Rows count downwards from the top: row r's centre is at (topRow - r - 0.5) * size,
  // that is centre k = height - 1 - r of a grid whose origin is topRow - height.
  const std::int64_t bottomRow = frame.topRow - frame.height;
  const Span fromBottom = centresWithin(box.yMin, box.yMax, bottomRow, frame.cellSize, frame.height);
  for (std::int64_t k = fromBottom.first; k <= fromBottom.last; ++k) {
    const std::int64_t r = frame.height - 1 - k;
    std::int32_t* const line = cells.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(frame.width);
    for (std::int64_t c = columns.first; c <= columns.last; ++c) {
      if (line[c] != noCell) continue;
      if (mesh.contains(cell, frame.centre(c, r))) line[c] = cell;
    }
  }
}

}  // namespace results
