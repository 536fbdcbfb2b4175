#include "XdmfWriter.hpp"

#include <cstdio>

#include "Failure.hpp"

namespace dataio {

namespace {

// The time as printf "%f" writes it: 12.500000.
std::string timeText(double time) {
  const int length = std::snprintf(nullptr, 0, "%f", time);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), "%f", time);
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace

XdmfWriter::XdmfWriter(const std::string& resultsFile) : XdmfWriter(resultsFile, resultsFile) {}

XdmfWriter::XdmfWriter(const std::string& resultsFile, const std::string& meshReference)
    : h5FileName(resultsFile), meshFileReference(meshReference) {
  builder.setVersion("2.0");
  builder.setNewLine("\n");
  builder.setIndentation(4);
  builder.beginTag("Domain");
}

void XdmfWriter::write(const std::string& fileName) {
  if (timeOpen) builder.endTag("Grid");
  if (temporalOpen) builder.endTag("Grid");
  builder.endTag("Domain");
  builder.generate(fileName);
}

void XdmfWriter::addMesh(int nrCells, const std::string& topologyPath, int topologySize,
                         const std::string& geometryPath, int geometrySize) {
  addMeshTopology(nrCells, topologyPath, topologySize);
  addMeshGeometry(geometryPath, geometrySize);
  meshAdded = true;
}

void XdmfWriter::addTimeStep(double time) {
  RESULTS_CHECK(this->meshAdded, "you must define a mesh before adding a time step!");
  if (!temporalOpen) openTemporalCollection();
  if (timeOpen) builder.endTag("Grid");
  builder.beginGrid("Timestep", "Uniform");
  addTimeAndMeshReferences(time);
  timeOpen = true;
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

// <Topology TopologyType="Triangle" Name="Topology" NumberOfElements="2">
//     <DataItem ItemType="Uniform" Dimensions="6" Format="HDF" NumberType="Int">
//         run.h5:/CellsAll/Topology
void XdmfWriter::addMeshTopology(int nrCells, const std::string& topologyPath, int topologySize) {
  builder.beginTopology("Topology", "Triangle");
  builder.setNumberOfElements(nrCells);
  builder.beginDataItem("", "Uniform");
  builder.setDimensions(topologySize);
  builder.setFormat("HDF");
  builder.setNumberType("Int");
  builder.addItem(meshFileReference + ":" + topologyPath);
  builder.endTag("DataItem");
  builder.endTag("UnstructuredTopology");
}

// Georeferenced coordinates need double precision: read as 32-bit floats they
// would snap to a grid of a quarter metre.
// <Geometry GeometryType="XYZ" Name="Coordinates">
//     <DataItem ItemType="Uniform" Dimensions="12" Format="HDF" NumberType="Float" Precision="8">
void XdmfWriter::addMeshGeometry(const std::string& geometryPath, int geometrySize) {
  builder.beginGeometry("Coordinates", "XYZ");
  builder.beginDataItem("", "Uniform");
  builder.setDimensions(geometrySize);
  builder.setFormat("HDF");
  builder.setNumberType("Float");
  builder.setPrecision(8);
  builder.addItem(meshFileReference + ":" + geometryPath);
  builder.endTag("DataItem");
  builder.endTag("Geometry");
}

// <Grid GridType="Collection" Name="run.h5" CollectionType="Temporal">
void XdmfWriter::openTemporalCollection() {
  builder.beginGrid(h5FileName, "Collection");
  builder.setCollectionType("Temporal");
  temporalOpen = true;
}

// Every step refers to the first mesh; its Geometry reference reads XY, not XYZ.
// <Time TimeType="Single" Name="time = 12.500000" Value="12.500000">
// <Topology TopologyType="Triangle" Reference="/Xdmf/Domain/Topology[1]">
// <Geometry GeometryType="XY" Reference="/Xdmf/Domain/Geometry[1]">
void XdmfWriter::addTimeAndMeshReferences(double time) {
  const std::string text = timeText(time);
  builder.beginTag("Time");
  builder.setType("Single");
  builder.setName("time = " + text);
  builder.setValue(text);
  builder.endTag("Time");
  builder.beginTopology("", "Triangle");
  builder.setReference("/Xdmf/Domain/Topology[1]");
  builder.endTag("UnstructuredTopology");
  builder.beginGeometry("", "XY");
  builder.setReference("/Xdmf/Domain/Geometry[1]");
  builder.endTag("Geometry");
}

// <Attribute AttributeType="Vector" Name="spec_discharge" Center="Cell">
//     <DataItem ItemType="Function" Dimensions="3 8" Function="JOIN($0, $1, 0*$1)">
void XdmfWriter::openAttribute(const std::string& name, int nrElements, bool vector, const std::string& function) {
  RESULTS_CHECK(this->timeOpen, "you must add a time step before adding data!");
  builder.beginAttribute(name, vector ? "Vector" : "Scalar");
  builder.setCenter("Cell");
  if (function.empty()) return;
  builder.beginDataItem("", "Function");
  if (vector) {
    builder.setDimensions(3, nrElements);
  } else {
    builder.setDimensions(nrElements);
  }
  builder.setFunction(function);
}

// The selection is start (0, column), stride (1, 1), count (n, 1):
// <DataItem ItemType="HyperSlab" Dimensions="8">
//     <DataItem ItemType="Uniform" Dimensions="2 3" Format="XML" NumberType="Int">
//         0 2 1 1 8 1
void XdmfWriter::addHyperSlab(int nrElements, const std::string& fileName, const std::string& datasetPath,
                              int nrColumns, int column) {
  builder.beginDataItem("", "HyperSlab");
  builder.setDimensions(nrElements);
  builder.beginDataItem("", "Uniform");
  builder.setDimensions(2, 3);
  builder.setFormat("XML");
  builder.setNumberType("Int");
  builder.addItem(std::vector<int>{0, column, 1, 1, nrElements, 1});
  builder.endTag("DataItem");
  addDoubleSource(nrElements, fileName, datasetPath, nrColumns);
  builder.endTag("DataItem");
}

// The dataset's column count comes first: Dimensions="3 8".
void XdmfWriter::addDoubleSource(int nrElements, const std::string& fileName, const std::string& datasetPath,
                                 int nrColumns) {
  builder.beginDataItem("", "Uniform");
  builder.setDimensions(nrColumns, nrElements);
  builder.setFormat("HDF");
  builder.setNumberType("Float");
  builder.setPrecision(8);
  builder.addItem(fileName + ":" + datasetPath);
  builder.endTag("DataItem");
}

}  // namespace dataio

api::IXdmfWriter* createXdmfWriter(const std::string& h5FileName) { return new dataio::XdmfWriter(h5FileName); }

api::IXdmfWriter* createXdmfWriter(const std::string& h5FileName, const std::string& meshFileReference) {
  return new dataio::XdmfWriter(h5FileName, meshFileReference);
}
