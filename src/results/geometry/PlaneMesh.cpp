#include "results/geometry/PlaneMesh.hpp"

#include <algorithm>

#include "interfaces/Failure.hpp"

namespace results {

PlaneMesh::PlaneMesh(std::vector<Point> nodes_, std::vector<std::array<int, 3>> cells_)
    : nodes(std::move(nodes_)), cells(std::move(cells_)) {
  turn.reserve(cells.size());
  for (const auto& cell : cells) {
    for (const int n : cell)
      RESULTS_CHECK(n >= 0 && static_cast<std::size_t>(n) < nodes.size(), "a cell names a node the mesh lacks");
    turn.push_back(static_cast<signed char>(orientation(nodes[cell[0]], nodes[cell[1]], nodes[cell[2]])));
  }
  if (nodes.empty()) return;
  extent = {nodes[0].x, nodes[0].x, nodes[0].y, nodes[0].y};
  for (const Point& p : nodes) {
    extent.xMin = std::min(extent.xMin, p.x);
    extent.xMax = std::max(extent.xMax, p.x);
    extent.yMin = std::min(extent.yMin, p.y);
    extent.yMax = std::max(extent.yMax, p.y);
  }
}

Bounds PlaneMesh::cellBounds(int cell) const {
  const Point& a = node(cell, 0);
  const Point& b = node(cell, 1);
  const Point& c = node(cell, 2);
  return {std::min({a.x, b.x, c.x}), std::max({a.x, b.x, c.x}), std::min({a.y, b.y, c.y}),
          std::max({a.y, b.y, c.y})};
}

double PlaneMesh::doubleArea(int cell) const {
  const Point& a = node(cell, 0);
  const Point& b = node(cell, 1);
  const Point& c = node(cell, 2);
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Inside or on the boundary: no edge has the point on its outer side.
bool PlaneMesh::contains(int cell, const Point& p) const {
  const int sense = turn[static_cast<std::size_t>(cell)];
  if (sense == 0) return false;
  for (int corner = 0; corner < 3; ++corner)
    if (orientation(node(cell, corner), node(cell, (corner + 1) % 3), p) == -sense) return false;
  return true;
}

PlaneMesh readPlaneMesh(api::IH5Reader& reader, const std::string& topologyPath, const std::string& coordinatesPath) {
  api::DoubleTable table;
  reader.readDoubleTable(coordinatesPath, table);
  std::vector<Point> nodes(static_cast<std::size_t>(table.rows));
  for (std::size_t n = 0; n < nodes.size(); ++n) {
    const std::size_t row = n * static_cast<std::size_t>(table.columns);
    nodes[n] = {table.values[row], table.values[row + 1]};
  }
  reader.readDoubleTable(topologyPath, table);
  std::vector<std::array<int, 3>> cells(static_cast<std::size_t>(table.rows));
  for (std::size_t c = 0; c < cells.size(); ++c)
    for (std::size_t k = 0; k < 3; ++k)
      cells[c][k] = static_cast<int>(table.values[c * static_cast<std::size_t>(table.columns) + k]);
  return PlaneMesh(std::move(nodes), std::move(cells));
}

}  // namespace results
