// "portable": a document that needs no file but its auxiliary file, through
// the binary. Its values are compared with what the default document of the
// same selection shows: the default document is evaluated here as a reader
// does (HyperSlab columns, the JOIN of a vector, the differences of
// water_depth and delta_z), independently of the code under test.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "support/BinaryRun.hpp"
#include "support/ExportFolder.hpp"
#include "support/StoredDatasets.hpp"
#include "support/TempDir.hpp"
#include "synthetic/ResultsFile.hpp"

using namespace testing_support;

namespace {


// An HDF item; column is the HyperSlab's selected column, or -1 for an item
// that is the whole dataset.
struct Item {
  std::string dimensions;
  int column = -1;
  std::string file;  // relative to the document's folder
  std::string dataset;
};

struct Attribute {
  std::string name;
  std::string function;  // empty: the attribute is its one item
  std::vector<Item> items;
};

struct Step {
  std::string time;
  std::vector<Attribute> attributes;
};

struct Document {
  std::vector<Item> mesh;
  std::vector<Step> steps;
};

std::string attributeOf(const std::string& line, const std::string& name) {
  const std::size_t start = line.find(name + "=\"");
  if (start == std::string::npos) return "";
  const std::size_t from = start + name.size() + 2;
  return line.substr(from, line.find('"', from) - from);
}

std::string trimmed(const std::string& line) {
  const std::size_t first = line.find_first_not_of(' ');
  return first == std::string::npos ? "" : line.substr(first);
}

// Both document forms, line by line as the writers lay them out: a HyperSlab's
// selection line "0 column 1 1 rows 1" precedes its source item.
Document parsed(const std::string& text) {
  Document document;
  const std::vector<std::string> lines = splitLines(text);
  int column = -1;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.find("<Time ") != std::string::npos) {
      document.steps.push_back({attributeOf(line, "Value"), {}});
    } else if (line.find("<Attribute ") != std::string::npos) {
      document.steps.back().attributes.push_back({attributeOf(line, "Name"), "", {}});
    } else if (line.find("ItemType=\"Function\"") != std::string::npos) {
      document.steps.back().attributes.back().function = attributeOf(line, "Function");
    } else if (line.find("Format=\"XML\"") != std::string::npos) {
      std::istringstream selection(lines[i + 1]);
      int start = 0;
      selection >> start >> column;
    } else if (line.find("Format=\"HDF\"") != std::string::npos) {
      const std::string reference = trimmed(lines[i + 1]);
      const std::size_t colon = reference.rfind(':');
      Item item{attributeOf(line, "Dimensions"), column, reference.substr(0, colon), reference.substr(colon + 1)};
      column = -1;
      if (document.steps.empty())
        document.mesh.push_back(item);
      else
        document.steps.back().attributes.back().items.push_back(item);
    }
  }
  return document;
}

// Values row by row, components per row; problem says why there are none.
struct Values {
  std::size_t rows = 0;
  std::size_t components = 0;
  std::vector<double> data;
  std::string problem;
};

std::string shapeText(const std::vector<hsize_t>& dims) {
  std::string text;
  for (const hsize_t extent : dims) text += (text.empty() ? "" : " ") + std::to_string(extent);
  return text;
}

// One item's values: a column of its dataset, or the whole dataset, whose
// shape must be the declared one.
Values itemValues(const Item& item, const std::string& folder) {
  Values values;
  const StoredDataset stored = readStoredDataset(folder + "/" + item.file, item.dataset);
  if (!stored.found || stored.dims.size() != 2) {
    values.problem = "no two-dimensional dataset " + item.file + ":" + item.dataset;
    return values;
  }
  values.rows = stored.dims[0];
  if (item.column < 0) {
    if (shapeText(stored.dims) != item.dimensions)
      values.problem = item.dataset + " is " + shapeText(stored.dims) + ", declared " + item.dimensions;
    values.components = stored.dims[1];
    values.data = stored.values;
    return values;
  }
  values.components = 1;
  for (std::size_t row = 0; row < values.rows; ++row)
    values.data.push_back(stored.values[row * stored.dims[1] + static_cast<std::size_t>(item.column)]);
  return values;
}

