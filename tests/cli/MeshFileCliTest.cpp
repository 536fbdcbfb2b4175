// "mesh_2dm": the mesh of the results file as a 2DM text file beside the
// document, for GIS mesh layers, through the binary: read back against the
// stored topology and coordinates.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/BinaryRun.hpp"
#include "support/ExportFolder.hpp"
#include "support/StoredDatasets.hpp"
#include "support/TempDir.hpp"
#include "synthetic/ResultsFile.hpp"

using namespace testing_support;

namespace {


// The first line of the file that is not what the mesh of the results file
// gives ("" when every line is): MESH2D, the tool's MESHNAME mark, "ND n x y z" per node, then
// "E3T n a b c 1" per cell, numbered from 1, each coordinate read back
// exactly.
std::string firstDifference(const std::string& meshFile, const std::string& resultsFile) {
  const StoredDataset topology = readStoredDataset(resultsFile, "CellsAll/Topology");
  const StoredDataset coordinates = readStoredDataset(resultsFile, "NodesAll/Coordnts");
  if (!topology.found || !coordinates.found) return "the results file holds no mesh";
  const std::size_t nodes = coordinates.dims.at(0);
  const std::size_t cells = topology.dims.at(0);
  const std::vector<std::string> lines = splitLines(readFile(meshFile));
  if (lines.size() != 2 + nodes + cells)
    return std::to_string(lines.size()) + " lines for " + std::to_string(nodes) + " nodes and " +
           std::to_string(cells) + " cells";
  if (lines[0] != "MESH2D") return lines[0];
  if (lines[1] != "MESHNAME \"TORVANEL results\"") return lines[1];
  for (std::size_t node = 0; node < nodes; ++node) {
    const std::string& line = lines[2 + node];
    std::istringstream in(line);
    std::string tag, x, y, z, rest;
    std::size_t number = 0;
    in >> tag >> number >> x >> y >> z;
    const bool exact = std::strtod(x.c_str(), nullptr) == coordinates.values[3 * node] &&
                       std::strtod(y.c_str(), nullptr) == coordinates.values[3 * node + 1] &&
                       std::strtod(z.c_str(), nullptr) == coordinates.values[3 * node + 2];
    if (tag != "ND" || number != node + 1 || !exact || in >> rest) return line;
  }
  for (std::size_t cell = 0; cell < cells; ++cell) {
    const std::string& line = lines[2 + nodes + cell];
    std::istringstream in(line);
    std::string tag, rest;
    std::size_t number = 0;
    double a = 0, b = 0, c = 0;
    int material = 0;
    in >> tag >> number >> a >> b >> c >> material;
    const bool nodesAsStored = a - 1 == topology.values[3 * cell] && b - 1 == topology.values[3 * cell + 1] &&
                               c - 1 == topology.values[3 * cell + 2];
    if (tag != "E3T" || number != cell + 1 || !nodesAsStored || material != 1 || in >> rest) return line;
  }
  return "";
}

class MeshFile : public ExportFolder {
 protected:
  // A small hydraulics run on a georeferenced grid, whose coordinates need
  // every digit.
  void writeRun() {
    synthetic::RunSettings settings;
    settings.cells = 48;
    settings.steps = 2;
    settings.origin = {2600000.1, 1200000.3};
    synthetic::writeResultsFile(dir.file("run.h5"), settings);
  }
};

}  // namespace

