#include "dataio/xdmf/XdmfWriter.hpp"

#include "dataio/xdmf/XdmfItems.hpp"
#include "interfaces/Failure.hpp"

namespace dataio {

XdmfWriter::XdmfWriter(const std::string& resultsFile) : XdmfWriter(resultsFile, resultsFile) {}

// The temporal collection keeps the name of the results file.
XdmfWriter::XdmfWriter(const std::string& resultsFile, const std::string& meshReference, TimeNotation notation)
    : TimeStepDocument("2.0", false, resultsFile, meshReference, notation) {}

void XdmfWriter::addMesh(int nrCells, const std::string& topologyPath, int topologySize,
                         const std::string& geometryPath, int geometrySize) {
  addMeshTopology(nrCells, topologyPath, topologySize);
  addMeshGeometry(geometryPath, geometrySize);
  meshAdded = true;
}

void XdmfWriter::addScalar(const std::string& name, int nrElements, const std::string& fileName,
                           const std::string& datasetPath, int nrColumns, int column) {
  RESULTS_CHECK(this->timeOpen, "you must add a time step before adding data!");
  openAttribute(name, nrElements, false, "");
  addHyperSlab(nrElements, fileName, datasetPath, nrColumns, column);
  builder.endTag("Attribute");
}

// The third component is zero everywhere.
void XdmfWriter::addVector(const std::string& name, int nrElements, const std::string& fileName,
                           const std::string& datasetPath, int nrColumns, const std::vector<int>& columns) {
  RESULTS_CHECK(this->timeOpen, "you must add a time step before adding data!");
  RESULTS_CHECK(columns.size() >= 2, "a vector needs two dataset columns");
  openAttribute(name, nrElements, true, "JOIN($0, $1, 0*$1)");
  addHyperSlab(nrElements, fileName, datasetPath, nrColumns, columns[0]);
  addHyperSlab(nrElements, fileName, datasetPath, nrColumns, columns[1]);
  builder.endTag("DataItem");
  builder.endTag("Attribute");
}

// Entry i of the lists is argument $i of the function.
void XdmfWriter::addFunction(const std::string& name, int nrElements, const std::string& function,
                             const std::vector<std::string>& filenames, const std::vector<std::string>& datasets,
                             const std::vector<int>& sizes, const std::vector<int>& indices) {
  RESULTS_CHECK(this->timeOpen, "you must add a time step before adding data!");
  RESULTS_CHECK(filenames.size() == datasets.size(), "invalid dataset path descriptions provided");
  RESULTS_CHECK(datasets.size() == sizes.size(), "invalid dataset size descriptions provided");
  RESULTS_CHECK(datasets.size() == indices.size(), "invalid dataset column descriptions provided");
  RESULTS_CHECK(!function.empty(), "a function attribute needs a function text");
  openAttribute(name, nrElements, false, function);
  for (size_t i = 0; i < datasets.size(); ++i) addHyperSlab(nrElements, filenames[i], datasets[i], sizes[i], indices[i]);
  builder.endTag("DataItem");
  builder.endTag("Attribute");
}

// The items declare the datasets' own shapes, rows first: readers that check
// the declared shape against the file refuse anything else.
// <Topology TopologyType="Triangle" Name="Topology" NumberOfElements="2">
//     <DataItem ItemType="Uniform" Dimensions="2 3" Format="HDF" NumberType="Int">
//         run.h5:/CellsAll/Topology
void XdmfWriter::addMeshTopology(int nrCells, const std::string& topologyPath, int topologySize) {
  builder.beginTopology("Topology", "Triangle");
  builder.setNumberOfElements(nrCells);
  addIntItem(builder, topologySize / 3, 3, meshFileReference + ":" + topologyPath);
  builder.endTag("UnstructuredTopology");
}

// <Geometry GeometryType="XYZ" Name="Coordinates">
//     <DataItem ItemType="Uniform" Dimensions="4 3" Format="HDF" NumberType="Float" Precision="8">
void XdmfWriter::addMeshGeometry(const std::string& geometryPath, int geometrySize) {
  builder.beginGeometry("Coordinates", "XYZ");
  addDoubleItem(builder, geometrySize / 3, 3, meshFileReference + ":" + geometryPath);
  builder.endTag("Geometry");
}

// Every step refers to the first mesh, with the mesh's own geometry type.
// <Time TimeType="Single" Name="time = 12.500000" Value="12.500000">
// <Topology TopologyType="Triangle" Reference="/Xdmf/Domain/Topology[1]">
// <Geometry GeometryType="XYZ" Reference="/Xdmf/Domain/Geometry[1]">
void XdmfWriter::addStepHeader(double time) {
  addTime(builder, time, timeNotation);
  builder.beginTopology("", "Triangle");
  builder.setReference("/Xdmf/Domain/Topology[1]");
  builder.endTag("UnstructuredTopology");
  builder.beginGeometry("", "XYZ");
  builder.setReference("/Xdmf/Domain/Geometry[1]");
  builder.endTag("Geometry");
}

// <Attribute AttributeType="Vector" Name="spec_discharge" Center="Cell">
//     <DataItem ItemType="Function" Dimensions="8 3" Function="JOIN($0, $1, 0*$1)">
void XdmfWriter::openAttribute(const std::string& name, int nrElements, bool vector, const std::string& function) {
  RESULTS_CHECK(this->timeOpen, "you must add a time step before adding data!");
  builder.beginAttribute(name, vector ? "Vector" : "Scalar");
  builder.setCenter("Cell");
  if (function.empty()) return;
  builder.beginDataItem("", "Function");
  if (vector) {
    builder.setDimensions(nrElements, 3);
  } else {
    builder.setDimensions(nrElements);
  }
  builder.setFunction(function);
}

// The selection is three rows of a rank-2 index, start (0, column), stride
// (1, 1) and count (n, 1):
// <DataItem ItemType="HyperSlab" Dimensions="8">
//     <DataItem ItemType="Uniform" Dimensions="3 2" Format="XML" NumberType="Int">
//         0 2 1 1 8 1
void XdmfWriter::addHyperSlab(int nrElements, const std::string& fileName, const std::string& datasetPath,
                              int nrColumns, int column) {
  builder.beginDataItem("", "HyperSlab");
  builder.setDimensions(nrElements);
  builder.beginDataItem("", "Uniform");
  builder.setDimensions(3, 2);
  builder.setFormat("XML");
  builder.setNumberType("Int");
  builder.addItem(std::vector<int>{0, column, 1, 1, nrElements, 1});
  builder.endTag("DataItem");
  addDoubleItem(builder, nrElements, nrColumns, fileName + ":" + datasetPath);
  builder.endTag("DataItem");
}

}  // namespace dataio

api::IXdmfWriter* createXdmfWriter(const std::string& h5FileName) { return new dataio::XdmfWriter(h5FileName); }

api::IXdmfWriter* createXdmfWriter(const std::string& h5FileName, const std::string& meshFileReference,
                                   dataio::TimeNotation notation) {
  return new dataio::XdmfWriter(h5FileName, meshFileReference, notation);
}
