#include "XdmfItems.hpp"

#include <cstdio>

namespace dataio {

std::string xdmfTimeText(double time) {
  const int length = std::snprintf(nullptr, 0, "%f", time);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), "%f", time);
  text.resize(static_cast<size_t>(length));
  return text;
}

// Georeferenced coordinates and their derived values need double precision:
// read as 32-bit floats they would snap to a grid of a quarter metre.
// <DataItem ItemType="Uniform" Dimensions="2 1" Format="HDF" NumberType="Float" Precision="8">
//     out_aux.h5:/envelopes/water_depth_max
void addDoubleDataset(XdmfTagBuilder& builder, int rows, int columns, const std::string& reference) {
  builder.beginDataItem("", "Uniform");
  builder.setDimensions(rows, columns);
  builder.setFormat("HDF");
  builder.setNumberType("Float");
  builder.setPrecision(8);
  builder.addItem(reference);
  builder.endTag("DataItem");
}

// <DataItem ItemType="Uniform" Dimensions="2 3" Format="HDF" NumberType="Int">
//     run.h5:/CellsAll/Topology
void addIntDataset(XdmfTagBuilder& builder, int rows, int columns, const std::string& reference) {
  builder.beginDataItem("", "Uniform");
  builder.setDimensions(rows, columns);
  builder.setFormat("HDF");
  builder.setNumberType("Int");
  builder.addItem(reference);
  builder.endTag("DataItem");
}

}  // namespace dataio