TEST_F(MeshFile, SmallRunWritesItsMeshBesideTheDocument) {
  writeRun();
  const BinaryRun run = exportWith({R"("mesh_2dm": true)"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(firstDifference(dir.file("results.2dm"), dir.file("run.h5")), "");
  EXPECT_TRUE(exists("results.xdmf"));
}

TEST_F(MeshFile, TheExampleMesh) {
  const std::string command = std::string(MAKE_EXAMPLE_BINARY) + " " + dir.file("dambreak.h5");
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  writeFile(dir.file("cfg.json"), R"({"RESULTS": {"EXPORT": [{"format": "xdmf", "mesh_2dm": true}]}})");
  const BinaryRun run = runResults({"-f", "cfg.json", "-r", "dambreak.h5", "-o", "dambreak.xdmf"}, dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(firstDifference(dir.file("dambreak.2dm"), dir.file("dambreak.h5")), "");
  EXPECT_EQ(splitLines(readFile(dir.file("dambreak.2dm"))).size(), 2u + 3131u + 6000u);
}

TEST_F(MeshFile, OnlyEntriesThatAskWriteOneAndFalseWritesNone) {
  writeRun();
  ASSERT_EQ(exportWith({"", R"("document": "off.xdmf", "mesh_2dm": false)"}).status, 0);
  EXPECT_FALSE(exists("results.2dm"));
  EXPECT_FALSE(exists("off.2dm"));
  const BinaryRun run = exportWith({"", R"("document": "on.xdmf", "to": 0, "mesh_2dm": true)"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(exists("results.2dm"));
  EXPECT_EQ(firstDifference(dir.file("on.2dm"), dir.file("run.h5")), "");
}

// Entries of one stem share their files; the mesh is the same whoever asks.
TEST_F(MeshFile, EntriesOfOneStemShareOneMeshFile) {
  writeRun();
  const BinaryRun run = exportWith({R"("mesh_2dm": true)", R"("document": "./results.xdmf", "mesh_2dm": true)"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(firstDifference(dir.file("results.2dm"), dir.file("run.h5")), "");
}

TEST_F(MeshFile, ItLiesInTheDocumentsFolder) {
  writeRun();
  std::filesystem::create_directory(dir.file("maps"));
  const BinaryRun run = exportWith({R"("document": "maps/flood.xdmf", "mesh_2dm": true)"}, {"-o", "unused.xdmf"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(firstDifference(dir.file("maps/flood.2dm"), dir.file("run.h5")), "");
  EXPECT_FALSE(exists("flood.2dm"));
  EXPECT_FALSE(exists("unused.2dm"));
}

TEST_F(MeshFile, NeverTheRunsInputs) {
  writeRun();
  expectRefusal(exportWith({R"("mesh_2dm": true)"}, {"-o", "cfg.xdmf"}, "run.h5", "cfg.2dm"),
                " -> refusing to overwrite the configuration file <cfg.2dm> with <cfg.2dm>");
  EXPECT_EQ(readFile(dir.file("cfg.2dm")).find(R"({"RESULTS")"), 0u);
  std::filesystem::create_symlink("run.h5", dir.file("linked.2dm"));
  const std::string results = readFile(dir.file("run.h5"));
  expectRefusal(exportWith({R"("document": "linked.xdmf", "mesh_2dm": true)"}),
                " -> refusing to overwrite the results file <run.h5> with <linked.2dm>");
  EXPECT_EQ(readFile(dir.file("run.h5")), results);
  EXPECT_FALSE(exists("linked.xdmf"));
}

// The run's own input mesh lies where the guide puts it, beside the results
// file under the document's stem: it is never replaced, while the tool's own
// mesh file of an earlier export is.
TEST_F(MeshFile, AMeshThisToolDidNotWriteIsNeverReplaced) {
  writeRun();
  const std::string input = "MESH2D\nND 1 0 0 0\nND 2 1 0 0\nND 3 0 1 0\nE3T 1 1 2 3 1\n";
  writeFile(dir.file("results.2dm"), input);
  expectRefusal(exportWith({R"("mesh_2dm": true)"}),
                " -> cannot write <results.2dm>: it is a mesh this tool did not write (the run's own input mesh?), "
                "which an export never replaces; name the document otherwise or move that file");
  EXPECT_EQ(readFile(dir.file("results.2dm")), input);
  EXPECT_FALSE(exists("results.xdmf"));
  std::filesystem::remove(dir.file("results.2dm"));
  ASSERT_EQ(exportWith({R"("mesh_2dm": true)"}).status, 0);
  const BinaryRun again = exportWith({R"("mesh_2dm": true)"});
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(firstDifference(dir.file("results.2dm"), dir.file("run.h5")), "");
}

// Only a link can make a mesh file another entry's document.
TEST_F(MeshFile, AMeshFileThatIsAnotherEntrysDocumentIsRefused) {
  writeRun();
  writeFile(dir.file("map.xdmf"), "mine");
  std::filesystem::create_symlink("map.xdmf", dir.file("grid.2dm"));
  expectRefusal(exportWith({R"("document": "map.xdmf")", R"("document": "grid.xdmf", "mesh_2dm": true)"}),
                " -> export entries 0 and 1 would both write <grid.2dm> with different content");
  EXPECT_EQ(readFile(dir.file("map.xdmf")), "mine");
}
