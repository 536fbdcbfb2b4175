#include "dataio/xdmf/PortableEnvelopeWriter.hpp"

#include "dataio/xdmf/XdmfItems.hpp"

namespace dataio {

PortableEnvelopeWriter::PortableEnvelopeWriter(double time) : EnvelopeDocument("3.0", time) {}

void PortableEnvelopeWriter::addValues(const std::string& fileName, const std::string& datasetPath, int columns) {
  addDoubleItem(builder, nrCells, columns, rootedSource(fileName, datasetPath));
}

}  // namespace dataio

api::IEnvelopeWriter* createPortableEnvelopeWriter(double time) { return new dataio::PortableEnvelopeWriter(time); }
