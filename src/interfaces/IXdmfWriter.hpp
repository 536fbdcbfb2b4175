#pragma once
// An XDMF document built call by call: one mesh, then time steps with their
// cell attributes, whose heavy data stay in HDF5 files.

#include <string>
#include <vector>

namespace api {

class IXdmfWriter {
 public:
  virtual ~IXdmfWriter() = default;

  virtual void write(const std::string& fileName) = 0;
  virtual void addMesh(int nrCells, const std::string& topologyPath, int topologySize,
                       const std::string& geometryPath, int geometrySize) = 0;
  virtual void addTimeStep(double time) = 0;
  virtual void addScalar(const std::string& name, int nrElements, const std::string& fileName,
                         const std::string& datasetPath, int nrColumns, int column) = 0;
  virtual void addVector(const std::string& name, int nrElements, const std::string& fileName,
                         const std::string& datasetPath, int nrColumns, const std::vector<int>& columns) = 0;
  virtual void addFunction(const std::string& name, int nrElements, const std::string& function,
                           const std::vector<std::string>& fileNames, const std::vector<std::string>& datasetPaths,
                           const std::vector<int>& sizes, const std::vector<int>& columns) = 0;
};

}  // namespace api
