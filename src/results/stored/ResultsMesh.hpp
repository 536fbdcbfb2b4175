#pragma once
// The triangle mesh of a results file, read whole: what a mesh file for GIS
// layers and the portable document's own copy are made of.

#include <string>
#include <vector>

#include "interfaces/IH5Reader.hpp"
#include "interfaces/IModel.hpp"

namespace results {

struct ResultsMesh {
  std::string topologyPath;                      // as the model names the data entry
  std::string coordinatesPath;
  std::vector<std::vector<int>> topology;        // three 0-based node numbers per cell
  std::vector<std::vector<double>> coordinates;  // x, y, z per node
};

// Refuses a topology or coordinate dataset whose rows do not hold three values.
ResultsMesh readResultsMesh(api::IH5Reader& reader, api::IModel& model);

// The mesh as a 2DM text file (MESH2D, ND and E3T lines, numbered from 1).
void writeMeshFile(api::IH5Reader& reader, api::IModel& model, const std::string& fileName);

// True when a mesh file is there that this tool did not write, which an
// export must not replace.
bool isSomeoneElsesMeshFile(const std::string& fileName);

}  // namespace results
