#include "dataio/xdmf/EnvelopeXdmfWriter.hpp"

#include <vector>

#include "dataio/xdmf/XdmfItems.hpp"

namespace dataio {

EnvelopeXdmfWriter::EnvelopeXdmfWriter(double time) : EnvelopeDocument("2.0", time) {}

// Every column of every row: start (0, 0), stride (1, 1), count (n, columns).
// A scalar declares n values, a vector n rows of three.
// <DataItem ItemType="HyperSlab" Dimensions="2 3">
//     <DataItem ItemType="Uniform" Dimensions="3 2" Format="XML" NumberType="Int">
//         0 0 1 1 2 3
//     <DataItem ItemType="Uniform" Dimensions="2 3" Format="HDF" NumberType="Float" Precision="8">
void EnvelopeXdmfWriter::addValues(const std::string& fileName, const std::string& datasetPath, int columns) {
  builder.beginDataItem("", "HyperSlab");
  if (columns == 1) {
    builder.setDimensions(nrCells);
  } else {
    builder.setDimensions(nrCells, columns);
  }
  builder.beginDataItem("", "Uniform");
  builder.setDimensions(3, 2);
  builder.setFormat("XML");
  builder.setNumberType("Int");
  builder.addItem(std::vector<int>{0, 0, 1, 1, nrCells, columns});
  builder.endTag("DataItem");
  addDoubleItem(builder, nrCells, columns, rootedSource(fileName, datasetPath));
  builder.endTag("DataItem");
}

}  // namespace dataio

api::IEnvelopeWriter* createEnvelopeWriter(double time) { return new dataio::EnvelopeXdmfWriter(time); }
