#pragma once
// What both forms of the envelope document share: one temporal collection
// holding one grid, labelled with the time the envelopes reach, with the mesh
// and one cell attribute per envelope. The forms differ in the XDMF version
// and in the data item an attribute reads its values through.

#include <string>

#include "dataio/xdmf/XdmfTagBuilder.hpp"
#include "interfaces/IEnvelopeWriter.hpp"

namespace dataio {

class EnvelopeDocument : public api::IEnvelopeWriter {
 public:
  void addMesh(const std::string& fileName, int nrCells, const std::string& topologyPath, int nrNodes,
               const std::string& geometryPath) override;
  void addScalar(const std::string& name, const std::string& fileName, const std::string& datasetPath) override;
  void addVector(const std::string& name, const std::string& fileName, const std::string& datasetPath) override;
  void write(const std::string& fileName) override;

 protected:
  EnvelopeDocument(const std::string& version, double time);

  // The item of an attribute whose values are the nrCells x columns doubles of
  // the dataset.
  virtual void addValues(const std::string& fileName, const std::string& datasetPath, int columns) = 0;

  XdmfTagBuilder builder;
  int nrCells = 0;

 private:
  void openGrid(double time);
  void addAttribute(const std::string& name, const std::string& type, const std::string& fileName,
                    const std::string& datasetPath, int columns);

  bool meshAdded = false;
};

}  // namespace dataio
