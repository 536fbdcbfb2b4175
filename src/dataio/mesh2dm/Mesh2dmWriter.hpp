#pragma once
// The mesh as a 2DM text file, the form in which GIS programs (QGIS mesh
// layers) take a triangle mesh; result datasets are then added onto it.

#include <string>
#include <vector>

namespace dataio {

// MESH2D
// ND 1 2600000 1200000 1.5
// E3T 1 1 2 3 1
// Nodes come first, so that every cell names nodes already read. Numbers
// are 1-based; the topology holds three 0-based node numbers per cell and
// the coordinates x, y, z per node, as the results file stores them. Each
// coordinate is written with 17 significant digits and reads back exactly.
// A malformed mesh is refused before the file is touched; a file that
// cannot be written completely is reported by name.
void writeMesh2dm(const std::string& fileName, const std::vector<std::vector<int>>& topology,
                  const std::vector<std::vector<double>>& coordinates);

}  // namespace dataio
