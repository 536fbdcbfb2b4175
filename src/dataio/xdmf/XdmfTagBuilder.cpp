#include "dataio/xdmf/XdmfTagBuilder.hpp"

#include <fstream>
#include <iostream>
#include <stdexcept>

#include "dataio/xdmf/XmlEscape.hpp"
#include "interfaces/Failure.hpp"

namespace dataio {

namespace {

const char* const headerLines =
    "<?xml version=\"1.0\" ?>\n"
    "<!DOCTYPE Xdmf SYSTEM \"Xdmf.dtd\" []>\n";

// "[SIMPLE XDMF ERROR] Invalid Format type = YAML is passed to setFormat()."
std::invalid_argument invalidValue(const std::string& what, const std::string& value, const std::string& setter) {
  return std::invalid_argument("[SIMPLE XDMF ERROR] Invalid " + what + " type = " + value + " is passed to" + setter +
                               ".");
}

void requireListed(const std::vector<std::string>& vocabulary, const std::string& value, const std::string& what,
                   const std::string& setterName) {
  if (!contains(vocabulary, value)) throw invalidValue(what, value, " " + setterName + "()");
}

// DataItem carries ItemType; every other element its own name + Type.
std::string typeAttributeName(const XdmfKindDescription& kind) {
  return (kind.kind == XdmfTagKind::DataItem ? std::string("Item") : kind.elementName) + "Type";
}

bool acceptsType(const XdmfKindDescription& kind, const std::string& value) {
  if (kind.typeRule == XdmfTypeRule::Any) return true;
  return kind.typeRule == XdmfTypeRule::Listed && contains(kind.types, value);
}

std::string closingName(const std::string& name) {
  if (name == "StructuredTopology" || name == "UnstructuredTopology") return "Topology";
  return name;
}

// A document cut short (missing folder, a folder in the way, a full disk) is
// reported, never left behind as if it were written.
void writeDocument(const std::string& fileName, const std::string& text) {
  std::ofstream file(fileName, std::ios::out | std::ios::trunc);
  file << text;
  file.close();
  if (file.fail()) failure::fail("cannot write the XDMF document <", fileName, ">");
}

}  // namespace

XdmfTagBuilder::XdmfTagBuilder()
    : headerText(headerLines), content(headerText), lineEnd("\n"), indentationUnit("    ") {
  beginTag("Xdmf");
}

void XdmfTagBuilder::setNewLine(const std::string& text) { lineEnd = text; }

void XdmfTagBuilder::setIndentation(int n) {
  if (n == 0) {
    indentationUnit = "\t";
  } else {
    indentationUnit = std::string(n > 0 ? static_cast<size_t>(n) : 0u, ' ');
  }
}

void XdmfTagBuilder::beginTag(const std::string& name) {
  closePendingTag();
  ++depth;
  indentPending();
  findKind(name, tagKind);
  const std::string& elementName = describeKind(tagKind).elementName;
  pendingStartTag += "<" + elementName;
  tagPath += "/" + elementName;
}

// <Topology TopologyType="Triangle" Reference="/Xdmf/Domain/Topology[1]">
// </Topology>
void XdmfTagBuilder::endTag(const std::string& name) {
  closePendingTag();
  indentPending();
  pendingStartTag += "</" + closingName(name);
  closePendingTag();
  const auto lastStep = tagPath.rfind('/');
  if (lastStep != std::string::npos) tagPath.erase(lastStep);
  if (depth > 0) --depth;
}

void XdmfTagBuilder::setType(const std::string& value) {
  if (value.empty()) return;
  const XdmfKindDescription& kind = describeKind(tagKind);
  if (!acceptsType(kind, value)) throw invalidValue(kind.elementName, value, "");
  writeAttribute(typeAttributeName(kind), value);
}

void XdmfTagBuilder::setName(const std::string& value) {
  if (!value.empty()) writeAttribute("Name", value);
}

void XdmfTagBuilder::setReference(const std::string& value) { writeAttribute("Reference", value); }

void XdmfTagBuilder::setDimensions(int a) { writeAttribute("Dimensions", std::to_string(a)); }

void XdmfTagBuilder::setDimensions(int a, int b) {
  writeAttribute("Dimensions", std::to_string(a) + " " + std::to_string(b));
}

void XdmfTagBuilder::setNumberOfElements(int n) { writeAttribute("NumberOfElements", std::to_string(n)); }

void XdmfTagBuilder::setFormat(const std::string& value) {
  requireListed(xdmfFormats, value, "Format", "setFormat");
  writeAttribute("Format", value);
}

void XdmfTagBuilder::setNumberType(const std::string& value) {
  requireListed(xdmfNumberTypes, value, "Number", "setNumberType");
  writeAttribute("NumberType", value);
}

void XdmfTagBuilder::setPrecision(const std::string& value) {
  requireListed(xdmfPrecisions, value, "Precision", "setPrecision");
  writeAttribute("Precision", value);
}

void XdmfTagBuilder::setPrecision(int value) { setPrecision(std::to_string(value)); }

void XdmfTagBuilder::setVersion(const std::string& value) {
  if (currentKindIs(XdmfTagKind::Xdmf, "setVersion() cannot be called when current Tag is not Xdmf."))
    writeAttribute("Version", value);
}

void XdmfTagBuilder::setNamespace(const std::string& prefix, const std::string& uri) {
  if (currentKindIs(XdmfTagKind::Xdmf, "setNamespace() cannot be called when current Tag is not Xdmf."))
    writeAttribute("xmlns:" + prefix, uri);
}

void XdmfTagBuilder::setCenter(const std::string& value) {
  if (!currentKindIs(XdmfTagKind::Attribute, "setCenter() cannot be called when current Tag is not Attribute.")) return;
  requireListed(xdmfCenters, value, "Center", "setCenter");
  writeAttribute("Center", value);
}

void XdmfTagBuilder::setCollectionType(const std::string& value) {
  if (!currentKindIs(XdmfTagKind::Grid, "setCollectionType() cannot be called when current Tag is not Grid.")) return;
  requireListed({"Temporal"}, value, "Collection", "setCollectionType");
  writeAttribute("CollectionType", value);
}

void XdmfTagBuilder::setFunction(const std::string& value) {
  if (currentKindIs(XdmfTagKind::DataItem, "setFunction() cannot be called when current Tag is not DataItem."))
    writeAttribute("Function", value);
}

void XdmfTagBuilder::setValue(const std::string& value) {
  const bool timeOrInformation = tagKind == XdmfTagKind::Time || tagKind == XdmfTagKind::Information;
  if (timeOrInformation) {
    writeAttribute("Value", value);
  } else {
    std::cerr << "[SIMPLE XDMF ERROR] setValue() cannot be called when current Tag is not Time and Information."
              << std::endl;
  }
}

void XdmfTagBuilder::addItem(const std::string& text) {
  beginInnerLine();
  pendingStartTag += escapeXml(text);
  endInnerLine();
}

// Twelve values at depth 3:
//             0 1 2 3 4 5 6 7 8 9 (blank)
//             10 11
void XdmfTagBuilder::addItem(const std::vector<int>& values) {
  beginInnerLine();
  for (size_t i = 0; i < values.size(); ++i) {
    pendingStartTag += std::to_string(values[i]);
    if (i + 1 == values.size()) break;
    pendingStartTag += " ";
    if ((i + 1) % static_cast<size_t>(valuesPerLine) == 0) {
      pendingStartTag += lineEnd;
      indentPending();
    }
  }
  endInnerLine();
}

void XdmfTagBuilder::addInclude(const std::string& xpointer) {
  beginInnerLine();
  pendingStartTag += "<xi:include xpointer=\"" + escapeXml(xpointer) + "\"/>";
  endInnerLine();
}

void XdmfTagBuilder::beginGrid(const std::string& name, const std::string& type) { beginTypedTag("Grid", name, type); }

void XdmfTagBuilder::beginTopology(const std::string& name, const std::string& type) {
  beginTypedTag("UnstructuredTopology", name, type);
}

void XdmfTagBuilder::beginGeometry(const std::string& name, const std::string& type) {
  beginTypedTag("Geometry", name, type);
}

void XdmfTagBuilder::beginDataItem(const std::string& name, const std::string& type) {
  beginTypedTag("DataItem", name, type);
}

void XdmfTagBuilder::beginAttribute(const std::string& name, const std::string& type) {
  beginTypedTag("Attribute", name, type);
}

void XdmfTagBuilder::generate(const std::string& fileName) {
  if (!closed) {
    endTag("Xdmf");
    closed = true;
  }
  writeDocument(fileName, content);
}

void XdmfTagBuilder::closePendingTag() {
  if (pendingStartTag.empty()) return;
  content += pendingStartTag + ">" + lineEnd;
  pendingStartTag.clear();
}

void XdmfTagBuilder::indentPending() {
  for (int level = 0; level < depth; ++level) pendingStartTag += indentationUnit;
}

// ` Name="value"`, in the order of the calls.
void XdmfTagBuilder::writeAttribute(const std::string& name, const std::string& value) {
  pendingStartTag += " " + name + "=\"" + escapeXmlAttribute(value) + "\"";
}

bool XdmfTagBuilder::currentKindIs(XdmfTagKind kind, const char* complaint) const {
  if (tagKind == kind) return true;
  std::cerr << "[SIMPLE XDMF ERROR] " << complaint << std::endl;
  return false;
}

void XdmfTagBuilder::beginTypedTag(const std::string& tagName, const std::string& name, const std::string& type) {
  beginTag(tagName);
  setType(type);
  setName(name);
}

// Inner text stands one level deeper than its element and leaves the tag path as it is.
void XdmfTagBuilder::beginInnerLine() {
  closePendingTag();
  ++depth;
  indentPending();
  tagKind = XdmfTagKind::Inner;
}

void XdmfTagBuilder::endInnerLine() {
  content += pendingStartTag + lineEnd;
  pendingStartTag.clear();
  if (depth > 0) --depth;
}

}  // namespace dataio