// What a reader shows of an attribute: the functions the default document
// uses, evaluated cell by cell.
Values attributeValues(const Attribute& attribute, const std::string& folder) {
  std::vector<Values> inputs;
  for (const Item& item : attribute.items) {
    inputs.push_back(itemValues(item, folder));
    if (!inputs.back().problem.empty()) return inputs.back();
  }
  if (attribute.function.empty()) {
    if (inputs.size() == 1) return inputs.front();
    Values unknown;
    unknown.problem = attribute.name + " holds " + std::to_string(inputs.size()) + " items without a function";
    return unknown;
  }
  Values values;
  const bool join = attribute.function == "JOIN($0, $1, 0*$1)";
  const bool difference = attribute.function == "$0-$1" || attribute.function == "$1-$0";
  if ((!join && !difference) || inputs.size() != 2) {
    values.problem = attribute.name + ": no evaluation for " + attribute.function;
    return values;
  }
  const Values& a = inputs[0];
  const Values& b = inputs[1];
  values.rows = a.rows;
  values.components = join ? 3 : 1;
  for (std::size_t row = 0; row < a.rows; ++row) {
    if (join)
      values.data.insert(values.data.end(), {a.data[row], b.data[row], 0 * b.data[row]});
    else
      values.data.push_back(attribute.function == "$0-$1" ? a.data[row] - b.data[row] : b.data[row] - a.data[row]);
  }
  return values;
}

// Every step of the portable document shows what the default one shows:
// the same times, attributes and values, exactly.
void expectSameValues(const std::string& defaultFile, const std::string& portableFile) {
  const Document shown = parsed(readFile(defaultFile));
  const Document portable = parsed(readFile(portableFile));
  const std::string defaultFolder = std::filesystem::path(defaultFile).parent_path();
  const std::string portableFolder = std::filesystem::path(portableFile).parent_path();
  ASSERT_EQ(portable.steps.size(), shown.steps.size());
  ASSERT_EQ(portable.mesh.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const Values expected = itemValues(shown.mesh[i], defaultFolder);
    const Values actual = itemValues(portable.mesh[i], portableFolder);
    EXPECT_EQ(actual.problem, "");
    EXPECT_EQ(actual.data, expected.data) << portable.mesh[i].dataset;
  }
  for (std::size_t s = 0; s < shown.steps.size(); ++s) {
    const Step& expected = shown.steps[s];
    const Step& actual = portable.steps[s];
    EXPECT_EQ(actual.time, expected.time);
    ASSERT_EQ(actual.attributes.size(), expected.attributes.size()) << "at " << expected.time;
    for (std::size_t a = 0; a < expected.attributes.size(); ++a) {
      EXPECT_EQ(actual.attributes[a].name, expected.attributes[a].name);
      EXPECT_EQ(actual.attributes[a].items.size(), 1u) << actual.attributes[a].name;
      const Values want = attributeValues(expected.attributes[a], defaultFolder);
      const Values have = attributeValues(actual.attributes[a], portableFolder);
      ASSERT_EQ(want.problem, "");
      ASSERT_EQ(have.problem, "");
      EXPECT_EQ(have.rows, want.rows) << expected.attributes[a].name << " at " << expected.time;
      EXPECT_EQ(have.components, want.components) << expected.attributes[a].name << " at " << expected.time;
      EXPECT_EQ(have.data, want.data) << expected.attributes[a].name << " at " << expected.time;
    }
  }
}

const std::vector<std::string> hydraulicsOutputs{"water_surface", "water_depth",       "bottom_elevation",
                                                 "spec_discharge", "flow_velocity",    "flow_velocity_abs",
                                                 "friction_chezy"};
const std::vector<std::string> morphologyOutputs{"delta_z", "water_depth", "bottom_elevation", "flow_velocity"};
// flood_tracking comes with the setup, first, without being listed.
const std::vector<std::string> floodOutputs{"water_depth", "flow_velocity_abs", "delta_z"};
const std::vector<std::pair<synthetic::ModelKind, std::vector<std::string>>> everyRunKind{
    {synthetic::ModelKind::hydraulics, hydraulicsOutputs},
    {synthetic::ModelKind::morphology, morphologyOutputs},
    {synthetic::ModelKind::flood, floodOutputs}};

