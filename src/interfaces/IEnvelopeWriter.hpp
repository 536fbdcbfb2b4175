#pragma once
// The XDMF document of a run's flood envelopes: one grid of cell attributes on
// the mesh, each attribute one value per cell over the whole run. GIS readers
// take XDMF only as a temporal collection, so the grid stands in a collection
// of its own, at the last time the envelopes saw.

#include <string>

namespace api {

class IEnvelopeWriter {
 public:
  virtual ~IEnvelopeWriter() = default;

  // The mesh: (nrCells, 3) node numbers at topologyPath and (nrNodes, 3)
  // coordinates at geometryPath, both in fileName. Once, before the attributes.
  // The document names every dataset by its path from the file's root.
  virtual void addMesh(const std::string& fileName, int nrCells, const std::string& topologyPath, int nrNodes,
                       const std::string& geometryPath) = 0;
  // A (nrCells, 1) dataset of doubles.
  virtual void addScalar(const std::string& name, const std::string& fileName, const std::string& datasetPath) = 0;
  // A (nrCells, 3) dataset of doubles: x, y, z.
  virtual void addVector(const std::string& name, const std::string& fileName, const std::string& datasetPath) = 0;
  virtual void write(const std::string& fileName) = 0;
};

}  // namespace api
