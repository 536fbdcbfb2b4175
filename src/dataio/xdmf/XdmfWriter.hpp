#pragma once
// The XDMF document of one triangle mesh and a temporal collection of time
// steps with cell attributes; the heavy data stay in HDF5 files and single
// columns of two-dimensional datasets are picked out with HyperSlab items.

#include <string>
#include <vector>

#include "dataio/xdmf/TimeStepDocument.hpp"

namespace dataio {

class XdmfWriter : public TimeStepDocument {
 public:
  explicit XdmfWriter(const std::string& resultsFile);
  // The mesh items name meshReference (the results file as seen from the
  // document's folder); the temporal collection keeps the name resultsFile.
  // Its times are written in notation.
  XdmfWriter(const std::string& resultsFile, const std::string& meshReference,
             TimeNotation notation = TimeNotation::fixed);

  void addMesh(int nrCells, const std::string& topologyPath, int topologySize, const std::string& geometryPath,
               int geometrySize) override;
  void addScalar(const std::string& name, int nrElements, const std::string& fileName,
                 const std::string& datasetPath, int nrColumns, int column) override;
  void addVector(const std::string& name, int nrElements, const std::string& fileName,
                 const std::string& datasetPath, int nrColumns, const std::vector<int>& columns) override;
  void addFunction(const std::string& name, int nrElements, const std::string& function,
                   const std::vector<std::string>& filenames, const std::vector<std::string>& datasets,
                   const std::vector<int>& sizes, const std::vector<int>& indices) override;

 private:
  void addMeshTopology(int nrCells, const std::string& topologyPath, int topologySize);
  void addMeshGeometry(const std::string& geometryPath, int geometrySize);
  void addStepHeader(double time) override;
  void openAttribute(const std::string& name, int nrElements, bool vector, const std::string& function);
  void addHyperSlab(int nrElements, const std::string& fileName, const std::string& datasetPath, int nrColumns,
                    int column);
};

}  // namespace dataio

// Owning pointers; the caller deletes them through the interface.
api::IXdmfWriter* createXdmfWriter(const std::string& h5FileName);
api::IXdmfWriter* createXdmfWriter(const std::string& h5FileName, const std::string& meshFileReference,
                                   dataio::TimeNotation notation = dataio::TimeNotation::fixed);
