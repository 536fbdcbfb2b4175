#pragma once
// The triangle mesh of a results file in the plane, as the geometry of maps,
// gauges and sections needs it: node coordinates and three node numbers per
// cell, in flat arrays (a mesh of millions of cells is read in one go).

#include <array>
#include <string>
#include <vector>

#include "interfaces/IH5Reader.hpp"
#include "results/geometry/Orientation.hpp"

namespace results {

struct Bounds {
  double xMin = 0.0;
  double xMax = 0.0;
  double yMin = 0.0;
  double yMax = 0.0;
};

class PlaneMesh {
 public:
  // nodes: x, y per node; cells: three node numbers per cell, each in range.
  PlaneMesh(std::vector<Point> nodes, std::vector<std::array<int, 3>> cells);

  int cellCount() const { return static_cast<int>(cells.size()); }
  int nodeCount() const { return static_cast<int>(nodes.size()); }
  const Point& node(int cell, int corner) const { return nodes[static_cast<std::size_t>(cells[cell][corner])]; }
  // The number of the node at a cell's corner, and the node of a number.
  int nodeNumber(int cell, int corner) const { return cells[static_cast<std::size_t>(cell)][corner]; }
  const Point& point(int node) const { return nodes[static_cast<std::size_t>(node)]; }
  // Of every node, used by a cell or not.
  const Bounds& bounds() const { return extent; }
  Bounds cellBounds(int cell) const;
  // Twice the signed area: positive when the corners run counter-clockwise,
  // 0 for a cell with no area.
  double doubleArea(int cell) const;
  // The closed triangle: its edges and corners belong to it. A cell with no
  // area holds no point.
  bool contains(int cell, const Point& p) const;

 private:
  std::vector<Point> nodes;
  std::vector<std::array<int, 3>> cells;
  std::vector<signed char> turn;  // each cell's orientation: +1, -1, or 0 for no area
  Bounds extent;
};

// The mesh datasets of a checked mesh (node numbers in range), read whole.
PlaneMesh readPlaneMesh(api::IH5Reader& reader, const std::string& topologyPath, const std::string& coordinatesPath);

}  // namespace results
