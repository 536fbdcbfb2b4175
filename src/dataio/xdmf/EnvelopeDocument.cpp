#include "dataio/xdmf/EnvelopeDocument.hpp"

#include "dataio/xdmf/XdmfItems.hpp"
#include "interfaces/Failure.hpp"

namespace dataio {

EnvelopeDocument::EnvelopeDocument(const std::string& version, double time) {
  builder.setVersion(version);
  builder.setNewLine("\n");
  builder.setIndentation(4);
  builder.beginTag("Domain");
  openGrid(time);
}

// <Topology TopologyType="Triangle" Name="Topology" NumberOfElements="2">
//     <DataItem ItemType="Uniform" Dimensions="2 3" Format="HDF" NumberType="Int">
// <Geometry GeometryType="XYZ" Name="Coordinates">
//     <DataItem ItemType="Uniform" Dimensions="4 3" Format="HDF" NumberType="Float" Precision="8">
void EnvelopeDocument::addMesh(const std::string& fileName, int nrCells_, const std::string& topologyPath, int nrNodes,
                               const std::string& geometryPath) {
  RESULTS_CHECK(!this->meshAdded, "the envelope document has its mesh already");
  nrCells = nrCells_;
  builder.beginTopology("Topology", "Triangle");
  builder.setNumberOfElements(nrCells);
  addIntItem(builder, nrCells, 3, rootedSource(fileName, topologyPath));
  builder.endTag("UnstructuredTopology");
  builder.beginGeometry("Coordinates", "XYZ");
  addDoubleItem(builder, nrNodes, 3, rootedSource(fileName, geometryPath));
  builder.endTag("Geometry");
  meshAdded = true;
}

void EnvelopeDocument::addScalar(const std::string& name, const std::string& fileName,
                                 const std::string& datasetPath) {
  addAttribute(name, "Scalar", fileName, datasetPath, 1);
}

void EnvelopeDocument::addVector(const std::string& name, const std::string& fileName,
                                 const std::string& datasetPath) {
  addAttribute(name, "Vector", fileName, datasetPath, 3);
}

void EnvelopeDocument::write(const std::string& fileName) {
  RESULTS_CHECK(this->meshAdded, "the envelope document needs its mesh");
  builder.endTag("Grid");
  builder.endTag("Grid");
  builder.endTag("Domain");
  builder.generate(fileName);
}

// GIS readers open nothing but a temporal collection, and want a time in it.
// <Grid GridType="Collection" Name="envelopes" CollectionType="Temporal">
//     <Grid GridType="Uniform" Name="envelopes">
//         <Time TimeType="Single" Name="time = 30.000000" Value="30.000000">
void EnvelopeDocument::openGrid(double time) {
  builder.beginGrid("envelopes", "Collection");
  builder.setCollectionType("Temporal");
  builder.beginGrid("envelopes", "Uniform");
  addTime(builder, time, notationFor({time}));
}

// <Attribute AttributeType="Scalar" Name="water_depth_max" Center="Cell">
void EnvelopeDocument::addAttribute(const std::string& name, const std::string& type, const std::string& fileName,
                                    const std::string& datasetPath, int columns) {
  RESULTS_CHECK(this->meshAdded, "the envelope document needs its mesh before its attributes");
  builder.beginAttribute(name, type);
  builder.setCenter("Cell");
  addValues(fileName, datasetPath, columns);
  builder.endTag("Attribute");
}

}  // namespace dataio
