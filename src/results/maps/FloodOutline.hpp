#pragma once
// The flood outline: the union of the cells that were wet, traced along the
// mesh's own edges (no pixel stairs), with its holes (dry islands) and
// separate parts, as valid polygons.

#include <optional>
#include <vector>

#include "dataio/gis/OutlineLayer.hpp"
#include "results/geometry/PlaneMesh.hpp"

namespace results {

// A cell counts when its maximum depth reached wetDepth (a NaN never does)
// and it has an area. One part per polygon of the union, largest first.
std::vector<dataio::OutlinePart> floodOutline(const PlaneMesh& mesh, const std::vector<double>& depthMax,
                                              double wetDepth);

// The same from the edges where the wet cells end, which is fast; nothing
// when those edges do not draw the wet cells exactly (cells that overlap or
// meet part of an edge), where floodOutline takes the union of the cells.
std::optional<std::vector<dataio::OutlinePart>> tracedFloodOutline(const PlaneMesh& mesh,
                                                                   const std::vector<double>& depthMax,
                                                                   double wetDepth);

}  // namespace results
