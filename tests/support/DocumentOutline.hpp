#pragma once
// The outline of an exported XDMF document as the writers lay it out: the mesh
// items, then per step its time and attributes (kind, center, function, the
// HDF items read). The markup itself is pinned by golden files in tests/data.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/BinaryRun.hpp"
#include "support/StoredDatasets.hpp"

namespace testing_support {

struct OutlineItem {
  std::string shape;  // as declared: "8 3"
  int column = -1;    // the HyperSlab's column, -1 for the whole dataset
  std::string file;   // relative to the document's folder
  std::string dataset;
};
struct OutlineAttribute {
  std::string name, kind, center, function;
  std::vector<OutlineItem> items;
};
struct OutlineStep {
  std::string time;
  std::vector<OutlineAttribute> attributes;
};
struct DocumentOutline {
  std::vector<OutlineItem> mesh;
  std::vector<OutlineStep> steps;
};

inline std::string xmlAttribute(const std::string& line, const std::string& name) {
  const std::size_t start = line.find(" " + name + "=\"");
  if (start == std::string::npos) return "";
  const std::size_t from = start + name.size() + 3;
  return line.substr(from, line.find('"', from) - from);
}

inline DocumentOutline outlineOf(const std::string& text) {
  DocumentOutline outline;
  const std::vector<std::string> lines = splitLines(text);
  int column = -1;
  bool inAttribute = false;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    const std::string& line = lines[i];
    const auto has = [&line](const char* part) { return line.find(part) != std::string::npos; };
    if (has("</Attribute>")) {
      inAttribute = false;
    } else if (has("<Time ")) {
      outline.steps.push_back({xmlAttribute(line, "Value"), {}});
    } else if (has("<Attribute ")) {
      inAttribute = true;
      outline.steps.back().attributes.push_back(
          {xmlAttribute(line, "Name"), xmlAttribute(line, "AttributeType"), xmlAttribute(line, "Center"), "", {}});
    } else if (has("ItemType=\"Function\"")) {
      outline.steps.back().attributes.back().function = xmlAttribute(line, "Function");
    } else if (has("Format=\"XML\"")) {
      // The selection "0 column 1 1 rows 1" of a HyperSlab precedes its source.
      int start = 0;
      std::istringstream(lines[i + 1]) >> start >> column;
    } else if (has("Format=\"HDF\"")) {
      const std::string reference = lines[i + 1].substr(lines[i + 1].find_first_not_of(' '));
      const std::size_t colon = reference.rfind(':');
      const OutlineItem item{xmlAttribute(line, "Dimensions"), column, reference.substr(0, colon),
                             reference.substr(colon + 1)};
      column = -1;
      (inAttribute ? outline.steps.back().attributes.back().items : outline.mesh).push_back(item);
    }
  }
  return outline;
}

inline DocumentOutline outlineOfFile(const std::string& fileName) { return outlineOf(readFile(fileName)); }

// A written document against its golden file; a mismatch shows both.
inline void expectGoldenDocument(const std::string& fileName, const std::string& golden) {
  EXPECT_EQ(readFile(fileName), readFile(std::string(RESULTS_SOURCE_DIR) + "/tests/data/" + golden)) << golden;
}

// "file:dataset (shape)" and the column a HyperSlab selects: "... column 1".
inline std::string describe(const OutlineItem& item) {
  return item.file + ":" + item.dataset + " (" + item.shape + ")" +
         (item.column < 0 ? "" : " column " + std::to_string(item.column));
}

// "time t", then per attribute "name Kind Center [function] item; item".
inline std::vector<std::string> describe(const OutlineStep& step) {
  std::vector<std::string> lines{"time " + step.time};
  for (const OutlineAttribute& attribute : step.attributes) {
    lines.push_back(attribute.name + " " + attribute.kind + " " + attribute.center);
    if (!attribute.function.empty()) lines.back() += " [" + attribute.function + "]";
    for (std::size_t i = 0; i < attribute.items.size(); ++i)
      lines.back() += (i == 0 ? " " : "; ") + describe(attribute.items[i]);
  }
  return lines;
}

inline std::vector<std::string> attributeNames(const OutlineStep& step) {
  std::vector<std::string> names;
  for (const OutlineAttribute& attribute : step.attributes) names.push_back(attribute.name);
  return names;
}

// Every HDF item of the document, mesh first.
inline std::vector<OutlineItem> everyItem(const DocumentOutline& outline) {
  std::vector<OutlineItem> items = outline.mesh;
  for (const OutlineStep& step : outline.steps)
    for (const OutlineAttribute& attribute : step.attributes)
      items.insert(items.end(), attribute.items.begin(), attribute.items.end());
  return items;
}

// The extents of the dataset an item names, read from the document's folder.
inline std::string storedShape(const std::string& folder, const OutlineItem& item) {
  const StoredDataset stored = readStoredDataset(folder + "/" + item.file, item.dataset);
  if (!stored.found) return "no dataset";
  std::string shape;
  for (const hsize_t extent : stored.dims) shape += (shape.empty() ? "" : " ") + std::to_string(extent);
  return shape;
}

}  // namespace testing_support
