#pragma once
// The envelope document beside the time-step document: XDMF 2.0, the mesh
// read from the results file, every attribute a HyperSlab over its dataset,
// the one item kind that GIS readers (QGIS) and ParaView's XDMF Reader share.

#include <string>

#include "dataio/xdmf/EnvelopeDocument.hpp"

namespace dataio {

class EnvelopeXdmfWriter final : public EnvelopeDocument {
 public:
  // time: the last stored time the envelopes saw.
  explicit EnvelopeXdmfWriter(double time);

 private:
  void addValues(const std::string& fileName, const std::string& datasetPath, int columns) override;
};

}  // namespace dataio

// Owning pointer; the caller deletes it through the interface.
api::IEnvelopeWriter* createEnvelopeWriter(double time);
