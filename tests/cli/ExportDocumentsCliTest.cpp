// Whole export runs through the binary on small results files: one document pinned as markup (its golden file), one of
// every attribute kind by its outline. The other models' attributes are pinned by their values in the portable export's
// tests.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/DocumentOutline.hpp"
#include "support/ExportFolder.hpp"
#include "support/ResultsFileMaker.hpp"

using namespace testing_support;

namespace {

std::string hydState(int step) { return "run.h5:/RESULTS/CellsAll/HydState/000000" + std::to_string(step) + " (2 3)"; }
const std::string join = " [JOIN($0, $1, 0*$1)] ";

class ExportDocuments : public ExportFolder {};

}  // namespace

// References are relative to the document's folder; the markup is the golden file's.
TEST_F(ExportDocuments, DocumentInASubFolderIsTheGoldenDocument) {
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), {"water_surface", "flow_velocity_abs"});
    file.unitSquareMesh();
    file.doubles("CellsAll/BottomEl", 2, 1, {1.0, 1.0});
    file.step("RESULTS/CellsAll/HydState/0000000", 1.0, 2, 3, {2, 1, 0, 2, 0, 1});
  }
  std::filesystem::create_directory(dir.file("sub"));
  ASSERT_EQ(exportWith({""}, {"-o", "sub/out.xdmf"}).status, 0);
  expectGoldenDocument(dir.file("sub/out.xdmf"), "document_in_sub_folder.xdmf");
}

TEST_F(ExportDocuments, HydraulicsModelWithEveryAttributeKind) {
  {
    ResultsFileMaker file(dir.file("run.h5"));
    file.archive(hydraulicsModelText(), {"water_surface", "water_depth", "bottom_elevation", "spec_discharge",
                                         "flow_velocity", "flow_velocity_abs"});
    file.unitSquareMesh();
    file.scalar("Parameters/MinWaterDepth", 0.001);
    file.doubles("CellsAll/BottomEl", 2, 1, {1.0, 1.0});
    // Stored out of time order: written in time order.
    file.step("RESULTS/CellsAll/HydState/0000000", 12.5, 2, 3, {2.0, 0.5, 0.0, 1.0005, 0.1, 0.2});
    file.step("RESULTS/CellsAll/HydState/0000001", 0.0, 2, 3, {2.5, 1.0, -0.5, 1.0, 0.0, 0.0});
  }
  ASSERT_EQ(exportWith({""}).status, 0);
  const std::vector<OutlineStep> steps = outlineOfFile(dir.file("results.xdmf")).steps;
  ASSERT_EQ(steps.size(), 2u);
  const std::string stored = "run.h5:CellsAll/BottomEl (2 1) column 0";
  for (int k = 0; k < 2; ++k) {
    const int step = 1 - k;
    const std::string aux = "results_aux.h5:flow_velocity";
    const std::string n = std::to_string(step);
    EXPECT_EQ(
        describe(steps[k]),
        (std::vector<std::string>{
            k == 0 ? "time 0.000000" : "time 12.500000", "water_surface Scalar Cell " + hydState(step) + " column 0",
            "water_depth Scalar Cell [$0-$1] " + hydState(step) + " column 0; " + stored,
            "bottom_elevation Scalar Cell " + stored,
            "spec_discharge Vector Cell" + join + hydState(step) + " column 1; " + hydState(step) + " column 2",
            "flow_velocity Vector Cell" + join + aux + "/" + n + " (2 2) column 0; " + aux + "/" + n +
                " (2 2) column 1",
            "flow_velocity_abs Scalar Cell " + aux + "_abs/" + n + " (2 1) column 0"}));
  }
}
