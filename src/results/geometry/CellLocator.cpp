#include "results/geometry/CellLocator.hpp"

#include <algorithm>
#include <cmath>

namespace results {
namespace {

// About two cells to a bucket: few enough to test, few enough buckets to hold.
constexpr double cellsPerBucket = 2.0;

int clampedIndex(double position, int count) {
  if (!(position > 0.0)) return 0;
  return position >= count ? count - 1 : static_cast<int>(position);
}

}  // namespace

CellLocator::CellLocator(const PlaneMesh& mesh_) : mesh(mesh_), extent(mesh_.bounds()) {
  const double width = std::max(extent.xMax - extent.xMin, 0.0);
  const double height = std::max(extent.yMax - extent.yMin, 0.0);
  const double buckets = std::max(1.0, mesh.cellCount() / cellsPerBucket);
  const double side = width > 0.0 && height > 0.0 ? std::sqrt(width * height / buckets) : 0.0;
  columns = side > 0.0 ? std::clamp(static_cast<int>(std::ceil(width / side)), 1, 1 << 15) : 1;
  rows = side > 0.0 ? std::clamp(static_cast<int>(std::ceil(height / side)), 1, 1 << 15) : 1;
  bucketWidth = width > 0.0 ? width / columns : 1.0;
  bucketHeight = height > 0.0 ? height / rows : 1.0;

  // Counted first, then filled, in cell order: each list comes out sorted.
  const std::size_t bucketCount = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
  firstInBucket.assign(bucketCount + 1, 0);
  const auto eachBucket = [this](int cell, auto&& act) {
    const Bounds box = mesh.cellBounds(cell);
    const Span across = columnsOf(box.xMin, box.xMax);
    const Span down = rowsOf(box.yMin, box.yMax);
    for (int row = down.first; row <= down.last; ++row)
      for (int column = across.first; column <= across.last; ++column) act(bucketOf(column, row));
  };
  for (int cell = 0; cell < mesh.cellCount(); ++cell) eachBucket(cell, [&](std::size_t b) { ++firstInBucket[b + 1]; });
  for (std::size_t b = 0; b < bucketCount; ++b) firstInBucket[b + 1] += firstInBucket[b];
  listed.resize(firstInBucket.back());
  std::vector<std::uint32_t> next(firstInBucket.begin(), firstInBucket.end() - 1);
  for (int cell = 0; cell < mesh.cellCount(); ++cell) eachBucket(cell, [&](std::size_t b) { listed[next[b]++] = cell; });
}

CellLocator::Span CellLocator::columnsOf(double xMin, double xMax) const {
  return {clampedIndex((xMin - extent.xMin) / bucketWidth, columns),
          clampedIndex((xMax - extent.xMin) / bucketWidth, columns)};
}

CellLocator::Span CellLocator::rowsOf(double yMin, double yMax) const {
  return {clampedIndex((yMin - extent.yMin) / bucketHeight, rows),
          clampedIndex((yMax - extent.yMin) / bucketHeight, rows)};
}

// The bucket of a coordinate grows with it (a rounded subtraction and
// division keep the order), so a point within a cell's bounding box falls in
// one of the buckets that list the cell: one bucket is searched.
int CellLocator::locate(const Point& p) const {
  if (mesh.cellCount() == 0 || !(p.x >= extent.xMin && p.x <= extent.xMax && p.y >= extent.yMin &&
                                 p.y <= extent.yMax))
    return -1;
  const std::size_t b = bucketOf(columnsOf(p.x, p.x).first, rowsOf(p.y, p.y).first);
  for (std::uint32_t k = firstInBucket[b]; k < firstInBucket[b + 1]; ++k)
    if (mesh.contains(listed[k], p)) return listed[k];
  return -1;
}

void CellLocator::forEachNear(const Bounds& box, const std::function<void(int cell)>& visit) const {
  if (mesh.cellCount() == 0) return;
  const Span across = columnsOf(box.xMin, box.xMax);
  const Span down = rowsOf(box.yMin, box.yMax);
  std::vector<std::int32_t> cells;
  for (int row = down.first; row <= down.last; ++row)
    for (int column = across.first; column <= across.last; ++column) {
      const std::size_t b = bucketOf(column, row);
      cells.insert(cells.end(), listed.begin() + firstInBucket[b], listed.begin() + firstInBucket[b + 1]);
    }
  std::sort(cells.begin(), cells.end());
  cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
  for (const int cell : cells) visit(cell);
}

}  // namespace results
