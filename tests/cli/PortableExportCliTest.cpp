// "portable": a document that needs no file but its auxiliary file, shows what the default document of the same
// selection shows as a reader evaluates it; and every document declares its datasets' shapes.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/DocumentOutline.hpp"
#include "support/ExportFolder.hpp"
#include "support/StoredDatasets.hpp"
#include "synthetic/ResultsFile.hpp"

using namespace testing_support;

namespace {

// What a reader shows of an attribute, row by row; empty when a dataset it names cannot be read from the folder.
std::vector<double> shownValues(const OutlineAttribute& attribute, const std::string& folder) {
  std::vector<std::vector<double>> inputs;
  for (const OutlineItem& item : attribute.items) {
    const StoredDataset stored = readStoredDataset(folder + "/" + item.file, item.dataset);
    if (!stored.found) return {};
    if (item.column < 0) {
      inputs.push_back(stored.values);
      continue;
    }
    inputs.emplace_back();
    for (std::size_t row = 0; row < stored.dims[0]; ++row)
      inputs.back().push_back(stored.values[row * stored.dims[1] + static_cast<std::size_t>(item.column)]);
  }
  if (attribute.function.empty()) return inputs.size() == 1 ? inputs[0] : std::vector<double>{};
  std::vector<double> shown;
  for (std::size_t row = 0; inputs.size() == 2 && row < inputs[0].size(); ++row) {
    const double a = inputs[0][row];
    const double b = inputs[1][row];
    if (attribute.function == "JOIN($0, $1, 0*$1)")
      shown.insert(shown.end(), {a, b, 0 * b});
    else if (attribute.function == "$0-$1" || attribute.function == "$1-$0")
      shown.push_back(attribute.function == "$0-$1" ? a - b : b - a);
  }
  return shown;
}

// Every HDF item declares exactly the shape of the dataset it names (readers that check it refuse, or read zeros from,
// any other shape); the portable form's attributes are each one item showing exactly the default document's values at
// the same times.
void expectSameValues(const std::string& folder, const std::string& plainName, const std::string& portableName) {
  const DocumentOutline plain = outlineOfFile(folder + "/" + plainName);
  const DocumentOutline portable = outlineOfFile(folder + "/" + portableName);
  for (const DocumentOutline* outline : {&plain, &portable})
    for (const OutlineItem& item : everyItem(*outline))
      EXPECT_EQ(storedShape(folder, item), item.shape) << describe(item);
  ASSERT_EQ(portable.steps.size(), plain.steps.size());
  ASSERT_EQ(portable.mesh.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i)
    EXPECT_EQ(storedDoubles(folder + "/" + portable.mesh[i].file, portable.mesh[i].dataset),
              storedDoubles(folder + "/" + plain.mesh[i].file, plain.mesh[i].dataset));
  for (std::size_t s = 0; s < plain.steps.size(); ++s) {
    EXPECT_EQ(portable.steps[s].time, plain.steps[s].time);
    EXPECT_EQ(attributeNames(portable.steps[s]), attributeNames(plain.steps[s]));
    for (std::size_t a = 0; a < plain.steps[s].attributes.size() && a < portable.steps[s].attributes.size(); ++a) {
      const OutlineAttribute& shown = portable.steps[s].attributes[a];
      SCOPED_TRACE(shown.name + " at " + plain.steps[s].time);
      EXPECT_EQ(shown.items.size(), 1u);
      const std::vector<double> want = shownValues(plain.steps[s].attributes[a], folder);
      EXPECT_FALSE(want.empty());
      EXPECT_EQ(shownValues(shown, folder), want);
    }
  }
}

const std::vector<std::string> hydraulicsOutputs{"water_surface",  "water_depth",   "bottom_elevation",
                                                 "spec_discharge", "flow_velocity", "flow_velocity_abs",
                                                 "friction_chezy"};
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

// flood_tracking comes with the flood setup, first, without being listed; a window and a stride select the same times
// in both forms. The portable pair can be mailed without the results file: it names no other file.
TEST_F(PortableExport, PortableDocumentsMatchTheDefaultOnesOfEveryRunKind) {
  struct Run {
    synthetic::ModelKind kind;
    std::vector<std::string> outputs;
    int steps;
    std::string selection;
    std::size_t times;
  };
  const Run runs[] = {
      {synthetic::ModelKind::hydraulics, hydraulicsOutputs, 4, "", 4},
      {synthetic::ModelKind::flood, {"water_depth", "flow_velocity_abs", "delta_z"}, 4, "", 4},
      {synthetic::ModelKind::morphology, {"delta_z", "water_depth", "bottom_elevation", "flow_velocity"}, 7,
       R"(, "from": 1e-9, "every": 2, "outputs": ["flow_velocity", "delta_z", "water_depth"])", 3}};
  for (const Run& r : runs) {
    SCOPED_TRACE(r.outputs.front() + r.selection);
    writeRun(r.kind, r.outputs, r.steps);
    const BinaryRun run = exportWith(
        {R"("document": "plain.xdmf")" + r.selection, R"("document": "p.xdmf", "portable": true)" + r.selection});
    ASSERT_EQ(run.status, 0) << run.err;
    expectSameValues(dir.path(), "plain.xdmf", "p.xdmf");
    const std::string text = readFile(dir.file("p.xdmf"));
    EXPECT_NE(text.find("<Grid GridType=\"Collection\" Name=\"p\" CollectionType=\"Temporal\">"), std::string::npos);
    for (const char* readerFeature : {"run.h5", "Reference=", "HyperSlab", "Function"})
      EXPECT_EQ(text.find(readerFeature), std::string::npos) << readerFeature;
    const DocumentOutline outline = outlineOf(text);
    EXPECT_EQ(outline.steps.size(), r.times);
    for (const OutlineItem& item : everyItem(outline)) EXPECT_EQ(item.file, "p_aux.h5") << item.dataset;
  }
}

// The flood record of the first stored step and a bed stored once are the same at every step: one dataset each, named
// from every step.
TEST_F(PortableExport, ValuesTheSameAtEveryStepAreStoredOnce) {
  writeRun(synthetic::ModelKind::flood, {"bottom_elevation", "water_surface"});
  ASSERT_EQ(exportWith({R"("portable": true, "from": 1e-9)"}).status, 0);
  const DocumentOutline outline = outlineOfFile(dir.file("results.xdmf"));
  ASSERT_EQ(outline.steps.size(), 3u);
  std::vector<std::string> datasets;
  for (const OutlineAttribute& attribute : outline.steps[2].attributes)
    datasets.push_back(attribute.items.at(0).dataset);
  EXPECT_EQ(datasets, (std::vector<std::string>{"/flood_tracking_t/0", "/flood_tracking_h/0", "/flood_tracking_v/0",
                                                "/flood_tracking_q/0", "/flood_tracking_tau/0",
                                                "/bottom_elevation/static", "/water_surface/3"}));
  EXPECT_EQ(attributeNames(outline.steps[0]), attributeNames(outline.steps[2]));
  EXPECT_FALSE(readStoredDataset(dir.file("results_aux.h5"), "flood_tracking_t/1").found);
}
