#include "results/maps/WetBoundary.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace results {
namespace {

// A side of a wet cell in one word, so that a mesh of millions of cells
// sorts its sides in little memory: the lower node number, the higher one,
// and whether the cell runs along it from the higher to the lower. Sorted,
// the sides of one edge lie together.
using SideOfCell = std::uint64_t;

SideOfCell sideOf(int from, int to) {
  const auto low = static_cast<std::uint64_t>(std::min(from, to));
  const auto high = static_cast<std::uint64_t>(std::max(from, to));
  return low << 33 | high << 1 | (from > to ? 1U : 0U);
}

std::uint64_t edgeOf(SideOfCell side) { return side >> 1; }
bool downwards(SideOfCell side) { return (side & 1U) != 0; }

BoundaryEdge boundaryEdgeOf(SideOfCell side) {
  const int low = static_cast<int>(side >> 33);
  const int high = static_cast<int>((side >> 1) & 0xffffffffU);
  return downwards(side) ? BoundaryEdge{high, low} : BoundaryEdge{low, high};
}

}  // namespace

WetBoundary wetBoundary(const PlaneMesh& mesh, const std::vector<char>& wet) {
  WetBoundary boundary;
  std::vector<SideOfCell> sides;
  sides.reserve(3 * static_cast<std::size_t>(std::count_if(wet.begin(), wet.end(), [](char flag) { return flag != 0; })));
  for (int cell = 0; cell < mesh.cellCount(); ++cell) {
    const double area = mesh.doubleArea(cell);
    if (!wet[static_cast<std::size_t>(cell)] || area == 0.0) continue;
    boundary.wetArea += 0.5 * std::abs(area);
    // Counter-clockwise, the cell lies left of each of its edges.
    const bool turnsLeft = area > 0.0;
    for (int corner = 0; corner < 3; ++corner) {
      const int from = mesh.nodeNumber(cell, turnsLeft ? corner : (3 - corner) % 3);
      const int to = mesh.nodeNumber(cell, turnsLeft ? (corner + 1) % 3 : (5 - corner) % 3);
      sides.push_back(sideOf(from, to));
    }
  }
  std::sort(sides.begin(), sides.end());
  for (std::size_t first = 0; first < sides.size();) {
    std::size_t end = first + 1;
    while (end < sides.size() && edgeOf(sides[end]) == edgeOf(sides[first])) ++end;
    if (end - first == 1) {
      boundary.edges.push_back(boundaryEdgeOf(sides[first]));
    } else if (end - first > 2 || downwards(sides[first]) == downwards(sides[first + 1])) {
      boundary.edgeToEdge = false;
    }
    first = end;
  }
  return boundary;
}

}  // namespace results
