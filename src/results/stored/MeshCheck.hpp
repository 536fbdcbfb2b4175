#pragma once
// The mesh of a results file, checked before anything is written: a document
// declares its extents from the "size" attributes, so a wrong attribute, a
// wrong shape or a node number outside the nodes would give a document that
// looks valid and draws a wrong mesh.

#include <string>

#include "interfaces/IH5Reader.hpp"

namespace results {

struct Mesh {
  int cells = 0;
  int nodes = 0;
};

// Topology: integers of shape (n, 3), n >= 1, attribute "size" = 3n, every
// node number in [0, m). Coordnts: floating-point values of shape (m, 3),
// m >= 3, "size" = 3m. A failure is one line naming the dataset, what was
// expected and what was found.
Mesh checkMesh(api::IH5Reader& reader, const std::string& topologyPath, const std::string& coordinatesPath);

}  // namespace results
