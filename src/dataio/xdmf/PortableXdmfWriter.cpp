#include "dataio/xdmf/PortableXdmfWriter.hpp"

#include "dataio/xdmf/XdmfItems.hpp"
#include "interfaces/Failure.hpp"

namespace dataio {

namespace {

// Selects the mesh grid's Topology and Geometry, which then stand in the
// including step grid as if written there.
const char* const meshInclude = "xpointer(//Grid[@Name=\"mesh\"]/*[self::Topology or self::Geometry])";

}  // namespace

PortableXdmfWriter::PortableXdmfWriter(const std::string& collection, const std::string& meshReference,
                                       TimeNotation notation)
    : TimeStepDocument("3.0", true, collection, meshReference, notation) {}

// <Grid GridType="Uniform" Name="mesh">
//     <Topology TopologyType="Triangle" NumberOfElements="2">
//         <DataItem ItemType="Uniform" Dimensions="2 3" Format="HDF" NumberType="Int">
//     <Geometry GeometryType="XYZ">
//         <DataItem ItemType="Uniform" Dimensions="4 3" Format="HDF" NumberType="Float" Precision="8">
void PortableXdmfWriter::addMesh(int nrCells, const std::string& topologyPath, int topologySize,
                                 const std::string& geometryPath, int geometrySize) {
  RESULTS_CHECK(!this->meshAdded, "a portable document holds one mesh");
  builder.beginGrid("mesh", "Uniform");
  builder.beginTopology("", "Triangle");
  builder.setNumberOfElements(nrCells);
  addIntItem(builder, topologySize / 3, 3, rootedSource(meshFileReference, topologyPath));
  builder.endTag("UnstructuredTopology");
  builder.beginGeometry("", "XYZ");
  addDoubleItem(builder, geometrySize / 3, 3, rootedSource(meshFileReference, geometryPath));
  builder.endTag("Geometry");
  builder.endTag("Grid");
  meshAdded = true;
}

// <xi:include xpointer="xpointer(//Grid[@Name=&quot;mesh&quot;]/*[self::Topology or self::Geometry])"/>
// <Time TimeType="Single" Name="time = 12.500000" Value="12.500000">
void PortableXdmfWriter::addStepHeader(double time) {
  builder.addInclude(meshInclude);
  addTime(builder, time, timeNotation);
}

void PortableXdmfWriter::addScalar(const std::string& name, int nrElements, const std::string& fileName,
                                   const std::string& datasetPath, int nrColumns, int column) {
  RESULTS_CHECK(this->timeOpen, "you must add a time step before adding data!");
  RESULTS_CHECK(nrColumns == 1 && column == 0, "a portable scalar takes the one column of its own dataset");
  addAttribute(name, "Scalar", nrElements, 1, fileName, datasetPath);
}

void PortableXdmfWriter::addVector(const std::string& name, int nrElements, const std::string& fileName,
                                   const std::string& datasetPath, int nrColumns, const std::vector<int>& columns) {
  RESULTS_CHECK(this->timeOpen, "you must add a time step before adding data!");
  RESULTS_CHECK(nrColumns == 3 && columns.size() >= 2 && columns[0] == 0 && columns[1] == 1,
                "a portable vector takes the three columns of its own dataset");
  addAttribute(name, "Vector", nrElements, 3, fileName, datasetPath);
}

void PortableXdmfWriter::addFunction(const std::string&, int, const std::string&, const std::vector<std::string>&,
                                     const std::vector<std::string>&, const std::vector<int>&,
                                     const std::vector<int>&) {
  RESULTS_CHECK(false, "a portable document holds no functions: store the function's values as a dataset");
}

// <Attribute AttributeType="Vector" Name="spec_discharge" Center="Cell">
//     <DataItem ItemType="Uniform" Dimensions="8 3" Format="HDF" NumberType="Float" Precision="8">
//         out_aux.h5:/spec_discharge/3
void PortableXdmfWriter::addAttribute(const std::string& name, const std::string& type, int rows, int columns,
                                      const std::string& fileName, const std::string& datasetPath) {
  builder.beginAttribute(name, type);
  builder.setCenter("Cell");
  addDoubleItem(builder, rows, columns, rootedSource(fileName, datasetPath));
  builder.endTag("Attribute");
}

}  // namespace dataio

api::IXdmfWriter* createPortableXdmfWriter(const std::string& collectionName, const std::string& meshReference,
                                           dataio::TimeNotation notation) {
  return new dataio::PortableXdmfWriter(collectionName, meshReference, notation);
}
