#pragma once
// The text of an XDMF document, built element by element in memory and
// written to a file at the end. Type attributes, formats, number types,
// precisions and centers are checked against the XDMF vocabularies.

#include <string>
#include <vector>

#include "dataio/xdmf/XdmfVocabulary.hpp"

namespace dataio {

class XdmfTagBuilder {
 public:
  // The root Xdmf element is open, its start tag still pending, so that the
  // first attribute call (setVersion) applies to it.
  XdmfTagBuilder();

  void setNewLine(const std::string& text);
  // 0: one tab; n > 0: n blanks; n < 0: no indentation.
  void setIndentation(int n);

  void beginTag(const std::string& name);
  // The name is not compared with the open element; both topology kinds close as Topology.
  void endTag(const std::string& name);

  void setType(const std::string& value);
  void setName(const std::string& value);
  void setReference(const std::string& value);
  void setDimensions(int a);
  void setDimensions(int a, int b);
  void setNumberOfElements(int n);
  void setFormat(const std::string& value);
  void setNumberType(const std::string& value);
  void setPrecision(const std::string& value);
  void setPrecision(int value);

  // Restricted to one tag kind each; elsewhere they only complain on std::cerr.
  void setVersion(const std::string& value);
  // On the root: xmlns:xi="http://www.w3.org/2001/XInclude".
  void setNamespace(const std::string& prefix, const std::string& uri);
  void setCenter(const std::string& value);
  void setCollectionType(const std::string& value);
  void setFunction(const std::string& value);
  void setValue(const std::string& value);

  // One line of inner text, one level deeper than the current element.
  void addItem(const std::string& text);
  // The values separated by blanks, ten per line.
  void addItem(const std::vector<int>& values);
  // An XInclude element, complete on one line one level deeper than the
  // current element; the xi prefix must be declared on the root.
  // <xi:include xpointer="element(/1/1/1)"/>
  void addInclude(const std::string& xpointer);

  // beginTag, then setType(type), then setName(name): the type attribute stands before Name.
  void beginGrid(const std::string& name, const std::string& type);
  void beginTopology(const std::string& name, const std::string& type);
  void beginGeometry(const std::string& name, const std::string& type);
  void beginDataItem(const std::string& name, const std::string& type);
  void beginAttribute(const std::string& name, const std::string& type);

  // Closes the root (once) and writes the whole document to fileName.
  void generate(const std::string& fileName);

  const std::string& getTagPath() const { return tagPath; }
  int getDepth() const { return depth; }

 private:
  void closePendingTag();
  void indentPending();
  void writeAttribute(const std::string& name, const std::string& value);
  bool currentKindIs(XdmfTagKind kind, const char* complaint) const;
  void beginTypedTag(const std::string& tagName, const std::string& name, const std::string& type);
  void beginInnerLine();
  void endInnerLine();

  std::string headerText;
  std::string content;
  std::string pendingStartTag;
  std::string lineEnd;
  std::string tagPath;
  bool closed = false;
  int valuesPerLine = 10;
  std::string indentationUnit;
  int depth = -1;
  XdmfTagKind tagKind = XdmfTagKind::Xdmf;
};

}  // namespace dataio
