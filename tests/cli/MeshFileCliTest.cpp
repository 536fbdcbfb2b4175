// "mesh_2dm": the mesh of the results file as a 2DM text file beside the document, through the binary: read back
// against the stored topology and coordinates, and never put over a file the tool did not write.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "support/ExportFolder.hpp"
#include "support/StoredDatasets.hpp"
#include "synthetic/ResultsFile.hpp"

using namespace testing_support;

namespace {

// The mesh of the results file as 2DM text: MESH2D, the tool's MESHNAME mark, "ND n x y z" per node, then "E3T n a b c
// 1" per cell, numbered from 1, in digits that read back bit for bit.
std::string meshText(const std::string& resultsFile) {
  const StoredDataset topology = readStoredDataset(resultsFile, "CellsAll/Topology");
  const StoredDataset coordinates = readStoredDataset(resultsFile, "NodesAll/Coordnts");
  std::string text = "MESH2D\nMESHNAME \"TORVANEL results\"\n";
  char line[160];
  for (std::size_t n = 0; n < coordinates.dims.at(0); ++n) {
    const double* xyz = &coordinates.values.at(3 * n);
    std::snprintf(line, sizeof line, "ND %zu %.17g %.17g %.17g\n", n + 1, xyz[0], xyz[1], xyz[2]);
    text += line;
  }
  for (std::size_t c = 0; c < topology.dims.at(0); ++c) {
    const double* abc = &topology.values.at(3 * c);
    std::snprintf(line, sizeof line, "E3T %zu %.0f %.0f %.0f 1\n", c + 1, abc[0] + 1, abc[1] + 1, abc[2] + 1);
    text += line;
  }
  return text;
}

class MeshFile : public ExportFolder {
 protected:
  // A small hydraulics run on a georeferenced grid, whose coordinates need every digit.
  void SetUp() override {
    synthetic::RunSettings settings;
    settings.cells = 48;
    settings.steps = 2;
    settings.origin = {2600000.1, 1200000.3};
    synthetic::writeResultsFile(dir.file("run.h5"), settings);
  }
};

}  // namespace

// The run's own input mesh lies where the guide puts it, beside the results file under the document's stem: it is never
// replaced, while the tool's own mesh file of an earlier export is. Only entries that ask write one, in their
// document's folder.
TEST_F(MeshFile, OnlyAMeshThisToolWroteIsReplaced) {
  const std::string input = "MESH2D\nND 1 0 0 0\nND 2 1 0 0\nND 3 0 1 0\nE3T 1 1 2 3 1\n";
  writeFile(dir.file("results.2dm"), input);
  expectRefusal(exportWith({R"("mesh_2dm": true)"}),
                " -> cannot write <results.2dm>: it is a mesh this tool did not write (the run's own input mesh?), "
                "which an export never replaces; name the document otherwise or move that file");
  EXPECT_EQ(readFile(dir.file("results.2dm")), input);
  EXPECT_FALSE(exists("results.xdmf"));
  std::filesystem::remove(dir.file("results.2dm"));
  std::filesystem::create_directory(dir.file("maps"));
  const std::vector<std::string> entries{R"("mesh_2dm": true)", R"("document": "off.xdmf", "mesh_2dm": false)",
                                         R"("document": "maps/flood.xdmf", "to": 0, "mesh_2dm": true)"};
  for (int run = 0; run < 2; ++run) {
    const BinaryRun exported = exportWith(entries);
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(readFile(dir.file("results.2dm")), meshText(dir.file("run.h5")));
    EXPECT_TRUE(exists("maps/flood.2dm"));
    EXPECT_EQ(filesLeft(), (std::vector<std::string>{"cfg.json", "maps", "off.xdmf", "off_aux.h5", "results.2dm",
                                                     "results.xdmf", "results_aux.h5", "run.h5"}));
  }
}
