#pragma once
// Where a straight segment runs through the mesh: its pieces, each inside one
// cell, in order along it. A discharge through a line is summed over these
// pieces, so neighbouring cells must agree exactly on where the segment
// crosses their shared edge or corner: nothing may be counted twice or lost
// between them.

#include <vector>

#include "results/geometry/CellLocator.hpp"
#include "results/geometry/PlaneMesh.hpp"

namespace results {

// The part of the segment from a (0) to b (1) between two of its parameters,
// inside cell, or outside the mesh when cell is -1.
struct SegmentPiece {
  int cell = -1;
  double from = 0.0;
  double to = 0.0;
};

// The pieces cover [0, 1] from 0 to 1 without overlap or gap; a stretch that
// lies in several closed triangles (on a shared edge) goes to the lowest of
// them, as a point on it would. a and b must differ.
std::vector<SegmentPiece> cutSegment(const PlaneMesh& mesh, const CellLocator& locator, const Point& a,
                                     const Point& b);

}  // namespace results