class PortableExport : public ExportFolder {
 protected:
  void writeRun(synthetic::ModelKind kind, const std::vector<std::string>& outputs, int steps = 4) {
    synthetic::RunSettings settings;
    settings.cells = 48;
    settings.steps = steps;
    settings.model = kind;
    settings.outputs = outputs;
    synthetic::writeResultsFile(dir.file("run.h5"), settings);
  }
};

}  // namespace

TEST_F(PortableExport, NamesOnlyItsAuxiliaryFileAndItself) {
  writeRun(synthetic::ModelKind::hydraulics, hydraulicsOutputs);
  const BinaryRun run = exportWith({R"("portable": true, "document": "p.xdmf")"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string text = readFile(dir.file("p.xdmf"));
  const Document document = parsed(text);
  EXPECT_NE(text.find("<Xdmf Version=\"3.0\""), std::string::npos);
  EXPECT_NE(text.find("<Grid GridType=\"Collection\" Name=\"p\" CollectionType=\"Temporal\">"), std::string::npos);
  EXPECT_EQ(text.find("run.h5"), std::string::npos);
  for (const char* readerFeature : {"Reference=", "HyperSlab", "Function"})
    EXPECT_EQ(text.find(readerFeature), std::string::npos) << readerFeature;
  std::size_t items = document.mesh.size();
  for (const Item& item : document.mesh) EXPECT_EQ(item.file, "p_aux.h5");
  for (const Step& step : document.steps)
    for (const Attribute& attribute : step.attributes)
      for (const Item& item : attribute.items) {
        EXPECT_EQ(item.file, "p_aux.h5") << attribute.name;
        ++items;
      }
  EXPECT_EQ(items, 2u + 4u * hydraulicsOutputs.size());
}

// Every item, mesh included, names a dataset of exactly the declared shape.
TEST_F(PortableExport, EveryDatasetItNamesHasTheDeclaredShape) {
  for (const auto& [kind, outputs] : everyRunKind) {
    writeRun(kind, outputs);
    const BinaryRun run = exportWith({R"("portable": true)"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Document document = parsed(readFile(dir.file("results.xdmf")));
    ASSERT_EQ(document.steps.size(), 4u);
    ASSERT_EQ(document.mesh.size(), 2u);
    for (const Item& item : document.mesh) EXPECT_EQ(itemValues(item, dir.path()).problem, "");
    const std::size_t cells = itemValues(document.mesh[0], dir.path()).rows;
    for (const Step& step : document.steps)
      for (const Attribute& attribute : step.attributes) {
        ASSERT_EQ(attribute.items.size(), 1u) << attribute.name;
        const Values values = itemValues(attribute.items[0], dir.path());
        EXPECT_EQ(values.problem, "") << attribute.name << " at " << step.time;
        EXPECT_EQ(values.rows, cells) << attribute.name;
      }
  }
}

TEST_F(PortableExport, ValuesAreTheDefaultDocumentsOfEveryRunKind) {
  for (const auto& [kind, outputs] : everyRunKind) {
    writeRun(kind, outputs);
    const BinaryRun run = exportWith({R"("document": "plain.xdmf")", R"("document": "p.xdmf", "portable": true)"});
    ASSERT_EQ(run.status, 0) << run.err;
    expectSameValues(dir.file("plain.xdmf"), dir.file("p.xdmf"));
  }
}

TEST_F(PortableExport, ValuesOfAWindowAStrideAndAnOutputList) {
  writeRun(synthetic::ModelKind::morphology, morphologyOutputs, 7);
  const std::string selection = R"("from": 1e-9, "every": 2, "outputs": ["flow_velocity", "delta_z", "water_depth"])";
  const BinaryRun run = exportWith({R"("document": "plain.xdmf", )" + selection,
                                    R"("document": "p.xdmf", "portable": true, )" + selection});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = run.outLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), " -> exporting 3 outputs at 3 of 7 stored times to p.xdmf"),
            lines.end());
  expectSameValues(dir.file("plain.xdmf"), dir.file("p.xdmf"));
  const Document document = parsed(readFile(dir.file("p.xdmf")));
  ASSERT_EQ(document.steps.size(), 3u);
  EXPECT_EQ(document.steps[0].attributes.at(1).items.at(0).dataset, "/delta_z/1");
}

// The flood record of the first stored step and a bed stored once are the
// same at every step: one dataset each, named from every step.
TEST_F(PortableExport, ValuesTheSameAtEveryStepAreStoredOnce) {
  writeRun(synthetic::ModelKind::flood, {"bottom_elevation", "water_surface"});
  ASSERT_EQ(exportWith({R"("portable": true, "from": 1e-9)"}).status, 0);
  const Document document = parsed(readFile(dir.file("results.xdmf")));
  ASSERT_EQ(document.steps.size(), 3u);
  for (const Step& step : document.steps) {
    ASSERT_EQ(step.attributes.size(), 7u);
    EXPECT_EQ(step.attributes[0].name, "flood_tracking_t");
    EXPECT_EQ(step.attributes[0].items.at(0).dataset, "/flood_tracking_t/0");
    EXPECT_EQ(step.attributes[4].items.at(0).dataset, "/flood_tracking_tau/0");
    EXPECT_EQ(step.attributes[5].items.at(0).dataset, "/bottom_elevation/static");
  }
  EXPECT_EQ(document.steps[2].attributes[6].items.at(0).dataset, "/water_surface/3");
  EXPECT_FALSE(readStoredDataset(dir.file("results_aux.h5"), "flood_tracking_t/1").found);
}

// Their auxiliary files would hold datasets of one name in two shapes.
TEST_F(PortableExport, ADefaultAndAPortableEntryOfOneStemAreRefused) {
  writeRun(synthetic::ModelKind::hydraulics, hydraulicsOutputs);
  const BinaryRun run = exportWith({R"("document": "a.xdmf")", R"("document": "a.xdmf", "portable": true)"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errLines(),
            (std::vector<std::string>{" -> export entries 0 and 1 would both write <a.xdmf> with different content",
                                      killedLine}));
  EXPECT_FALSE(exists("a.xdmf"));
  const std::string portable = R"("document": "b.xdmf", "portable": true)";
  const BinaryRun same = exportWith({portable, portable});
  ASSERT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(parsed(readFile(dir.file("b.xdmf"))).steps.size(), 4u);
}

// The pair is mailed without the results file: every dataset resolves from
// the document's new folder and holds what it held.
TEST_F(PortableExport, ThePairMovesWithoutTheResultsFile) {
  writeRun(synthetic::ModelKind::morphology, morphologyOutputs);
  std::filesystem::create_directory(dir.file("out"));
  ASSERT_EQ(exportWith({R"("document": "plain.xdmf")", R"("document": "out/p.xdmf", "portable": true)"}).status, 0);
  const auto everything = [](const std::string& folder) {
    const Document document = parsed(readFile(folder + "/p.xdmf"));
    std::vector<Values> values;
    for (const Item& item : document.mesh) values.push_back(itemValues(item, folder));
    for (const Step& step : document.steps)
      for (const Attribute& attribute : step.attributes) values.push_back(attributeValues(attribute, folder));
    return values;
  };
  const std::vector<Values> before = everything(dir.file("out"));
  ASSERT_EQ(before.size(), 2u + 4u * 4u);
  std::filesystem::create_directory(dir.file("mailed"));
  std::filesystem::rename(dir.file("out/p.xdmf"), dir.file("mailed/p.xdmf"));
  std::filesystem::rename(dir.file("out/p_aux.h5"), dir.file("mailed/p_aux.h5"));
  std::filesystem::copy(dir.file("plain.xdmf"), dir.file("mailed/plain.xdmf"));
  std::filesystem::remove(dir.file("run.h5"));
  const std::vector<Values> after = everything(dir.file("mailed"));
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].problem, "");
    EXPECT_EQ(after[i].data, before[i].data);
  }
  // The default document cannot: it needs the results file.
  const Document plain = parsed(readFile(dir.file("mailed/plain.xdmf")));
  EXPECT_NE(attributeValues(plain.steps.at(0).attributes.at(0), dir.file("mailed")).problem, "");
}
