#pragma once
// The XDMF element kinds the tag builder knows, with the element each one
// writes and the values its type attribute may take.

#include <string>
#include <vector>

namespace dataio {

enum class XdmfTagKind : int {
  DataItem = 0,
  Grid = 1,
  StructuredTopology = 2,
  UnstructuredTopology = 3,
  Geometry = 4,
  Attribute = 5,
  Set = 6,
  Time = 7,
  Information = 8,
  Domain = 9,
  Xdmf = 10,
  Inner = 11,
};

// Listed: only the vocabulary; Any: every value (Information, Domain, Xdmf);
// None: no type attribute exists (inner text).
enum class XdmfTypeRule { Listed, Any, None };

struct XdmfKindDescription {
  XdmfTagKind kind;
  std::string tagName;
  std::string elementName;
  XdmfTypeRule typeRule;
  std::vector<std::string> types;
};

const XdmfKindDescription& describeKind(XdmfTagKind kind);
// The kind that beginTag(tagName) opens; false for a name outside the table.
bool findKind(const std::string& tagName, XdmfTagKind& kind);

bool contains(const std::vector<std::string>& vocabulary, const std::string& value);

extern const std::vector<std::string> xdmfCenters;
extern const std::vector<std::string> xdmfFormats;
extern const std::vector<std::string> xdmfNumberTypes;
extern const std::vector<std::string> xdmfPrecisions;

}  // namespace dataio
