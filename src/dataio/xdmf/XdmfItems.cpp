#include "dataio/xdmf/XdmfItems.hpp"


namespace dataio {

namespace {

void openHdfItem(XdmfTagBuilder& builder, int rows, int columns, const std::string& numberType) {
  builder.beginDataItem("", "Uniform");
  builder.setDimensions(rows, columns);
  builder.setFormat("HDF");
  builder.setNumberType(numberType);
}

void closeHdfItem(XdmfTagBuilder& builder, const std::string& source) {
  builder.addItem(source);
  builder.endTag("DataItem");
}

}  // namespace

void addIntItem(XdmfTagBuilder& builder, int rows, int columns, const std::string& source) {
  openHdfItem(builder, rows, columns, "Int");
  closeHdfItem(builder, source);
}

void addDoubleItem(XdmfTagBuilder& builder, int rows, int columns, const std::string& source) {
  openHdfItem(builder, rows, columns, "Float");
  builder.setPrecision(8);
  closeHdfItem(builder, source);
}

std::string rootedSource(const std::string& fileName, const std::string& datasetPath) {
  return fileName + ":" + (datasetPath.rfind('/', 0) == 0 ? "" : "/") + datasetPath;
}

void addTime(XdmfTagBuilder& builder, double time, TimeNotation notation) {
  const std::string text = timeText(time, notation);
  builder.beginTag("Time");
  builder.setType("Single");
  builder.setName("time = " + text);
  builder.setValue(text);
  builder.endTag("Time");
}

}  // namespace dataio
