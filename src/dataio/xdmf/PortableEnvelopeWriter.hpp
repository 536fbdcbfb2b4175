#pragma once
// The envelope document in the portable form: XDMF 3.0, the mesh and the
// envelopes read from the auxiliary file alone, every attribute a plain item
// over its dataset, which every XDMF reader takes (ParaView's three readers,
// meshio). The one grid holds its mesh itself: with no other step to share
// it, there is nothing to include.

#include <string>

#include "dataio/xdmf/EnvelopeDocument.hpp"

namespace dataio {

class PortableEnvelopeWriter final : public EnvelopeDocument {
 public:
  // time: the last stored time the envelopes saw.
  explicit PortableEnvelopeWriter(double time);

 private:
  void addValues(const std::string& fileName, const std::string& datasetPath, int columns) override;
};

}  // namespace dataio

// Owning pointer; the caller deletes it through the interface.
api::IEnvelopeWriter* createPortableEnvelopeWriter(double time);
