#include "dataio/xdmf/XdmfVocabulary.hpp"

#include <algorithm>

namespace dataio {

namespace {

using Rule = XdmfTypeRule;
using Kind = XdmfTagKind;

// Rows in kind order, so that a kind's number is its row.
const std::vector<XdmfKindDescription> kindTable = {
    {Kind::DataItem,             "DataItem",             "DataItem",    Rule::Listed,
     {"Uniform", "Collection", "Tree", "HyperSlab", "Coordinates", "Function"}},
    {Kind::Grid,                 "Grid",                 "Grid",        Rule::Listed,
     {"Uniform", "Collection", "Tree", "Subset"}},
    {Kind::StructuredTopology,   "StructuredTopology",   "Topology",    Rule::Listed,
     {"2DSMesh", "2DRectMesh", "2DCoRectMesh", "3DSMesh", "3DRectMesh", "3DCoRectMesh"}},
    {Kind::UnstructuredTopology, "UnstructuredTopology", "Topology",    Rule::Listed,
     {"Polyvertex", "Polyline", "Polygon", "Triangle", "Quadrilateral", "Tetrahedron", "Pyramid", "Wedge",
      "Hexahedron", "Edge_3", "Tri_6", "Quad_8", "Tet_10", "Pyramid_13", "Wedge_15", "Hex_20", "Mixed"}},
    {Kind::Geometry,             "Geometry",             "Geometry",    Rule::Listed,
     {"XYZ", "XY", "X_Y_Z", "VXVYVZ", "ORIGIN_DXDYDZ", "ORIGIN_DXDY"}},
    {Kind::Attribute,            "Attribute",            "Attribute",   Rule::Listed,
     {"Scalar", "Vector", "Tensor", "Tensor6", "Matrix"}},
    {Kind::Set,                  "Set",                  "Set",         Rule::Listed,
     {"Node", "Edge", "Face", "Cell"}},
    {Kind::Time,                 "Time",                 "Time",        Rule::Listed,
     {"Single", "HyperSlab", "List", "Range"}},
    {Kind::Information,          "Information",          "Information", Rule::Any,    {}},
    {Kind::Domain,               "Domain",               "Domain",      Rule::Any,    {}},
    {Kind::Xdmf,                 "Xdmf",                 "Xdmf",        Rule::Any,    {}},
    {Kind::Inner,                "Inner",                "Inner",       Rule::None,   {}},
};

}  // namespace

const std::vector<std::string> xdmfCenters = {"Node", "Edge", "Face", "Cell", "Grid"};
const std::vector<std::string> xdmfFormats = {"XML", "HDF", "Binary"};
const std::vector<std::string> xdmfNumberTypes = {"Float", "Int", "UInt", "Char", "UChar"};
const std::vector<std::string> xdmfPrecisions = {"1", "2", "4", "8"};

const XdmfKindDescription& describeKind(XdmfTagKind kind) { return kindTable.at(static_cast<size_t>(kind)); }

bool findKind(const std::string& tagName, XdmfTagKind& kind) {
  const auto row = std::find_if(kindTable.begin(), kindTable.end(),
                                [&tagName](const XdmfKindDescription& entry) { return entry.tagName == tagName; });
  if (row == kindTable.end()) return false;
  kind = row->kind;
  return true;
}

bool contains(const std::vector<std::string>& vocabulary, const std::string& value) {
  return std::find(vocabulary.begin(), vocabulary.end(), value) != vocabulary.end();
}

}  // namespace dataio
