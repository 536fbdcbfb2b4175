#pragma once
// The plane meshes that geometry tests are worked out on by hand.

#include <array>
#include <vector>

#include "results/geometry/PlaneMesh.hpp"

namespace testing_support {

// nx x ny unit squares from (x0, y0), row by row, each split along its rising
// diagonal into the lower-right cell, then the upper-left one.
inline results::PlaneMesh squareMesh(int nx, int ny, double x0 = 0.0, double y0 = 0.0) {
  std::vector<results::Point> nodes;
  for (int j = 0; j <= ny; ++j)
    for (int i = 0; i <= nx; ++i) nodes.push_back({x0 + i, y0 + j});
  std::vector<std::array<int, 3>> cells;
  const auto n = [nx](int i, int j) { return j * (nx + 1) + i; };
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      cells.push_back({n(i, j), n(i + 1, j), n(i + 1, j + 1)});
      cells.push_back({n(i, j), n(i + 1, j + 1), n(i, j + 1)});
    }
  return results::PlaneMesh(nodes, cells);
}

// The lowest cell that holds p, or -1, by looking at every cell.
inline int firstCellHolding(const results::PlaneMesh& mesh, const results::Point& p) {
  for (int cell = 0; cell < mesh.cellCount(); ++cell)
    if (mesh.contains(cell, p)) return cell;
  return -1;
}

}  // namespace testing_support
