#pragma once
// Finds the cell that holds a point, or the cells near a segment, through a
// uniform grid of buckets laid over the mesh once per export: each cell is
// listed in every bucket its bounding box touches, in cell order, so that a
// query looks at a few cells instead of all of them.

#include <cstdint>
#include <functional>
#include <vector>

#include "results/geometry/PlaneMesh.hpp"

namespace results {

class CellLocator {
 public:
  // The mesh must outlive the locator.
  explicit CellLocator(const PlaneMesh& mesh);

  // The lowest-numbered cell whose closed triangle holds p (a point on an
  // edge or a corner shared by several cells takes the lowest), or -1 when
  // no cell does.
  int locate(const Point& p) const;

  // Calls visit once for every cell whose bounding box may meet the box, in
  // ascending cell order.
  void forEachNear(const Bounds& box, const std::function<void(int cell)>& visit) const;

 private:
  struct Span {
    int first;
    int last;
  };
  Span columnsOf(double xMin, double xMax) const;
  Span rowsOf(double yMin, double yMax) const;
  std::size_t bucketOf(int column, int row) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column);
  }

  const PlaneMesh& mesh;
  Bounds extent;
  int columns = 1;
  int rows = 1;
  double bucketWidth = 1.0;
  double bucketHeight = 1.0;
  std::vector<std::uint32_t> firstInBucket;  // bucket b lists cells [firstInBucket[b], firstInBucket[b + 1])
  std::vector<std::int32_t> listed;
};

}  // namespace results
