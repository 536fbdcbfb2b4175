#pragma once
// Where the wet cells end: the edges that one wet cell has and no other wet
// cell shares, each directed so that its wet cell lies on its left. On a
// conforming mesh (cells meet edge to edge) these edges, and no others, draw
// the flood outline with its holes.

#include <vector>

#include "results/geometry/PlaneMesh.hpp"

namespace results {

struct BoundaryEdge {
  int from;  // node numbers
  int to;
};

struct WetBoundary {
  std::vector<BoundaryEdge> edges;
  // False when wet cells share an edge the same way round or by more than
  // two: they overlap, and the edges do not draw the outline.
  bool edgeToEdge = true;
  double wetArea = 0.0;  // of the wet cells, m2
};

// wet: one flag per cell; cells without area never count.
WetBoundary wetBoundary(const PlaneMesh& mesh, const std::vector<char>& wet);

}  // namespace results
