#pragma once
// The mesh as a 2DM text file, the form in which GIS programs (QGIS mesh
// layers) take a triangle mesh; result datasets are then added onto it.

#include <string>
#include <vector>

namespace dataio {

// MESH2D
// MESHNAME "TORVANEL results"
// ND 1 2600000 1200000 1.5
// E3T 1 1 2 3 1
// Nodes come first, so that every cell names nodes already read. Numbers
// are 1-based; the topology holds three 0-based node numbers per cell and
// the coordinates x, y, z per node, as the results file stores them. Each
// coordinate is written with 17 significant digits and reads back exactly.
// A malformed mesh is refused before the file is touched; a file that
// cannot be written completely is reported by name.
// The MESHNAME card marks the file as the tool's own (readers take it for
// the mesh's name).
void writeMesh2dm(const std::string& fileName, const std::vector<std::vector<int>>& topology,
                  const std::vector<std::vector<double>>& coordinates);

// Whether the file begins as writeMesh2dm begins its files: a .2dm without
// the mark is someone else's (the run's own input mesh, say), and an export
// never replaces it.
bool isMesh2dmOfThisTool(const std::string& fileName);

}  // namespace dataio
