#pragma once
// The portable XDMF document: every item a plain HDF dataset of the
// auxiliary file, declared with the dataset's own shape, and the mesh given
// once and included into every step. It needs no other file and no reader
// feature beyond plain items and XInclude, so every XDMF reader opens it.

#include <string>
#include <vector>

#include "dataio/xdmf/TimeStepDocument.hpp"

namespace dataio {

class PortableXdmfWriter : public TimeStepDocument {
 public:
  // The mesh items name meshReference (the auxiliary file as seen from the
  // document's folder); the temporal collection is named collectionName.
  // Its times are written in notation.
  PortableXdmfWriter(const std::string& collectionName, const std::string& meshReference,
                     TimeNotation notation = TimeNotation::fixed);

  void addMesh(int nrCells, const std::string& topologyPath, int topologySize, const std::string& geometryPath,
               int geometrySize) override;
  // The dataset holds the values alone: nrColumns 1, column 0.
  void addScalar(const std::string& name, int nrElements, const std::string& fileName,
                 const std::string& datasetPath, int nrColumns, int column) override;
  // The dataset holds the three components: nrColumns 3, columns 0 and 1
  // (the third is zero everywhere).
  void addVector(const std::string& name, int nrElements, const std::string& fileName,
                 const std::string& datasetPath, int nrColumns, const std::vector<int>& columns) override;
  // Has no portable form: functions are evaluated into datasets instead.
  void addFunction(const std::string& name, int nrElements, const std::string& function,
                   const std::vector<std::string>& filenames, const std::vector<std::string>& datasets,
                   const std::vector<int>& sizes, const std::vector<int>& indices) override;

 private:
  void addStepHeader(double time) override;
  void addAttribute(const std::string& name, const std::string& type, int rows, int columns,
                    const std::string& fileName, const std::string& datasetPath);
};

}  // namespace dataio

// Owning pointer; the caller deletes it through the interface.
api::IXdmfWriter* createPortableXdmfWriter(const std::string& collectionName, const std::string& meshReference,
                                           dataio::TimeNotation notation = dataio::TimeNotation::fixed);
